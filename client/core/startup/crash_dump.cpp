#include "client/core/startup/crash_dump.h"
#include <dbghelp.h>
#include <stdio.h>
#include <wchar.h>

namespace {

typedef BOOL(WINAPI* MiniDumpWriteDumpFn)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE,
                                          PMINIDUMP_EXCEPTION_INFORMATION,
                                          PMINIDUMP_USER_STREAM_INFORMATION,
                                          PMINIDUMP_CALLBACK_INFORMATION);

HMODULE g_dbghelp = nullptr;
MiniDumpWriteDumpFn g_write_dump = nullptr;

}  // namespace

void LoadCrashDumpLibrary() {
    if (g_dbghelp) return;
    wchar_t path[MAX_PATH];
    UINT n = GetSystemDirectoryW(path, MAX_PATH);
    if (n == 0 || n + 14 >= MAX_PATH) return;
    wcscat(path, L"\\DBGHELP.DLL");
    g_dbghelp = LoadLibraryW(path);
    if (g_dbghelp) {
        g_write_dump = reinterpret_cast<MiniDumpWriteDumpFn>(
            reinterpret_cast<void*>(GetProcAddress(g_dbghelp, "MiniDumpWriteDump")));
    }
}

std::wstring CrashDumpFileName(const wchar_t* program_path, DWORD tick) {
    wchar_t suffix[56];
    swprintf(suffix, 56, L".%d.dmp", static_cast<int>(tick));
    std::wstring name = program_path;
    name += suffix;
    if (name.size() > MAX_PATH - 1) name.resize(MAX_PATH - 1);
    return name;
}

bool WriteCrashDump(DWORD thread_id, EXCEPTION_POINTERS* exception, const wchar_t* file_name) {
    LoadCrashDumpLibrary();
    if (!g_dbghelp) return false;
    HANDLE file = CreateFileW(file_name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    if (!g_write_dump) {
        CloseHandle(file);
        return false;
    }
    MINIDUMP_EXCEPTION_INFORMATION info;
    info.ThreadId = thread_id;
    info.ExceptionPointers = exception;
    info.ClientPointers = FALSE;
    BOOL ok = g_write_dump(GetCurrentProcess(), GetCurrentProcessId(), file, MiniDumpNormal,
                           &info, nullptr, nullptr);
    CloseHandle(file);
    return ok == TRUE;
}

LONG WINAPI CrashDumpFilter(EXCEPTION_POINTERS* exception) {
    wchar_t program[MAX_PATH] = {0};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring name = CrashDumpFileName(program, GetTickCount());
    WriteCrashDump(GetCurrentThreadId(), exception, name.c_str());
    return EXCEPTION_CONTINUE_SEARCH;
}
