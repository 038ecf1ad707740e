#include "client/core/reports/union_id.h"
#include <windows.h>
#include <stdlib.h>
#include <atomic>

const wchar_t kUnionFilePath[] = L"C:\\Windows\\System32\\olm\\union";

namespace {

std::atomic<int32_t> g_union_id(-1);

typedef BOOLEAN(WINAPI* EnableRedirectionFn)(BOOLEAN);

}  // namespace

bool ReadUnionIdFrom(const std::wstring& path, int32_t* value) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char buffer[128] = {0};
    DWORD got = 0;
    bool ok = ReadFile(file, buffer, 127, &got, nullptr) != FALSE;
    CloseHandle(file);
    if (!ok) return false;
    *value = static_cast<int32_t>(atoi(buffer));
    return true;
}

int32_t ReadUnionId() {
    // The file lives in the 64-bit system folder; a 32-bit process sees it
    // only with redirection off (this thread only, switched back at once).
    HMODULE kernel = GetModuleHandleW(L"Kernel32.dll");
    EnableRedirectionFn enable =
        kernel ? reinterpret_cast<EnableRedirectionFn>(
                     GetProcAddress(kernel, "Wow64EnableWow64FsRedirection"))
               : nullptr;
    if (enable) enable(FALSE);
    int32_t value = 0;
    if (ReadUnionIdFrom(kUnionFilePath, &value)) g_union_id.store(value);
    if (enable) enable(TRUE);
    return g_union_id.load();
}

int32_t CurrentUnionId() { return g_union_id.load(); }

int32_t SettleUnionId(int32_t fallback) {
    int32_t expected = -1;
    g_union_id.compare_exchange_strong(expected, fallback);
    return g_union_id.load();
}
