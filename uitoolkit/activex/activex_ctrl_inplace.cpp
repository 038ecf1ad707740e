// The site's in-place parts: window, activation (windowless or inside a
// child window), window context, capture, focus and drawing surface.
#include <new>

#include "uitoolkit/activex/activex_ctrl.h"
#include "uitoolkit/activex/activex_frame_wnd.h"
#include "uitoolkit/activex/activex_ui.h"
#include "uitoolkit/activex/activex_wnd.h"

namespace UiToolkit {

HRESULT CActiveXCtrl::CreateChildWindow() {
  if (!m_owner) return E_UNEXPECTED;
  if (m_window) {
    m_owner->m_hostWindow = m_window->GetHWND();
    return S_OK;
  }
  CActiveXWnd* window = new (std::nothrow) CActiveXWnd(this);
  if (!window) return E_OUTOFMEMORY;
  HWND hwnd = window->Init(m_owner->SkinnedWindow(), m_owner->IsVisible());
  if (!hwnd) {
    delete window;
    return E_FAIL;
  }
  m_window = window;
  m_owner->m_hostWindow = hwnd;
  // Placed at once: an object created after the control's layout would
  // otherwise sit in a window of no size until the next one.
  const RECT& b = m_owner->GetBounds();
  ::MoveWindow(hwnd, b.left, b.top, b.right - b.left, b.bottom - b.top, TRUE);
  return S_OK;
}

void CActiveXCtrl::DestroyChildWindow() {
  if (!m_window) return;
  CActiveXWnd* window = m_window;
  m_window = nullptr;
  HWND hwnd = window->GetHWND();
  if (m_owner && m_owner->m_hostWindow == hwnd) m_owner->m_hostWindow = nullptr;
  if (hwnd && ::IsWindow(hwnd)) ::DestroyWindow(hwnd);
  delete window;
}

// ---- IOleWindow ----

STDMETHODIMP CActiveXCtrl::GetWindow(HWND* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!m_owner) return E_UNEXPECTED;
  if (!m_owner->m_hostWindow) CreateChildWindow();
  if (!m_owner->m_hostWindow) return E_FAIL;
  *out = m_owner->m_hostWindow;
  return S_OK;
}

STDMETHODIMP CActiveXCtrl::ContextSensitiveHelp(BOOL) { return S_OK; }

// ---- IOleInPlaceSite ----

STDMETHODIMP CActiveXCtrl::CanInPlaceActivate() { return S_OK; }
STDMETHODIMP CActiveXCtrl::OnInPlaceActivate() { return OnInPlaceActivateEx(nullptr, 0); }

STDMETHODIMP CActiveXCtrl::OnUIActivate() {
  m_uiActive = true;
  return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                            LPRECT pos, LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
  if (!frame || !doc || !pos || !clip || !info) return E_POINTER;
  *frame = nullptr;
  *doc = nullptr;
  if (!m_owner) return E_UNEXPECTED;
  if (m_window && m_window->GetHWND()) {
    ::GetClientRect(m_window->GetHWND(), pos);
  } else {
    // Windowless: the object's place in the skinned window.
    *pos = m_owner->GetBounds();
  }
  *clip = *pos;
  *frame = new CActiveXFrameWnd(this);
  if (!m_accelerators) {
    ACCEL empty = {0, 0, 0};
    m_accelerators = ::CreateAcceleratorTableW(&empty, 1);
  }
  info->cb = sizeof(OLEINPLACEFRAMEINFO);
  info->fMDIApp = FALSE;
  info->hwndFrame = m_owner->SkinnedWindow();
  info->haccel = m_accelerators;
  info->cAccelEntries = 1;
  return S_OK;
}

STDMETHODIMP CActiveXCtrl::Scroll(SIZE) { return E_NOTIMPL; }

