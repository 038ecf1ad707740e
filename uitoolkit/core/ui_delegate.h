#pragma once
// Delegates (an object bound to a member function taking one pointer) and
// the ordered, owning list of delegates that controls raise for events.
#include <string.h>

#include "uitoolkit/core/ui_ptr_array.h"

namespace UiToolkit {

class CDelegateBase {
 public:
  virtual ~CDelegateBase() {}
  virtual CDelegateBase* Clone() const = 0;
  // Returns false to stop the event at this delegate.
  virtual bool Call(void* param) = 0;
  // Equal when bound to the same object and the same function.
  bool Equals(const CDelegateBase& other) const;

 protected:
  CDelegateBase(void* object, const void* function, size_t function_size);
  void* Object() const { return m_object; }
  const void* FunctionBytes() const { return m_function; }

 private:
  void* m_object;
  unsigned char m_function[16];
  size_t m_function_size;
};

// Binds a plain function (the object pointer is none).
class CDelegateStatic : public CDelegateBase {
 public:
  typedef bool (*Fn)(void*);
  explicit CDelegateStatic(Fn fn) : CDelegateBase(nullptr, &fn, sizeof(fn)), m_fn(fn) {}
  CDelegateBase* Clone() const override { return new CDelegateStatic(*this); }
  bool Call(void* param) override { return m_fn(param); }

 private:
  Fn m_fn;
};

// Binds `object` (of type O) to a member function of its class T.
template <class O, class T>
class CDelegate : public CDelegateBase {
 public:
  typedef bool (T::*Fn)(void*);
  CDelegate(O* object, Fn fn) : CDelegateBase(object, &fn, sizeof(fn)), m_fn(fn) {}
  CDelegateBase* Clone() const override { return new CDelegate(*this); }
  bool Call(void* param) override {
    O* object = static_cast<O*>(Object());
    return (object->*m_fn)(param);
  }

 private:
  Fn m_fn;
};

template <class O, class T>
CDelegate<O, T> MakeDelegate(O* object, bool (T::*fn)(void*)) {
  return CDelegate<O, T>(object, fn);
}
inline CDelegateStatic MakeDelegate(bool (*fn)(void*)) { return CDelegateStatic(fn); }

class CUiEventSource {
 public:
  CUiEventSource() {}
  ~CUiEventSource();
  // Adds a copy unless an equal delegate is present.
  void Add(const CDelegateBase& delegate);
  void Remove(const CDelegateBase& delegate);
  // Calls the delegates in order; false at the first that returns false.
  bool Raise(void* param);
  int GetSize() const { return m_delegates.GetSize(); }
  explicit operator bool() const { return !m_delegates.IsEmpty(); }
  CUiEventSource& operator+=(const CDelegateBase& delegate) {
    Add(delegate);
    return *this;
  }

 private:
  CUiEventSource(const CUiEventSource&) = delete;
  CUiEventSource& operator=(const CUiEventSource&) = delete;
  CUiPtrArray m_delegates;
};

}  // namespace UiToolkit
