// Window messages and queued messages turned into control events.
#include <windowsx.h>
#include <stddef.h>

#include "uitoolkit/core/control.h"
#include "uitoolkit/core/manager_visitors.h"
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

namespace {

POINT PointOf(LPARAM lParam) {
  POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  return pt;
}

}  // namespace

void CWindowManagerUI::SendEvent(CControlUI* control, int type, CControlUI* sender, POINT pt,
                                 WPARAM wParam, LPARAM lParam, WORD keyState, WCHAR key) {
  if (!control) return;
  TUiEvent event = {};
  event.Type = type;
  event.pSender = sender;
  event.dwTimestamp = ::GetTickCount();
  event.ptMouse = pt;
  event.chKey = key;
  event.wKeyState = keyState;
  event.wParam = wParam;
  event.lParam = lParam;
  EnterDispatch();
  control->HandleEvent(event);
  LeaveDispatch();
}

// The control under a point, or none; a control of another manager counts
// as none.
CControlUI* CWindowManagerUI::HitControl(POINT pt) const {
  CControlUI* hit = ControlAt(pt);
  return (hit && hit->GetManager() == this) ? hit : nullptr;
}

bool CWindowManagerUI::HandleWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam,
                                           LRESULT& result) {
  if (!m_hwnd) return false;
  // A paint validates the window, a new size clips its update region: what
  // was known to be pending may be gone (forgetting costs only a call).
  if (msg == WM_PAINT || msg == WM_SIZE || msg == WM_WINDOWPOSCHANGED || msg == WM_SHOWWINDOW)
    ForgetPendingInvalid();
  DrainQueuedNotifies();
  // Filters may register or remove filters while they run: walk by index
  // as receivers are walked.
  for (int i = 0; i < m_messageFilters.GetSize();) {
    IMessageFilterUI* filter = static_cast<IMessageFilterUI*>(m_messageFilters.GetAt(i));
    bool handled = false;
    LRESULT r = filter->FilterMessage(msg, wParam, lParam, handled);
    if (handled) {
      result = r;
      return true;
    }
    if (m_messageFilters.GetAt(i) == filter) ++i;
  }
  bool handled = false;
  switch (msg) {
    case WM_PAINT:
      Paint();
      handled = true;
      break;
    case WM_PRINTCLIENT: {
      if (!m_root) break;
      RECT client;
      ::GetClientRect(m_hwnd, &client);
      HDC dc = reinterpret_cast<HDC>(wParam);
      int saved = ::SaveDC(dc);
      m_root->Paint(dc, client);
      if (lParam & PRF_CHILDREN) {
        for (HWND child = ::GetWindow(m_hwnd, GW_CHILD); child;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
          RECT pos;
          ::GetWindowRect(child, &pos);
          ::MapWindowPoints(HWND_DESKTOP, m_hwnd, reinterpret_cast<POINT*>(&pos), 2);
          ::SetWindowOrgEx(dc, -pos.left, -pos.top, nullptr);
          ::SendMessageW(child, WM_PRINT, wParam, lParam | PRF_NONCLIENT);
        }
      }
      ::RestoreDC(dc, saved);
      break;
    }
    case WM_GETMINMAXINFO: {
      MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
      if (m_minInfo.cx > 0) info->ptMinTrackSize.x = m_minInfo.cx;
      if (m_minInfo.cy > 0) info->ptMinTrackSize.y = m_minInfo.cy;
      if (m_maxInfo.cx > 0) info->ptMaxTrackSize.x = m_maxInfo.cx;
      if (m_maxInfo.cy > 0) info->ptMaxTrackSize.y = m_maxInfo.cy;
      break;
    }
    case WM_SIZE:
      if (m_focus) SendEvent(m_focus, UIEVENT_WINDOWSIZE, m_focus, m_lastMouse);
      if (m_root) m_root->RequestRelayout();
      result = 0;
      handled = true;
      break;
    case WM_TIMER:
      for (int i = 0; i < m_timers.GetSize(); ++i) {
        TUiTimer* timer = static_cast<TUiTimer*>(m_timers.GetAt(i));
        if (timer->hWnd == m_hwnd && timer->uWinTimer == LOWORD(wParam) && !timer->bKilled) {
          SendEvent(timer->pSender, UIEVENT_TIMER, nullptr, m_lastMouse, timer->nLocalID);
          break;
        }
      }
      break;
    case WM_MOUSEHOVER:
      handled = HandleMouseHover(lParam);
      break;
    case WM_MOUSELEAVE:
      HideToolTip();
      if (m_mouseTracking) ::SendMessageW(m_hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(-1, -1));
      m_mouseTracking = false;
      break;
    case WM_MOUSEMOVE:
      HandleMouseMove(lParam);
      break;
    case WM_LBUTTONDOWN: {
      ::SetFocus(m_hwnd);
      m_lastMouse = PointOf(lParam);
      CControlUI* hit = HitControl(m_lastMouse);
      HideToolTip();
      m_tipSilenced = hit;
      if (!hit) break;
      m_capture = hit;
      hit->SetFocus();
      ::SetCapture(m_hwnd);
      m_mouseCaptured = true;
      SendEvent(hit, UIEVENT_BUTTONDOWN, nullptr, m_lastMouse, wParam, lParam, LOWORD(wParam));
      break;
    }
    case WM_LBUTTONDBLCLK: {
      ::SetFocus(m_hwnd);
      m_lastMouse = PointOf(lParam);
      CControlUI* hit = HitControl(m_lastMouse);
      HideToolTip();
      m_tipSilenced = hit;
      if (!hit) break;
      ::SetCapture(m_hwnd);
      m_mouseCaptured = true;
      SendEvent(hit, UIEVENT_DBLCLICK, nullptr, m_lastMouse, 0, 0, LOWORD(wParam));
      m_capture = hit;
      break;
    }
    case WM_LBUTTONUP: {
      m_lastMouse = PointOf(lParam);
      if (!m_capture) break;
      ::ReleaseCapture();
      m_mouseCaptured = false;
      CControlUI* capture = m_capture;
      SendEvent(capture, UIEVENT_BUTTONUP, nullptr, m_lastMouse, wParam, lParam, LOWORD(wParam));
      m_capture = nullptr;
      break;
    }
    case WM_RBUTTONDOWN: {
      ::SetFocus(m_hwnd);
      m_lastMouse = PointOf(lParam);
      CControlUI* hit = HitControl(m_lastMouse);
      HideToolTip();
      m_tipSilenced = hit;
      if (!hit) break;
      hit->SetFocus();
      ::SetCapture(m_hwnd);
      m_mouseCaptured = true;
      SendEvent(hit, UIEVENT_RBUTTONDOWN, nullptr, m_lastMouse, wParam, lParam, LOWORD(wParam));
      m_capture = hit;
      break;
    }
    case WM_CONTEXTMENU: {
      POINT pt = PointOf(lParam);
      ::ScreenToClient(m_hwnd, &pt);
      m_lastMouse = pt;
      HideToolTip();
      if (!m_capture) break;
      ::ReleaseCapture();
      m_mouseCaptured = false;
      CControlUI* capture = m_capture;
      SendEvent(capture, UIEVENT_CONTEXTMENU, nullptr, pt, 0, reinterpret_cast<LPARAM>(capture),
                LOWORD(wParam));
      m_capture = nullptr;
      break;
    }
    case WM_MOUSEWHEEL: {
      POINT pt = PointOf(lParam);
      ::ScreenToClient(m_hwnd, &pt);
      m_lastMouse = pt;
      CControlUI* hit = HitControl(pt);
      if (hit) {
        int delta = GET_WHEEL_DELTA_WPARAM(wParam);
        SendEvent(hit, UIEVENT_SCROLLWHEEL, nullptr, pt, delta < 0 ? 1 : 0, lParam, KeyState());
      }
      ::SendMessageW(m_hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(m_lastMouse.x, m_lastMouse.y));
      break;
    }
    case WM_SETCURSOR: {
      if (LOWORD(lParam) != HTCLIENT) break;
      if (m_mouseCaptured) {
        handled = true;
        break;
      }
      POINT pt;
      ::GetCursorPos(&pt);
      ::ScreenToClient(m_hwnd, &pt);
      CControlUI* control = ControlAt(pt);
      if (control && (control->CapabilityFlags() & UIFLAG_SETCURSOR)) {
        SendEvent(control, UIEVENT_SETCURSOR, nullptr, pt, wParam, lParam, KeyState());
        handled = true;
      }
      break;
    }
    case WM_KEYDOWN:
      if (!m_focus) break;
      SendEvent(m_focus, UIEVENT_KEYDOWN, nullptr, m_lastMouse, 0, 0, KeyState(),
                static_cast<WCHAR>(LOWORD(wParam)));
      m_keyControl = m_focus;
      break;
    case WM_KEYUP:
      if (!m_keyControl) break;
      SendEvent(m_keyControl, UIEVENT_KEYUP, nullptr, m_lastMouse, 0, 0, KeyState(),
                static_cast<WCHAR>(LOWORD(wParam)));
      m_keyControl = nullptr;
      break;
    case WM_CHAR:
      if (!m_focus) break;
      SendEvent(m_focus, UIEVENT_CHAR, nullptr, m_lastMouse, 0, 0, KeyState(),
                static_cast<WCHAR>(LOWORD(wParam)));
      break;
    case WM_CLOSE: {
      if (m_hover) SendEvent(m_hover, UIEVENT_MOUSELEAVE, nullptr, m_lastMouse);
      if (m_capture) SendEvent(m_capture, UIEVENT_BUTTONUP, nullptr, m_lastMouse);
      SetFocusControl(nullptr);
      HWND owner = ::GetWindow(m_hwnd, GW_OWNER);
      if (owner) ::SetFocus(owner);
      break;
    }
    case WM_ERASEBKGND:
      result = 1;
      handled = true;
      break;
    case WM_NOTIFY:
      if (!lParam) break;
      result = ::SendMessageW(reinterpret_cast<NMHDR*>(lParam)->hwndFrom, WM_NOTIFY + 0x2000,
                              wParam, lParam);
      handled = true;
      break;
    case WM_COMMAND:
      if (!lParam) break;
      result = ::SendMessageW(reinterpret_cast<HWND>(lParam), WM_COMMAND + 0x2000, wParam, lParam);
      handled = true;
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      if (!lParam) break;
      result = ::SendMessageW(reinterpret_cast<HWND>(lParam), msg + 0x2000, wParam, lParam);
      handled = true;
      break;
    case UIMSG_DELETE_LATER:
      // A modal loop run from a control's event dispatches this message
      // too; the deletion then waits until the event has returned.
      if (m_dispatchDepth == 0) DeletePendingControls();
      break;
    case UIMSG_QUEUE_NOTIFY: {
      // Handed over by PostNotifyToWindow: queued here, on the UI thread,
      // and delivered by the drain below.
      TUiNotify* record = reinterpret_cast<TUiNotify*>(lParam);
      if (record && !m_queuedNotifies.Add(record)) delete record;
      result = 0;
      handled = true;
      break;
    }
    default:
      break;
  }
  DrainQueuedNotifies();
  return handled;
}

