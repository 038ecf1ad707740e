#include "client/core/startup/command_line.h"
#include <windows.h>
#include <shellapi.h>
#include <wchar.h>

ClientRunMode ParseClientRunMode(const std::vector<std::wstring>& args) {
    if (args.size() != 1) return ClientRunMode::Normal;
    const wchar_t* arg = args[0].c_str();
    if (_wcsicmp(arg, L"shutdown") == 0) return ClientRunMode::Shutdown;
    if (_wcsicmp(arg, L"report_install") == 0) return ClientRunMode::ReportInstall;
    if (_wcsicmp(arg, L"report_uninstall") == 0) return ClientRunMode::ReportUninstall;
    return ClientRunMode::Normal;
}

std::vector<std::wstring> ProcessArguments() {
    std::vector<std::wstring> args;
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!argv) return args;
    for (int i = 1; i < count; ++i) args.push_back(argv[i]);
    LocalFree(argv);
    return args;
}
