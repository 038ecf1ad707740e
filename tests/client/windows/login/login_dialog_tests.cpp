// The login dialog and the auto-login against a private session of the
// local services: each answer's state and box on both roads, the account
// byte for byte, the settings each box stores, empty fields, the links,
// the keys, one dialog at a time, and broken settings.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "client/core/reports/login_session.h"
#include "client/core/settings/conf_mgr.h"
#include "client/windows/login/login_dialog.h"
#include "client/windows/login/login_windows.h"
#include "client/windows/main_frame_messages.h"
#include "foundation/sql/database.h"
#include "foundation/sql/exception.h"
#include "foundation/sql/record_set.h"
#include "tests/client/windows/login/login_fixture.h"
#include "tests/support/test_support.h"
#include "uitoolkit/controls/edit.h"
#include "uitoolkit/controls/option.h"

namespace {

using UiToolkit::WindowImplBase;

UiToolkit::CEditUI* Edit(WindowImplBase* w, const wchar_t* name) {
    UiToolkit::CControlUI* c = w->Manager().FindControl(name);
    return c ? static_cast<UiToolkit::CEditUI*>(c->FindInterface(L"Edit")) : nullptr;
}

UiToolkit::COptionUI* Box(WindowImplBase* w, const wchar_t* name) {
    UiToolkit::CControlUI* c = w->Manager().FindControl(name);
    return c ? static_cast<UiToolkit::COptionUI*>(c->FindInterface(L"Option")) : nullptr;
}

// What one run of the dialog showed.
struct DialogRun {
    bool opened = false;
    std::wstring title;
    std::wstring name_at_open, password_at_open;
    bool auto_at_open = false, remember_at_open = false;
    bool password_mode = false;
    std::vector<std::wstring> boxes;  // message boxes shown over it, in order
    bool loading_seen = false;
};

// Runs ShowLoginDialog; once the dialog shows, `act` runs with it. Message
// boxes over it are read and answered with OK.
DialogRun RunDialog(std::function<void(HWND, WindowImplBase*)> act) {
    struct Watch {
        bool done = false;
        std::set<HWND> answered;
        DialogRun run;
    };
    auto watch = std::make_shared<Watch>();
    wintest::WhenWindowAppears(L"LoginDialog", [watch, act](HWND hwnd, WindowImplBase* w) {
        DialogRun& run = watch->run;
        run.opened = true;
        wchar_t title[64] = {0};
        ::GetWindowTextW(hwnd, title, 64);
        run.title = title;
        run.name_at_open = Edit(w, L"user_name_edit")->GetText().GetData();
        run.password_at_open = Edit(w, L"passwd_name_edit")->GetText().GetData();
        run.password_mode = Edit(w, L"passwd_name_edit")->IsPasswordMode();
        run.auto_at_open = Box(w, L"check_auto_login")->IsSelected();
        run.remember_at_open = Box(w, L"check_record_passwd")->IsSelected();
        act(hwnd, w);
    });
    std::function<void()>* poll = new std::function<void()>();
    *poll = [watch, poll]() {
        if (watch->done) {
            delete poll;
            return;
        }
        if (wintest::FindOwnWindow(L"loading_wnd")) watch->run.loading_seen = true;
        HWND box = wintest::FindOwnWindow(L"message_wnd");
        if (box && !watch->answered.count(box)) {
            watch->answered.insert(box);
            auto* w = dynamic_cast<WindowImplBase*>(
                reinterpret_cast<UiToolkit::CWindowWnd*>(::GetWindowLongPtrW(box, GWLP_USERDATA)));
            watch->run.boxes.push_back(wintest::ControlText(w, L"msg_tip_btn"));
            wintest::ClickNamed(w, L"msg_ok_btn");
        }
        wintest::RunSoon(20, *poll);
    };
    wintest::RunSoon(20, *poll);
    ShowLoginDialog();
    watch->done = true;
    wintest::Pump(60);  // the poll sees `done` and ends
    return watch->run;
}

// Types an account and the two boxes into the dialog, then clicks OK.
std::function<void(HWND, WindowImplBase*)> LogIn(const std::wstring& name, const std::wstring& password,
                                                 bool auto_login, bool remember) {
    return [=](HWND, WindowImplBase* w) {
        Edit(w, L"user_name_edit")->SetText(name.c_str());
        Edit(w, L"passwd_name_edit")->SetText(password.c_str());
        Box(w, L"check_auto_login")->SetSelected(auto_login);
        Box(w, L"check_record_passwd")->SetSelected(remember);
        wintest::ClickNamed(w, L"login_ok_btn");
    };
}

std::string Answer(const char* cookie, const char* solu_id, const char* error = "noerror") {
    return std::string("{\"error\":\"") + error + "\",\"cookie\":\"" + cookie +
           "\",\"userid\":\"503\",\"solu_id\":\"" + solu_id + "\",\"collect_id\":\"801\"}";
}

class LoginRoads : public LoginTest {};

TEST_F(LoginRoads, EachAnswerGivesItsStateAndBoxOnBothRoads) {
    const std::wstring kRefused = std::wstring(L"<i default\\main\\tip.png> ") + LoginTexts::kRefused;
    const std::wstring kNoNetwork = std::wstring(L"<i default\\main\\tip.png> ") + LoginTexts::kNoNetwork;
    const struct {
        const char* what;
        const char* mode;  // the login host's fault, none for the service's own answer
        std::string arg;
        int dialog_state;
        std::wstring box;
        const char* logged;
        int auto_state;
    } cases[] = {
        {"accepted", "", "", LoginSession::kLoggedIn, L"", "", LoginSession::kLoggedIn},
        {"another error", "wrong_json", Answer("c9", "800", "locked"), LoginSession::kRejected, kRefused,
         "LoadFromJson: login error: locked", LoginSession::kNotLoggedIn},
        {"cookie 0", "wrong_json", Answer("0", "800"), LoginSession::kRejected, kRefused,
         "LoadFromJson: the login answer has no cookie", LoginSession::kNotLoggedIn},
        {"solu_id 0", "wrong_json", Answer("c9", "0"), LoginSession::kRejected, kRefused,
         "LoadFromJson: the login answer's solu_id is 0", LoginSession::kNotLoggedIn},
        {"not JSON", "bad_json", "", LoginSession::kRejected, kRefused,
         "LoadFromJson: the login answer is not a JSON object", LoginSession::kNotLoggedIn},
        {"status 500", "status500", "", LoginSession::kNotLoggedIn, kNoNetwork,
         "LoginWithTypedAccount: HttpDownloadMem failed", LoginSession::kNotLoggedIn},
        {"a stalled host", "stall_headers", "30", LoginSession::kNotLoggedIn, kNoNetwork,
         "LoginWithTypedAccount: HttpDownloadMem failed", LoginSession::kNotLoggedIn},
    };
    const std::vector<std::string> kOneRequest = {std::string("/Userlogin.aspx?") + kSampleQuery};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const bool accepted = c.dialog_state == LoginSession::kLoggedIn;
        // The dialog: the typed sample account, neither box ticked.
        Reset();
        if (*c.mode) NextAnswer(c.mode, c.arg);
        DialogRun run = RunDialog(LogIn(kSampleAccount, kSamplePassword, false, false));
        ASSERT_TRUE(run.opened);
        // Up long enough to be seen for certain while the host stalls.
        if (c.mode == std::string("stall_headers")) {
            EXPECT_TRUE(run.loading_seen);
        }
        EXPECT_EQ(c.dialog_state, LoginSession::Instance().state());
        EXPECT_EQ(c.box.empty() ? std::vector<std::wstring>{} : std::vector<std::wstring>{c.box}, run.boxes);
        EXPECT_EQ(kOneRequest, Requests());
        EXPECT_TRUE(log_.Has(c.logged)) << log_.Text();
        wintest::Pump(50);
        EXPECT_EQ(accepted ? (std::vector<UINT>{WM_LOGIN_SUCCEEDED, WM_LOGIN_POST}) : std::vector<UINT>{},
                  main_->Messages());
        LoginSession& session = LoginSession::Instance();
        EXPECT_EQ(accepted ? "sess503" : "old-cookie", session.cookie());
        EXPECT_EQ(accepted ? std::wstring(kSampleAccount) : L"old-account", session.account());
        EXPECT_EQ(accepted ? 503 : 11, session.user_id());
        EXPECT_EQ(accepted ? 800 : 12, session.scheme_id());
        EXPECT_EQ(accepted ? 801 : 13, session.favourites_id());
        StoredSettings stored = ReadStoredSettings();
        EXPECT_EQ(accepted ? "0" : "-", stored.auto_login);
        EXPECT_EQ(accepted ? "0" : "-", stored.remember);
        EXPECT_EQ(L"-", stored.user);  // neither box asked for it

        // The start-up auto-login with the same account stored.
        Reset();
        StoreAccount(kSampleAccount, kSamplePassword);
        if (*c.mode) NextAnswer(c.mode, c.arg);
        StartAutoLogin(kAutoLoginAtStartUp);
        ASSERT_TRUE(wintest::PumpUntil([&] { return !main_->Messages().empty(); }, 20000));
        EXPECT_EQ(std::vector<UINT>{WM_AUTO_LOGIN_DONE}, main_->Messages());
        EXPECT_EQ(c.auto_state, LoginSession::Instance().state());
        EXPECT_EQ(kOneRequest, Requests());
        EXPECT_EQ(accepted ? "sess503" : "old-cookie", LoginSession::Instance().cookie());
        EXPECT_EQ(!accepted, log_.Has("LoginThreadProc2: HttpDownloadMem failed")) << log_.Text();
    }
    // Logging in again posts WM_LOGIN_POST instead.
    Reset();
    StoreAccount(kSampleAccount, kSamplePassword);
    StartAutoLogin(kAutoLoginAgain);
    ASSERT_TRUE(wintest::PumpUntil([&] { return !main_->Messages().empty(); }, 20000));
    EXPECT_EQ(std::vector<UINT>{WM_LOGIN_POST}, main_->Messages());
    EXPECT_EQ(LoginSession::kLoggedIn, LoginSession::Instance().state());
}

