#include "client/windows/dialogs/about_dialog.h"

#include "client/core/version/version_mgr.h"
#include "client/windows/dialogs/modal_dialogs.h"
#include "client/windows/skin_binding.h"

namespace {
const wchar_t kSkin[] = L"about_us.xml";
}

AboutDialog::AboutDialog() : CModalDialog(kSkin, L"AboutDialog") {}

void AboutDialog::OnSkinReady() {
    if (!BindSkinControl(close_btn_, m_manager, kSkin, L"about_close_btn", L"Button") ||
        !BindSkinControl(ok_btn_, m_manager, kSkin, L"about_ok_btn", L"Button") ||
        !BindSkinControl(version_tips_, m_manager, kSkin, L"about_version_tips", L"Button")) {
        FailSkin();
        return;
    }
    // The program's own version, whatever the skin says.
    version_tips_->SetText(VersionMgr::kClientVersion);
}

void AboutDialog::OnClickNotify(UiToolkit::TUiNotify& msg) {
    if (msg.pSender == close_btn_ || msg.pSender == ok_btn_) PostClose();
}

void ShowAboutDialog(HWND owner) { RunModalDialog(new AboutDialog, owner); }
