// Attributes, creation, placement, painting and release of a hosted object.
#include "uitoolkit/activex/activex_ui.h"

#include <wchar.h>

#include "foundation/log/log.h"
#include "uitoolkit/activex/activex_ctrl.h"
#include "uitoolkit/activex/activex_wnd.h"
#include "uitoolkit/core/attribute_values.h"
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

namespace {

typedef HRESULT(STDAPICALLTYPE* DllGetClassObjectFn)(REFCLSID, REFIID, LPVOID*);

// The object from the named module's class factory; none when the module,
// its export or the factory fails (the caller then asks COM).
IOleObject* CreateFromModule(const wchar_t* module, const CLSID& clsid) {
  HMODULE handle = ::LoadLibraryW(module);
  if (!handle) {
    log_error("%s: module %ls not loaded (error %lu)", __FUNCTION__, module, ::GetLastError());
    return nullptr;
  }
  // The module stays loaded: the objects it makes run its code.
  DllGetClassObjectFn get = reinterpret_cast<DllGetClassObjectFn>(
      reinterpret_cast<void*>(::GetProcAddress(handle, "DllGetClassObject")));
  if (!get) {
    log_error("%s: module %ls has no DllGetClassObject", __FUNCTION__, module);
    return nullptr;
  }
  IClassFactory* factory = nullptr;
  HRESULT hr = get(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory));
  if (FAILED(hr) || !factory) {
    log_error("%s: module %ls has no class factory for the CLSID (0x%08lx)", __FUNCTION__, module,
              static_cast<unsigned long>(hr));
    return nullptr;
  }
  IOleObject* object = nullptr;
  hr = factory->CreateInstance(nullptr, IID_IOleObject, reinterpret_cast<void**>(&object));
  factory->Release();
  if (FAILED(hr)) {
    log_error("%s: module %ls made no object (0x%08lx)", __FUNCTION__, module,
              static_cast<unsigned long>(hr));
    return nullptr;
  }
  return object;
}

IOleObject* CreateThroughCom(const CLSID& clsid) {
  IOleControl* control = nullptr;
  HRESULT hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IOleControl,
                                  reinterpret_cast<void**>(&control));
  if (FAILED(hr) || !control) {
    log_error("%s: CoCreateInstance failed (0x%08lx)", __FUNCTION__,
              static_cast<unsigned long>(hr));
    return nullptr;
  }
  IOleObject* object = nullptr;
  hr = control->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&object));
  control->Release();
  if (FAILED(hr)) {
    log_error("%s: the object is no IOleObject", __FUNCTION__);
    return nullptr;
  }
  return object;
}

}  // namespace

CLSID ParseClsidText(const wchar_t* text) {
  CLSID clsid = GUID_NULL;
  if (!text || !*text) return clsid;
  wchar_t buffer[100];
  wcsncpy(buffer, text, 99);
  buffer[99] = 0;
  HRESULT hr =
      buffer[0] == L'{' ? ::CLSIDFromString(buffer, &clsid) : ::CLSIDFromProgID(buffer, &clsid);
  if (FAILED(hr)) clsid = GUID_NULL;
  return clsid;
}

SIZEL PixelsToHimetric(SIZE pixels, int dpiX, int dpiY) {
  SIZEL himetric = {0, 0};
  if (dpiX > 0) himetric.cx = ::MulDiv(pixels.cx, 2540, dpiX);
  if (dpiY > 0) himetric.cy = ::MulDiv(pixels.cy, 2540, dpiY);
  return himetric;
}

CActiveXUI::CActiveXUI()
    : m_clsid(GUID_NULL),
      m_created(false),
      m_delayCreate(true),
      m_object(nullptr),
      m_site(nullptr),
      m_hostWindow(nullptr),
      m_filterManager(nullptr) {}

CActiveXUI::~CActiveXUI() { CActiveXUI::ReleaseControl(); }

const wchar_t* CActiveXUI::ClassName() const { return L"ActiveXUI"; }

LPVOID CActiveXUI::FindInterface(const wchar_t* name) {
  if (name && SameName(name, L"ActiveX")) return this;
  return CControlUI::FindInterface(name);
}

HWND CActiveXUI::SkinnedWindow() const { return m_manager ? m_manager->GetWindow() : nullptr; }

RECT CActiveXUI::InPlaceRect() const {
  RECT rc = m_bounds;
  if (m_site && !m_site->IsWindowless()) ::OffsetRect(&rc, -rc.left, -rc.top);
  return rc;
}

void CActiveXUI::SetClsid(const CLSID& clsid) {
  if (::IsEqualGUID(clsid, GUID_NULL)) return;
  m_clsid = clsid;
  m_created = false;
  if (!m_delayCreate) CreateControl();
}

void CActiveXUI::SetDelayCreate(bool delay) {
  if (m_delayCreate == delay) return;
  m_delayCreate = delay;
  if (!delay && !m_created && !::IsEqualGUID(m_clsid, GUID_NULL)) CreateControl();
}

void CActiveXUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
  if (SameName(name, L"clsid")) {
    CLSID clsid = ParseClsidText(value);
    if (::IsEqualGUID(clsid, GUID_NULL))
      log_error("%s: clsid \"%ls\" of %ls names no class; kept the earlier one", __FUNCTION__,
                value ? value : L"", m_name.GetData());
    SetClsid(clsid);
  } else if (SameName(name, L"modulename")) {
    SetModuleName(value);
  } else if (SameName(name, L"delaycreate")) {
    SetDelayCreate(ParseBoolValue(value));
  } else {
    CControlUI::ApplyAttribute(name, value);
  }
}

HRESULT CActiveXUI::GetControl(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!m_object) return E_FAIL;
  return m_object->QueryInterface(iid, out);
}

