#include "uitoolkit/core/ui_delegate.h"

namespace UiToolkit {

CDelegateBase::CDelegateBase(void* object, const void* function, size_t function_size)
    : m_object(object), m_function_size(function_size) {
  memset(m_function, 0, sizeof(m_function));
  if (m_function_size > sizeof(m_function)) m_function_size = sizeof(m_function);
  memcpy(m_function, function, m_function_size);
}

bool CDelegateBase::Equals(const CDelegateBase& other) const {
  return m_object == other.m_object && m_function_size == other.m_function_size &&
         memcmp(m_function, other.m_function, m_function_size) == 0;
}

CUiEventSource::~CUiEventSource() {
  for (int i = 0; i < m_delegates.GetSize(); ++i)
    delete static_cast<CDelegateBase*>(m_delegates.GetAt(i));
}

void CUiEventSource::Add(const CDelegateBase& delegate) {
  for (int i = 0; i < m_delegates.GetSize(); ++i) {
    if (static_cast<CDelegateBase*>(m_delegates.GetAt(i))->Equals(delegate)) return;
  }
  CDelegateBase* copy = delegate.Clone();
  if (!m_delegates.Add(copy)) delete copy;
}

void CUiEventSource::Remove(const CDelegateBase& delegate) {
  for (int i = 0; i < m_delegates.GetSize(); ++i) {
    CDelegateBase* item = static_cast<CDelegateBase*>(m_delegates.GetAt(i));
    if (item->Equals(delegate)) {
      m_delegates.RemoveAt(i);
      delete item;
      return;
    }
  }
}

bool CUiEventSource::Raise(void* param) {
  // By index, re-reading the count: a delegate may add or remove delegates.
  for (int i = 0; i < m_delegates.GetSize(); ++i) {
    CDelegateBase* item = static_cast<CDelegateBase*>(m_delegates.GetAt(i));
    if (item && !item->Call(param)) return false;
  }
  return true;
}

}  // namespace UiToolkit
