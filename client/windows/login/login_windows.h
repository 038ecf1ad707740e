#pragma once
// Logging in: the modal login dialog and the auto-login worker.

// Auto-login modes: a login again after the dialog (posts WM_LOGIN_POST),
// and the start-up login (posts WM_AUTO_LOGIN_DONE).
enum AutoLoginMode { kAutoLoginAgain = 1, kAutoLoginAtStartUp = 2 };

// The login dialog, with no owner, centred on the work area, run modally.
void ShowLoginDialog();

// Logs in with the stored account on a one-shot worker and posts the
// mode's message to the main window.
void StartAutoLogin(int mode);
