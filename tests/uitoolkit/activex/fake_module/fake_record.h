#pragma once
// The module's record of calls, its counters and its options.
#include <olectl.h>
#include <stdio.h>
#include <windows.h>

namespace fake_activex {

void Record(const char* format, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 1, 2)));
long Option(const char* name, long fallback);
void ObjectBorn();
void ObjectGone();
void PartBorn();
void PartGone();
void AdviseOpened();
void AdviseClosed();
void HostRefTaken();
void HostRefGiven();
HINSTANCE ModuleInstance();

// A counted reference on an interface of the host.
template <class T>
class HostRef {
 public:
  HostRef() = default;
  HostRef(const HostRef&) = delete;
  HostRef& operator=(const HostRef&) = delete;
  ~HostRef() { Reset(nullptr); }
  void Reset(T* p) {
    if (p) {
      p->AddRef();
      HostRefTaken();
    }
    T* old = ptr_;
    ptr_ = p;
    if (old) {
      old->Release();
      HostRefGiven();
    }
  }
  T* get() const { return ptr_; }
  explicit operator bool() const { return ptr_ != nullptr; }

 private:
  T* ptr_ = nullptr;
};

}  // namespace fake_activex
