#include "client/windows/downloads/speed_text.h"

#include <stdarg.h>
#include <stdio.h>

namespace {

const uint32_t kKilo = 1u << 10;
const uint32_t kMega = 1u << 20;
const uint32_t kGiga = 1u << 30;

std::wstring Format(const wchar_t* format, ...) {
    wchar_t text[64];
    va_list args;
    va_start(args, format);
    vswprintf(text, sizeof(text) / sizeof(text[0]), format, args);
    va_end(args);
    return text;
}

}  // namespace

std::wstring FormatSpeedWhole(int32_t bytes_per_second) {
    const uint32_t s = static_cast<uint32_t>(bytes_per_second);
    if (s >= kGiga) return Format(L"%u GB/S", s >> 30);
    if (s >= kMega) return Format(L"%u MB/S", s >> 20);
    if (s >= kKilo) return Format(L"%u KB/S", s >> 10);
    return Format(L"%u B/S", s);
}

std::wstring FormatSpeedDecimal(int32_t bytes_per_second) {
    const uint32_t s = static_cast<uint32_t>(bytes_per_second);
    if (s >= kGiga) return Format(L"%.2f GB/S", static_cast<double>(s) / kGiga);
    if (s >= kMega) return Format(L"%.2f MB/S", static_cast<double>(s) / kMega);
    if (s >= kKilo) return Format(L"%.2f KB/S", static_cast<double>(s) / kKilo);
    return Format(L"%u B/S", s);
}

std::wstring FormatPercent(int32_t percent) { return Format(L"%d%%", static_cast<int>(percent)); }
