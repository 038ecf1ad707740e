#include "tests/uitoolkit/activex/fake_module/fake_connection_point.h"

#include "uitoolkit/activex/activex_guids.h"

namespace fake_activex {

FakeConnectionPoint::FakeConnectionPoint() : refs_(1), cookie_(0), nextCookie_(1) { PartBorn(); }
FakeConnectionPoint::~FakeConnectionPoint() { PartGone(); }

STDMETHODIMP FakeConnectionPoint::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid == IID_IUnknown || iid == IID_IConnectionPoint)
    *out = static_cast<IConnectionPoint*>(this);
  if (!*out) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) FakeConnectionPoint::AddRef() { return ::InterlockedIncrement(&refs_); }

STDMETHODIMP_(ULONG) FakeConnectionPoint::Release() {
  LONG refs = ::InterlockedDecrement(&refs_);
  if (refs == 0) delete this;
  return refs;
}

STDMETHODIMP FakeConnectionPoint::GetConnectionInterface(IID* out) {
  if (!out) return E_POINTER;
  *out = UiToolkit::kDiidWebBrowserEvents2;
  return S_OK;
}

STDMETHODIMP FakeConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP FakeConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (!sink || !cookie) return E_POINTER;
  *cookie = 0;
  if (sink_) return CONNECT_E_ADVISELIMIT;
  IDispatch* dispatch = nullptr;
  if (FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch))) || !dispatch)
    return CONNECT_E_CANNOTCONNECT;
  sink_.Reset(dispatch);
  dispatch->Release();
  cookie_ = nextCookie_++;
  *cookie = cookie_;
  AdviseOpened();
  Record("Advise %lu", cookie_);
  return S_OK;
}

STDMETHODIMP FakeConnectionPoint::Unadvise(DWORD cookie) {
  Record("Unadvise %lu", cookie);
  if (!sink_ || cookie != cookie_) return CONNECT_E_NOCONNECTION;
  sink_.Reset(nullptr);
  cookie_ = 0;
  AdviseClosed();
  return S_OK;
}

STDMETHODIMP FakeConnectionPoint::EnumConnections(IEnumConnections** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

}  // namespace fake_activex