TEST_F(LoginRoads, TheBoxesDecideWhatIsStoredAndHowTheNextDialogOpens) {
    const std::wstring kSample = kSampleAccount, kSamplePw = kSamplePassword;
    const struct {
        const char* what;
        // How the dialog opens (what the step before stored).
        std::wstring opens_name, opens_password;
        bool opens_auto, opens_remember;
        // What is typed and ticked.
        std::wstring name, password;
        bool auto_login, remember;
        bool refused;
        // "data\ext.dat" afterwards.
        const char* auto_stored;
        const char* remember_stored;
        std::wstring user_stored, password_stored;
    } steps[] = {
        {"neither box", L"", L"", false, false, kSample, kSamplePw, false, false, false, "0", "0", L"-", L"-"},
        {"auto-login only", L"", L"", false, false, kSample, kSamplePw, true, false, false, "1", "0", kSample, kSamplePw},
        {"remember only", L"", L"", true, false, kSample, kSamplePw, false, true, false, "0", "1", kSample, kSamplePw},
        {"a refused login", kSample, kSamplePw, false, true, L"other", L"pw2", true, true, true, "0", "1", kSample,
         kSamplePw},
        {"unticked again", kSample, kSamplePw, false, true, L"kelvora", L"secret", false, false, false, "0", "0",
         kSample, kSamplePw},
        {"both boxes", L"", L"", false, false, L"kelvora", L"secret", true, true, false, "1", "1", L"kelvora",
         L"secret"},
    };
    Reset();
    for (const auto& s : steps) {
        SCOPED_TRACE(s.what);
        main_->Clear();
        DialogRun run = RunDialog(LogIn(s.name, s.password, s.auto_login, s.remember));
        ASSERT_TRUE(run.opened);
        EXPECT_EQ(s.opens_name, run.name_at_open);
        EXPECT_EQ(s.opens_password, run.password_at_open);
        EXPECT_EQ(s.opens_auto, run.auto_at_open);
        EXPECT_EQ(s.opens_remember, run.remember_at_open);
        EXPECT_EQ(s.refused ? 1u : 0u, run.boxes.size());
        StoredSettings stored = ReadStoredSettings();
        EXPECT_EQ(s.auto_stored, stored.auto_login);
        EXPECT_EQ(s.remember_stored, stored.remember);
        EXPECT_EQ(s.user_stored, stored.user);
        EXPECT_EQ(s.password_stored, stored.password);
        wintest::Pump(50);
        std::vector<UINT> posted;
        if (!s.refused) posted.push_back(WM_LOGIN_SUCCEEDED);
        if (!s.refused && !s.auto_login) posted.push_back(WM_LOGIN_POST);
        EXPECT_EQ(posted, main_->Messages());
    }
    // The last step's account fills the next dialog, both boxes ticked.
    DialogRun last = RunDialog([](HWND, WindowImplBase* w) { wintest::ClickNamed(w, L"login_cancel_btn"); });
    EXPECT_EQ(L"kelvora", last.name_at_open);
    EXPECT_EQ(L"secret", last.password_at_open);
    EXPECT_TRUE(last.auto_at_open);
    EXPECT_TRUE(last.remember_at_open);
    EXPECT_TRUE(last.password_mode);
    EXPECT_EQ(LoginTexts::kTitle, last.title);
}

