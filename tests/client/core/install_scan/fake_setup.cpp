#include "tests/client/core/install_scan/fake_setup.h"
#include <windows.h>
#include <vector>
#include "tests/support/test_support.h"

namespace fake_setup_runner {

std::wstring ToolFolder() { return test_support::WinePath(test_support::Env("VANTREL_FAKE_SETUP_DIR")); }

namespace {
int Run(const wchar_t* program, const std::wstring& args) {
    std::wstring command = L"\"" + ToolFolder() + L"\\" + program + L"\" " + args;
    std::vector<wchar_t> buffer(command.begin(), command.end());
    buffer.push_back(L'\0');
    STARTUPINFOW si = {sizeof si};
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &si, &pi))
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}
}  // namespace

int RunInstaller(const std::wstring& args) { return Run(L"fake_installer.exe", args); }
int RunUninstaller(const std::wstring& args) { return Run(L"fake_uninstaller.exe", args); }

}  // namespace fake_setup_runner
