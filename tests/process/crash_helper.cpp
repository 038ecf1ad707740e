// Installs the client's crash-dump filter exactly as the client does, then
// crashes, so a test can look for the dump beside this program.
#include <windows.h>
#include "client/core/startup/crash_dump.h"

int wmain() {
    SetUnhandledExceptionFilter(CrashDumpFilter);
    volatile int* nowhere = nullptr;
    *nowhere = 1;
    // Never reached: a marker here would tell the test the crash did not happen.
    HANDLE marker = CreateFileW(L"survived.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
    return 0;
}
