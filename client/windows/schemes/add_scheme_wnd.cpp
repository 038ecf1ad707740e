#include "client/windows/schemes/add_scheme_wnd.h"

#include "client/core/startup/main_window_handle.h"
#include "client/windows/dialogs/modal_dialogs.h"
#include "client/windows/skin_binding.h"
#include "foundation/log/log.h"

namespace {
const wchar_t kSkin[] = L"add_scheme_wnd.xml";
}  // namespace

AddSchemeWnd::AddSchemeWnd(std::wstring* name, std::wstring* desc)
    : CModalDialog(kSkin, L"add_scheme_wnd"), name_(name), desc_(desc) {}

AddSchemeWnd::~AddSchemeWnd() {}

void AddSchemeWnd::OnSkinReady() {
    UiToolkit::CWindowManagerUI& m = m_manager;
    if (!BindSkinControl(name_edit_, m, kSkin, L"scheme_name_edit", L"Edit") ||
        !BindSkinControl(desc_edit_, m, kSkin, L"scheme_desc_edit", L"RichEdit") ||
        !BindSkinControl(ok_btn_, m, kSkin, L"ok_btn", L"Button") ||
        !BindSkinControl(cancel_btn_, m, kSkin, L"cancel_btn", L"Button")) {
        name_edit_ = nullptr;
        desc_edit_ = nullptr;
        ok_btn_ = nullptr;
        cancel_btn_ = nullptr;
        FailSkin();
        return;
    }
    name_edit_->SetText(name_ ? name_->c_str() : L"");
    desc_edit_->SetText(desc_ ? desc_->c_str() : L"");
    m_manager.SetFocusControl(name_edit_);
}

void AddSchemeWnd::OnSkinLoadFailed() {
    log_error("%s: %ls cannot be shown", "AddSchemeWnd::OnSkinReady", kSkin);
    PostClose();
}

void AddSchemeWnd::OnClickNotify(UiToolkit::TUiNotify& msg) {
    if (!msg.pSender || !ok_btn_) return;
    // The title bar's close button closes like Escape.
    if (msg.pSender->GetName() == L"closebtn") {
        PostClose();
        return;
    }
    if (msg.pSender == ok_btn_)
        Accept();
    else if (msg.pSender == cancel_btn_)
        Cancel();
}

void AddSchemeWnd::Accept() {
    if (name_) *name_ = name_edit_->GetText().GetData();
    if (desc_) *desc_ = desc_edit_->GetText().GetData();
    PostClose();
}

void AddSchemeWnd::Cancel() {
    if (name_) name_->clear();
    if (desc_) desc_->clear();
    PostClose();
}

void ShowAddSchemeWnd(std::wstring* name, std::wstring* desc) {
    RunModalDialog(new AddSchemeWnd(name, desc), MainWindowHandle(), L"Kelvora");
}
