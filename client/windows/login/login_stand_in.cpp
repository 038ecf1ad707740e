// Stands in for the login dialog and the auto-login worker until they are
// built: a log line each; the start-up login answers at once, so the main
// window's login button does not stay disabled.
#include "client/core/startup/main_window_handle.h"
#include "client/windows/login/login_windows.h"
#include "client/windows/main_frame_messages.h"
#include "foundation/log/log.h"

void ShowLoginDialog() { log_trace("%s: the login dialog is not built yet", "ShowLoginDialog"); }

void StartAutoLogin(int mode) {
    log_trace("%s: auto-login is not built yet (mode %d)", "StartAutoLogin", mode);
    if (mode == kAutoLoginAtStartUp) PostMessageW(MainWindowHandle(), WM_AUTO_LOGIN_DONE, 0, 0);
}
