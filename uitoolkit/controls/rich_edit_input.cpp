// What reaches the rich edit's engine: window messages through the
// message filter, control events, scrolling, and what the engine reports
// back (view changes, notifications).
#include "uitoolkit/controls/rich_edit.h"

#include <imm.h>
#include <richedit.h>
#include <windowsx.h>

#include "uitoolkit/controls/rich_edit_rules.h"
#include "uitoolkit/controls/scroll_bar.h"
#include "uitoolkit/controls/text_host.h"
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

HRESULT CRichEditUI::TxSendMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (!m_host) return S_FALSE;
  switch (m_returnGate.Filter(msg, wParam, ::GetKeyState(VK_CONTROL) < 0, m_wantReturn,
                              m_wantCtrlReturn)) {
    case ReturnKeyGate::kHoldAndReport:
      // A receiver may delete the control: nothing of it is touched after.
      Emit(UI_NOTIFY_RETURN);
      return S_OK;
    case ReturnKeyGate::kHold:
      return S_OK;
    case ReturnKeyGate::kPass:
      break;
  }
  return m_host->Send(msg, wParam, lParam, result);
}

bool CRichEditUI::OnTxViewChanged() { return true; }

void CRichEditUI::OnTxNotify(DWORD code, void* data) {
  if (code < EN_MSGFILTER || code > EN_DRAGDROPDONE) return;
  if (code == EN_REQUESTRESIZE || code == EN_CORRECTTEXT || code == EN_IMECHANGE) return;
  HWND window = m_manager ? m_manager->GetWindow() : nullptr;
  if (!window) return;
  // The engine's record starts with a header; without a record the
  // control sends a header of its own.
  NMHDR own = {};
  NMHDR* header = data ? static_cast<NMHDR*>(data) : &own;
  header->hwndFrom = window;
  header->idFrom = static_cast<UINT_PTR>(::GetWindowLongPtrW(window, GWLP_ID));
  header->code = code;
  ::SendMessageW(window, WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(header));
}

// ---- window messages ----

namespace {

bool IsMouseMessage(UINT msg) { return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST; }
bool IsKeyMessage(UINT msg) { return msg >= WM_KEYFIRST && msg <= WM_KEYLAST; }

POINT ClientPoint(HWND window, LPARAM lParam, bool screen) {
  POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (screen) ::ScreenToClient(window, &pt);
  return pt;
}

void PlaceCompositionAtCaret(HWND window) {
  HIMC context = ::ImmGetContext(window);
  if (!context) return;
  COMPOSITIONFORM form = {};
  form.dwStyle = CFS_POINT;
  ::GetCaretPos(&form.ptCurrentPos);
  ::ImmSetCompositionWindow(context, &form);
  ::ImmReleaseContext(window, context);
}

}  // namespace

LRESULT CRichEditUI::FilterMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
  if (!m_host || !m_manager || !IsVisible() || !IsEnabled()) return 0;
  const bool mouse = IsMouseMessage(msg);
  if (mouse && !IsMouseEnabled()) return 0;
  // The wheel without Ctrl scrolls through the toolkit's bar.
  if (msg == WM_MOUSEWHEEL && !(GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL)) return 0;
  HWND window = m_manager->GetWindow();
  if (msg == WM_IME_COMPOSITION) {
    PlaceCompositionAtCaret(window);
    return 0;
  }
  if (mouse || msg == WM_SETCURSOR) {
    if (!m_host->IsMouseCaptured()) {
      POINT pt;
      if (msg == WM_SETCURSOR) {
        ::GetCursorPos(&pt);
        ::ScreenToClient(window, &pt);
      } else {
        pt = ClientPoint(window, lParam, msg == WM_MOUSEWHEEL);
      }
      if (msg >= WM_MOUSEMOVE && msg <= WM_RBUTTONUP && m_manager->ControlAt(pt) != this) return 0;
      const RECT area = GetTextArea();
      if (!::PtInRect(&area, pt)) return 0;
      CControlUI* capture = m_manager->GetCaptureControl();
      if (capture && capture != this) return 0;
    }
    if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDOWN) SetFocus();
  } else if (IsKeyMessage(msg)) {
    if (!IsFocused()) return 0;
  } else if (msg == WM_CONTEXTMENU) {
    if (m_manager->ControlAt(ClientPoint(window, lParam, true)) != this) return 0;
  } else if (msg != WM_HELP) {
    return 0;
  }

  // The engine may report something that deletes this control: the host
  // is held for the call, and nothing of the control is read after it.
  CTxtWinHost* host = m_host;
  host->AddRef();
  LRESULT result = 0;
  HRESULT hr = TxSendMessage(msg, wParam, lParam, &result);
  if (hr == S_OK || IsKeyMessage(msg) || msg == WM_CHAR || msg == WM_IME_CHAR)
    handled = true;
  else if (mouse && host->IsMouseCaptured())
    handled = true;
  // A move also goes on to the manager, so the controls around learn that
  // the mouse left them (hover and hot states stay right).
  if (msg == WM_SETCURSOR || msg == WM_HELP || msg == WM_MOUSEMOVE) handled = false;
  host->Release();
  return result;
}

