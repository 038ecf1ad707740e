// Program entry of the client: one-shot switches, or a normal start with the
// main window and the message loop.
#include <windows.h>
#include <objbase.h>
#include "client/core/startup/command_line.h"
#include "client/core/startup/crash_dump.h"
#include "client/core/startup/main_init.h"
#include "client/core/reports/report.h"
#include "client/core/startup/single_instance.h"
#include "client/windows/main/main_frame_wnd.h"
#include "foundation/ke/thread_single.h"
#include "foundation/log/log.h"
#include "uitoolkit/core/window_manager.h"

namespace {

const UINT kProgramIconId = 102;

int RunOneShot(ClientRunMode mode) {
    switch (mode) {
    case ClientRunMode::Shutdown:
        RequestShutdownAndWait();
        break;
    case ClientRunMode::ReportInstall:
        Report::SubmitInstall();
        break;
    case ClientRunMode::ReportUninstall:
        Report::SubmitUninstall();
        break;
    case ClientRunMode::Normal:
        break;
    }
    return 0;
}

// Test seam: VANTREL_TEST_STARTUP_DELAY_MS holds the start-up between the
// start routine and the main window, so tests can reach that moment.
void HoldStartUpForTests() {
    wchar_t value[16];
    DWORD n = GetEnvironmentVariableW(L"VANTREL_TEST_STARTUP_DELAY_MS", value, 16);
    if (n > 0 && n < 16) Sleep(static_cast<DWORD>(_wtoi(value)));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    ClientRunMode mode = ParseClientRunMode(ProcessArguments());
    if (mode != ClientRunMode::Normal) return RunOneShot(mode);

    SetUnhandledExceptionFilter(CrashDumpFilter);
    HANDLE mutex = EnsureSingleInstance();

    // The toolkit finds the skin in the "skin" folder beside the program.
    UiToolkit::CWindowManagerUI::SetInstance(instance);
    UiToolkit::CUiString skin = UiToolkit::CWindowManagerUI::ProgramFolder();
    skin += L"skin";
    UiToolkit::CWindowManagerUI::SetResourceFolder(skin);

    if (SUCCEEDED(CoInitialize(nullptr))) {
        MainInit();
        // The start report goes out in the background; nothing waits for it.
        ke::run_detached([]() { Report::SubmitActive(); });
        HoldStartUpForTests();
        // The window lives until the process ends: pages and rows may still
        // be reached by worker threads, which are not waited for.
        MainFrameWnd* frame = new MainFrameWnd;
        if (frame->Create(nullptr, L"Kelvora", 0, 0, 0, 0, 890, 635)) {
            frame->SetAppIcons(kProgramIconId);
            frame->CenterOnOwner();
            ShowWindow(frame->GetHWND(), SW_SHOW);
            UiToolkit::CWindowManagerUI::RunMessageLoop();
        }
        log_trace("%s: shutdown", "MainDestroy");
        CoUninitialize();
    }
    if (mutex) CloseHandle(mutex);
    return 0;
}
