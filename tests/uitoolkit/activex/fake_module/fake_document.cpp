#include "tests/uitoolkit/activex/fake_module/fake_document.h"

#include "uitoolkit/activex/activex_guids.h"

namespace fake_activex {

FakeDocument::FakeDocument() : refs_(1) { PartBorn(); }
FakeDocument::~FakeDocument() { PartGone(); }

STDMETHODIMP FakeDocument::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid == IID_IUnknown || iid == IID_IDispatch)
    *out = static_cast<IDispatch*>(this);
  else if (iid == UiToolkit::kIidCustomDoc)
    *out = static_cast<ICustomDoc*>(this);
  if (!*out) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) FakeDocument::AddRef() { return ::InterlockedIncrement(&refs_); }

STDMETHODIMP_(ULONG) FakeDocument::Release() {
  LONG refs = ::InterlockedDecrement(&refs_);
  if (refs == 0) delete this;
  return refs;
}

STDMETHODIMP FakeDocument::SetUIHandler(IDocHostUIHandler* handler) {
  Record("SetUIHandler %s", handler ? "set" : "none");
  handler_.Reset(handler);
  return S_OK;
}

STDMETHODIMP FakeDocument::GetTypeInfoCount(UINT* count) {
  if (count) *count = 0;
  return E_NOTIMPL;
}

STDMETHODIMP FakeDocument::GetTypeInfo(UINT, LCID, ITypeInfo** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

}  // namespace fake_activex
