#include "client/windows/catalogue/soft_size_text.h"

#include <stdio.h>

namespace {

const int64_t kKilo = 1024;
const int64_t kMega = 1048576;
const int64_t kGiga = 1073741824;

std::wstring Fraction(double value, const wchar_t* unit) {
    wchar_t text[64];
    swprintf(text, sizeof(text) / sizeof(text[0]), L"%.2f%ls", value, unit);
    return text;
}

}  // namespace

std::wstring FormatSoftSize(int64_t bytes) {
    if (bytes <= 0) return std::wstring();
    if (bytes > kKilo && bytes < kMega) return Fraction(static_cast<double>(bytes) / kKilo, L"K");
    if (bytes > kMega && bytes < kGiga) return Fraction(static_cast<double>(bytes) / kMega, L"M");
    if (bytes > kGiga) return Fraction(static_cast<double>(bytes) / kGiga, L"G");
    // 1 to 1024, and exactly 1 MiB or 1 GiB: all fit an int.
    wchar_t text[32];
    swprintf(text, sizeof(text) / sizeof(text[0]), L"%dB", static_cast<int>(bytes));
    return text;
}
