#include "client/core/install_scan/registry_value.h"
#include <vector>
#include "foundation/log/log.h"

namespace {
// Uninstall entries hold paths and short texts; anything above this is
// hostile or broken and is not worth an allocation.
const DWORD kMaxTextBytes = 64 * 1024;

// A value that is there but cannot be what its name says is worth a line:
// the entry is then read as if the value were absent.
void LogUnusable(const wchar_t* name, DWORD type, DWORD size) {
    log_error("%s: value %ls of type %lu and %lu bytes is not usable; read as absent", "ReadUninstallEntry",
              name ? name : L"(default)", type, size);
}
}  // namespace

bool ReadRegText(HKEY key, const wchar_t* name, std::wstring* out) {
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
    if (size == 0) return false;  // an empty value is an absent one
    if ((type != REG_SZ && type != REG_EXPAND_SZ) || size > kMaxTextBytes) {
        LogUnusable(name, type, size);
        return false;
    }
    // One spare character so an unterminated value still ends in a NUL.
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 2, L'\0');
    DWORD got = size;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &got) !=
        ERROR_SUCCESS)
        return false;  // changed size or type between the two calls
    if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
    size_t chars = got / sizeof(wchar_t);
    if (chars >= buffer.size()) chars = buffer.size() - 1;
    buffer[chars] = L'\0';
    std::wstring text(buffer.data());
    if (text.empty()) return false;
    *out = text;
    return true;
}

bool ReadRegDword(HKEY key, const wchar_t* name, DWORD* out) {
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
    DWORD value = 0;
    if (type != REG_DWORD || size != sizeof value) {
        LogUnusable(name, type, size);
        return false;
    }
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return false;  // changed between the two calls
    *out = value;
    return true;
}

DWORD ReadRegFlag(HKEY key, const wchar_t* name) {
    DWORD value = 0;
    return ReadRegDword(key, name, &value) ? value : 0;
}