bool CWindowManagerUI::HandleMouseMove(LPARAM lParam) {
  if (!m_mouseTracking) {
    TRACKMOUSEEVENT tme = {sizeof(tme), TME_HOVER | TME_LEAVE, m_hwnd, 400};
    if (m_tooltip)
      tme.dwHoverTime = static_cast<DWORD>(::SendMessageW(m_tooltip, TTM_GETDELAYTIME, TTDT_INITIAL, 0));
    ::TrackMouseEvent(&tme);
    m_mouseTracking = true;
  }
  m_lastMouse = PointOf(lParam);
  CControlUI* hit = ControlAt(m_lastMouse);
  if (hit && hit->GetManager() != this) return false;
  if (hit != m_hover && m_hover) {
    CControlUI* old = m_hover;
    m_hover = nullptr;
    SendEvent(old, UIEVENT_MOUSELEAVE, nullptr, m_lastMouse);
    HideToolTip();
  }
  if (hit != m_tipSilenced) m_tipSilenced = nullptr;
  if (hit != m_hover && hit) {
    m_hover = hit;
    SendEvent(hit, UIEVENT_MOUSEENTER, nullptr, m_lastMouse);
  }
  if (m_capture)
    SendEvent(m_capture, UIEVENT_MOUSEMOVE, nullptr, m_lastMouse);
  else if (hit)
    SendEvent(hit, UIEVENT_MOUSEMOVE, nullptr, m_lastMouse);
  return true;
}

