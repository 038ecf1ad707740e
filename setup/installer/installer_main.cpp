// Entry of the setup program: the silent runs, the update run's first step,
// then the wizard and its finish window.
#include <windows.h>
#include <objbase.h>

#include <string>

#include "client/core/startup/command_line.h"
#include "setup/common/setup_window.h"
#include "setup/installer/inst_wnd.h"
#include "setup/installer/install_package.h"
#include "setup/installer/installer_command_line.h"
#include "setup/installer/old_installation.h"
#include "setup/installer/startup_wnd.h"

namespace {

const wchar_t kInstallerMutexName[] = L"8EA66DFE-BDEF-4BD5-9F8C-7E4398E307CB";
const wchar_t kWindowTitle[] = L"Kelvora安装程序";
const UINT kIconResource = 103;

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    const InstallerRun run = ParseInstallerCommandLine(ProcessArguments());
    std::wstring offered_folder;
    const bool update = run.mode == InstallerMode::Update;
    if (update) offered_folder = RemoveOldInstallation();
    // Silent runs take no mutex, show nothing and start nothing else; their
    // exit code says whether the install worked.
    if (run.mode == InstallerMode::SilentDefault) return RunSilentInstall(nullptr) ? 0 : 1;
    if (run.mode == InstallerMode::SilentInto) return RunSilentInstall(&run.folder) ? 0 : 1;

    HANDLE mutex = TakeSingleInstance(kInstallerMutexName);
    UiToolkit::CWindowManagerUI::SetInstance(instance);
    UseSetupSkinResource(L"#105");
    if (SUCCEEDED(CoInitialize(nullptr))) {
        std::wstring output_folder;
        bool done = false;
        // Both windows live until the process ends.
        ShowAndRun(new InstWnd(update, offered_folder, &output_folder, &done), kWindowTitle, 562, 357,
                   kIconResource);
        // The finish window takes its size from its skin.
        if (done) ShowAndRun(new StartupWnd(output_folder), kWindowTitle, 562, 357, kIconResource);
        CoUninitialize();
    }
    if (mutex) CloseHandle(mutex);
    return 0;
}
