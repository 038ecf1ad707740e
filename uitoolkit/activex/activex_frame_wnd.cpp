#include "uitoolkit/activex/activex_frame_wnd.h"

#include "uitoolkit/activex/activex_ctrl.h"
#include "uitoolkit/activex/activex_ui.h"

namespace UiToolkit {

CActiveXFrameWnd::CActiveXFrameWnd(CActiveXCtrl* site)
    : m_refs(1), m_site(site), m_activeObject(nullptr) {
  if (m_site) m_site->AddRef();
}

CActiveXFrameWnd::~CActiveXFrameWnd() {
  if (m_activeObject) m_activeObject->Release();
  if (m_site) m_site->Release();
}

STDMETHODIMP CActiveXFrameWnd::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid == IID_IUnknown || iid == IID_IOleWindow || iid == IID_IOleInPlaceUIWindow ||
      iid == IID_IOleInPlaceFrame)
    *out = static_cast<IOleInPlaceFrame*>(this);
  if (!*out) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CActiveXFrameWnd::AddRef() { return ::InterlockedIncrement(&m_refs); }

STDMETHODIMP_(ULONG) CActiveXFrameWnd::Release() {
  LONG refs = ::InterlockedDecrement(&m_refs);
  if (refs == 0) delete this;
  return refs;
}

STDMETHODIMP CActiveXFrameWnd::GetWindow(HWND* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  CActiveXUI* owner = m_site ? m_site->Owner() : nullptr;
  if (!owner) return E_UNEXPECTED;
  *out = owner->SkinnedWindow();
  return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::ContextSensitiveHelp(BOOL) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::GetBorder(LPRECT) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::RequestBorderSpace(LPCBORDERWIDTHS) { return INPLACE_E_NOTOOLSPACE; }
STDMETHODIMP CActiveXFrameWnd::SetBorderSpace(LPCBORDERWIDTHS) { return S_OK; }

STDMETHODIMP CActiveXFrameWnd::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) {
  if (object) object->AddRef();
  if (m_activeObject) m_activeObject->Release();
  m_activeObject = object;
  return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::SetMenu(HMENU, HOLEMENU, HWND) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::RemoveMenus(HMENU) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::SetStatusText(LPCOLESTR) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::EnableModeless(BOOL) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::TranslateAccelerator(LPMSG, WORD) { return S_FALSE; }

}  // namespace UiToolkit
