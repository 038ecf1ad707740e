#pragma once
#include <windows.h>
#include <string>

// Loads DbgHelp from the system folder and looks up MiniDumpWriteDump. Done
// once at start-up: a crashing process is no place to load libraries.
void LoadCrashDumpLibrary();

// Unhandled-exception filter: writes "<program path>.<tick count>.dmp" and
// returns EXCEPTION_CONTINUE_SEARCH so the system's own handling follows.
LONG WINAPI CrashDumpFilter(EXCEPTION_POINTERS* exception);

bool WriteCrashDump(DWORD thread_id, EXCEPTION_POINTERS* exception, const wchar_t* file_name);

// The dump file name for a program path and tick count.
std::wstring CrashDumpFileName(const wchar_t* program_path, DWORD tick);
