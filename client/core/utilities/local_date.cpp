#include "client/core/utilities/local_date.h"
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

bool GetLocalDate(LocalDate* out) {
    __time64_t now = _time64(nullptr);
    out->time = now;
    struct tm parts = {};
    if (now == -1 || _localtime64_s(&parts, &now) != 0) {
        out->year = out->month = out->day = out->hour = -1;
        return false;
    }
    out->year = parts.tm_year + 1900;
    out->month = parts.tm_mon + 1;
    out->day = parts.tm_mday;
    out->hour = parts.tm_hour;
    return true;
}

bool ParseInstallDate(const std::wstring& text, std::wstring* out) {
    if (text.size() < 4) return false;
    long year = _wtol(text.substr(0, 4).c_str());
    long month = _wtol(text.substr(text.size() - 4, 2).c_str());
    long day = _wtol(text.substr(text.size() - 2).c_str());
    if (day < 1 || day > 31 || month < 1 || month > 12 || year <= 1999) return false;
    wchar_t buffer[64];
    swprintf(buffer, 64, L"%ld/%ld/%ld", year, month, day);
    *out = buffer;
    return true;
}