#ifndef _WIN64
static_assert(offsetof(TTTOOLINFOW, lParam) + sizeof(LPARAM) == 44,
              "the tool record up to lParam is 44 bytes in a 32-bit program");
#endif

bool CWindowManagerUI::HandleMouseHover(LPARAM lParam) {
  m_mouseTracking = false;
  POINT pt = PointOf(lParam);
  CControlUI* hit = ControlAt(pt);
  if (!hit) return false;
  if (m_hover) SendEvent(m_hover, UIEVENT_MOUSEHOVER, nullptr, pt);
  if (hit == m_tipSilenced) return true;
  CUiString tip = hit->GetToolTip();
  if (tip.IsEmpty()) return true;
  ZeroMemory(&m_toolInfo, sizeof(m_toolInfo));
  // The record up to lParam (44 bytes in a 32-bit program), which the common
  // controls of every Windows take; its size grows with the pointers.
  m_toolInfo.cbSize = TTTOOLINFOW_V2_SIZE;
  // A tip never takes a click: it passes to the window beneath (a menu
  // that opened under the pointer, or this window).
  m_toolInfo.uFlags = TTF_IDISHWND | TTF_TRANSPARENT;
  m_toolInfo.hwnd = m_hwnd;
  m_toolInfo.uId = reinterpret_cast<UINT_PTR>(m_hwnd);
  m_toolInfo.hinst = GetInstance();
  m_toolInfo.lpszText = const_cast<LPWSTR>(tip.GetData());
  m_toolInfo.rect = hit->GetBounds();
  if (!m_tooltip) {
    // Layered and transparent: the system's hit test passes over it as
    // well, so a click reaches whatever lies under it.
    m_tooltip = ::CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT, TOOLTIPS_CLASSW, nullptr,
                                  WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hwnd, nullptr,
                                  GetInstance(), nullptr);
    if (!m_tooltip) return true;
    ::SetLayeredWindowAttributes(m_tooltip, 0, 255, LWA_ALPHA);
    ::SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, (LPARAM)&m_toolInfo);
  }
  ::SendMessageW(m_tooltip, TTM_SETMAXTIPWIDTH, 0, hit->GetToolTipWidth());
  ::SendMessageW(m_tooltip, TTM_SETTOOLINFOW, 0, (LPARAM)&m_toolInfo);
  ::SendMessageW(m_tooltip, TTM_TRACKACTIVATE, TRUE, (LPARAM)&m_toolInfo);
  return true;
}

