#include "tests/uitoolkit/activex/fake_module/fake_ole_object.h"

#include "tests/uitoolkit/activex/fake_activex_api.h"

namespace fake_activex {

namespace {

const char* SetOrNone(const void* p) { return p ? "set" : "none"; }

HWND CreateChildWindow(HWND parent, const RECT& pos) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ModuleInstance();
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    wc.lpszClassName = kChildClass;
    registered = ::RegisterClassW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }
  return ::CreateWindowExW(0, kChildClass, L"fake", WS_CHILD | WS_VISIBLE | WS_TABSTOP, pos.left,
                           pos.top, pos.right - pos.left, pos.bottom - pos.top, parent, nullptr,
                           ModuleInstance(), nullptr);
}

}  // namespace

FakeOleObject::FakeOleObject(bool windowless, const char* kind)
    : refs_(1),
      kind_(kind),
      windowless_(windowless),
      runningLocks_(0),
      active_(false),
      uiActive_(false),
      window_(nullptr) {
  ObjectBorn();
  Record("create %s", kind_);
}

FakeOleObject::~FakeOleObject() {
  Deactivate();
  Record("destroy %s", kind_);
  ObjectGone();
}

STDMETHODIMP FakeOleObject::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid == IID_IUnknown || iid == IID_IOleObject)
    *out = static_cast<IOleObject*>(this);
  else if (iid == IID_IOleInPlaceObject || iid == IID_IOleWindow)
    *out = static_cast<IOleInPlaceObject*>(static_cast<IOleInPlaceObjectWindowless*>(this));
  else if (iid == IID_IOleInPlaceObjectWindowless && windowless_)
    *out = static_cast<IOleInPlaceObjectWindowless*>(this);
  else if (iid == IID_IOleInPlaceActiveObject)
    *out = static_cast<IOleInPlaceActiveObject*>(this);
  else if (iid == IID_IViewObject || iid == IID_IViewObject2 || iid == IID_IViewObjectEx)
    *out = static_cast<IViewObjectEx*>(this);
  else if (iid == IID_IPersistStreamInit || iid == IID_IPersist)
    *out = static_cast<IPersistStreamInit*>(this);
  else if (iid == IID_IObjectWithSite)
    *out = static_cast<IObjectWithSite*>(this);
  else if (iid == IID_IRunnableObject)
    *out = static_cast<IRunnableObject*>(this);
  if (!*out) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) FakeOleObject::AddRef() { return ::InterlockedIncrement(&refs_); }

STDMETHODIMP_(ULONG) FakeOleObject::Release() {
  LONG refs = ::InterlockedDecrement(&refs_);
  if (refs == 0) delete this;
  return refs;
}

// ---- IOleObject ----

STDMETHODIMP FakeOleObject::SetClientSite(IOleClientSite* site) {
  Record("SetClientSite %s", SetOrNone(site));
  clientSite_.Reset(site);
  return S_OK;
}

STDMETHODIMP FakeOleObject::GetClientSite(IOleClientSite** out) {
  if (!out) return E_POINTER;
  *out = clientSite_.get();
  if (*out) (*out)->AddRef();
  return S_OK;
}

STDMETHODIMP FakeOleObject::SetHostNames(LPCOLESTR app, LPCOLESTR) {
  Record("SetHostNames %ls", app ? app : L"");
  return S_OK;
}

STDMETHODIMP FakeOleObject::Close(DWORD) {
  Record("Close");
  Deactivate();
  return S_OK;
}