// ---- control events ----

void CRichEditUI::OnEvent(TUiEvent& event) {
  // Mouse events with the mouse off go where the container sends them.
  if (!IsMouseEnabled() && IsMouseEvent(event.Type)) {
    CContainerUI::OnEvent(event);
    return;
  }
  switch (event.Type) {
    case UIEVENT_SETCURSOR: {
      const RECT area = GetTextArea();
      if (m_host && IsEnabled() && ::PtInRect(&area, event.ptMouse)) {
        m_host->SetCursorAt(event.ptMouse);
        return;
      }
      break;
    }
    case UIEVENT_SETFOCUS:
      TxSendMessage(WM_SETFOCUS, 0, 0, nullptr);
      m_focused = true;
      Invalidate();
      return;
    case UIEVENT_KILLFOCUS:
      TxSendMessage(WM_KILLFOCUS, 0, 0, nullptr);
      m_focused = false;
      Invalidate();
      return;
    case UIEVENT_TIMER:
      TxSendMessage(WM_TIMER, event.wParam, event.lParam, nullptr);
      break;
    case UIEVENT_SCROLLWHEEL:
      // Ctrl with the wheel goes to the engine through the filter.
      if (event.wKeyState & MK_CONTROL) return;
      break;
    // The filter gives the engine the real messages of these.
    case UIEVENT_KEYDOWN:
    case UIEVENT_KEYUP:
    case UIEVENT_CHAR:
    case UIEVENT_SYSKEY:
    case UIEVENT_MOUSEMOVE:
    case UIEVENT_MOUSELEAVE:
    case UIEVENT_MOUSEENTER:
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_BUTTONUP:
    case UIEVENT_DBLCLICK:
      return;
    default:
      break;
  }
  CContainerUI::OnEvent(event);
}

// ---- scrolling ----

void CRichEditUI::SendScroll(UINT msg, WORD code) {
  TxSendMessage(msg, MAKEWPARAM(code, 0), 0, nullptr);
}

void CRichEditUI::SetScrollPos(SIZE pos) {
  CScrollBarUI* vbar = m_verticalScrollBar;
  CScrollBarUI* hbar = m_horizontalScrollBar;
  int wanted_y = -1;
  if (vbar && vbar->IsVisible()) {
    int old = vbar->GetScrollPos();
    vbar->SetScrollPos(pos.cy);
    int now = vbar->GetScrollPos();
    if (now != old) {
      TxSendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, now), 0, nullptr);
      if (now > old) wanted_y = now;
    }
  }
  if (hbar && hbar->IsVisible()) {
    int old = hbar->GetScrollPos();
    hbar->SetScrollPos(pos.cx);
    int now = hbar->GetScrollPos();
    if (now != old) TxSendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, now), 0, nullptr);
  }
  // Plain text: a downward move the engine took back is kept.
  if (!m_rich && wanted_y >= 0 && m_verticalScrollBar && m_verticalScrollBar->GetScrollPos() < wanted_y)
    m_verticalScrollBar->SetScrollPos(wanted_y);
}

void CRichEditUI::ScrollLineUp() { SendScroll(WM_VSCROLL, SB_LINEUP); }

void CRichEditUI::ScrollLineDown() {
  CScrollBarUI* vbar = m_verticalScrollBar;
  const int before = vbar ? vbar->GetScrollPos() : 0;
  SendScroll(WM_VSCROLL, SB_LINEDOWN);
  // Plain text: when the engine did not move, the bar goes to its end.
  if (!m_rich && vbar && vbar == m_verticalScrollBar && vbar->IsVisible() &&
      vbar->GetScrollPos() <= before)
    vbar->SetScrollPos(vbar->GetScrollRange());
}

void CRichEditUI::ScrollPageUp() { SendScroll(WM_VSCROLL, SB_PAGEUP); }
void CRichEditUI::ScrollPageDown() { SendScroll(WM_VSCROLL, SB_PAGEDOWN); }
void CRichEditUI::ScrollToTop() { SendScroll(WM_VSCROLL, SB_TOP); }
void CRichEditUI::ScrollToBottom() { SendScroll(WM_VSCROLL, SB_BOTTOM); }
void CRichEditUI::ScrollLineLeft() { SendScroll(WM_HSCROLL, SB_LINELEFT); }
void CRichEditUI::ScrollLineRight() { SendScroll(WM_HSCROLL, SB_LINERIGHT); }
void CRichEditUI::ScrollPageLeft() { SendScroll(WM_HSCROLL, SB_PAGELEFT); }
void CRichEditUI::ScrollPageRight() { SendScroll(WM_HSCROLL, SB_PAGERIGHT); }
void CRichEditUI::ScrollToLeftEnd() { SendScroll(WM_HSCROLL, SB_LEFT); }
void CRichEditUI::ScrollToRightEnd() { SendScroll(WM_HSCROLL, SB_RIGHT); }

}  // namespace UiToolkit
