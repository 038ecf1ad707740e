// The two login roads off the UI thread: the start-up auto-login with the
// stored account, and the dialog's job with the typed one.
#include "client/core/reports/login_session.h"
#include "client/core/settings/conf_mgr.h"
#include "client/core/startup/main_window_handle.h"
#include "client/core/utilities/text_encoding.h"
#include "client/windows/login/login_request.h"
#include "client/windows/login/login_windows.h"
#include "client/windows/main_frame_messages.h"
#include "foundation/ke/thread_single.h"
#include "foundation/log/log.h"

namespace {

void PostModeMessage(int mode) {
    if (mode == kAutoLoginAtStartUp)
        ::PostMessageW(MainWindowHandle(), WM_AUTO_LOGIN_DONE, 0, 0);
    else if (mode == kAutoLoginAgain)
        ::PostMessageW(MainWindowHandle(), WM_LOGIN_POST, 0, 0);
}

}  // namespace

void LoginThreadProc2(int mode) {
    std::string password;
    std::wstring account;
    ConfMgr::GetPassword(&password);
    ConfMgr::GetUser(&account);
    LoginResult result = LoginResult::kFailed;
    // Nothing stored (the settings were never written, or are unreadable):
    // a request would only log in as nobody.
    if (account.empty() || password.empty()) {
        log_error("%s: no stored account and password, nothing sent", "LoginThreadProc2");
    } else {
        result = RequestLogin(account, password);
        if (result != LoginResult::kAccepted) log_error("%s: HttpDownloadMem failed", "LoginThreadProc2");
    }
    LoginSession::Instance().set_state(result == LoginResult::kAccepted ? LoginSession::kLoggedIn
                                                                        : LoginSession::kNotLoggedIn);
    PostModeMessage(mode);
}

void StartAutoLogin(int mode) {
    if (ke::run_detached([mode]() { LoginThreadProc2(mode); })) return;
    // The main window waits for the answer with its login button disabled.
    log_error("%s: no worker for the auto-login", "StartAutoLogin");
    LoginSession::Instance().set_state(LoginSession::kNotLoggedIn);
    PostModeMessage(mode);
}

int LoginWithTypedAccount(const std::wstring& name, const std::wstring& password, bool auto_login,
                          bool remember) {
    std::string password_utf8;
    WideToUtf8(password, &password_utf8);
    int state = LoginSession::kRejected;
    switch (RequestLogin(name, password_utf8)) {
    case LoginResult::kFailed:
        log_error("%s: HttpDownloadMem failed", "LoginWithTypedAccount");
        state = LoginSession::kNotLoggedIn;
        break;
    case LoginResult::kAccepted:
        state = LoginSession::kLoggedIn;
        ConfMgr::SetAutoLogin(auto_login);
        ConfMgr::SetRememberPassword(remember);
        // The auto-login reads the stored account: it is kept when either
        // box asks for it (the dialog fills itself only with "remember").
        if (auto_login || remember) {
            ConfMgr::SetUser(name);
            ConfMgr::SetPassword(password);
        }
        break;
    case LoginResult::kRefused:
        break;
    }
    LoginSession::Instance().set_state(state);
    return state;
}
