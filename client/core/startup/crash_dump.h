#pragma once
#include <windows.h>
#include <string>

// Loads DbgHelp from the system folder and looks up MiniDumpWriteDump, once.
// WriteCrashDump calls it when it first needs a dump: loaded at every start
// it cost a module and its pages for a crash that rarely comes.
void LoadCrashDumpLibrary();

// Unhandled-exception filter: writes "<program path>.<tick count>.dmp" and
// returns EXCEPTION_CONTINUE_SEARCH so the system's own handling follows.
LONG WINAPI CrashDumpFilter(EXCEPTION_POINTERS* exception);

bool WriteCrashDump(DWORD thread_id, EXCEPTION_POINTERS* exception, const wchar_t* file_name);

// The dump file name for a program path and tick count.
std::wstring CrashDumpFileName(const wchar_t* program_path, DWORD tick);