STDMETHODIMP CActiveXCtrl::OnUIDeactivate(BOOL) {
  m_uiActive = false;
  return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceDeactivate() { return OnInPlaceDeactivateEx(TRUE); }
STDMETHODIMP CActiveXCtrl::DiscardUndoState() { return E_NOTIMPL; }
STDMETHODIMP CActiveXCtrl::DeactivateAndUndo() { return E_NOTIMPL; }
STDMETHODIMP CActiveXCtrl::OnPosRectChange(LPCRECT) { return E_NOTIMPL; }

// ---- IOleInPlaceSiteEx ----

STDMETHODIMP CActiveXCtrl::OnInPlaceActivateEx(BOOL* noRedraw, DWORD flags) {
  if (noRedraw) *noRedraw = FALSE;
  if (!m_owner || !m_owner->m_object) return E_UNEXPECTED;
  IOleObject* object = m_owner->m_object;
  // Kept running while in place; the lock ends at deactivation or release,
  // or it would hold the object alive for ever.
  if (!m_runningLock && SUCCEEDED(::OleLockRunning(object, TRUE, FALSE))) m_runningLock = object;
  ReleaseInPlaceObject();

  HRESULT hr = E_FAIL;
  bool windowless = false;
  if (flags & ACTIVATE_WINDOWLESS) {
    IOleInPlaceObjectWindowless* inPlace = nullptr;
    if (SUCCEEDED(object->QueryInterface(IID_IOleInPlaceObjectWindowless,
                                         reinterpret_cast<void**>(&inPlace))) &&
        inPlace) {
      windowless = true;
      m_windowless = true;
      m_inPlace = inPlace;
      m_inPlaceWindowless = true;
      DestroyChildWindow();
      m_owner->m_hostWindow = m_owner->SkinnedWindow();
      m_owner->JoinMessageFilters();
      hr = S_OK;
    }
  }
  if (!windowless) {
    m_windowless = false;
    hr = CreateChildWindow();
    if (FAILED(hr)) return hr;
    IOleInPlaceObject* inPlace = nullptr;
    hr = object->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace));
    if (SUCCEEDED(hr) && inPlace) m_inPlace = inPlace;
  }
  if (m_inPlace) {
    RECT rc = m_owner->InPlaceRect();
    hr = m_inPlace->SetObjectRects(&rc, &rc);
  }
  m_inPlaceActive = SUCCEEDED(hr);
  return hr;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceDeactivateEx(BOOL) {
  m_inPlaceActive = false;
  ReleaseInPlaceObject();
  DestroyChildWindow();
  UnlockRunning();
  return S_OK;
}

STDMETHODIMP CActiveXCtrl::RequestUIActivate() { return S_OK; }

// ---- IOleInPlaceSiteWindowless ----

STDMETHODIMP CActiveXCtrl::CanWindowlessActivate() { return S_OK; }

STDMETHODIMP CActiveXCtrl::GetCapture() {
  if (!m_owner) return E_UNEXPECTED;
  return m_captured ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXCtrl::SetCapture(BOOL capture) {
  if (!m_owner) return E_UNEXPECTED;
  m_captured = capture == TRUE;
  if (m_captured)
    ::SetCapture(m_owner->m_hostWindow);
  else
    ::ReleaseCapture();
  return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetFocus() {
  if (!m_owner) return E_UNEXPECTED;
  return m_focused ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXCtrl::SetFocus(BOOL focus) {
  if (!m_owner) return E_UNEXPECTED;
  if (focus == TRUE) m_owner->SetFocus();
  m_focused = focus == TRUE;
  return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetDC(LPCRECT, DWORD flags, HDC* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!m_owner) return E_UNEXPECTED;
  // GetDC(none) would hand out the whole screen.
  HWND host = m_owner->m_hostWindow;
  HDC dc = host ? ::GetDC(host) : nullptr;
  if (!dc) return E_FAIL;
  if (flags & OLEDC_PAINTBKGND) {
    RECT rc = m_owner->InPlaceRect();
    ::FillRect(dc, &rc, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
  }
  *out = dc;
  return S_OK;
}

STDMETHODIMP CActiveXCtrl::ReleaseDC(HDC dc) {
  if (!m_owner) return E_UNEXPECTED;
  return ::ReleaseDC(m_owner->m_hostWindow, dc) ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXCtrl::InvalidateRect(LPCRECT rect, BOOL erase) {
  if (!m_owner) return E_UNEXPECTED;
  HWND host = m_owner->m_hostWindow;
  if (!host) return E_FAIL;
  return ::InvalidateRect(host, rect, erase) ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXCtrl::InvalidateRgn(HRGN region, BOOL erase) {
  if (!m_owner) return E_UNEXPECTED;
  HWND host = m_owner->m_hostWindow;
  if (!host) return E_FAIL;
  return ::InvalidateRgn(host, region, erase) ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXCtrl::ScrollRect(INT, INT, LPCRECT, LPCRECT) { return S_OK; }
STDMETHODIMP CActiveXCtrl::AdjustRect(LPRECT) { return S_OK; }

STDMETHODIMP CActiveXCtrl::OnDefWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam,
                                              LRESULT* result) {
  if (!result) return E_POINTER;
  *result = 0;
  if (!m_owner) return E_UNEXPECTED;
  *result = ::DefWindowProcW(m_owner->m_hostWindow, msg, wParam, lParam);
  return S_OK;
}

}  // namespace UiToolkit
