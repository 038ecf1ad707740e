#include "client/windows/dialogs/message_box_dlg.h"

#include "client/windows/dialogs/modal_dialogs.h"
#include "client/windows/skin_binding.h"

namespace {
const wchar_t kSkin[] = L"message_box.xml";
}

MessageBoxDlg::MessageBoxDlg(const wchar_t* text, int* answer)
    : CModalDialog(kSkin, L"message_box"), text_(TipMessageMarkup(text)), answer_(answer) {}

void MessageBoxDlg::OnSkinReady() {
    if (!BindSkinControl(tip_btn_, m_manager, kSkin, L"msg_box_tip_btn", L"Button") ||
        !BindSkinControl(ok_btn_, m_manager, kSkin, L"msg_box_ok_btn", L"Button") ||
        !BindSkinControl(cancel_btn_, m_manager, kSkin, L"msg_box_cancel_btn", L"Button")) {
        FailSkin();
        return;
    }
    ShowTipMessage(tip_btn_, text_);
}

void MessageBoxDlg::OnClickNotify(UiToolkit::TUiNotify& msg) {
    if (answer_ && msg.pSender == ok_btn_) *answer_ = 0;
    if (answer_ && msg.pSender == cancel_btn_) *answer_ = 1;
    PostClose();
}

int ShowMessageBox(HWND owner, const wchar_t* text) {
    int answer = 1;
    RunModalDialog(new MessageBoxDlg(text, &answer), owner);
    return answer;
}