void CActiveXUI::JoinMessageFilters() {
  if (m_filterManager || !m_manager) return;
  m_filterManager = m_manager;
  m_filterManager->AddWindowMessageFilter(this);
}

void CActiveXUI::LeaveMessageFilters() {
  if (!m_filterManager) return;
  m_filterManager->RemoveWindowMessageFilter(this);
  m_filterManager = nullptr;
}

bool CActiveXUI::CreateControl() {
  ReleaseControl();
  m_created = true;

  IOleObject* object = nullptr;
  if (!m_moduleName.IsEmpty()) object = CreateFromModule(m_moduleName, m_clsid);
  if (!object) object = CreateThroughCom(m_clsid);
  if (!object) return false;
  m_object = object;
  m_site = new CActiveXCtrl(this);

  DWORD misc = 0;
  m_object->GetMiscStatus(DVASPECT_CONTENT, &misc);
  IOleClientSite* site = static_cast<IOleClientSite*>(m_site);
  if (misc & OLEMISC_SETCLIENTSITEFIRST) m_object->SetClientSite(site);

  IPersistStreamInit* persist = nullptr;
  if (SUCCEEDED(
          m_object->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist))) &&
      persist) {
    HRESULT hr = persist->InitNew();
    persist->Release();
    if (FAILED(hr)) {
      log_error("%s: the object refused InitNew (0x%08lx)", __FUNCTION__,
                static_cast<unsigned long>(hr));
      ReleaseControl();
      m_created = true;
      return false;
    }
  }
  if (!(misc & OLEMISC_SETCLIENTSITEFIRST)) m_object->SetClientSite(site);

  m_site->TakeViewObject(m_object);
  m_object->SetHostNames(L"UIActiveX", nullptr);
  if (m_manager) m_manager->EmitNotify(this, UI_NOTIFY_SHOWACTIVEX);
  // A receiver of "showactivex" may have released the object.
  if (!m_object) return false;

  HRESULT hr = S_OK;
  if (!(misc & OLEMISC_INVISIBLEATRUNTIME)) {
    RECT rc = m_bounds;
    hr = m_object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site, 0, SkinnedWindow(), &rc);
    if (FAILED(hr))
      log_error("%s: in-place activation failed (0x%08lx)", __FUNCTION__,
                static_cast<unsigned long>(hr));
  }
  if (!m_object) return false;
  IObjectWithSite* withSite = nullptr;
  if (SUCCEEDED(
          m_object->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(&withSite))) &&
      withSite) {
    withSite->SetSite(static_cast<IOleClientSite*>(m_site));
    withSite->Release();
  }
  return SUCCEEDED(hr);
}

void CActiveXUI::ReleaseControl() {
  m_hostWindow = nullptr;
  if (m_object) {
    IOleObject* object = m_object;
    IObjectWithSite* withSite = nullptr;
    if (SUCCEEDED(
            object->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(&withSite))) &&
        withSite) {
      withSite->SetSite(nullptr);
      withSite->Release();
    }
    object->Close(OLECLOSE_NOSAVE);
    object->SetClientSite(nullptr);
    if (m_site) m_site->UnlockRunning();
    m_object = nullptr;
    object->Release();
  }
  if (m_site) {
    CActiveXCtrl* site = m_site;
    m_site = nullptr;
    site->DetachOwner();
    site->Release();
  }
  m_hostWindow = nullptr;
  LeaveMessageFilters();
}

void CActiveXUI::SetBounds(RECT rc) {
  CControlUI::SetBounds(rc);
  // A control without a window has nothing to host the object in: the
  // object is made at the first layout inside one.
  if (!m_created && m_manager) CreateControl();
  if (!m_object || !m_site) return;
  SIZE pixels = {m_bounds.GetWidth(), m_bounds.GetHeight()};
  HDC screen = ::GetDC(nullptr);
  SIZEL himetric = PixelsToHimetric(pixels, ::GetDeviceCaps(screen, LOGPIXELSX),
                                    ::GetDeviceCaps(screen, LOGPIXELSY));
  ::ReleaseDC(nullptr, screen);
  m_object->SetExtent(DVASPECT_CONTENT, &himetric);
  if (IOleInPlaceObject* inPlace = m_site ? m_site->InPlaceObject() : nullptr) {
    RECT place = InPlaceRect();
    inPlace->SetObjectRects(&place, &place);
  }
  if (m_site && !m_site->IsWindowless() && m_hostWindow)
    ::MoveWindow(m_hostWindow, m_bounds.left, m_bounds.top, m_bounds.GetWidth(),
                 m_bounds.GetHeight(), TRUE);
}

void CActiveXUI::SyncChildVisibility() {
  if (m_site && !m_site->IsWindowless() && m_hostWindow)
    ::ShowWindow(m_hostWindow, IsVisible() ? SW_SHOW : SW_HIDE);
}

void CActiveXUI::SetVisible(bool visible) {
  CControlUI::SetVisible(visible);
  SyncChildVisibility();
}

void CActiveXUI::SetInheritedVisible(bool visible) {
  CControlUI::SetInheritedVisible(visible);
  SyncChildVisibility();
}

void CActiveXUI::Paint(HDC hdc, const RECT& dirty) {
  RECT overlap;
  if (!::IntersectRect(&overlap, &dirty, &m_bounds)) return;
  if (!m_site || !m_site->IsWindowless()) return;
  IViewObject* view = m_site->ViewObject();
  if (!view) return;
  RECTL bounds = {m_bounds.left, m_bounds.top, m_bounds.right, m_bounds.bottom};
  view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, hdc, &bounds, &bounds, nullptr, 0);
}

}  // namespace UiToolkit
