#include "client/core/utilities/text_encoding.h"
#include <windows.h>
#include <string.h>

namespace {

int NarrowToWide(UINT code_page, const char* text, int length, std::wstring* out) {
    if (length <= 0) return 0;
    int size = MultiByteToWideChar(code_page, 0, text, length, nullptr, 0);
    if (size <= 0) return 0;
    std::wstring converted(static_cast<size_t>(size), L'\0');
    int written = MultiByteToWideChar(code_page, 0, text, length, &converted[0], size);
    if (written <= 0) return 0;
    converted.resize(static_cast<size_t>(written));
    out->swap(converted);
    return written;
}

int WideToNarrow(UINT code_page, const wchar_t* text, int length, std::string* out) {
    if (length <= 0) return 0;
    int size = WideCharToMultiByte(code_page, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return 0;
    std::string converted(static_cast<size_t>(size), '\0');
    int written =
        WideCharToMultiByte(code_page, 0, text, length, &converted[0], size, nullptr, nullptr);
    if (written <= 0) return 0;
    converted.resize(static_cast<size_t>(written));
    out->swap(converted);
    return written;
}

int TextLength(const std::string& text) {
    return static_cast<int>(strnlen(text.data(), text.size()));
}

}  // namespace

int AnsiToWide(const std::string& ansi, std::wstring* out) {
    return NarrowToWide(CP_ACP, ansi.data(), TextLength(ansi), out);
}

int OemToWide(const std::string& oem, std::wstring* out) {
    return NarrowToWide(CP_OEMCP, oem.data(), TextLength(oem), out);
}

void WideToOem(const std::wstring& wide, std::string* out) {
    if (wide.empty()) return;
    // size() + 1 takes the terminating NUL along.
    WideToNarrow(CP_OEMCP, wide.c_str(), static_cast<int>(wide.size()) + 1, out);
}

void WideToUtf8(const std::wstring& wide, std::string* out) {
    WideToNarrow(CP_UTF8, wide.data(), static_cast<int>(wide.size()), out);
}

void Utf8ToWide(const std::string& utf8, std::wstring* out) {
    NarrowToWide(CP_UTF8, utf8.data(), static_cast<int>(utf8.size()), out);
}

namespace {

const wchar_t kHexDigits[] = L"0123456789ABCDEF";

void AppendPercentByte(unsigned char byte, std::wstring* out) {
    out->push_back(L'%');
    out->push_back(kHexDigits[byte >> 4]);
    out->push_back(kHexDigits[byte & 0x0F]);
}

size_t WithoutTrailingNuls(const std::string& text) {
    size_t end = text.size();
    while (end > 0 && text[end - 1] == '\0') --end;
    return end;
}

bool IsUnreservedByte(unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
           (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' || byte == '~';
}

}  // namespace

void PercentEncode(const std::string& utf8, std::wstring* out) {
    const size_t end = WithoutTrailingNuls(utf8);
    out->reserve(out->size() + end * 3);
    for (size_t i = 0; i < end; ++i) AppendPercentByte(static_cast<unsigned char>(utf8[i]), out);
}

void PercentEncodeQueryValue(const std::string& utf8, std::wstring* out) {
    const size_t end = WithoutTrailingNuls(utf8);
    out->reserve(out->size() + end * 3);
    for (size_t i = 0; i < end; ++i) {
        const unsigned char byte = static_cast<unsigned char>(utf8[i]);
        if (IsUnreservedByte(byte))
            out->push_back(static_cast<wchar_t>(byte));
        else
            AppendPercentByte(byte, out);
    }
}
