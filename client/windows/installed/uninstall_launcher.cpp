#include "client/windows/installed/uninstall_launcher.h"

#include <vector>

#include "foundation/ke/thread_single.h"
#include "foundation/log/log.h"
#include "uitoolkit/core/window_manager.h"

const wchar_t kUninstallerExitedNotify[] = L"uninstall_proc_exited";

bool StartUninstallCommand(const std::wstring& command, HWND notify_window) {
    if (command.empty()) return false;
    if (command.size() >= kMaxCommandLineChars) {
        log_error("%s: the command is %d characters long, more than a command line holds; not started",
                  "UninstallSoft::Uninstall", static_cast<int>(command.size()));
        return false;
    }
    // CreateProcessW may write into the command line it is given.
    std::vector<wchar_t> line(command.begin(), command.end());
    line.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process)) {
        log_error("%s: CreateProcess failed (%lu): %ls", "UninstallSoft::Uninstall", ::GetLastError(),
                  command.c_str());
        return false;
    }
    ::CloseHandle(process.hThread);
    log_trace("%s: started %ls", "UninstallSoft::Uninstall", command.c_str());
    HANDLE handle = process.hProcess;
    auto wait = [handle, notify_window]() {
        ::WaitForSingleObject(handle, INFINITE);
        ::CloseHandle(handle);
        if (notify_window) UiToolkit::CWindowManagerUI::PostNotifyToWindow(notify_window, kUninstallerExitedNotify);
    };
    if (!ke::run_detached(wait)) {
        log_error("%s: no worker to wait for the uninstaller; the list is not refreshed when it ends",
                  "UninstallSoft::Uninstall");
        ::CloseHandle(handle);
    }
    return true;
}
