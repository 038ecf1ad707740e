// Control timers multiplexed onto Win32 timers of the manager's window.
#include "uitoolkit/core/control.h"
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

bool CWindowManagerUI::StartTimer(CControlUI* control, UINT id, UINT elapse) {
  // Without a window there is nothing to own the timer: SetTimer(NULL)
  // would make a thread timer that no manager ever sees.
  if (!m_hwnd) return false;
  for (int i = 0; i < m_timers.GetSize(); ++i) {
    TUiTimer* timer = static_cast<TUiTimer*>(m_timers.GetAt(i));
    if (timer->pSender == control && timer->hWnd == m_hwnd && timer->nLocalID == id) {
      if (!timer->bKilled) return false;
      if (!::SetTimer(m_hwnd, timer->uWinTimer, elapse, nullptr)) return false;
      timer->bKilled = false;
      return true;
    }
  }
  // Ids run (counter + 1) mod 255 and wrap; an id that a record of this
  // manager still holds (running or stopped, it will be restarted under the
  // same id) is skipped, so two live timers never share an id.
  UINT win_id = 0;
  bool found = false;
  for (int tries = 0; tries < 255 && !found; ++tries) {
    m_timerCounter = (m_timerCounter + 1) % 255;
    win_id = m_timerCounter;
    found = true;
    for (int i = 0; i < m_timers.GetSize(); ++i) {
      TUiTimer* timer = static_cast<TUiTimer*>(m_timers.GetAt(i));
      if (timer->hWnd == m_hwnd && timer->uWinTimer == win_id) {
        found = false;
        break;
      }
    }
  }
  if (!found) return false;
  if (!::SetTimer(m_hwnd, win_id, elapse, nullptr)) return false;
  TUiTimer* timer = new TUiTimer{control, id, m_hwnd, win_id, false};
  if (!m_timers.Add(timer)) {
    ::KillTimer(m_hwnd, win_id);
    delete timer;
    return false;
  }
  return true;
}

bool CWindowManagerUI::StopTimer(CControlUI* control, UINT id) {
  for (int i = 0; i < m_timers.GetSize(); ++i) {
    TUiTimer* timer = static_cast<TUiTimer*>(m_timers.GetAt(i));
    if (timer->pSender == control && timer->hWnd == m_hwnd && timer->nLocalID == id &&
        !timer->bKilled) {
      if (::IsWindow(m_hwnd)) ::KillTimer(timer->hWnd, timer->uWinTimer);
      timer->bKilled = true;
      return true;
    }
  }
  return false;
}

void CWindowManagerUI::StopTimers(CControlUI* control) {
  for (int i = m_timers.GetSize() - 1; i >= 0; --i) {
    TUiTimer* timer = static_cast<TUiTimer*>(m_timers.GetAt(i));
    if (timer->pSender != control || timer->hWnd != m_hwnd) continue;
    if (!timer->bKilled && m_hwnd) ::KillTimer(timer->hWnd, timer->uWinTimer);
    m_timers.RemoveAt(i);
    delete timer;
  }
}

void CWindowManagerUI::ClearTimers() {
  for (int i = 0; i < m_timers.GetSize(); ++i) {
    TUiTimer* timer = static_cast<TUiTimer*>(m_timers.GetAt(i));
    if (!timer->bKilled && timer->hWnd && ::IsWindow(timer->hWnd))
      ::KillTimer(timer->hWnd, timer->uWinTimer);
    delete timer;
  }
  m_timers.Empty();
}

UINT CWindowManagerUI::TimerWin32Id(CControlUI* control, UINT id) const {
  for (int i = 0; i < m_timers.GetSize(); ++i) {
    TUiTimer* timer = static_cast<TUiTimer*>(m_timers.GetAt(i));
    if (timer->pSender == control && timer->nLocalID == id) return timer->uWinTimer;
  }
  return 0;
}

}  // namespace UiToolkit
