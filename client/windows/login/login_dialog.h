#pragma once
// The modal login dialog of "login.xml": account and password, the
// auto-login and remember-password boxes, and links to the login host's
// registration and password-recovery pages.
#include <windows.h>

#include <functional>

#include "uitoolkit/controls/button.h"
#include "uitoolkit/controls/edit.h"
#include "uitoolkit/controls/option.h"
#include "uitoolkit/window/modal_dialog.h"

class LoginDialog : public UiToolkit::CModalDialog {
public:
    LoginDialog();
    ~LoginDialog() override;

    // The one dialog open now, or none.
    static LoginDialog* Open();

    void Notify(UiToolkit::TUiNotify& msg) override;
    // Tab moves between the two edits; Return and Escape are dialog keys.
    LRESULT FilterMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;

protected:
    void OnSkinReady() override;

private:
    bool BindControls();
    // Sends the typed account (nothing when a field is empty), shows the
    // outcome and closes the dialog in every case.
    void Login();
    void OpenLoginHostPage(const wchar_t* path);
    void FocusEdit(UiToolkit::CEditUI* edit);

    UiToolkit::CButtonUI* close_btn_ = nullptr;
    UiToolkit::CButtonUI* cancel_btn_ = nullptr;
    UiToolkit::CButtonUI* ok_btn_ = nullptr;
    UiToolkit::CEditUI* user_edit_ = nullptr;
    UiToolkit::CEditUI* password_edit_ = nullptr;
    UiToolkit::CButtonUI* register_btn_ = nullptr;
    UiToolkit::CButtonUI* find_password_btn_ = nullptr;
    UiToolkit::COptionUI* auto_login_check_ = nullptr;
    UiToolkit::COptionUI* remember_check_ = nullptr;
    bool logging_in_ = false;
};

// The dialog's texts (shared with its tests).
namespace LoginTexts {
const wchar_t kTitle[] = L"Kelvora用户登陆";
const wchar_t kRefused[] = L"密码或账号错误！";
const wchar_t kNoNetwork[] = L"网络不可用，请检查网络！";
}  // namespace LoginTexts

// Test seam: stands in for ShellExecuteW when the links open a page; gets
// verb, file and parameters and returns what ShellExecuteW would. None
// restores the shell.
typedef std::function<INT_PTR(const wchar_t* verb, const wchar_t* file, const wchar_t* parameters)>
    LoginShellFunction;
void SetLoginShellForTest(LoginShellFunction shell);