TEST_F(LoginRoads, AnEmptyFieldSendsNothingAndTheDialogCloses) {
    const struct {
        const wchar_t* name;
        const wchar_t* password;
    } cases[] = {{L"", L"secret"}, {L"kelvora", L""}, {L"", L""}};
    for (const auto& c : cases) {
        Reset();
        DialogRun run = RunDialog(LogIn(c.name, c.password, true, true));
        ASSERT_TRUE(run.opened);
        EXPECT_EQ(0, wintest::CountOwnWindows(L"LoginDialog"));
        EXPECT_FALSE(run.loading_seen);
        EXPECT_TRUE(run.boxes.empty());
        EXPECT_TRUE(Requests().empty());
        wintest::Pump(50);
        EXPECT_TRUE(main_->Messages().empty());
        EXPECT_EQ(LoginSession::kNotLoggedIn, LoginSession::Instance().state());
        EXPECT_EQ("-", ReadStoredSettings().remember);
    }
}

TEST_F(LoginRoads, TheLinksOpenTheLoginHostsPagesThroughTheShell) {
    struct Call {
        std::wstring verb, file, parameters;
    };
    std::vector<Call> calls;
    INT_PTR result = 42;
    SetLoginShellForTest([&](const wchar_t* verb, const wchar_t* file, const wchar_t* parameters) {
        calls.push_back(Call{verb, file, parameters});
        return result;
    });
    const std::wstring host = L"url.dll,FileProtocolHandler http://" + service_->host();
    for (INT_PTR answer : {INT_PTR(42), INT_PTR(2), INT_PTR(32)}) {
        SCOPED_TRACE(answer);
        calls.clear();
        result = answer;
        log_.Clear();
        bool still_open = false;
        RunDialog([&](HWND, WindowImplBase* w) {
            wintest::ClickNamed(w, L"reg_count_btn");
            wintest::ClickNamed(w, L"find_passwd_btn");
            wintest::RunSoon(400, [&, w] {
                still_open = wintest::FindOwnWindow(L"LoginDialog") != nullptr;
                wintest::ClickNamed(w, L"close_btn");
            });
        });
        EXPECT_TRUE(still_open);
        ASSERT_EQ(2u, calls.size());
        for (const Call& call : calls) {
            EXPECT_EQ(L"open", call.verb);
            EXPECT_EQ(L"rundll32.exe", call.file);
        }
        EXPECT_EQ(host + L"/regist.aspx", calls[0].parameters);
        EXPECT_EQ(host + L"/findpsd.aspx?mod=findpsw", calls[1].parameters);
        const std::string logged = "LoginDialog::Notify: ShellExecute failed: " + std::to_string(answer) +
                                   ", url.dll,FileProtocolHandler http://127.0.0.1:";
        EXPECT_EQ(answer <= 32, log_.Has(logged)) << log_.Text();
        if (answer <= 32) {
            EXPECT_TRUE(log_.Has("/findpsd.aspx?mod=findpsw")) << log_.Text();
        }
    }
    EXPECT_TRUE(Requests().empty());
}

