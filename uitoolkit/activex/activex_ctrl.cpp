// The site's identity, lifetime, client site, control site, object-with-site
// and container parts.
#include "uitoolkit/activex/activex_ctrl.h"

#include "uitoolkit/activex/activex_enum.h"
#include "uitoolkit/activex/activex_ui.h"
#include "uitoolkit/activex/activex_wnd.h"

namespace UiToolkit {

CActiveXCtrl::CActiveXCtrl(CActiveXUI* owner)
    : m_refs(1),
      m_owner(owner),
      m_window(nullptr),
      m_objectSite(nullptr),
      m_view(nullptr),
      m_viewIsEx(false),
      m_inPlace(nullptr),
      m_inPlaceWindowless(false),
      m_runningLock(nullptr),
      m_accelerators(nullptr),
      m_locked(false),
      m_focused(false),
      m_captured(false),
      m_uiActive(false),
      m_inPlaceActive(false),
      m_windowless(true) {}

CActiveXCtrl::~CActiveXCtrl() {
  DestroyChildWindow();
  ReleaseInPlaceObject();
  if (m_view) m_view->Release();
  if (m_objectSite) m_objectSite->Release();
  if (m_accelerators) ::DestroyAcceleratorTable(m_accelerators);
}

void CActiveXCtrl::DetachOwner() {
  DestroyChildWindow();
  ReleaseInPlaceObject();
  m_inPlaceActive = false;
  if (m_view) {
    m_view->Release();
    m_view = nullptr;
    m_viewIsEx = false;
  }
  if (m_objectSite) {
    m_objectSite->Release();
    m_objectSite = nullptr;
  }
  m_owner = nullptr;
}

void CActiveXCtrl::UnlockRunning() {
  if (!m_runningLock) return;
  IUnknown* object = m_runningLock;
  m_runningLock = nullptr;
  ::OleLockRunning(object, FALSE, TRUE);
}

void CActiveXCtrl::TakeViewObject(IUnknown* object) {
  if (m_view) m_view->Release();
  m_view = nullptr;
  m_viewIsEx = false;
  if (!object) return;
  void* view = nullptr;
  if (SUCCEEDED(object->QueryInterface(IID_IViewObjectEx, &view)) && view) {
    m_view = static_cast<IViewObjectEx*>(view);
    m_viewIsEx = true;
  } else if (SUCCEEDED(object->QueryInterface(IID_IViewObject2, &view)) && view) {
    m_view = static_cast<IViewObject2*>(view);
  } else if (SUCCEEDED(object->QueryInterface(IID_IViewObject, &view)) && view) {
    m_view = static_cast<IViewObject*>(view);
  }
}

void CActiveXCtrl::ReleaseInPlaceObject() {
  if (!m_inPlace) return;
  IOleInPlaceObject* inPlace = m_inPlace;
  m_inPlace = nullptr;
  m_inPlaceWindowless = false;
  inPlace->Release();
}

// ---- IUnknown ----

STDMETHODIMP CActiveXCtrl::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid == IID_IUnknown || iid == IID_IOleInPlaceSiteWindowless || iid == IID_IOleInPlaceSiteEx ||
      iid == IID_IOleInPlaceSite || iid == IID_IOleWindow)
    *out = static_cast<IOleInPlaceSiteWindowless*>(this);
  else if (iid == IID_IOleClientSite)
    *out = static_cast<IOleClientSite*>(this);
  else if (iid == IID_IOleControlSite)
    *out = static_cast<IOleControlSite*>(this);
  else if (iid == IID_IOleContainer)
    *out = static_cast<IOleContainer*>(this);
  else if (iid == IID_IObjectWithSite)
    *out = static_cast<IObjectWithSite*>(this);
  if (!*out) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CActiveXCtrl::AddRef() { return ::InterlockedIncrement(&m_refs); }

STDMETHODIMP_(ULONG) CActiveXCtrl::Release() {
  LONG refs = ::InterlockedDecrement(&m_refs);
  if (refs == 0) delete this;
  return refs;
}

// ---- IOleClientSite ----

STDMETHODIMP CActiveXCtrl::SaveObject() { return E_NOTIMPL; }

STDMETHODIMP CActiveXCtrl::GetMoniker(DWORD, DWORD, IMoniker** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::GetContainer(IOleContainer** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (m_objectSite &&
      SUCCEEDED(m_objectSite->QueryInterface(IID_IOleContainer, reinterpret_cast<void**>(out))) &&
      *out)
    return S_OK;
  return QueryInterface(IID_IOleContainer, reinterpret_cast<void**>(out));
}

STDMETHODIMP CActiveXCtrl::ShowObject() {
  if (!m_owner) return E_UNEXPECTED;
  HWND host = m_owner->GetHostWindow();
  HDC dc = ::GetDC(host);
  if (!dc) return E_FAIL;
  if (m_view) {
    RECT b = m_owner->GetBounds();
    RECTL bounds = {b.left, b.top, b.right, b.bottom};
    m_view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, &bounds, nullptr, 0);
  }
  ::ReleaseDC(host, dc);
  return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnShowWindow(BOOL) { return E_NOTIMPL; }
STDMETHODIMP CActiveXCtrl::RequestNewObjectLayout() { return E_NOTIMPL; }

// ---- IOleControlSite ----

STDMETHODIMP CActiveXCtrl::OnControlInfoChanged() { return S_OK; }
STDMETHODIMP CActiveXCtrl::LockInPlaceActive(BOOL) { return S_OK; }

STDMETHODIMP CActiveXCtrl::GetExtendedControl(IDispatch** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!m_owner || !m_owner->m_object) return E_UNEXPECTED;
  return m_owner->m_object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(out));
}

STDMETHODIMP CActiveXCtrl::TransformCoords(POINTL*, POINTF*, DWORD) { return S_OK; }
STDMETHODIMP CActiveXCtrl::TranslateAccelerator(MSG*, DWORD) { return S_FALSE; }

STDMETHODIMP CActiveXCtrl::OnFocus(BOOL got) {
  m_focused = got == TRUE;
  return S_OK;
}

STDMETHODIMP CActiveXCtrl::ShowPropertyFrame() { return E_NOTIMPL; }

// ---- IObjectWithSite ----

STDMETHODIMP CActiveXCtrl::SetSite(IUnknown* site) {
  if (site) site->AddRef();
  if (m_objectSite) m_objectSite->Release();
  m_objectSite = site;
  return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetSite(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!m_objectSite) return E_FAIL;
  return m_objectSite->QueryInterface(iid, out);
}

// ---- IOleContainer ----

STDMETHODIMP CActiveXCtrl::ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*, IMoniker** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::EnumObjects(DWORD, IEnumUnknown** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!m_owner) return E_UNEXPECTED;
  *out = new CActiveXEnum(m_owner->m_object);
  return S_OK;
}

STDMETHODIMP CActiveXCtrl::LockContainer(BOOL lock) {
  m_locked = lock != FALSE;
  return S_OK;
}

}  // namespace UiToolkit
