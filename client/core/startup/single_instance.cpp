#include "client/core/startup/single_instance.h"
#include "client/core/startup/main_window_handle.h"
#include "client/windows/main_frame_messages.h"
#include "foundation/ke/task_mgr.h"
#include "foundation/ke/thread_single.h"

const wchar_t kClientMutexName[] = L"E3B3FE66-AC09-455B-8D4C-6B38E7E7BE8B";
const wchar_t kShutdownEventName[] = L"Global\\CE6FF41F-4B42-40DB-8BB1-59AF00085643";

namespace {

bool SignalShutdownEvent() {
    HANDLE ev = OpenEventW(EVENT_MODIFY_STATE, FALSE, kShutdownEventName);
    if (!ev) return false;
    SetEvent(ev);
    CloseHandle(ev);
    return true;
}

}  // namespace

HANDLE EnsureSingleInstance() {
    HANDLE mutex = CreateMutexW(nullptr, TRUE, kClientMutexName);
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        if (mutex) CloseHandle(mutex);
        ExitProcess(0);
    }
    ke::run_detached(ShutdownWatcher);
    return mutex;
}

void RequestShutdownAndWait() {
    SignalShutdownEvent();
    for (;;) {
        HANDLE mutex = CreateMutexW(nullptr, TRUE, kClientMutexName);
        DWORD error = GetLastError();
        if (mutex) CloseHandle(mutex);
        if (error != ERROR_ALREADY_EXISTS) return;
        Sleep(1000);
        // A client that was still starting may not have had its event yet
        // when we first looked: ask again, or this run would wait forever.
        SignalShutdownEvent();
    }
}

void ShutdownWatcher() {
    HANDLE ev = CreateEventW(nullptr, FALSE, FALSE, kShutdownEventName);
    if (!ev) return;
    ke::thread_task_mgr* loop = new ke::thread_task_mgr(
        [ev]() { return WaitForSingleObject(ev, 1000) == WAIT_TIMEOUT; }, "kthread_task_mgr");
    loop->run();
    // A shutdown that arrives during start-up must not be lost: wait for the
    // main window to exist before posting the tray-exit command to it.
    HWND main = WaitForMainWindow(INFINITE);
    PostMessageW(main, WM_MENU_COMMAND, 0, kMenuCommandTrayExit);
    CloseHandle(ev);
    delete loop;
}
