#pragma once
// Starting other programs. A program is named both as the program to start
// and, in double quotes, as the first word of its command line: an
// unquoted path with a blank is split by the system (so that
// "C:\Program.exe" may start instead) and the program would see its own
// path cut into extra arguments.
#include <windows.h>
#include <string>

// `program` in double quotes, followed by a blank and `arguments` when
// there are any. Empty when the path holds a double quote (no file name can).
std::wstring QuotedCommandLine(const std::wstring& program, const std::wstring& arguments);

// Starts `program` with `arguments` (no inheritance, no flags, a zeroed
// STARTUPINFOW) and closes both handles at once. False when it did not start.
bool StartProgram(const std::wstring& program, const std::wstring& arguments);

// Starts `program` and waits for it without limit. False when it did not
// start; otherwise `exit_code` (when given) receives its exit code.
bool RunProgramAndWait(const std::wstring& program, const std::wstring& arguments,
                       DWORD* exit_code = nullptr);

// Starts `program` and waits at most `timeout_ms`. False when it did not start.
bool RunProgramAndWaitAtMost(const std::wstring& program, const std::wstring& arguments,
                             DWORD timeout_ms);

// Polls `done` every `interval_ms` until it is true or `timeout_ms` has
// passed; returns its last answer.
template <typename Predicate>
bool WaitUntil(Predicate done, DWORD timeout_ms, DWORD interval_ms = 200) {
    const ULONGLONG end = GetTickCount64() + timeout_ms;
    for (;;) {
        if (done()) return true;
        if (GetTickCount64() >= end) return false;
        Sleep(interval_ms);
    }
}

// Test seam: sleeps for the number of milliseconds held by the environment
// variable `name`, when it is set (tests use it to hold a moment open).
void HoldForTests(const wchar_t* name);
