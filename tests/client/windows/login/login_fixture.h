#pragma once
// What the login tests share: the sample account with reserved and
// non-ASCII characters, the log, a stand-in main window that records the
// messages the login posts, and a fixture with private settings and a
// private session of the local services as the login host.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/client/windows/support/window_test_support.h"
#include "tests/support/private_service.h"

// The services' third sample user (tools/services/user_routes.py).
extern const wchar_t kSampleAccount[];   // Zoë Lin&Co+1 #中文
extern const wchar_t kSamplePassword[];  // p&ss wörd+#中
extern const char kSamplePasswordUtf8[];
// The query the login host must receive for it, byte for byte.
extern const char kSampleQuery[];

// The process-wide log, opened once; each capture reads what came after
// its last Clear.
class LogCapture {
public:
    LogCapture();
    void Clear();
    std::string Text() const;
    bool Has(const std::string& line_part) const { return Text().find(line_part) != std::string::npos; }

private:
    size_t start_;
};

// Stands in for the main window: published as the main-window handle, it
// records the private messages posted to it.
class MainWindowRecorder {
public:
    MainWindowRecorder();
    ~MainWindowRecorder();
    std::vector<UINT> Messages() const;
    void Clear();

private:
    HWND hwnd_;
};

class LoginTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Starts from no settings file, a signed-out session and no faults.
    void Reset();
    // The requests the login host received ("path?query").
    std::vector<std::string> Requests();
    // The next answer of the login host: a fault mode of the services.
    void NextAnswer(const std::string& mode, const std::string& arg = "");
    // Stores an account as the dialog would.
    void StoreAccount(const std::wstring& user, const std::wstring& password);

    static std::wstring folder_;  // the program folder (trailing backslash)
    static PrivateService* service_;
    static MainWindowRecorder* main_;
    LogCapture log_;
};

// The settings as "data\ext.dat" holds them; "-" for a setting never written.
struct StoredSettings {
    std::string auto_login, remember;
    std::wstring user, password;
};
StoredSettings ReadStoredSettings();
