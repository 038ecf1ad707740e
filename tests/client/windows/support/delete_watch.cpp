// Replaces the global allocation functions of the test program, so a test
// can see whether one heap record was freed.
#include <stdlib.h>

#include <atomic>
#include <new>

namespace {
std::atomic<const void*> g_watched(nullptr);
std::atomic<bool> g_deleted(false);

void Release(void* p) noexcept {
    if (p && p == g_watched.load()) g_deleted = true;
    free(p);
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