void CWindowManagerUI::HideToolTip() {
  if (m_tooltip) ::SendMessageW(m_tooltip, TTM_TRACKACTIVATE, FALSE, (LPARAM)&m_toolInfo);
}

bool CWindowManagerUI::PreTranslate(MSG* msg) {
  for (int i = 0; i < m_preFilters.GetSize();) {
    IMessageFilterUI* filter = static_cast<IMessageFilterUI*>(m_preFilters.GetAt(i));
    bool handled = false;
    filter->FilterMessage(msg->message, msg->wParam, msg->lParam, handled);
    if (handled) return true;
    if (m_preFilters.GetAt(i) == filter) ++i;
  }
  switch (msg->message) {
    case WM_KEYDOWN:
      if (msg->wParam != VK_TAB) return false;
      // A rich edit that wants Tab characters answers "WantTab".
      if (m_focus && m_focus->IsVisible() && m_focus->IsEnabled() &&
          wcsstr(m_focus->ClassName(), L"RichEditUI") != nullptr &&
          m_focus->FindInterface(L"WantTab") != nullptr)
        return false;
      MoveTabFocus(::GetKeyState(VK_SHIFT) >= 0);
      return true;
    case WM_SYSKEYDOWN:
      if (m_focus)
        SendEvent(m_focus, UIEVENT_SYSKEY, nullptr, m_lastMouse, 0, 0, KeyState(),
                  static_cast<WCHAR>(msg->wParam));
      return false;
    case WM_SYSCHAR: {
      if (!m_root) return false;
      TUiShortcutSearch state = {static_cast<wchar_t>(towupper(static_cast<wchar_t>(msg->wParam))), false};
      CControlUI* found = m_root->Search(&FindVisitShortcut, &state,
                                         UIFIND_ENABLED | UIFIND_TOP_FIRST | UIFIND_ME_FIRST);
      if (!found) return false;
      found->SetFocus();
      EnterDispatch();
      found->Activate();
      LeaveDispatch();
      return true;
    }
    default:
      return false;
  }
}

}  // namespace UiToolkit
