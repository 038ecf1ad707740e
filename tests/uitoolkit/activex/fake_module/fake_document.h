#pragma once
// The fake browser's document: records the UI handler it is given.
#include <mshtmhst.h>
#include <windows.h>

#include "tests/uitoolkit/activex/fake_module/fake_record.h"

namespace fake_activex {

class FakeDocument : public ICustomDoc, public IDispatch {
 public:
  FakeDocument();
  virtual ~FakeDocument();

  STDMETHOD(QueryInterface)(REFIID iid, void** out) override;
  STDMETHOD_(ULONG, AddRef)() override;
  STDMETHOD_(ULONG, Release)() override;

  STDMETHOD(SetUIHandler)(IDocHostUIHandler* handler) override;

  STDMETHOD(GetTypeInfoCount)(UINT* count) override;
  STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo** out) override;
  STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHOD(Invoke)(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

 private:
  LONG refs_;
  HostRef<IDocHostUIHandler> handler_;
};

}  // namespace fake_activex
