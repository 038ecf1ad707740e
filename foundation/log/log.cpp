#include "log.h"
#include <windows.h>
#include <string>
#include "log_format.h"
#include <stdarg.h>
#include <stdlib.h>
#include <time.h>

namespace {

// The lock is never deleted: detached threads may still log while the
// process runs its exit handlers.
CRITICAL_SECTION* log_lock() {
    static CRITICAL_SECTION* cs = [] {
        CRITICAL_SECTION* p = new CRITICAL_SECTION;
        InitializeCriticalSection(p);
        return p;
    }();
    return cs;
}
// Created during static initialisation, before any worker thread exists.
CRITICAL_SECTION* const g_force_lock_init = log_lock();

FILE* g_file = nullptr;
volatile LONG g_level = 0;
volatile LONG g_enabled = 0;
bool g_exit_handler_registered = false;

void exit_handler() { log_close(); }

void log_write(const char* format, va_list args) {
    __time64_t now = _time64(nullptr);
    struct tm local = {};
    char prefix[64];
    if (_localtime64_s(&local, &now) == 0) {
        log_format_prefix(prefix, sizeof prefix, local.tm_year + 1900, local.tm_mon + 1,
                          local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    } else {
        prefix[0] = '\0';
    }
    // Formatted here, not by vfprintf, so that wide names reach the file
    // whole (as UTF-8) and not cut at their first non-ANSI character.
    const std::string message = log_format_message(format, args);
    EnterCriticalSection(log_lock());
    if (g_file) {  // checked again: log_close may have run meanwhile
        fprintf(g_file, "%s ", prefix);
        fwrite(message.data(), 1, message.size(), g_file);
        fputs("\n", g_file);
        fflush(g_file);
    }
    LeaveCriticalSection(log_lock());
}

}  // namespace

void log_format_prefix(char* out, size_t size, int year, int month, int day, int hour,
                       int minute, int second) {
    snprintf(out, size, "%d-%d-%d %d:%d:%d:", year, month, day, hour, minute, second);
}

bool log_open(const char* path) {
    EnterCriticalSection(log_lock());
    if (g_file) fclose(g_file);
    g_file = fopen(path, "w");
    g_level = 2;
    g_enabled = g_file != nullptr;
    if (!g_exit_handler_registered) {
        g_exit_handler_registered = true;
        atexit(exit_handler);
    }
    LeaveCriticalSection(log_lock());
    return g_enabled != 0;
}

void log_set_level(int level) { InterlockedExchange(&g_level, level); }
int log_level() { return g_level; }
bool log_enabled() { return g_enabled != 0; }

void log_close() {
    EnterCriticalSection(log_lock());
    g_enabled = 0;
    if (g_file) {
        fclose(g_file);
        g_file = nullptr;
    }
    LeaveCriticalSection(log_lock());
}

void log_trace(const char* format, ...) {
    if (!g_enabled || g_level <= 1) return;
    va_list args;
    va_start(args, format);
    log_write(format, args);
    va_end(args);
}

void log_error(const char* format, ...) {
    if (!g_enabled || g_level <= 0) return;
    va_list args;
    va_start(args, format);
    log_write(format, args);
    va_end(args);
}