TEST_F(LoginRoads, OnlyOneDialogOpensAtATime) {
    int dialogs = -1;
    bool returned_at_once = false;
    DialogRun run = RunDialog([&](HWND, WindowImplBase*) {
        // Whatever happens, every login dialog is closed half a second on,
        // so a second one (the fault) fails the test instead of hanging it.
        wintest::RunSoon(500, [&] {
            dialogs = wintest::CountOwnWindows(L"LoginDialog");
            for (HWND h; (h = wintest::FindOwnWindow(L"LoginDialog")) != nullptr;) {
                ::PostMessageW(h, WM_CLOSE, 1, 0);
                wintest::Pump(30);
            }
        });
        ShowLoginDialog();  // as the main window's login button would, again
        returned_at_once = dialogs == -1;
    });
    ASSERT_TRUE(run.opened);
    EXPECT_TRUE(returned_at_once);
    EXPECT_EQ(1, dialogs);
    EXPECT_EQ(nullptr, LoginDialog::Open());
}

TEST_F(LoginRoads, TabAndReturnMoveBetweenTheEditsAndReturnLogsIn) {
    struct Seen {
        std::wstring focus;
        DWORD selection_start = 1, selection_end = 0;
    };
    std::vector<Seen> seen;
    auto look = [&](WindowImplBase* w) {
        Seen s;
        UiToolkit::CControlUI* focus = w->Manager().GetFocusControl();
        s.focus = focus ? focus->GetName().GetData() : L"";
        UiToolkit::CEditUI* edit = focus ? static_cast<UiToolkit::CEditUI*>(focus->FindInterface(L"Edit")) : nullptr;
        HWND native = edit ? edit->GetNativeWindow() : nullptr;
        if (native) ::SendMessageW(native, EM_GETSEL, (WPARAM)&s.selection_start, (LPARAM)&s.selection_end);
        seen.push_back(s);
    };
    auto key_to_focus = [](WindowImplBase* w, WPARAM key) {
        UiToolkit::CControlUI* focus = w->Manager().GetFocusControl();
        auto* edit = focus ? static_cast<UiToolkit::CEditUI*>(focus->FindInterface(L"Edit")) : nullptr;
        wintest::PressKey(edit && edit->GetNativeWindow() ? edit->GetNativeWindow() : w->GetHWND(), key);
    };
    DialogRun run = RunDialog([&](HWND, WindowImplBase* w) {
        Edit(w, L"user_name_edit")->SetText(kSampleAccount);
        Edit(w, L"passwd_name_edit")->SetText(kSamplePassword);
        w->Manager().SetFocusControl(Edit(w, L"user_name_edit"));
        wintest::RunSoon(150, [&, w] {
            key_to_focus(w, VK_TAB);  // name -> password
            wintest::RunSoon(150, [&, w] {
                look(w);
                key_to_focus(w, VK_TAB);  // password -> name
                wintest::RunSoon(150, [&, w] {
                    look(w);
                    key_to_focus(w, VK_RETURN);  // name -> password
                    wintest::RunSoon(150, [&, w] {
                        look(w);
                        key_to_focus(w, VK_RETURN);  // logs in
                    });
                });
            });
        });
    });
    ASSERT_TRUE(run.opened);
    ASSERT_EQ(3u, seen.size());
    const wchar_t* expected[] = {L"passwd_name_edit", L"user_name_edit", L"passwd_name_edit"};
    const DWORD lengths[] = {static_cast<DWORD>(wcslen(kSamplePassword)), static_cast<DWORD>(wcslen(kSampleAccount)),
                             static_cast<DWORD>(wcslen(kSamplePassword))};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(expected[i], seen[i].focus) << i;
        EXPECT_EQ(0u, seen[i].selection_start) << i;  // all of it selected
        EXPECT_EQ(lengths[i], seen[i].selection_end) << i;
    }
    EXPECT_EQ(std::vector<std::string>{std::string("/Userlogin.aspx?") + kSampleQuery}, Requests());
    EXPECT_EQ(LoginSession::kLoggedIn, LoginSession::Instance().state());

    // Escape closes it without a request.
    Reset();
    RunDialog([](HWND hwnd, WindowImplBase*) { wintest::PressKey(hwnd, VK_ESCAPE); });
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(LoginSession::kNotLoggedIn, LoginSession::Instance().state());
}

