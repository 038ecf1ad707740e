#pragma once
// Logging in: the modal login dialog and the auto-login worker.
#include <string>

// Auto-login modes: a login again after the dialog (posts WM_LOGIN_POST),
// and the start-up login (posts WM_AUTO_LOGIN_DONE).
enum AutoLoginMode { kAutoLoginAgain = 1, kAutoLoginAtStartUp = 2 };

// The login dialog, with no owner, centred on the work area, run modally.
// One at a time: while one is open, this brings it to the front instead.
void ShowLoginDialog();

// Logs in with the stored account on a one-shot worker and posts the
// mode's message to the main window.
void StartAutoLogin(int mode);

// The worker's body (run on the caller's thread): the stored account is
// sent (nothing when the name or the password is missing), the session's
// state becomes 0 (accepted) or 1, and the mode's message is posted.
void LoginThreadProc2(int mode);

// The dialog's job, off the UI thread: logs in with the typed account and,
// once accepted, stores the two boxes' settings and, when either box is
// ticked, the name and the password. Returns the state it stored in the
// session: 0 accepted, 1 no answer, 4 refused.
int LoginWithTypedAccount(const std::wstring& name, const std::wstring& password, bool auto_login,
                          bool remember);
