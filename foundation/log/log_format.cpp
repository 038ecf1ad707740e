#include "log_format.h"
#include <windows.h>
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <wchar.h>

namespace {

// The length modifiers that change which type va_arg must read.
enum class Length { kNone, kChar, kShort, kLong, kLongLong, kMax, kSize, kPtrdiff, kLongDouble, kInt32 };

struct Conversion {
    std::string flags;
    int width = -1;
    int precision = -1;
    Length length = Length::kNone;
    char type = 0;
};

bool IsFlag(char c) { return c && strchr("-+ #0", c) != nullptr; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int ReadNumber(const char** p) {
    int n = 0;
    while (IsDigit(**p)) {
        if (n < 100000) n = n * 10 + (**p - '0');
        ++*p;
    }
    return n;
}

// Reads "flags width .precision length type" after the '%'. False when the
// format ends first.
bool ParseConversion(const char** p, va_list* args, Conversion* c) {
    while (IsFlag(**p)) c->flags += *(*p)++;
    if (**p == '*') {
        ++*p;
        c->width = va_arg(*args, int);
        if (c->width < 0) {  // a negative width from an argument means '-'
            c->flags += '-';
            c->width = c->width == INT32_MIN ? INT32_MAX : -c->width;
        }
    } else if (IsDigit(**p)) {
        c->width = ReadNumber(p);
    }
    if (**p == '.') {
        ++*p;
        if (**p == '*') {
            ++*p;
            c->precision = va_arg(*args, int);
            if (c->precision < 0) c->precision = -1;  // as if none were given
        } else {
            c->precision = ReadNumber(p);
        }
    }
    switch (**p) {
        case 'h':
            ++*p;
            c->length = Length::kShort;
            if (**p == 'h') ++*p, c->length = Length::kChar;
            break;
        case 'l':
            ++*p;
            c->length = Length::kLong;
            if (**p == 'l') ++*p, c->length = Length::kLongLong;
            break;
        case 'q': ++*p, c->length = Length::kLongLong; break;
        case 'L': ++*p, c->length = Length::kLongDouble; break;
        case 'j': ++*p, c->length = Length::kMax; break;
        case 'z': ++*p, c->length = Length::kSize; break;
        case 't': ++*p, c->length = Length::kPtrdiff; break;
        case 'I':  // Microsoft's I, I32 and I64
            ++*p;
            if ((*p)[0] == '6' && (*p)[1] == '4') {
                *p += 2;
                c->length = Length::kLongLong;
            } else if ((*p)[0] == '3' && (*p)[1] == '2') {
                *p += 2;
                c->length = Length::kInt32;
            } else {
                c->length = Length::kSize;
            }
            break;
        default: break;
    }
    if (!**p) return false;
    c->type = *(*p)++;
    return true;
}

// "%<flags><width>.<precision><length><type>" for the C library.
std::string Spec(const Conversion& c, const char* length, char type, bool with_precision = true) {
    std::string spec = "%" + c.flags;
    char number[16];
    if (c.width >= 0) {
        snprintf(number, sizeof number, "%d", c.width);
        spec += number;
    }
    if (with_precision && c.precision >= 0) {
        snprintf(number, sizeof number, ".%d", c.precision);
        spec += number;
    }
    return spec + length + type;
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"
template <typename T>
void Append(std::string* out, const std::string& spec, T value) {
    int n = snprintf(nullptr, 0, spec.c_str(), value);
    if (n <= 0) return;
    size_t at = out->size();
    out->resize(at + static_cast<size_t>(n) + 1);
    snprintf(&(*out)[at], static_cast<size_t>(n) + 1, spec.c_str(), value);
    out->resize(at + static_cast<size_t>(n));
}
#pragma GCC diagnostic pop

long long SignedArg(Length length, va_list* args) {
    switch (length) {
        case Length::kChar: return static_cast<signed char>(va_arg(*args, int));
        case Length::kShort: return static_cast<short>(va_arg(*args, int));
        case Length::kLong: return va_arg(*args, long);
        case Length::kLongLong:
        case Length::kLongDouble: return va_arg(*args, long long);  // %Ld is %lld to mingw
        case Length::kMax: return va_arg(*args, intmax_t);
        case Length::kSize:
        case Length::kPtrdiff: return va_arg(*args, ptrdiff_t);
        default: return va_arg(*args, int);
    }
}

unsigned long long UnsignedArg(Length length, va_list* args) {
    switch (length) {
        case Length::kChar: return static_cast<unsigned char>(va_arg(*args, unsigned));
        case Length::kShort: return static_cast<unsigned short>(va_arg(*args, unsigned));
        case Length::kLong: return va_arg(*args, unsigned long);
        case Length::kLongLong:
        case Length::kLongDouble: return va_arg(*args, unsigned long long);
        case Length::kMax: return va_arg(*args, uintmax_t);
        case Length::kSize:
        case Length::kPtrdiff: return va_arg(*args, size_t);
        default: return va_arg(*args, unsigned);
    }
}

std::string Utf8(const wchar_t* text, size_t length) {
    std::string out;
    if (length == 0) return out;
    int n = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return out;
    out.resize(static_cast<size_t>(n));
    WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), &out[0], n, nullptr, nullptr);
    return out;
}

// At most `limit` bytes of UTF-8 text, never half a character.
void CutUtf8(std::string* text, size_t limit) {
    if (text->size() <= limit) return;
    size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>((*text)[end]) & 0xC0) == 0x80) --end;
    text->resize(end);
}

