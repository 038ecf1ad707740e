#pragma once
// The fake browser's DWebBrowserEvents2 connection point: one sink at a
// time, cookies counted from 1. Advise and Unadvise are recorded; a sink
// never unadvised stays counted as an open advise.
#include <ocidl.h>
#include <windows.h>

#include "tests/uitoolkit/activex/fake_module/fake_record.h"

namespace fake_activex {

class FakeConnectionPoint : public IConnectionPoint {
 public:
  FakeConnectionPoint();
  virtual ~FakeConnectionPoint();

  STDMETHOD(QueryInterface)(REFIID iid, void** out) override;
  STDMETHOD_(ULONG, AddRef)() override;
  STDMETHOD_(ULONG, Release)() override;

  STDMETHOD(GetConnectionInterface)(IID* out) override;
  STDMETHOD(GetConnectionPointContainer)(IConnectionPointContainer** out) override;
  STDMETHOD(Advise)(IUnknown* sink, DWORD* cookie) override;
  STDMETHOD(Unadvise)(DWORD cookie) override;
  STDMETHOD(EnumConnections)(IEnumConnections** out) override;

 private:
  LONG refs_;
  DWORD cookie_;
  DWORD nextCookie_;
  HostRef<IDispatch> sink_;
};

}  // namespace fake_activex
