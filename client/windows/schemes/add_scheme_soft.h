#pragma once
// The modal dialog in which the user ticks the schemes a software is to be
// added to ("add_scheme_soft.xml"): one check-box row per scheme. OK hands
// back the ticked schemes' ids in list order; Cancel, Escape and the close
// button hand back nothing.
#include <stdint.h>

#include <vector>

#include "client/core/user_services/scheme_mgr.h"
#include "uitoolkit/controls/button.h"
#include "uitoolkit/controls/list.h"
#include "uitoolkit/controls/list_container_element.h"
#include "uitoolkit/controls/option.h"
#include "uitoolkit/window/modal_dialog.h"

// One scheme in the dialog's list. It counts as selected when its box is
// ticked, not when the list has selected the row.
class SchemeSelectListItem : public UiToolkit::CListContainerElementUI {
public:
    SchemeSelectListItem(const wchar_t* name, int32_t scheme_id);
    ~SchemeSelectListItem() override;

    // "SchemeSelectListItem" gives the row.
    LPVOID FindInterface(const wchar_t* name) override;
    bool IsSelected() const override;
    int32_t SchemeId() const { return scheme_id_; }
    UiToolkit::CCheckBoxUI* CheckBox() const { return check_; }

private:
    UiToolkit::CCheckBoxUI* check_;
    int32_t scheme_id_;
};

class AddSchemeSoft : public UiToolkit::CModalDialog {
public:
    // Both vectors must outlive the dialog.
    AddSchemeSoft(std::vector<int32_t>* chosen, const std::vector<SchemeInfo>* schemes);
    ~AddSchemeSoft() override;

    UiToolkit::CListUI* SchemeList() const { return scheme_list_; }

protected:
    void OnSkinReady() override;
    void OnClickNotify(UiToolkit::TUiNotify& msg) override;
    // A broken skin closes the dialog with nothing chosen.
    void OnSkinLoadFailed() override;

private:
    std::vector<int32_t>* chosen_;
    const std::vector<SchemeInfo>* schemes_;
    UiToolkit::CListUI* scheme_list_ = nullptr;
    UiToolkit::CButtonUI* ok_btn_ = nullptr;
    UiToolkit::CButtonUI* cancel_btn_ = nullptr;
};

// Shows the dialog modally over the main window; returns when it closed.
void ShowAddSchemeSoft(std::vector<int32_t>* chosen, const std::vector<SchemeInfo>& schemes);
