#include "setup/installer/installer_command_line.h"

#include <wchar.h>

InstallerRun ParseInstallerCommandLine(const std::vector<std::wstring>& args) {
    InstallerRun run;
    if (args.size() == 1 && _wcsicmp(args[0].c_str(), L"update") == 0) {
        run.mode = InstallerMode::Update;
    } else if (args.size() == 1 && _wcsicmp(args[0].c_str(), L"slient") == 0) {
        run.mode = InstallerMode::SilentDefault;
    } else if (args.size() == 2 && _wcsicmp(args[0].c_str(), L"slient") == 0) {
        run.mode = InstallerMode::SilentInto;
        run.folder = args[1];
    }
    return run;
}
