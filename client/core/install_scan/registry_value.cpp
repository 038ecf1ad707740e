#include "client/core/install_scan/registry_value.h"
#include <vector>

namespace {
// Uninstall entries hold paths and short texts; anything above this is
// hostile or broken and is not worth an allocation.
const DWORD kMaxTextBytes = 64 * 1024;
}  // namespace

bool ReadRegText(HKEY key, const wchar_t* name, std::wstring* out) {
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
    if ((type != REG_SZ && type != REG_EXPAND_SZ) || size == 0 || size > kMaxTextBytes) return false;
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
    DWORD type = 0, value = 0, size = sizeof value;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
        ERROR_SUCCESS)
        return false;
    if (type != REG_DWORD || size != sizeof value) return false;
    *out = value;
    return true;
}

DWORD ReadRegFlag(HKEY key, const wchar_t* name) {
    DWORD value = 0;
    return ReadRegDword(key, name, &value) ? value : 0;
}
