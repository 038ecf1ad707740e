#pragma once
#include <stdio.h>

// The process-wide text log. Until log_open succeeds both entry points do
// nothing, so one-shot runs and the setup programs never write a log.
//
// Line format: "Y-M-D h:m:s: message\n" (no zero padding), flushed at once.
// Messages begin "%s: " with the logging function's name. The file holds
// UTF-8: wide arguments (%ls) are written whole in it, narrow ones (%s) as
// the caller holds them.

// Opens (truncates) the log file, sets level 2 and enables logging when the
// file opened. Returns whether it did.
bool log_open(const char* path);

// 0 writes nothing, 1 errors only, 2 and above errors and information.
void log_set_level(int level);
int log_level();
bool log_enabled();

// Stops logging and closes the file; later calls write nothing. Registered
// to run at process exit; safe while other threads still log.
void log_close();

void log_trace(const char* format, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 1, 2)));
void log_error(const char* format, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 1, 2)));

// Formats the line prefix for a broken-down local time into `out`
// ("2014-3-5 9:7:3:"). Exposed for tests.
void log_format_prefix(char* out, size_t size, int year, int month, int day, int hour,
                       int minute, int second);