TEST_F(LoginRoads, BrokenSettingsOpenAnEmptyDialogAndTheAutoLoginSendsNothing) {
    const std::wstring file = folder_ + L"data\\ext.dat";
    const struct {
        const char* what;
        std::function<void()> make;
        const char* logged;
    } cases[] = {
        {"not a database", [&] { test_support::WriteFileBytes(file, std::string(4096, '\x7f') + "junk"); },
         "ConfMgr::GetRememberPassword: "},
        {"tables of other shapes",
         [&] {
             sql::Database db;
             std::string path;
             for (wchar_t ch : file) path.push_back(static_cast<char>(ch));
             db.open(path);
             sql::FieldDef none[] = {sql::FieldDef::End()};
             sql::RecordSet rs(none, db.handle());
             rs.query("create table passwd_recorded_info (_ID INTEGER PRIMARY KEY, recorded TEXT)");
             rs.query("insert into passwd_recorded_info (recorded) values ('yes')");
             rs.query("create table login_info (_ID INTEGER PRIMARY KEY, autologin TEXT)");
             rs.query("insert into login_info (autologin) values ('on')");
             rs.query("create table user_info (_ID INTEGER PRIMARY KEY, user TEXT)");
             rs.query("create table passwd_info (_ID INTEGER PRIMARY KEY, passwd BLOB)");
             rs.query("insert into passwd_info (passwd) values (x'00ff')");
         },
         "LoginThreadProc2: no stored account and password, nothing sent"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Reset();
        c.make();
        DialogRun run = RunDialog([](HWND, WindowImplBase* w) { wintest::ClickNamed(w, L"login_cancel_btn"); });
        ASSERT_TRUE(run.opened);
        EXPECT_EQ(L"", run.name_at_open);
        EXPECT_EQ(L"", run.password_at_open);
        EXPECT_FALSE(run.auto_at_open);
        EXPECT_FALSE(run.remember_at_open);

        StartAutoLogin(kAutoLoginAtStartUp);
        ASSERT_TRUE(wintest::PumpUntil([&] { return !main_->Messages().empty(); }, 10000));
        EXPECT_EQ(std::vector<UINT>{WM_AUTO_LOGIN_DONE}, main_->Messages());
        EXPECT_EQ(LoginSession::kNotLoggedIn, LoginSession::Instance().state());
        EXPECT_TRUE(Requests().empty());
        EXPECT_TRUE(log_.Has(c.logged)) << log_.Text();
        EXPECT_TRUE(log_.Has("LoginThreadProc2: no stored account and password, nothing sent")) << log_.Text();
        EXPECT_FALSE(log_.Has("LoginThreadProc2: HttpDownloadMem failed")) << log_.Text();
    }
}

}  // namespace
