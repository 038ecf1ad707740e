#include "setup/common/setup_boxes.h"

#include "uitoolkit/core/notify.h"

using UiToolkit::CButtonUI;
using UiToolkit::TUiNotify;

namespace {

// The box's text holder: a disabled button showing markup text in black,
// so it neither highlights nor reacts.
void ShowBoxText(CButtonUI* tip, const wchar_t* text) {
    if (!tip) return;
    tip->SetShowHtml(true);
    tip->SetText(text);
    tip->SetEnabled(false);
    tip->SetDisabledTextColor(0xFF000000);
    tip->Invalidate();
}

bool IsClick(const TUiNotify& msg) { return msg.sType == UI_NOTIFY_CLICK; }

}  // namespace

MessageBoxDlg::MessageBoxDlg(int* answer, const wchar_t* question)
    : SetupDialog(L"message_box.xml", L"message_box"),
      m_text(question),
      m_tip(nullptr),
      m_ok(nullptr),
      m_cancel(nullptr),
      m_answer(answer) {}

void MessageBoxDlg::OnSkinReady() {
    m_tip = FindSkinControl<CButtonUI>(m_manager, L"msg_box_tip_btn", L"Button");
    ShowBoxText(m_tip, m_text);
    m_ok = FindSkinControl<CButtonUI>(m_manager, L"msg_box_ok_btn", L"Button");
    m_cancel = FindSkinControl<CButtonUI>(m_manager, L"msg_box_cancel_btn", L"Button");
}

void MessageBoxDlg::OnClickNotify(TUiNotify& msg) {
    if (!IsClick(msg)) return;
    if (m_answer && msg.pSender && msg.pSender == m_ok) *m_answer = 0;
    if (m_answer && msg.pSender && msg.pSender == m_cancel) *m_answer = 1;
    PostClose();
}

MessageWnd::MessageWnd(const wchar_t* text)
    : SetupDialog(L"message_wnd.xml", L"message_wnd"), m_text(text), m_tip(nullptr), m_ok(nullptr) {}

void MessageWnd::OnSkinReady() {
    m_tip = FindSkinControl<CButtonUI>(m_manager, L"msg_tip_btn", L"Button");
    ShowBoxText(m_tip, m_text);
    m_ok = FindSkinControl<CButtonUI>(m_manager, L"msg_ok_btn", L"Button");
}

void MessageWnd::OnClickNotify(TUiNotify& msg) {
    if (IsClick(msg) && msg.pSender && msg.pSender == m_ok) PostClose();
}

bool AskOkCancel(HWND owner, const wchar_t* question) {
    int answer = 1;
    ShowModalDialog(new MessageBoxDlg(&answer, question), owner);
    return answer == 0;
}
