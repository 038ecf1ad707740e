#include "client/core/startup/main_window_handle.h"

namespace {

volatile HWND g_main_window = nullptr;
UiToolkit::CWindowManagerUI* volatile g_main_manager = nullptr;

HANDLE PublishedEvent() {
    // Manual-reset, created on first use from whichever thread comes first.
    static HANDLE ev = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return ev;
}

}  // namespace

void PublishMainWindow(HWND hwnd) {
    InterlockedExchangePointer(reinterpret_cast<PVOID volatile*>(&g_main_window), hwnd);
    if (hwnd) SetEvent(PublishedEvent());
}

HWND MainWindowHandle() {
    return static_cast<HWND>(InterlockedCompareExchangePointer(
        reinterpret_cast<PVOID volatile*>(&g_main_window), nullptr, nullptr));
}

HWND WaitForMainWindow(DWORD timeout_ms) {
    HWND hwnd = MainWindowHandle();
    if (hwnd) return hwnd;
    WaitForSingleObject(PublishedEvent(), timeout_ms);
    return MainWindowHandle();
}

void PublishMainManager(UiToolkit::CWindowManagerUI* manager) {
    InterlockedExchangePointer(reinterpret_cast<PVOID volatile*>(&g_main_manager), manager);
}

UiToolkit::CWindowManagerUI* MainManager() {
    return static_cast<UiToolkit::CWindowManagerUI*>(InterlockedCompareExchangePointer(
        reinterpret_cast<PVOID volatile*>(&g_main_manager), nullptr, nullptr));
}
