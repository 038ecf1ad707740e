#pragma once
#include <windows.h>

namespace ke {

// A Windows critical section with scoped locking. Recursive, like the
// platform's own.
class critical_section {
public:
    critical_section() { InitializeCriticalSection(&cs_); }
    ~critical_section() { DeleteCriticalSection(&cs_); }
    critical_section(const critical_section&) = delete;
    critical_section& operator=(const critical_section&) = delete;

    void lock() { EnterCriticalSection(&cs_); }
    void unlock() { LeaveCriticalSection(&cs_); }

private:
    CRITICAL_SECTION cs_;
};

class scoped_lock {
public:
    explicit scoped_lock(critical_section& cs) : cs_(cs) { cs_.lock(); }
    ~scoped_lock() { cs_.unlock(); }
    scoped_lock(const scoped_lock&) = delete;
    scoped_lock& operator=(const scoped_lock&) = delete;

private:
    critical_section& cs_;
};

}  // namespace ke
