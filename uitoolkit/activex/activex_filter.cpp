// The skinned window's messages, routed to a windowless hosted object.
#include <windowsx.h>

#include "uitoolkit/activex/activex_ctrl.h"
#include "uitoolkit/activex/activex_ui.h"
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

namespace {

bool IsMouseMessage(UINT msg) { return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST; }
bool IsKeyMessage(UINT msg) { return msg >= WM_KEYFIRST && msg <= WM_KEYLAST; }
bool IsWheelMessage(UINT msg) { return msg == WM_MOUSEWHEEL || msg == WM_MOUSEHWHEEL; }

// The client point a mouse-like message is about. WM_SETCURSOR carries a
// hit-test code, not a point, so the cursor's position is asked; wheels
// carry screen points.
POINT ClientPointOf(UINT msg, LPARAM lParam, HWND window) {
  POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (msg == WM_SETCURSOR) {
    ::GetCursorPos(&pt);
    ::ScreenToClient(window, &pt);
  } else if (IsWheelMessage(msg)) {
    ::ScreenToClient(window, &pt);
  }
  return pt;
}

}  // namespace

LRESULT CActiveXUI::FilterMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
  if (!m_site || !m_site->IsInPlaceActive()) return 0;
  IOleInPlaceObjectWindowless* object = m_site->WindowlessObject();
  if (!object) return 0;
  // A hidden control (a page not shown) takes nothing meant for what is
  // shown over it.
  if (!IsVisible()) return 0;

  bool taken = false;
  if (IsMouseMessage(msg) || msg == WM_SETCURSOR) {
    if (IsMouseMessage(msg) && !IsMouseEnabled()) return 0;
    if (m_site->HasCapture()) {
      taken = true;
    } else if (IViewObjectEx* view = m_site->ViewObjectEx()) {
      POINT pt = ClientPointOf(msg, lParam, m_hostWindow ? m_hostWindow : SkinnedWindow());
      RECT bounds = m_bounds;
      DWORD hit = HITRESULT_OUTSIDE;
      taken = SUCCEEDED(view->QueryHitPoint(DVASPECT_CONTENT, &bounds, pt, 0, &hit)) &&
              hit == HITRESULT_HIT;
    }
  } else if (msg == WM_HELP || msg == WM_CONTEXTMENU) {
    taken = true;
  } else if (IsKeyMessage(msg)) {
    taken = m_manager && m_manager->GetFocusControl() == this;
  }
  if (!taken) return 0;

  LRESULT result = 0;
  HRESULT hr = object->OnWindowMessage(msg, wParam, lParam, &result);
  // The window still handles the cursor, help and context menu itself.
  if (hr == S_OK && msg != WM_SETCURSOR && msg != WM_HELP && msg != WM_CONTEXTMENU) handled = true;
  return result;
}

}  // namespace UiToolkit
