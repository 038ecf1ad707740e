#include "client/windows/login/login_dialog.h"

#include <shellapi.h>

#include <string>

#include "client/core/reports/login_session.h"
#include "client/core/settings/conf_mgr.h"
#include "client/core/startup/host_config.h"
#include "client/core/startup/main_window_handle.h"
#include "client/core/utilities/text_encoding.h"
#include "client/windows/dialogs/loading_wnd.h"
#include "client/windows/dialogs/message_wnd.h"
#include "client/windows/dialogs/modal_dialogs.h"
#include "client/windows/login/login_windows.h"
#include "client/windows/main_frame_messages.h"
#include "client/windows/skin_binding.h"
#include "foundation/log/log.h"

namespace {

const wchar_t kSkin[] = L"login.xml";
// Queued to the dialog itself: a login asked for by a click or by Return
// runs from the dialog's next message, not inside the handler of the
// control that asked (the password edit's own window goes away while the
// loading window is up).
const wchar_t kLoginNow[] = L"login_now";

LoginDialog* g_open = nullptr;  // UI thread only
LoginShellFunction g_shell;

INT_PTR RunShell(const wchar_t* verb, const wchar_t* file, const wchar_t* parameters) {
    if (g_shell) return g_shell(verb, file, parameters);
    return reinterpret_cast<INT_PTR>(::ShellExecuteW(nullptr, verb, file, parameters, nullptr, SW_SHOW));
}

}  // namespace

void SetLoginShellForTest(LoginShellFunction shell) { g_shell = std::move(shell); }

LoginDialog::LoginDialog() : CModalDialog(kSkin, L"LoginDialog") {
    if (!g_open) g_open = this;
}

LoginDialog::~LoginDialog() {
    if (g_open == this) g_open = nullptr;
}

LoginDialog* LoginDialog::Open() { return g_open; }

bool LoginDialog::BindControls() {
    UiToolkit::CWindowManagerUI& m = m_manager;
    return BindSkinControl(close_btn_, m, kSkin, L"close_btn", L"Button") &&
           BindSkinControl(cancel_btn_, m, kSkin, L"login_cancel_btn", L"Button") &&
           BindSkinControl(ok_btn_, m, kSkin, L"login_ok_btn", L"Button") &&
           BindSkinControl(user_edit_, m, kSkin, L"user_name_edit", L"Edit") &&
           BindSkinControl(password_edit_, m, kSkin, L"passwd_name_edit", L"Edit") &&
           BindSkinControl(register_btn_, m, kSkin, L"reg_count_btn", L"Button") &&
           BindSkinControl(find_password_btn_, m, kSkin, L"find_passwd_btn", L"Button") &&
           BindSkinControl(auto_login_check_, m, kSkin, L"check_auto_login", L"Option") &&
           BindSkinControl(remember_check_, m, kSkin, L"check_record_passwd", L"Option");
}

void LoginDialog::OnSkinReady() {
    if (!BindControls()) {
        FailSkin();
        return;
    }
    password_edit_->SetPasswordMode(true);
    bool remember = false;
    if (ConfMgr::GetRememberPassword(&remember) && remember) {
        std::wstring user, password;
        ConfMgr::GetUser(&user);
        ConfMgr::GetPasswordW(&password);
        user_edit_->SetText(user.c_str());
        password_edit_->SetText(password.c_str());
        remember_check_->SetSelected(true);
    }
    bool auto_login = false;
    ConfMgr::GetAutoLogin(&auto_login);
    auto_login_check_->SetSelected(auto_login);
}

void LoginDialog::Notify(UiToolkit::TUiNotify& msg) {
    UiToolkit::CControlUI* sender = msg.pSender;
    if (msg.sType == kLoginNow) {
        Login();
    } else if (msg.sType == UI_NOTIFY_CLICK) {
        if (!sender) return;
        if (sender == close_btn_ || sender == cancel_btn_) {
            PostClose();
        } else if (sender == ok_btn_) {
            m_manager.EmitNotify(ok_btn_, kLoginNow, 0, 0, true);
            ::PostMessageW(m_hwnd, WM_NULL, 0, 0);
        } else if (sender == register_btn_) {
            OpenLoginHostPage(L"/regist.aspx");
        } else if (sender == find_password_btn_) {
            OpenLoginHostPage(L"/findpsd.aspx?mod=findpsw");
        }
    } else if (msg.sType == UI_NOTIFY_RETURN) {
        if (sender && sender == user_edit_) {
            FocusEdit(password_edit_);
        } else if (sender && sender == password_edit_) {
            m_manager.EmitNotify(password_edit_, kLoginNow, 0, 0, true);
            ::PostMessageW(m_hwnd, WM_NULL, 0, 0);
        }
    }
}

LRESULT LoginDialog::FilterMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
    if (msg == WM_KEYDOWN && wParam == VK_TAB) {
        handled = true;
        const bool from_name = m_manager.GetFocusControl() == user_edit_;
        FocusEdit(from_name ? password_edit_ : user_edit_);
        return 0;
    }
    return CModalDialog::FilterMessage(msg, wParam, lParam, handled);
}

void LoginDialog::FocusEdit(UiToolkit::CEditUI* edit) {
    if (!edit) return;
    m_manager.SetFocusControl(edit);
    if (HWND native = edit->GetNativeWindow()) ::SendMessageW(native, EM_SETSEL, 0, -1);
}

void LoginDialog::OpenLoginHostPage(const wchar_t* path) {
    const std::wstring parameters =
        L"url.dll,FileProtocolHandler http://" + ServiceHostName(ServiceHost::Login) + path;
    const INT_PTR result = RunShell(L"open", L"rundll32.exe", parameters.c_str());
    if (result > 32) return;
    log_error("%s: ShellExecute failed: %d, %ls", "LoginDialog::Notify", static_cast<int>(result),
              parameters.c_str());
}

void LoginDialog::Login() {
    // One attempt at a time: the dialog is disabled behind the loading
    // window, but a request already queued must not start a second one.
    if (logging_in_) return;
    logging_in_ = true;
    const std::wstring name = user_edit_->GetText().GetData();
    const std::wstring password = password_edit_->GetText().GetData();
    bool quitting = false;
    if (!name.empty() && !password.empty()) {
        const bool auto_login = auto_login_check_->IsSelected();
        const bool remember = remember_check_->IsSelected();
        int state = LoginSession::kNotLoggedIn;
        quitting = !RunInLoadingWnd(m_hwnd, [&]() {
            state = LoginWithTypedAccount(name, password, auto_login, remember);
        });
        if (!quitting) {
            HWND main = MainWindowHandle();
            if (state == LoginSession::kLoggedIn) {
                ::PostMessageW(main, WM_LOGIN_SUCCEEDED, 0, 0);
                if (!auto_login) ::PostMessageW(main, WM_LOGIN_POST, 0, 0);
            } else if (state == LoginSession::kRejected) {
                ShowMessageWnd(m_hwnd, LoginTexts::kRefused);
            } else if (state == LoginSession::kNotLoggedIn) {
                ShowMessageWnd(m_hwnd, LoginTexts::kNoNetwork);
            }
        }
    }
    logging_in_ = false;
    // The dialog closes after every attempt (a quit closes it anyway).
    if (!quitting) PostClose();
}

void ShowLoginDialog() {
    if (LoginDialog* open = LoginDialog::Open()) {
        if (HWND hwnd = open->GetHWND()) ::SetForegroundWindow(hwnd);
        return;
    }
    RunModalDialog(new LoginDialog, nullptr, LoginTexts::kTitle);
}
