// Installs the client's crash-dump filter exactly as the client does, then
// crashes, so a test can look for the dump beside this program.
#include <windows.h>
#include "client/core/crash_dump.h"

int wmain() {
    LoadCrashDumpLibrary();
    SetUnhandledExceptionFilter(CrashDumpFilter);
    volatile int* nowhere = nullptr;
    *nowhere = 1;
    return 0;
}
