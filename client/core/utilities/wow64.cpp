#include "client/core/utilities/wow64.h"
#include <windows.h>

bool IsWow64() {
    typedef BOOL(WINAPI * IsWow64ProcessFn)(HANDLE, PBOOL);
    HMODULE kernel = GetModuleHandleW(L"kernel32");
    if (!kernel) return false;
    IsWow64ProcessFn check =
        reinterpret_cast<IsWow64ProcessFn>(GetProcAddress(kernel, "IsWow64Process"));
    BOOL wow64 = FALSE;
    if (!check || !check(GetCurrentProcess(), &wow64)) return false;
    return wow64 != FALSE;
}

bool Is64BitSystem() { return sizeof(void*) == 8 || IsWow64(); }
