#include "client/core/reports/installer_file_name.h"
#include <windows.h>
#include <wchar.h>
#include <regex>
#include "client/core/utilities/text_encoding.h"
#include "client/core/reports/union_id.h"

namespace {

// Long enough for any sane name, short enough that the download folder plus
// the name stay within MAX_PATH more often than not.
const size_t kMaxNameLength = 200;
// An installer's extension is a few characters; a longer one from the
// service is cut so that a name still has room.
const size_t kMaxExtensionLength = 16;

bool IsBlankOrDot(wchar_t c) { return c == L'.' || c == L' '; }

void TrimTrailingDotsAndBlanks(std::wstring* text) {
    while (!text->empty() && IsBlankOrDot(text->back())) text->pop_back();
}

// Characters that are illegal in a file name (path separators included)
// become '_'.
std::wstring ReplaceIllegal(const std::wstring& text) {
    std::wstring clean;
    for (wchar_t c : text) {
        bool illegal = c < 32 || wcschr(L"<>:\"/\\|?*", c) != nullptr;
        clean.push_back(illegal ? L'_' : c);
    }
    return clean;
}

bool IsDeviceDigit(wchar_t c) {
    // Windows counts the superscript digits one to three as port numbers too.
    return (c >= L'0' && c <= L'9') || c == L'\x00B9' || c == L'\x00B2' || c == L'\x00B3';
}

// Windows opens a device instead of a file for these names in any case, with
// any extension and with blanks before it: "nul", "NUL.txt", "Com1 .tar.gz",
// "LPT¹.exe".
bool IsReservedDeviceName(const std::wstring& name) {
    static const wchar_t* const kReserved[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    std::wstring stem = name.substr(0, name.find(L'.'));
    while (!stem.empty() && stem.back() == L' ') stem.pop_back();
    for (const wchar_t* reserved : kReserved) {
        if (_wcsicmp(stem.c_str(), reserved) == 0) return true;
    }
    return stem.size() == 4 && (_wcsnicmp(stem.c_str(), L"COM", 3) == 0 || _wcsnicmp(stem.c_str(), L"LPT", 3) == 0) &&
           IsDeviceDigit(stem[3]);
}

bool EndsWithNoCase(const std::wstring& text, const std::wstring& suffix) {
    return text.size() >= suffix.size() &&
           _wcsicmp(text.c_str() + text.size() - suffix.size(), suffix.c_str()) == 0;
}

// Joins a cleaned stem and extension into one file-name component: a name
// too long loses characters from the end of its stem, never from its
// extension; a reserved device name gets a leading '_'.
std::wstring JoinComponent(std::wstring stem, const std::wstring& ext) {
    size_t room = kMaxNameLength > ext.size() ? kMaxNameLength - ext.size() : 0;
    if (stem.size() > room) stem.resize(room);
    std::wstring name = stem + ext;
    // Windows drops trailing dots and blanks, which would turn "a.." into "a"
    // and ".." into the parent folder.
    TrimTrailingDotsAndBlanks(&name);
    if (name.empty()) return L"_";
    if (IsReservedDeviceName(name)) name.insert(0, L"_");
    return name;
}

// The record's installer extension as it is written to disk: cleaned, with
// its dot, ".exe" when the record has none.
std::wstring InstallerExtension(const std::wstring& file_ext) {
    std::wstring ext = ReplaceIllegal(file_ext);
    if (!ext.empty() && ext[0] != L'.') ext.insert(0, L".");
    if (ext.size() > kMaxExtensionLength) ext.resize(kMaxExtensionLength);
    TrimTrailingDotsAndBlanks(&ext);
    return ext.empty() ? L".exe" : ext;
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

// The name of a record without a pattern: its software name, always ending
// in its installer extension. A name that already ends in it (in any case)
// keeps its own spelling; any other ending, "Paint.NET" or "Python 3.12",
// is part of the name.
std::wstring NameWithExtension(const Software& software) {
    std::wstring ext = InstallerExtension(software.file_ext);
    std::wstring stem = ReplaceIllegal(software.soft_name);
    TrimTrailingDotsAndBlanks(&stem);
    if (EndsWithNoCase(stem, ext)) {
        ext = stem.substr(stem.size() - ext.size());
        stem.resize(stem.size() - ext.size());
    } else if (stem.empty() && !software.soft_name.empty()) {
        stem = L"_";  // a name of dots and blanks only
    }
    return JoinComponent(stem, ext);
}

}  // namespace

std::wstring SafeFileNameComponent(const std::wstring& name) {
    std::wstring clean = ReplaceIllegal(name);
    TrimTrailingDotsAndBlanks(&clean);
    // Shortening keeps the last extension when it is a short one.
    size_t dot = clean.rfind(L'.');
    if (clean.size() > kMaxNameLength && dot != std::wstring::npos && dot > 0 &&
        clean.size() - dot <= kMaxExtensionLength) {
        return JoinComponent(clean.substr(0, dot), clean.substr(dot));
    }
    return JoinComponent(clean, L"");
}

void MakeInstallerFileNameFor(const Software& software, int32_t union_id, std::wstring* out) {
    int32_t k = union_id >= 1000 ? union_id - 999 : 1;
    std::wstring name;
    std::wstring pattern;
    // The pattern is stored in the OEM code page with a trailing NUL.
    OemToWide(software.name_expr, &pattern);
    if (!pattern.empty()) name = ApplyPattern(pattern, k, software.union_id);
    *out = name.empty() ? NameWithExtension(software) : SafeFileNameComponent(name);
}

void MakeInstallerFileName(const Software& software, std::wstring* out) {
    if (CurrentUnionId() == -1) ReadUnionId();
    MakeInstallerFileNameFor(software, SettleUnionId(1000), out);
}
