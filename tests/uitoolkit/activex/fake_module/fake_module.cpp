// The module's class factory: three classes of recording objects.
#include <ole2.h>
#include <windows.h>

#include "tests/uitoolkit/activex/fake_activex_api.h"
#include "tests/uitoolkit/activex/fake_module/fake_browser.h"
#include "tests/uitoolkit/activex/fake_module/fake_ole_object.h"

namespace fake_activex {
namespace {

class FakeFactory : public IClassFactory {
 public:
  explicit FakeFactory(const CLSID& clsid) : refs_(1), clsid_(clsid) {}
  STDMETHOD(QueryInterface)(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
    *out = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  STDMETHOD_(ULONG, AddRef)() override { return ::InterlockedIncrement(&refs_); }
  STDMETHOD_(ULONG, Release)() override {
    LONG refs = ::InterlockedDecrement(&refs_);
    if (refs == 0) delete this;
    return refs;
  }
  STDMETHOD(CreateInstance)(IUnknown* outer, REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    FakeOleObject* object = nullptr;
    if (clsid_ == kClsidWindowless)
      object = new FakeOleObject(true, "windowless");
    else if (clsid_ == kClsidWindowed)
      object = new FakeOleObject(false, "windowed");
    else
      object = new FakeBrowser;
    HRESULT hr = object->QueryInterface(iid, out);
    object->Release();
    return hr;
  }
  STDMETHOD(LockServer)(BOOL) override { return S_OK; }

 private:
  virtual ~FakeFactory() = default;
  LONG refs_;
  CLSID clsid_;
};

}  // namespace
}  // namespace fake_activex

using namespace fake_activex;

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE
    DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (clsid != kClsidWindowless && clsid != kClsidWindowed && clsid != kClsidBrowser)
    return CLASS_E_CLASSNOTAVAILABLE;
  FakeFactory* factory = new FakeFactory(clsid);
  HRESULT hr = factory->QueryInterface(iid, out);
  factory->Release();
  return hr;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() { return S_FALSE; }
