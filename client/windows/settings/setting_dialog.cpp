#include "client/windows/settings/setting_dialog.h"

#include <wchar.h>

#include "client/core/settings/conf_mgr.h"
#include "client/windows/dialogs/modal_dialogs.h"
#include "client/windows/skin_binding.h"
#include "foundation/log/log.h"

namespace {
const wchar_t kSkin[] = L"setting.xml";
}

SettingDialog::SettingDialog() : CModalDialog(kSkin, L"SettingDialog") {}

UiToolkit::CControlUI* SettingDialog::CreateCustomControl(const wchar_t* tag) {
    if (tag && _wcsicmp(tag, L"download_setting_page") == 0) return new DownloadSettingPage;
    return nullptr;
}

void SettingDialog::OnSkinReady() {
    UiToolkit::CWindowManagerUI& m = m_manager;
    if (!BindSkinControl(close_btn_, m, kSkin, L"close_btn", L"Button") ||
        !BindSkinControl(ok_btn_, m, kSkin, L"setting_ok_btn", L"Button") ||
        !BindSkinControl(cancel_btn_, m, kSkin, L"setting_cancel_btn", L"Button") ||
        !BindSkinControl(download_op_, m, kSkin, L"download_path_setting_op", L"Button") ||
        !BindSkinControl(switch_, m, kSkin, L"setting_switch", L"TabLayout")) {
        // A broken skin closes the dialog (logged above); the client goes on.
        PostClose();
        return;
    }
    download_op_->SetHotTextColor(0xFFFFFFFF);
}

DownloadSettingPage* SettingDialog::FindPage() const {
    if (!switch_ || switch_->GetCount() == 0) return nullptr;
    UiToolkit::CControlUI* item = switch_->GetItemAt(0);
    if (!item || !item->FindInterface(L"VerticalLayout")) return nullptr;
    auto* column = static_cast<UiToolkit::IContainerUI*>(item->FindInterface(L"IContainer"));
    UiToolkit::CControlUI* first = column && column->GetCount() > 0 ? column->GetItemAt(0) : nullptr;
    return first ? static_cast<DownloadSettingPage*>(first->FindInterface(L"DownloadSettingPage")) : nullptr;
}

void SettingDialog::Notify(UiToolkit::TUiNotify& msg) {
    if (msg.sType == UI_NOTIFY_CLICK && msg.pSender &&
        (msg.pSender == close_btn_ || msg.pSender == cancel_btn_)) {
        PostClose();
        return;
    }
    if (msg.sType == UI_NOTIFY_CLICK && msg.pSender && msg.pSender == ok_btn_) {
        SaveDownloadPath();
        PostClose();
        return;
    }
    if (msg.sType == UI_NOTIFY_WINDOWINIT) {
        DownloadSettingPage* page = FindPage();
        if (!page) {
            log_error("%s: skin %ls: item 0 of setting_switch holds no download_setting_page",
                      "SettingDialog::Notify", kSkin);
            return;
        }
        page->InitControls(&m_manager, m_hwnd);
        AddObserver(page);
        return;
    }
    ForwardToAll(msg);
}

void SettingDialog::SaveDownloadPath() {
    DownloadSettingPage* page = FindPage();
    if (!page) return;
    const std::wstring folder = page->FolderText();
    // An empty text stores nothing; any other is stored as typed.
    if (folder.empty()) return;
    if (!ConfMgr::SetDownloadPath(folder))
        log_error("%s: set download path failed", "SettingDialog::SaveDownloadPath");
}

void ShowSettingDialog(HWND owner) { RunModalDialog(new SettingDialog, owner); }
