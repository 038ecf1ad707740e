#pragma once
#include <stdarg.h>
#include <string>

// Formats one log message as UTF-8.
//
// The C library turns a wide argument (%ls, %lc, %S, %C) into narrow text
// through the C locale, which is not UTF-8 and cannot hold most characters:
// the text stopped at the first one it could not convert (a Chinese file
// name, an emoji). Here wide arguments become UTF-8 (an unpaired surrogate
// becomes U+FFFD), and every other conversion is left to the C library, one
// conversion at a time. Narrow %s arguments are copied as they are.
//
// For a wide string, width and precision count UTF-8 bytes, and a precision
// never cuts a character in two. %n writes nothing. A conversion the C
// library does not know ends the formatting: the rest of the format is
// copied as it stands, so no argument is read with the wrong type.
std::string log_format_message(const char* format, va_list args);

// The same with the arguments inline. Exposed for tests.
std::string log_format(const char* format, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 1, 2)));
