// Entry of the removal program: the package uninstaller's "wait" call, or
// the removal window.
#include <windows.h>
#include <objbase.h>

#include "client/core/startup/command_line.h"
#include "setup/common/setup_window.h"
#include "setup/uninstaller/removal.h"
#include "setup/uninstaller/uninst_wnd.h"

namespace {
const wchar_t kWindowTitle[] = L"Kelvora卸载程序";
const UINT kIconResource = 101;
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    if (IsWaitRun(ProcessArguments())) {
        WaitForUninstallerExit();
        return 0;
    }
    HANDLE mutex = TakeSingleInstance(kUninstallerMutexName);
    UiToolkit::CWindowManagerUI::SetInstance(instance);
    UseSetupSkinResource(L"#106");
    if (SUCCEEDED(CoInitialize(nullptr))) {
        ShowAndRun(new UninstWnd, kWindowTitle, 408, 260, kIconResource);
        CoUninitialize();
    }
    if (mutex) CloseHandle(mutex);
    return 0;
}
