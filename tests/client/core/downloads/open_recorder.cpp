// Stands in for the shell's "open" of a downloaded installer: appends
// "<creation time> <its one argument>" to the file named by
// VANTREL_OPEN_RECORD. The creation time orders the records as the opens
// were made, whichever recorder process writes first.
#include <windows.h>
#include <shellapi.h>
#include <stdio.h>
#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    wchar_t record[MAX_PATH] = {0};
    if (!argv || argc < 2 || !GetEnvironmentVariableW(L"VANTREL_OPEN_RECORD", record, MAX_PATH)) return 1;
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    unsigned long long stamp = (static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
    char line[2048];
    char path[1800];
    WideCharToMultiByte(CP_UTF8, 0, argv[1], -1, path, sizeof path, nullptr, nullptr);
    int n = snprintf(line, sizeof line, "%020llu %s\n", stamp, path);
    HANDLE mutex = CreateMutexW(nullptr, FALSE, L"vantrel_open_recorder");
    WaitForSingleObject(mutex, 10000);
    HANDLE f = CreateFileW(record, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(f, line, n, &written, nullptr);
        CloseHandle(f);
    }
    ReleaseMutex(mutex);
    CloseHandle(mutex);
    return 0;
}
