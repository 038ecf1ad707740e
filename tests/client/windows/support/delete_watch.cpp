// Replaces the global allocation functions of the test program, so a test
// can see whether one heap record was freed, and so a stress test can keep
// freed blocks out of use for a while, filled with a poison: an object used
// after it was deleted then shows instead of quietly reading a newer one.
#include <malloc.h>
#include <stdlib.h>
#include <string.h>

#include <atomic>
#include <new>

namespace {
std::atomic<const void*> g_watched(nullptr);
std::atomic<bool> g_deleted(false);

// Freed blocks wait here (oldest first out) while the quarantine is on.
const size_t kQuarantineSlots = 1 << 17;
void* g_quarantine[kQuarantineSlots];
size_t g_quarantine_next = 0;
std::atomic<bool> g_quarantine_on(false);
std::atomic_flag g_quarantine_lock = ATOMIC_FLAG_INIT;

void Release(void* p) noexcept {
    if (p && p == g_watched.load()) g_deleted = true;
    if (!p || !g_quarantine_on.load()) {
        free(p);
        return;
    }
    memset(p, 0xDD, _msize(p));
    while (g_quarantine_lock.test_and_set(std::memory_order_acquire)) {
    }
    void* oldest = g_quarantine[g_quarantine_next];
    g_quarantine[g_quarantine_next] = p;
    g_quarantine_next = (g_quarantine_next + 1) % kQuarantineSlots;
    g_quarantine_lock.clear(std::memory_order_release);
    free(oldest);
}

void* Allocate(std::size_t n) {
    void* p = malloc(n ? n : 1);
    if (!p) throw std::bad_alloc();
    return p;
}
}  // namespace

namespace wintest {
void WatchDelete(const void* p) {
    g_deleted = false;
    g_watched = p;
}
bool WatchedDeleted() { return g_deleted; }
void QuarantineFrees(bool on) { g_quarantine_on = on; }
}  // namespace wintest

void* operator new(std::size_t n) { return Allocate(n); }
void* operator new[](std::size_t n) { return Allocate(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return malloc(n ? n : 1); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return malloc(n ? n : 1); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p); }