STDMETHODIMP FakeOleObject::GetMoniker(DWORD, DWORD, IMoniker** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP FakeOleObject::GetClipboardData(DWORD, IDataObject** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP FakeOleObject::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT) {
  Record("DoVerb %ld", verb);
  if (verb == OLEIVERB_INPLACEACTIVATE || verb == OLEIVERB_UIACTIVATE || verb == OLEIVERB_SHOW)
    return Activate(site ? site : clientSite_.get(), verb == OLEIVERB_UIACTIVATE);
  return E_NOTIMPL;
}

HRESULT FakeOleObject::Activate(IOleClientSite* site, bool uiActivate) {
  if (!site) return E_UNEXPECTED;
  if (!active_) {
    IOleInPlaceSite* inPlace = nullptr;
    if (FAILED(site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&inPlace))) ||
        !inPlace)
      return E_NOINTERFACE;
    HRESULT hr = E_FAIL;
    if (windowless_) {
      IOleInPlaceSiteWindowless* wsite = nullptr;
      if (SUCCEEDED(inPlace->QueryInterface(IID_IOleInPlaceSiteWindowless,
                                            reinterpret_cast<void**>(&wsite))) &&
          wsite) {
        BOOL noRedraw = TRUE;
        if (wsite->CanWindowlessActivate() == S_OK)
          hr = wsite->OnInPlaceActivateEx(&noRedraw, ACTIVATE_WINDOWLESS);
        wsite->Release();
      }
    } else if (inPlace->CanInPlaceActivate() == S_OK) {
      hr = inPlace->OnInPlaceActivate();
    }
    if (FAILED(hr)) {
      inPlace->Release();
      Record("activate failed 0x%08lx", static_cast<unsigned long>(hr));
      return hr;
    }
    inPlaceSite_.Reset(inPlace);
    inPlace->Release();

    HWND parent = nullptr;
    inPlaceSite_.get()->GetWindow(&parent);
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* doc = nullptr;
    RECT pos = {}, clip = {};
    OLEINPLACEFRAMEINFO info = {};
    info.cb = sizeof(info);
    if (SUCCEEDED(inPlaceSite_.get()->GetWindowContext(&frame, &doc, &pos, &clip, &info))) {
      if (frame) {
        frame->SetActiveObject(static_cast<IOleInPlaceActiveObject*>(this), L"fake");
        frame_.Reset(frame);
        frame->Release();
      }
      if (doc) doc->Release();
    }
    if (!windowless_) window_ = CreateChildWindow(parent, pos);
    active_ = true;
    Record("activate %s", windowless_ ? "windowless" : "windowed");
  }
  if (uiActivate && !uiActive_ && inPlaceSite_) {
    uiActive_ = true;
    inPlaceSite_.get()->OnUIActivate();
  }
  return S_OK;
}

void FakeOleObject::Deactivate() {
  if (!active_) return;
  active_ = false;
  if (frame_) {
    frame_.get()->SetActiveObject(nullptr, nullptr);
    frame_.Reset(nullptr);
  }
  if (window_) {
    ::DestroyWindow(window_);
    window_ = nullptr;
  }
  if (inPlaceSite_) {
    if (uiActive_) inPlaceSite_.get()->OnUIDeactivate(FALSE);
    IOleInPlaceSiteEx* ex = nullptr;
    if (windowless_ &&
        SUCCEEDED(inPlaceSite_.get()->QueryInterface(IID_IOleInPlaceSiteEx,
                                                     reinterpret_cast<void**>(&ex))) &&
        ex) {
      ex->OnInPlaceDeactivateEx(TRUE);
      ex->Release();
    } else {
      inPlaceSite_.get()->OnInPlaceDeactivate();
    }
  }
  uiActive_ = false;
  inPlaceSite_.Reset(nullptr);
  Record("deactivate %s", kind_);
}

