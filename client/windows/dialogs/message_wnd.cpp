#include "client/windows/dialogs/message_wnd.h"

#include "client/windows/dialogs/modal_dialogs.h"
#include "client/windows/skin_binding.h"

namespace {
const wchar_t kSkin[] = L"message_wnd.xml";
}

MessageWnd::MessageWnd(const wchar_t* text)
    : CModalDialog(kSkin, L"message_wnd"), text_(TipMessageMarkup(text)) {}

void MessageWnd::OnSkinReady() {
    if (!BindSkinControl(tip_btn_, m_manager, kSkin, L"msg_tip_btn", L"Button") ||
        !BindSkinControl(ok_btn_, m_manager, kSkin, L"msg_ok_btn", L"Button")) {
        FailSkin();
        return;
    }
    ShowTipMessage(tip_btn_, text_);
}

void MessageWnd::OnClickNotify(UiToolkit::TUiNotify& msg) {
    if (msg.pSender == ok_btn_) PostClose();
}

void ShowMessageWnd(HWND owner, const wchar_t* text) { RunModalDialog(new MessageWnd(text), owner); }
