#include "setup/uninstaller/removal.h"

#include <windows.h>

#include "setup/common/folder_paths.h"
#include "setup/common/process_start.h"
#include "setup/common/setup_constants.h"

const wchar_t kUninstallerMutexName[] = L"F89FF6DB-1F90-4C81-BEAE-49EE03C21F80";

namespace {

// The package uninstaller returns at once and leaves the work to a copy of
// itself, which removes the keys first: the outcome is known when they go.
const DWORD kKeysGoneTimeoutMs = 30000;
// The report is fire-and-forget, but it must leave before the uninstaller
// starts shutting the client down and removing its folder.
const DWORD kReportTimeoutMs = 15000;

bool KeyExists(const wchar_t* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

}  // namespace

bool IsWaitRun(const std::vector<std::wstring>& args) {
    return args.size() == 1 && args[0] == L"wait";
}

void WaitForUninstallerExit() {
    for (;;) {
        HANDLE mutex = CreateMutexW(nullptr, TRUE, kUninstallerMutexName);
        const DWORD error = GetLastError();
        if (mutex) CloseHandle(mutex);
        if (error != ERROR_ALREADY_EXISTS) return;
        Sleep(1000);
    }
}

void LaunchReportUninstall() {
    const std::wstring folder = OwnProgramFolder();
    if (folder.empty()) return;
    RunProgramAndWaitAtMost(JoinPath(folder, kClientProgramName), L"report_uninstall",
                            kReportTimeoutMs);
}

bool InstallationKeysGone() { return !KeyExists(kProductKeyPath) && !KeyExists(kUninstallKeyPath); }

bool RunUninstallPackage() {
    HoldForTests(L"VANTREL_TEST_REMOVAL_DELAY_MS");
    LaunchReportUninstall();
    const std::wstring folder = OwnProgramFolder();
    if (folder.empty() || !RunProgramAndWait(JoinPath(folder, kPackageUninstallerName), L"/S"))
        return false;
    return WaitUntil(&InstallationKeysGone, kKeysGoneTimeoutMs, 250);
}