STDMETHODIMP FakeOleObject::EnumVerbs(IEnumOLEVERB** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP FakeOleObject::GetUserClassID(CLSID* out) {
  if (out) *out = GUID_NULL;
  return E_NOTIMPL;
}

STDMETHODIMP FakeOleObject::GetUserType(DWORD, LPOLESTR* out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP FakeOleObject::SetExtent(DWORD, SIZEL* size) {
  if (size) Record("SetExtent %ld,%ld", size->cx, size->cy);
  return S_OK;
}

STDMETHODIMP FakeOleObject::GetExtent(DWORD, SIZEL* size) {
  if (size) size->cx = size->cy = 0;
  return S_OK;
}

STDMETHODIMP FakeOleObject::Advise(IAdviseSink*, DWORD* out) {
  if (out) *out = 0;
  return E_NOTIMPL;
}

STDMETHODIMP FakeOleObject::EnumAdvise(IEnumSTATDATA** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP FakeOleObject::GetMiscStatus(DWORD, DWORD* status) {
  if (!status) return E_POINTER;
  *status = OLEMISC_RECOMPOSEONRESIZE | static_cast<DWORD>(Option("misc_status", 0));
  return S_OK;
}

// ---- in-place ----

STDMETHODIMP FakeOleObject::GetWindow(HWND* out) {
  if (!out) return E_POINTER;
  *out = window_;
  return window_ ? S_OK : E_FAIL;
}

STDMETHODIMP FakeOleObject::InPlaceDeactivate() {
  Deactivate();
  return S_OK;
}

STDMETHODIMP FakeOleObject::UIDeactivate() {
  if (uiActive_ && inPlaceSite_) inPlaceSite_.get()->OnUIDeactivate(FALSE);
  uiActive_ = false;
  return S_OK;
}

STDMETHODIMP FakeOleObject::SetObjectRects(LPCRECT pos, LPCRECT) {
  if (!pos) return E_POINTER;
  Record("SetObjectRects %ld,%ld,%ld,%ld", pos->left, pos->top, pos->right, pos->bottom);
  if (window_)
    ::MoveWindow(window_, pos->left, pos->top, pos->right - pos->left, pos->bottom - pos->top,
                 TRUE);
  return S_OK;
}

STDMETHODIMP FakeOleObject::OnWindowMessage(UINT msg, WPARAM, LPARAM, LRESULT* result) {
  Record("OnWindowMessage 0x%04x", msg);
  if (result) *result = 0;
  return static_cast<HRESULT>(Option("window_message_result", S_OK));
}

STDMETHODIMP FakeOleObject::GetDropTarget(IDropTarget** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP FakeOleObject::TranslateAccelerator(LPMSG msg) {
  Record("TranslateAccelerator 0x%04x", msg ? msg->message : 0);
  return static_cast<HRESULT>(Option("accelerator_result", S_OK));
}

// ---- views ----

STDMETHODIMP FakeOleObject::Draw(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC draw,
                                 LPCRECTL bounds, LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR),
                                 ULONG_PTR) {
  if (!draw || !bounds) return E_INVALIDARG;
  Record("Draw %ld,%ld,%ld,%ld", bounds->left, bounds->top, bounds->right, bounds->bottom);
  RECT rc = {bounds->left, bounds->top, bounds->right, bounds->bottom};
  HBRUSH brush = ::CreateSolidBrush(kDrawColour);
  ::FillRect(draw, &rc, brush);
  ::DeleteObject(brush);
  return S_OK;
}

STDMETHODIMP FakeOleObject::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC,
                                        LOGPALETTE** out) {
  if (out) *out = nullptr;
  return S_FALSE;
}

STDMETHODIMP FakeOleObject::Freeze(DWORD, LONG, void*, DWORD* out) {
  if (out) *out = 0;
  return E_NOTIMPL;
}

STDMETHODIMP FakeOleObject::GetAdvise(DWORD*, DWORD*, IAdviseSink** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP FakeOleObject::GetExtent(DWORD, LONG, DVTARGETDEVICE*, LPSIZEL size) {
  if (size) size->cx = size->cy = 0;
  return S_OK;
}

STDMETHODIMP FakeOleObject::GetViewStatus(DWORD* status) {
  if (status) *status = VIEWSTATUS_OPAQUE;
  return S_OK;
}

STDMETHODIMP FakeOleObject::QueryHitPoint(DWORD, LPCRECT bounds, POINT pt, LONG, DWORD* result) {
  if (!bounds || !result) return E_POINTER;
  Record("QueryHitPoint %ld,%ld", pt.x, pt.y);
  *result = ::PtInRect(bounds, pt) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
  return S_OK;
}

// ---- persistence and site ----

STDMETHODIMP FakeOleObject::GetClassID(CLSID* out) {
  if (out) *out = GUID_NULL;
  return E_NOTIMPL;
}

STDMETHODIMP FakeOleObject::InitNew() {
  Record("InitNew");
  return Option("fail_initnew", 0) ? E_FAIL : S_OK;
}

STDMETHODIMP FakeOleObject::SetSite(IUnknown* site) {
  Record("SetSite %s", SetOrNone(site));
  objectSite_.Reset(site);
  return S_OK;
}

STDMETHODIMP FakeOleObject::GetSite(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!objectSite_) return E_FAIL;
  return objectSite_.get()->QueryInterface(iid, out);
}

// ---- running ----

STDMETHODIMP FakeOleObject::GetRunningClass(LPCLSID out) {
  if (out) *out = GUID_NULL;
  return E_NOTIMPL;
}

STDMETHODIMP FakeOleObject::LockRunning(BOOL lock, BOOL) {
  Record("LockRunning %s", lock ? "lock" : "unlock");
  if (lock) {
    ++runningLocks_;
    AddRef();
  } else if (runningLocks_ > 0) {
    --runningLocks_;
    Release();
  }
  return S_OK;
}

}  // namespace fake_activex
