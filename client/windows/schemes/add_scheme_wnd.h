#pragma once
// The modal dialog for a scheme's name and description ("add_scheme_wnd.xml"),
// used to create a scheme and to rename one. OK copies both texts back;
// Cancel empties both (the callers read an empty name as "cancelled");
// Escape or the close button leave both as they were given.
#include <string>

#include "uitoolkit/controls/button.h"
#include "uitoolkit/controls/edit.h"
#include "uitoolkit/controls/rich_edit.h"
#include "uitoolkit/window/modal_dialog.h"

class AddSchemeWnd : public UiToolkit::CModalDialog {
public:
    // Both strings must outlive the dialog.
    AddSchemeWnd(std::wstring* name, std::wstring* desc);
    ~AddSchemeWnd() override;

    UiToolkit::CEditUI* NameEdit() const { return name_edit_; }
    UiToolkit::CRichEditUI* DescEdit() const { return desc_edit_; }

protected:
    void OnSkinReady() override;
    void OnClickNotify(UiToolkit::TUiNotify& msg) override;
    // A broken skin closes the dialog as if Escape was pressed.
    void OnSkinLoadFailed() override;

private:
    void Accept();
    void Cancel();

    std::wstring* name_;
    std::wstring* desc_;
    UiToolkit::CEditUI* name_edit_ = nullptr;
    UiToolkit::CRichEditUI* desc_edit_ = nullptr;
    UiToolkit::CButtonUI* ok_btn_ = nullptr;
    UiToolkit::CButtonUI* cancel_btn_ = nullptr;
};

// Shows the dialog modally over the main window; returns when it closed.
void ShowAddSchemeWnd(std::wstring* name, std::wstring* desc);
