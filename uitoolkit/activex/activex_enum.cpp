#include "uitoolkit/activex/activex_enum.h"

namespace UiToolkit {

CActiveXEnum::CActiveXEnum(IUnknown* object) : m_refs(1), m_object(object), m_position(0) {
  if (m_object) m_object->AddRef();
}

CActiveXEnum::~CActiveXEnum() {
  if (m_object) m_object->Release();
}

STDMETHODIMP CActiveXEnum::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid == IID_IUnknown || iid == IID_IEnumUnknown) *out = static_cast<IEnumUnknown*>(this);
  if (!*out) return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CActiveXEnum::AddRef() { return ::InterlockedIncrement(&m_refs); }

STDMETHODIMP_(ULONG) CActiveXEnum::Release() {
  LONG refs = ::InterlockedDecrement(&m_refs);
  if (refs == 0) delete this;
  return refs;
}

STDMETHODIMP CActiveXEnum::Next(ULONG count, IUnknown** out, ULONG* fetched) {
  if (fetched) *fetched = 0;
  if (count == 0) return S_OK;
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!m_object || m_position > 0) return S_FALSE;
  ++m_position;
  m_object->AddRef();
  *out = m_object;
  if (fetched) *fetched = 1;
  return count == 1 ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXEnum::Skip(ULONG count) {
  m_position += count;
  return S_OK;
}

STDMETHODIMP CActiveXEnum::Reset() {
  m_position = 0;
  return S_OK;
}

STDMETHODIMP CActiveXEnum::Clone(IEnumUnknown** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

}  // namespace UiToolkit
