#include "uitoolkit/activex/activex_wnd.h"

#include "uitoolkit/activex/activex_ctrl.h"
#include "uitoolkit/activex/activex_ui.h"

namespace UiToolkit {

HWND CActiveXWnd::Init(HWND parent, bool visible) {
  if (!parent) return nullptr;
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | (visible ? WS_VISIBLE : 0);
  return Create(parent, L"UIActiveX", style, 0, 0, 0, 0, 0);
}

const wchar_t* CActiveXWnd::WindowClassName() const { return L"ActiveXWnd"; }

void CActiveXWnd::ActivateObject(LONG verb) {
  CActiveXUI* owner = m_site ? m_site->Owner() : nullptr;
  IOleObject* object = owner ? owner->m_object : nullptr;
  if (!object) return;
  RECT bounds = owner->GetBounds();
  object->DoVerb(verb, nullptr, static_cast<IOleClientSite*>(m_site), 0, m_hwnd, &bounds);
}

LRESULT CActiveXWnd::ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SETFOCUS:
      if (m_site) {
        m_site->SetFocusFlag(true);
        if (!m_site->IsUIActive()) ActivateObject(OLEIVERB_UIACTIVATE);
      }
      return 0;
    case WM_KILLFOCUS:
      if (m_site) m_site->SetFocusFlag(false);
      break;
    case WM_PAINT: {
      // The object paints its own windows.
      PAINTSTRUCT ps;
      ::BeginPaint(m_hwnd, &ps);
      ::EndPaint(m_hwnd, &ps);
      return 1;
    }
    case WM_ERASEBKGND:
      if (m_site && m_site->ViewObject()) return 1;
      break;
    case WM_MOUSEACTIVATE: {
      CActiveXUI* owner = m_site ? m_site->Owner() : nullptr;
      IOleObject* object = owner ? owner->m_object : nullptr;
      if (!object) break;
      DWORD misc = 0;
      object->GetMiscStatus(DVASPECT_CONTENT, &misc);
      if (misc & OLEMISC_NOUIACTIVATE) return 0;
      if (!m_site->IsInPlaceActive()) ActivateObject(OLEIVERB_INPLACEACTIVATE);
      break;
    }
    case WM_MOUSEWHEEL:
      return 0;
    default:
      break;
  }
  return CWindowWnd::ProcessMessage(msg, wParam, lParam);
}

}  // namespace UiToolkit
