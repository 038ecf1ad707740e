#pragma once
#include <stdint.h>
#include <string>

struct LocalDate {
    int year;    // four digits
    int month;   // 1-12
    int day;     // 1-31
    int hour;    // 0-23
    int64_t time;  // the 64-bit time value it was taken from
};

// The current local date. On failure the four numbers are -1 and the result
// is false.
bool GetLocalDate(LocalDate* out);

// A registry install date "yyyymmdd" becomes "y/m/d" without leading zeros.
// Texts shorter than 4 characters, years before 2000, months outside 1-12 and
// days outside 1-31 leave `out` unchanged and return false.
bool ParseInstallDate(const std::wstring& text, std::wstring* out);
