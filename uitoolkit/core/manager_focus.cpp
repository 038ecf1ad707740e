// Keyboard focus, the Tab order and the tree visitors of the manager.
#include "uitoolkit/core/control.h"
#include "uitoolkit/core/manager_visitors.h"
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

void CWindowManagerUI::SetFocusControl(CControlUI* control) {
  if (m_hwnd && ::GetFocus() != m_hwnd && control != m_focus) ::SetFocus(m_hwnd);
  if (control == m_focus) return;
  if (m_focus) {
    CControlUI* old = m_focus;
    SendEvent(old, UIEVENT_KILLFOCUS, control, m_lastMouse);
    EmitNotify(old, UI_NOTIFY_KILLFOCUS);
    m_focus = nullptr;
  }
  if (!control || control->GetManager() != this || !control->IsVisible() || !control->IsEnabled())
    return;
  m_focus = control;
  SendEvent(control, UIEVENT_SETFOCUS, control, m_lastMouse);
  EmitNotify(control, UI_NOTIFY_SETFOCUS);
}

CControlUI* CWindowManagerUI::FindTabStop(CControlUI* start, bool forward) const {
  if (!m_root) return nullptr;
  TUiTabSearch state = {start, nullptr, forward, false};
  CControlUI* found =
      m_root->Search(&FindVisitNextTabStop, &state, UIFIND_VISIBLE | UIFIND_ENABLED | UIFIND_ME_FIRST);
  if (found) return found;
  if (forward) {
    // Past the last tab stop: wrap to the first.
    state.start = nullptr;
    state.lastTabStop = nullptr;
    state.passedStart = false;
    return m_root->Search(&FindVisitNextTabStop, &state,
                          UIFIND_VISIBLE | UIFIND_ENABLED | UIFIND_ME_FIRST);
  }
  // Before the first: wrap to the last tab stop seen.
  return state.lastTabStop;
}

bool CWindowManagerUI::MoveTabFocus(bool forward) {
  if (m_updateNeeded && forward) {
    m_focusNeeded = true;
    InvalidateAll();
    return true;
  }
  CControlUI* found = FindTabStop(m_focus, forward);
  if (found) SetFocusControl(found);
  m_focusNeeded = false;
  return true;
}

void CWindowManagerUI::FocusOnNextPaint(CControlUI* control) {
  if (m_hwnd) ::SetFocus(m_hwnd);
  if (!control) return;
  if (m_focus) {
    CControlUI* old = m_focus;
    SendEvent(old, UIEVENT_KILLFOCUS, control, m_lastMouse);
    EmitNotify(old, UI_NOTIFY_KILLFOCUS);
    m_focus = nullptr;
  }
  // Park the focus on the tab stop before the control; the paint that lays
  // out moves it forward onto the control with the usual events.
  TUiTabSearch state = {control, nullptr, false, false};
  m_focus = m_root ? m_root->Search(&FindVisitNextTabStop, &state,
                                    UIFIND_VISIBLE | UIFIND_ENABLED | UIFIND_ME_FIRST)
                   : nullptr;
  m_focusNeeded = true;
  if (m_root && m_root->IsVisible()) m_root->RequestRelayout();
  m_updateNeeded = true;
}

CControlUI* CALLBACK CWindowManagerUI::FindVisitRegisterName(CControlUI* control, LPVOID data) {
  CWindowManagerUI* manager = static_cast<CWindowManagerUI*>(data);
  CUiString name = control->GetName();
  if (!name.IsEmpty()) manager->m_names.Replace(name, control);
  return nullptr;
}

CControlUI* CALLBACK CWindowManagerUI::FindVisitPointHit(CControlUI* control, LPVOID data) {
  const POINT* pt = static_cast<const POINT*>(data);
  return ::PtInRect(&control->GetBounds(), *pt) ? control : nullptr;
}

CControlUI* CALLBACK CWindowManagerUI::FindVisitNextTabStop(CControlUI* control, LPVOID data) {
  TUiTabSearch* state = static_cast<TUiTabSearch*>(data);
  if (control == state->start) {
    if (state->forward) {
      state->passedStart = true;
      return nullptr;
    }
    return state->lastTabStop;
  }
  if (!(control->CapabilityFlags() & UIFLAG_TABSTOP)) return nullptr;
  state->lastTabStop = control;
  if (state->forward && (state->passedStart || !state->start)) return control;
  return nullptr;
}

CControlUI* CALLBACK CWindowManagerUI::FindVisitShortcut(CControlUI* control, LPVOID data) {
  TUiShortcutSearch* state = static_cast<TUiShortcutSearch*>(data);
  // A control without a shortcut never answers, not even a NUL key.
  wchar_t shortcut = control->GetShortcut();
  if (shortcut && control->IsVisible() && towupper(shortcut) == state->ch) state->found = true;
  if (state->found && !wcsstr(control->ClassName(), L"LabelUI")) return control;
  return nullptr;
}

CControlUI* CALLBACK CWindowManagerUI::FindVisitNeedsUpdate(CControlUI* control, LPVOID) {
  return control->IsUpdateNeeded() ? control : nullptr;
}

}  // namespace UiToolkit
