#include "setup/installer/agreement_wnd.h"

#include "setup/installer/agreement_text.h"
#include "uitoolkit/core/control.h"
#include "uitoolkit/core/notify.h"

using UiToolkit::CButtonUI;
using UiToolkit::CRichEditUI;

AgreementWnd::AgreementWnd(bool* answer)
    : SetupDialog(L"agreement_wnd.xml", L"agreement_wnd"),
      m_text(nullptr),
      m_ok(nullptr),
      m_cancel(nullptr),
      m_close(nullptr),
      m_answer(answer) {}

void AgreementWnd::OnSkinReady() {
    m_text = FindSkinControl<CRichEditUI>(m_manager, L"agreement_text", L"RichEdit");
    if (m_text) {
        // Read-only refuses typing; disabled, the box also takes no focus
        // and no caret. The wheel and the bar still scroll it: they go to
        // the toolkit's own bar, not through the engine's input.
        m_text->SetReadOnly(true);
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
