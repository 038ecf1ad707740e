#pragma once
#include <string>
#include <vector>

// The removal program's mutex, held by its window's process.
extern const wchar_t kUninstallerMutexName[];

// True for the package uninstaller's call: exactly one argument, "wait"
// (compared exactly: "WAIT" opens the window).
bool IsWaitRun(const std::vector<std::wstring>& args);

// The "wait" run: returns once no removal window runs (polls the mutex once
// a second, without limit).
void WaitForUninstallerExit();

// Starts the client beside this program with "report_uninstall" and gives
// the report a little time to go out before anything is removed.
void LaunchReportUninstall();

// The work behind the window: the uninstall report, then the package's own
// silent uninstaller. True when the uninstaller ran and the installation's
// registry keys are gone.
bool RunUninstallPackage();

// True when neither of the keys the install package writes exists.
bool InstallationKeysGone();
