#include "setup/installer/agreement_wnd.h"

#include "setup/installer/agreement_text.h"
#include "uitoolkit/core/control.h"
#include "uitoolkit/core/notify.h"

using UiToolkit::CButtonUI;

AgreementWnd::AgreementWnd(bool* answer)
    : SetupDialog(L"agreement_wnd.xml", L"agreement_wnd"),
      m_text(nullptr),
      m_ok(nullptr),
      m_cancel(nullptr),
      m_close(nullptr),
      m_answer(answer) {}

void AgreementWnd::OnSkinReady() {
    m_text = m_manager.FindControl(L"agreement_text");
    if (m_text) {
        // The skin's readonly="true" reaches the rich edit's text engine when
        // it is created (styles are read only then); the control's own switch
        // keeps it so. Disabled, it takes no caret and no typing.
        // Pending the toolkit's rich edit: CRichEditUI::SetReadOnly(true) here.
        m_text->SetEnabled(false);
        m_text->SetText(kAgreementText);
    }
    m_ok = FindSkinControl<CButtonUI>(m_manager, L"ok_btn", L"Button");
    m_cancel = FindSkinControl<CButtonUI>(m_manager, L"cancel_btn", L"Button");
    m_close = FindSkinControl<CButtonUI>(m_manager, L"close_btn", L"Button");
}

void AgreementWnd::Notify(UiToolkit::TUiNotify& msg) {
    if (msg.sType != UI_NOTIFY_CLICK || !msg.pSender) return;
    if (msg.pSender != m_ok && msg.pSender != m_cancel && msg.pSender != m_close) return;
    if (m_answer && msg.pSender == m_ok) *m_answer = true;
    if (m_answer && msg.pSender == m_cancel) *m_answer = false;
    PostClose();
}
