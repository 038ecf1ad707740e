#include "tests/client/windows/login/login_fixture.h"

#include <ctype.h>

#include <mutex>

#include "client/core/reports/login_session.h"
#include "client/core/settings/conf_mgr.h"
#include "client/core/startup/main_window_handle.h"
#include "client/windows/login/login_dialog.h"
#include "foundation/log/log.h"
#include "tests/support/test_support.h"

const wchar_t kSampleAccount[] = L"Zo\x00EB Lin&Co+1 #\x4E2D\x6587";
const wchar_t kSamplePassword[] = L"p&ss w\x00F6rd+#\x4E2D";
const char kSamplePasswordUtf8[] = "p&ss w\xC3\xB6rd+#\xE4\xB8\xAD";
const char kSampleQuery[] =
    "user_account=Zo%C3%AB%20Lin%26Co%2B1%20%23%E4%B8%AD%E6%96%87&user_psw=9F705B783607A862DF8BD2F4D655DDAB";

namespace {

std::string LogPath() {
    static std::string path;
    static std::once_flag once;
    std::call_once(once, [] {
        char dir[MAX_PATH];
        ::GetTempPathA(MAX_PATH, dir);
        path = std::string(dir) + "kelvora-login-" + std::to_string(::GetCurrentProcessId()) + ".log";
        log_open(path.c_str());
    });
    return path;
}

std::string ReadLog() {
    std::string text;
    const std::string path = LogPath();
    test_support::ReadFileBytes(std::wstring(path.begin(), path.end()), &text);
    return text;
}

std::vector<UINT>& Recorded() {
    static std::vector<UINT> messages;
    return messages;
}

LRESULT CALLBACK RecorderProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg >= WM_USER + 101 && msg <= WM_USER + 158) {
        Recorded().push_back(msg);
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

// A query value as the services' control paths read it.
std::string Encoded(const std::string& text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (isalnum(c)) {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back('%');
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 15]);
        }
    }
    return out;
}

}  // namespace

LogCapture::LogCapture() : start_(ReadLog().size()) {}
void LogCapture::Clear() { start_ = ReadLog().size(); }
std::string LogCapture::Text() const {
    std::string text = ReadLog();
    return text.size() > start_ ? text.substr(start_) : std::string();
}

MainWindowRecorder::MainWindowRecorder() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &RecorderProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"LoginTestMainWindow";
    ::RegisterClassW(&wc);
    hwnd_ = ::CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                              nullptr);
    PublishMainWindow(hwnd_);
}

MainWindowRecorder::~MainWindowRecorder() {
    PublishMainWindow(nullptr);
    ::DestroyWindow(hwnd_);
}

std::vector<UINT> MainWindowRecorder::Messages() const { return Recorded(); }
void MainWindowRecorder::Clear() { Recorded().clear(); }

std::wstring LoginTest::folder_;
PrivateService* LoginTest::service_ = nullptr;
MainWindowRecorder* LoginTest::main_ = nullptr;

void LoginTest::SetUpTestSuite() {
    wintest::UseDistSkin();
    LogPath();
    folder_ = test_support::MakeTempDir(L"login") + L"\\";
    ::CreateDirectoryW((folder_ + L"data").c_str(), nullptr);
    ConfMgr::SetProgramFolderForTest(folder_);
    service_ = new PrivateService;
    main_ = new MainWindowRecorder;
}

void LoginTest::TearDownTestSuite() {
    delete main_;
    main_ = nullptr;
    delete service_;
    service_ = nullptr;
    test_support::RemoveTree(folder_.substr(0, folder_.size() - 1));
}

void LoginTest::SetUp() {
    ASSERT_TRUE(service_->ok());
    ::SetEnvironmentVariableW(L"VANTREL_LOGIN_HOST", service_->host().c_str());
    Reset();
}

void LoginTest::TearDown() { SetLoginShellForTest(nullptr); }

void LoginTest::Reset() {
    ::DeleteFileW((folder_ + L"data\\ext.dat").c_str());
    LoginSession& session = LoginSession::Instance();
    std::string cookie = "old-cookie";
    session.SwapCookie(&cookie);
    std::wstring account = L"old-account";
    session.SwapAccount(&account);
    session.set_user_id(11);
    session.set_scheme_id(12);
    session.set_favourites_id(13);
    session.set_state(LoginSession::kNotLoggedIn);
    service_->Reset();
    main_->Clear();
    wintest::Pump(10);
    main_->Clear();
    log_.Clear();
}

std::vector<std::string> LoginTest::Requests() {
    std::vector<std::string> out;
    for (const auto& entry : service_->Log())
        out.push_back(entry["path"].asString() + "?" + entry["raw_query"].asString());
    return out;
}

void LoginTest::NextAnswer(const std::string& mode, const std::string& arg) {
    service_->Fault(mode, "/Userlogin.aspx", 1, Encoded(arg));
}

void LoginTest::StoreAccount(const std::wstring& user, const std::wstring& password) {
    ASSERT_TRUE(ConfMgr::SetUser(user));
    ASSERT_TRUE(ConfMgr::SetPassword(password));
}

StoredSettings ReadStoredSettings() {
    StoredSettings s;
    auto flag = [](bool (*get)(bool*)) -> std::string {
        bool a = false, b = true;
        get(&a);
        get(&b);
        if (!a && b) return "-";  // both left as they were: never written
        return a ? "1" : "0";
    };
    s.auto_login = flag(&ConfMgr::GetAutoLogin);
    s.remember = flag(&ConfMgr::GetRememberPassword);
    s.user = s.password = L"-";
    ConfMgr::GetUser(&s.user);
    ConfMgr::GetPasswordW(&s.password);
    return s;
}
