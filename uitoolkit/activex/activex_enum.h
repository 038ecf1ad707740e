#pragma once
// The container's enumerator: exactly one object, the hosted one.
#include <ole2.h>
#include <windows.h>

#include "uitoolkit/activex/activex_objects.h"

namespace UiToolkit {

class CActiveXEnum final : public IEnumUnknown, private CCountedComObject {
 public:
  // Takes a reference on `object` (none enumerates nothing).
  explicit CActiveXEnum(IUnknown* object);

  STDMETHOD(QueryInterface)(REFIID iid, void** out) override;
  STDMETHOD_(ULONG, AddRef)() override;
  STDMETHOD_(ULONG, Release)() override;

  STDMETHOD(Next)(ULONG count, IUnknown** out, ULONG* fetched) override;
  STDMETHOD(Skip)(ULONG count) override;
  STDMETHOD(Reset)() override;
  STDMETHOD(Clone)(IEnumUnknown** out) override;

 private:
  ~CActiveXEnum();

  LONG m_refs;
  IUnknown* m_object;
  ULONG m_position;
};

}  // namespace UiToolkit
