#pragma once
// One of the user's schemes on the schemes page ("scheme_item.xml"): its
// name, description and number of programs, and the buttons that open,
// delete and rename it. The texts are plain text, never markup.
#include <stdint.h>

#include <memory>
#include <string>

#include "client/core/user_services/scheme_mgr.h"
#include "client/windows/catalogue/soft_list_item.h"
#include "client/windows/main/live_targets.h"
#include "uitoolkit/controls/button.h"
#include "uitoolkit/controls/label.h"
#include "uitoolkit/controls/list_container_element.h"
#include "uitoolkit/core/notify.h"

class MySchemeItem : public UiToolkit::CListContainerElementUI, public UiToolkit::INotifyUI {
public:
    // UI thread. Joins the owner's observers and the dispatcher's targets.
    MySchemeItem(const RowOwner& owner, const SchemeInfo& scheme);
    ~MySchemeItem() override;

    const wchar_t* ClassName() const override;
    // "MySchemeItem" gives the row.
    LPVOID FindInterface(const wchar_t* name) override;

    // The page's broadcasts ("set_schme_item_name") and its buttons' clicks.
    void Notify(UiToolkit::TUiNotify& msg) override;

    // Fills the labels when forced or while the name label is empty.
    void UpdateTexts(bool force);
    void ShowSchemeSofts();
    void DeleteScheme();
    void RenameScheme();

    int32_t SchemeId() const { return scheme_id_; }
    const std::wstring& Name() const { return name_; }
    const std::wstring& Desc() const { return desc_; }
    int SoftCount() const { return soft_count_; }
    // Whether the row's skin holds all six controls.
    bool Usable();
    UiToolkit::CButtonUI* LookButton() { return Usable() ? look_ : nullptr; }
    UiToolkit::CButtonUI* DeleteButton() { return Usable() ? del_ : nullptr; }
    UiToolkit::CButtonUI* ModifyButton() { return Usable() ? modify_ : nullptr; }
    UiToolkit::CLabelUI* NameLabel() { return Usable() ? name_label_ : nullptr; }
    UiToolkit::CLabelUI* DescLabel() { return Usable() ? desc_label_ : nullptr; }
    UiToolkit::CLabelUI* CountLabel() { return Usable() ? count_label_ : nullptr; }

private:
    RowOwner owner_;
    int32_t scheme_id_;
    UiToolkit::CButtonUI* look_ = nullptr;
    UiToolkit::CButtonUI* del_ = nullptr;
    UiToolkit::CButtonUI* modify_ = nullptr;
    UiToolkit::CLabelUI* name_label_ = nullptr;
    UiToolkit::CLabelUI* desc_label_ = nullptr;
    UiToolkit::CLabelUI* count_label_ = nullptr;
    bool bind_tried_ = false;
    bool bound_ = false;
    std::wstring name_;
    std::wstring desc_;
    int soft_count_;
    // Expires with the row: a handler that waited in a modal loop checks
    // it before touching the row again.
    LiveTargetRegistration registration_;  // last: goes first
};

// A control named `name` inside `root`'s tree answering `iface`; none,
// with a log line naming `skin_file`, when there is no such control.
UiToolkit::CControlUI* FindInTree(UiToolkit::CControlUI* root, const wchar_t* skin_file,
                                  const wchar_t* name, const wchar_t* iface);