void AppendWide(std::string* out, const Conversion& c, std::string text) {
    if (c.precision >= 0) CutUtf8(&text, static_cast<size_t>(c.precision));
    Append(out, Spec(c, "", 's', false), text.c_str());
}

}  // namespace

std::string log_format_message(const char* format, va_list args) {
    std::string out;
    va_list rest;
    va_copy(rest, args);
    const char* p = format ? format : "";
    while (*p) {
        if (*p != '%') {
            const char* run = p;
            while (*p && *p != '%') ++p;
            out.append(run, p);
            continue;
        }
        const char* directive = p++;
        if (*p == '%') {
            out += '%';
            ++p;
            continue;
        }
        Conversion c;
        if (!ParseConversion(&p, &rest, &c)) {
            out += directive;
            break;
        }
        const bool wide = c.length == Length::kLong;
        switch (c.type) {
            case 'd':
            case 'i':
                Append(&out, Spec(c, "ll", c.type), SignedArg(c.length, &rest));
                break;
            case 'o':
            case 'u':
            case 'x':
            case 'X':
                Append(&out, Spec(c, "ll", c.type), UnsignedArg(c.length, &rest));
                break;
            case 'e':
            case 'E':
            case 'f':
            case 'F':
            case 'g':
            case 'G':
            case 'a':
            case 'A':
                if (c.length == Length::kLongDouble)
                    Append(&out, Spec(c, "L", c.type), va_arg(rest, long double));
                else
                    Append(&out, Spec(c, "", c.type), va_arg(rest, double));
                break;
            case 'c':
            case 'C':
                if (wide || c.type == 'C') {
                    // wint_t is promoted to int on its way through "...".
                    wchar_t ch = static_cast<wchar_t>(va_arg(rest, int));
                    AppendWide(&out, c, Utf8(&ch, 1));
                } else {
                    Append(&out, Spec(c, "", 'c'), va_arg(rest, int));
                }
                break;
            case 's':
            case 'S':
                if (wide || c.type == 'S') {
                    const wchar_t* text = va_arg(rest, const wchar_t*);
                    AppendWide(&out, c, text ? Utf8(text, wcslen(text)) : std::string("(null)"));
                } else {
                    const char* text = va_arg(rest, const char*);
                    Append(&out, Spec(c, "", 's'), text ? text : "(null)");
                }
                break;
            case 'p':
                Append(&out, Spec(c, "", 'p'), va_arg(rest, void*));
                break;
            case 'n':
                va_arg(rest, void*);
                break;
            default:  // unknown: stop before an argument is misread
                out += directive;
                p = "";
                break;
        }
    }
    va_end(rest);
    return out;
}

std::string log_format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string out = log_format_message(format, args);
    va_end(args);
    return out;
}
