#include "client/windows/schemes/add_scheme_soft.h"

#include <wchar.h>

#include "client/core/startup/main_window_handle.h"
#include "client/windows/dialogs/modal_dialogs.h"
#include "client/windows/skin_binding.h"
#include "foundation/log/log.h"
#include "uitoolkit/controls/label.h"
#include "uitoolkit/layouts/horizontal_layout.h"

namespace {
const wchar_t kSkin[] = L"add_scheme_soft.xml";
}  // namespace

SchemeSelectListItem::SchemeSelectListItem(const wchar_t* name, int32_t scheme_id)
    : check_(new UiToolkit::CCheckBoxUI), scheme_id_(scheme_id) {
    SetFixedHeight(24);
    SetFixedWidth(280);
    UiToolkit::CHorizontalLayoutUI* line = new UiToolkit::CHorizontalLayoutUI;
    line->SetFixedHeight(24);
    line->SetFixedWidth(280);
    check_->SetFixedWidth(24);
    check_->SetFixedHeight(24);
    check_->SetNormalImage(L"file='default\\login\\check_box_1.png' dest='5,5,18,18'");
    check_->SetSelectedImage(L"file='default\\login\\check_box_2.png' dest='5,5,18,18'");
    UiToolkit::CLabelUI* label = new UiToolkit::CLabelUI;
    label->SetFixedHeight(24);
    // A scheme's name is plain text: the label draws no markup.
    label->SetText(name ? name : L"");
    label->SetToolTip(name ? name : L"");
    label->ApplyAttribute(L"endellipsis", L"true");
    line->Add(check_);
    line->Add(label);
    Add(line);
}

SchemeSelectListItem::~SchemeSelectListItem() {}

LPVOID SchemeSelectListItem::FindInterface(const wchar_t* name) {
    if (name && wcscmp(name, L"SchemeSelectListItem") == 0) return this;
    return CListContainerElementUI::FindInterface(name);
}

bool SchemeSelectListItem::IsSelected() const { return check_->IsSelected(); }

AddSchemeSoft::AddSchemeSoft(std::vector<int32_t>* chosen, const std::vector<SchemeInfo>* schemes)
    : CModalDialog(kSkin, L"add_scheme_soft"), chosen_(chosen), schemes_(schemes) {}

AddSchemeSoft::~AddSchemeSoft() {}

void AddSchemeSoft::OnSkinReady() {
    UiToolkit::CWindowManagerUI& m = m_manager;
    if (!BindSkinControl(scheme_list_, m, kSkin, L"scheme_list", L"List") ||
        !BindSkinControl(ok_btn_, m, kSkin, L"ok_btn", L"Button") ||
        !BindSkinControl(cancel_btn_, m, kSkin, L"cancel_btn", L"Button")) {
        scheme_list_ = nullptr;
        ok_btn_ = nullptr;
        cancel_btn_ = nullptr;
        FailSkin();
        return;
    }
    if (!schemes_) return;
    for (const SchemeInfo& scheme : *schemes_)
        scheme_list_->Add(new SchemeSelectListItem(scheme.scheme_name.c_str(), scheme.scheme_id));
}

void AddSchemeSoft::OnSkinLoadFailed() {
    log_error("%s: %ls cannot be shown", "AddSchemeSoft::OnSkinReady", kSkin);
    PostClose();
}

void AddSchemeSoft::OnClickNotify(UiToolkit::TUiNotify& msg) {
    if (!msg.pSender || !ok_btn_) return;
    // The title bar's close button closes like Escape.
    if (msg.pSender->GetName() == L"closebtn") {
        PostClose();
        return;
    }
    if (msg.pSender == ok_btn_) {
        for (int i = 0; i < scheme_list_->GetCount(); ++i) {
            UiToolkit::CControlUI* item = scheme_list_->GetItemAt(i);
            auto* scheme = item ? static_cast<SchemeSelectListItem*>(
                                      item->FindInterface(L"SchemeSelectListItem"))
                                : nullptr;
            if (scheme && scheme->IsSelected() && chosen_) chosen_->push_back(scheme->SchemeId());
        }
        PostClose();
    } else if (msg.pSender == cancel_btn_) {
        PostClose();
    }
}

void ShowAddSchemeSoft(std::vector<int32_t>* chosen, const std::vector<SchemeInfo>& schemes) {
    RunModalDialog(new AddSchemeSoft(chosen, &schemes), MainWindowHandle(), L"Kelvora");
}
