#include "client/core/reports/installer_file_name.h"
#include <windows.h>
#include <shlwapi.h>
#include <wchar.h>
#include <regex>
#include "client/core/utilities/text_encoding.h"
#include "client/core/reports/union_id.h"

namespace {

// Long enough for any sane name, short enough that the download folder plus
// the name stay within MAX_PATH more often than not.
const size_t kMaxNameLength = 200;

bool IsReservedDeviceName(const std::wstring& name) {
    static const wchar_t* const kReserved[] = {
        L"CON",  L"PRN",  L"AUX",  L"NUL",  L"COM1", L"COM2", L"COM3", L"COM4", L"COM5", L"COM6",
        L"COM7", L"COM8", L"COM9", L"LPT1", L"LPT2", L"LPT3", L"LPT4", L"LPT5", L"LPT6", L"LPT7",
        L"LPT8", L"LPT9"};
    std::wstring stem = name.substr(0, name.find(L'.'));
    while (!stem.empty() && stem.back() == L' ') stem.pop_back();
    for (const wchar_t* reserved : kReserved) {
        if (_wcsicmp(stem.c_str(), reserved) == 0) return true;
    }
    return false;
}

// k's digits right-aligned in a field of '0' as wide as `width`; k := 1
// when it has more digits than the field.
std::wstring ZeroField(size_t width, int32_t k) {
    if (width == 0) return L"";
    std::wstring digits = std::to_wstring(k);
    if (digits.size() > width) digits = L"1";
    return std::wstring(width - digits.size(), L'0') + digits;
}

std::wstring ApplyPattern(const std::wstring& pattern, int32_t k, int32_t record_union_id) {
    // Greedy groups: with more than two question marks the split is at the
    // last two. Compiled once (the statics are initialised thread-safely).
    static const std::wregex kThree(L"(.*)\\?(.*)\\?(.*)");
    static const std::wregex kTwo(L"(.*)\\?(.*)");
    std::wsmatch m;
    if (std::regex_match(pattern, m, kThree)) {
        return m[1].str() + ZeroField(m[2].length(), k) + m[3].str();
    }
    if (std::regex_match(pattern, m, kTwo)) {
        return m[1].str() + std::to_wstring(static_cast<int64_t>(k) + record_union_id) + m[2].str();
    }
    return pattern;
}

}  // namespace

std::wstring SafeFileNameComponent(const std::wstring& name) {
    std::wstring clean;
    for (wchar_t c : name) {
        bool illegal = c < 32 || wcschr(L"<>:\"/\\|?*", c) != nullptr;
        clean.push_back(illegal ? L'_' : c);
    }
    if (clean.size() > kMaxNameLength) clean.resize(kMaxNameLength);
    // Windows drops trailing dots and blanks, which would turn "a.." into "a"
    // and ".." into the parent folder.
    while (!clean.empty() && (clean.back() == L'.' || clean.back() == L' ')) clean.pop_back();
    if (clean.empty()) return L"_";
    if (IsReservedDeviceName(clean)) clean.insert(0, L"_");
    return clean;
}

void MakeInstallerFileNameFor(const Software& software, int32_t union_id, std::wstring* out) {
    int32_t k = union_id >= 1000 ? union_id - 999 : 1;
    std::wstring name;
    std::wstring pattern;
    // The pattern is stored in the OEM code page with a trailing NUL.
    OemToWide(software.name_expr, &pattern);
    if (!pattern.empty()) name = ApplyPattern(pattern, k, software.union_id);
    if (name.empty()) {
        wchar_t buffer[MAX_PATH] = {0};
        if (!software.soft_name.empty()) {
            lstrcpynW(buffer, SafeFileNameComponent(software.soft_name).c_str(), MAX_PATH);
        }
        std::wstring ext = software.file_ext.empty() ? L".exe" : software.file_ext;
        PathAddExtensionW(buffer, SafeFileNameComponent(ext).c_str());
        name = buffer;
    }
    *out = SafeFileNameComponent(name);
}

void MakeInstallerFileName(const Software& software, std::wstring* out) {
    if (CurrentUnionId() == -1) ReadUnionId();
    MakeInstallerFileNameFor(software, SettleUnionId(1000), out);
}
