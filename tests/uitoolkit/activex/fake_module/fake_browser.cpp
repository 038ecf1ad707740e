#include "tests/uitoolkit/activex/fake_module/fake_browser.h"

#include "uitoolkit/activex/activex_guids.h"

namespace fake_activex {

FakeBrowser::FakeBrowser()
    : FakeOleObject(false, "browser"),
      document_(new FakeDocument),
      events_(new FakeConnectionPoint) {}

FakeBrowser::~FakeBrowser() {
  document_->Release();
  events_->Release();
}

STDMETHODIMP FakeBrowser::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid == IID_IWebBrowser2 || iid == IID_IWebBrowserApp || iid == IID_IWebBrowser ||
      iid == IID_IDispatch)
    *out = static_cast<IWebBrowser2*>(this);
  else if (iid == IID_IConnectionPointContainer)
    *out = static_cast<IConnectionPointContainer*>(this);
  if (*out) {
    AddRef();
    return S_OK;
  }
  return FakeOleObject::QueryInterface(iid, out);
}

STDMETHODIMP_(ULONG) FakeBrowser::AddRef() { return FakeOleObject::AddRef(); }
STDMETHODIMP_(ULONG) FakeBrowser::Release() { return FakeOleObject::Release(); }

STDMETHODIMP FakeBrowser::GetTypeInfoCount(UINT* count) {
  if (count) *count = 0;
  return E_NOTIMPL;
}

STDMETHODIMP FakeBrowser::GetTypeInfo(UINT, LCID, ITypeInfo** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP FakeBrowser::Navigate2(VARIANT* url, VARIANT*, VARIANT*, VARIANT*, VARIANT*) {
  Record("Navigate2 %ls", url && url->vt == VT_BSTR && url->bstrVal ? url->bstrVal : L"?");
  return S_OK;
}

STDMETHODIMP FakeBrowser::get_Document(IDispatch** out) {
  if (!out) return E_POINTER;
  *out = static_cast<IDispatch*>(document_);
  document_->AddRef();
  return S_OK;
}

STDMETHODIMP FakeBrowser::EnumConnectionPoints(IEnumConnectionPoints** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP FakeBrowser::FindConnectionPoint(REFIID iid, IConnectionPoint** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid != UiToolkit::kDiidWebBrowserEvents2) return CONNECT_E_NOCONNECTION;
  events_->AddRef();
  *out = events_;
  return S_OK;
}

}  // namespace fake_activex
