#pragma once
// Starts a program's own uninstall command and tells the page when it ends.
#include <windows.h>

#include <string>

// The longest command line CreateProcessW takes, its terminating NUL
// included.
const size_t kMaxCommandLineChars = 32767;

// The notification queued on the window's manager when a started
// uninstaller has ended.
extern const wchar_t kUninstallerExitedNotify[];

// Starts `command` whole, as its command line. Returns whether it started;
// a command that is too long or cannot be started is logged and not run.
// Once a started command ends, kUninstallerExitedNotify is queued on the
// manager of `notify_window` (nothing when that is none). Its process and
// thread handles are closed either way.
bool StartUninstallCommand(const std::wstring& command, HWND notify_window);
