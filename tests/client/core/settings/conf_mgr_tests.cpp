#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <vector>
#include "client/core/settings/conf_mgr.h"
#include "client/core/utilities/text_encoding.h"
#include "foundation/log/log.h"
#include "foundation/sql/database.h"
#include "foundation/sql/db_table.h"
#include "foundation/sql/exception.h"
#include "tests/support/test_support.h"

namespace {

std::string Utf8(const std::wstring& w) {
    std::string out;
    WideToUtf8(w, &out);
    return out;
}

std::string g_log_path;

class Settings : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        char dir[MAX_PATH];
        GetTempPathA(MAX_PATH, dir);
        g_log_path = std::string(dir) + "kelvora-settings-" + std::to_string(GetCurrentProcessId()) + ".log";
        ASSERT_TRUE(log_open(g_log_path.c_str()));
    }

    void SetUp() override {
        folder_ = test_support::MakeTempDir(L"settings") + L"\\";
        ASSERT_TRUE(CreateDirectoryW((folder_ + L"data").c_str(), nullptr));
        ConfMgr::SetProgramFolderForTest(folder_);
        db_file_ = folder_ + L"data\\ext.dat";
    }
    void TearDown() override { test_support::RemoveTree(folder_.substr(0, folder_.size() - 1)); }

    std::string LogText() {
        std::string text;
        test_support::ReadFileBytes(std::wstring(g_log_path.begin(), g_log_path.end()), &text);
        return text;
    }

    // The rows of one setting's table, read straight from the file.
    std::vector<std::string> Rows(const char* table, const char* column) {
        sql::FieldDef columns[] = {
            sql::FieldDef("_ID", sql::FieldTypeInteger, sql::FieldFlagPrimaryKey),
            sql::FieldDef(column, sql::FieldTypeText, sql::FieldFlagNotNull),
            sql::FieldDef::End(),
        };
        std::vector<std::string> rows;
        sql::Database db;
        db.open(Utf8(db_file_));
        sql::DbTable t(db.handle(), table, columns);
        if (!t.exists()) return rows;
        t.selectAll();
        for (size_t i = 0; i < t.recordSet().count(); ++i) {
            const sql::Record& r = t.recordSet().at(i);
            rows.push_back(r.valueByName("_ID")->asString() + "|" + r.valueByName(column)->asString());
        }
        return rows;
    }

    std::string Schema(const char* table) {
        sql::FieldDef columns[] = {sql::FieldDef("sql", sql::FieldTypeText, 0), sql::FieldDef::End()};
        sql::Database db;
        db.open(Utf8(db_file_));
        sql::RecordSet rs(columns, db.handle());
        rs.query(std::string("select sql from sqlite_master where name = '") + table + "'");
        return rs.firstValue() ? rs.firstValue()->asString() : "";
    }

    std::wstring folder_;
    std::wstring db_file_;
};

TEST_F(Settings, NothingSetLeavesOutputsUnchangedAndGivesTheDefaultFolder) {
    bool on = true;
    EXPECT_TRUE(ConfMgr::GetAutoLogin(&on));
    EXPECT_TRUE(on);
    on = false;
    EXPECT_TRUE(ConfMgr::GetRememberPassword(&on));
    EXPECT_FALSE(on);
    std::wstring user = L"keep";
    EXPECT_TRUE(ConfMgr::GetUser(&user));
    EXPECT_EQ(L"keep", user);
    std::wstring password = L"keep";
    EXPECT_TRUE(ConfMgr::GetPasswordW(&password));
    EXPECT_EQ(L"keep", password);
    std::string raw = "keep";
    EXPECT_TRUE(ConfMgr::GetPassword(&raw));
    EXPECT_EQ("keep", raw);

    std::wstring path;
    EXPECT_TRUE(ConfMgr::GetDownloadPath(&path));
    EXPECT_EQ(folder_ + L"Downloads", path);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(path.c_str()));
}

TEST_F(Settings, TablesAndTheirColumnTypes) {
    ASSERT_TRUE(ConfMgr::SetDownloadPath(L"D:\\dl"));
    ASSERT_TRUE(ConfMgr::SetAutoLogin(true));
    ASSERT_TRUE(ConfMgr::SetPassword(L"pw"));
    ASSERT_TRUE(ConfMgr::SetUser(L"me"));
    ASSERT_TRUE(ConfMgr::SetRememberPassword(false));
    struct Case {
        const char* table;
        const char* create;
    } cases[] = {
        {"download_path_conf", "CREATE TABLE download_path_conf (_ID INTEGER PRIMARY KEY, filepath TEXT NOT NULL)"},
        {"login_info", "CREATE TABLE login_info (_ID INTEGER PRIMARY KEY, autologin INTEGER NOT NULL)"},
        {"passwd_info", "CREATE TABLE passwd_info (_ID INTEGER PRIMARY KEY, passwd TEXT NOT NULL)"},
        {"user_info", "CREATE TABLE user_info (_ID INTEGER PRIMARY KEY, user TEXT NOT NULL)"},
        {"passwd_recorded_info",
         "CREATE TABLE passwd_recorded_info (_ID INTEGER PRIMARY KEY, recorded INTEGER NOT NULL)"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.create, Schema(c.table));
}

TEST_F(Settings, EverySettingIsReplacedByOneRow) {
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        bool flag = round == 0;
        std::wstring text = round == 0 ? L"first" : L"second";
        ASSERT_TRUE(ConfMgr::SetDownloadPath(L"C:\\" + text));
        ASSERT_TRUE(ConfMgr::SetAutoLogin(flag));
        ASSERT_TRUE(ConfMgr::SetPassword(text));
        ASSERT_TRUE(ConfMgr::SetUser(text));
        ASSERT_TRUE(ConfMgr::SetRememberPassword(!flag));

        std::wstring path, user, password;
        bool auto_login = !flag, remember = flag;
        ASSERT_TRUE(ConfMgr::GetDownloadPath(&path));
        ASSERT_TRUE(ConfMgr::GetUser(&user));
        ASSERT_TRUE(ConfMgr::GetPasswordW(&password));
        ASSERT_TRUE(ConfMgr::GetAutoLogin(&auto_login));
        ASSERT_TRUE(ConfMgr::GetRememberPassword(&remember));
        EXPECT_EQ(L"C:\\" + text, path);
        EXPECT_EQ(text, user);
        EXPECT_EQ(text, password);
        EXPECT_EQ(flag, auto_login);
        EXPECT_EQ(!flag, remember);

        std::string t = Utf8(text);
        EXPECT_EQ(std::vector<std::string>{"1|C:\\" + t}, Rows("download_path_conf", "filepath"));
        EXPECT_EQ(std::vector<std::string>{"1|" + t}, Rows("user_info", "user"));
        EXPECT_EQ(std::vector<std::string>{"1|" + t}, Rows("passwd_info", "passwd"));
        EXPECT_EQ(std::vector<std::string>{std::string("1|") + (flag ? "1" : "0")},
                  Rows("login_info", "autologin"));
    }
}

TEST_F(Settings, TextsKeepTheirCodePages) {
    // Under the test locale the ANSI (1252) and OEM (437) code pages differ:
    // reading OEM bytes as ANSI would turn "é" into another letter.
    struct Case {
        std::wstring user;
    } cases[] = {{L"Café Zoë"}, {L"O'Brien \"quoted\""}, {L"plain"}};
    for (const Case& c : cases) {
        ASSERT_TRUE(ConfMgr::SetUser(c.user));
        std::wstring back;
        ASSERT_TRUE(ConfMgr::GetUser(&back));
        EXPECT_EQ(c.user, back);
        std::string oem;
        WideToOem(c.user, &oem);
        oem.pop_back();  // stored without the converter's trailing NUL
        EXPECT_EQ(std::vector<std::string>{"1|" + oem}, Rows("user_info", "user"));
    }

    // The password is stored as UTF-8 bytes and comes back whole, Chinese
    // and quotes included.
    const std::wstring password = L"密码 it's \"中文\"";
    ASSERT_TRUE(ConfMgr::SetPassword(password));
    std::string raw;
    ASSERT_TRUE(ConfMgr::GetPassword(&raw));
    EXPECT_EQ(Utf8(password), raw);
    std::wstring back;
    ASSERT_TRUE(ConfMgr::GetPasswordW(&back));
    EXPECT_EQ(password, back);
}

TEST_F(Settings, UserNamesTheOemCodePageCannotHoldComeBackWhole) {
    // The auto-login sends the stored name: it must come back as typed.
    struct Case {
        std::wstring user;
        bool fits_437;  // whether OEM code page 437 holds it exactly
    } cases[] = {
        {L"Zo\x00EB & Co+1#", true},
        {L"\x5F20\x4E09 a&b", false},                  // 张三
        {L"\x0101" L"bc", false},                        // ā, which 437 would best-fit to "a"
        {std::wstring(L"\x5F20\0rest", 6), false},  // cut at the NUL
    };
    for (const Case& c : cases) {
        const std::wstring name = c.user.substr(0, c.user.find(L'\0'));
        std::string oem;
        WideToOem(name, &oem);
        std::wstring oem_back;
        OemToWide(oem, &oem_back);
        const bool fits = GetOEMCP() == 437 ? c.fits_437 : oem_back == name;
        ASSERT_TRUE(ConfMgr::SetUser(c.user));
        std::wstring back = L"unchanged";
        ASSERT_TRUE(ConfMgr::GetUser(&back));
        EXPECT_EQ(name, back);
        std::string stored;
        if (fits) {
            stored = oem.substr(0, oem.size() - 1);
        } else {
            stored = "\xEF\xBB\xBF" + Utf8(name);
        }
        EXPECT_EQ(std::vector<std::string>{"1|" + stored}, Rows("user_info", "user")) << Utf8(name);
    }
}

TEST_F(Settings, LongPathsQuotesAndNulsInTexts) {
    std::wstring long_path = L"C:\\Program Files\\it's \"here\"\\" + std::wstring(240, L'x') + L"\\Downloads";
    ASSERT_TRUE(ConfMgr::SetDownloadPath(long_path));
    std::wstring back;
    ASSERT_TRUE(ConfMgr::GetDownloadPath(&back));
    EXPECT_EQ(long_path, back);

    // Texts are cut at their first NUL.
    ASSERT_TRUE(ConfMgr::SetUser(std::wstring(L"ab\0cd", 5)));
    std::wstring user;
    ASSERT_TRUE(ConfMgr::GetUser(&user));
    EXPECT_EQ(L"ab", user);
    ASSERT_TRUE(ConfMgr::SetPassword(std::wstring(L"pw\0rest", 7)));
    std::string raw;
    ASSERT_TRUE(ConfMgr::GetPassword(&raw));
    EXPECT_EQ("pw", raw);

    // An empty text is a value, not "unset".
    ASSERT_TRUE(ConfMgr::SetUser(L""));
    user = L"keep";
    ASSERT_TRUE(ConfMgr::GetUser(&user));
    EXPECT_EQ(L"", user);
}

TEST_F(Settings, ATableWithoutRowsReadsAsNotSet) {
    ASSERT_TRUE(ConfMgr::SetAutoLogin(true));
    ASSERT_TRUE(ConfMgr::SetDownloadPath(L"C:\\elsewhere"));
    {
        sql::FieldDef columns[] = {sql::FieldDef("_ID", sql::FieldTypeInteger, 0), sql::FieldDef::End()};
        sql::Database db;
        db.open(Utf8(db_file_));
        sql::RecordSet(columns, db.handle()).query("delete from login_info");
        sql::RecordSet(columns, db.handle()).query("delete from download_path_conf");
    }
    bool on = false;
    EXPECT_TRUE(ConfMgr::GetAutoLogin(&on));
    EXPECT_FALSE(on);
    std::wstring path;
    EXPECT_TRUE(ConfMgr::GetDownloadPath(&path));
    EXPECT_EQ(folder_ + L"Downloads", path);
}

TEST_F(Settings, CorruptedOrUnreadableFileGivesDefaultsAndALogLine) {
    struct Case {
        const char* what;
        void (*spoil)(const std::wstring& file);
    } cases[] = {
        {"garbage", [](const std::wstring& f) {
             test_support::WriteFileBytes(f, std::string(4096, '\x5a') + "not a database");
         }},
        {"truncated header", [](const std::wstring& f) {
             test_support::WriteFileBytes(f, std::string("SQLite format 3\0\x10\0", 19));
         }},
        {"a folder", [](const std::wstring& f) { CreateDirectoryW(f.c_str(), nullptr); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();  // a fresh program folder for each case
        SetUp();
        c.spoil(db_file_);
        size_t log_before = LogText().size();

        bool on = true;
        EXPECT_FALSE(ConfMgr::GetAutoLogin(&on));
        EXPECT_TRUE(on);
        std::wstring user = L"keep";
        EXPECT_FALSE(ConfMgr::GetUser(&user));
        EXPECT_EQ(L"keep", user);
        std::wstring path;
        EXPECT_TRUE(ConfMgr::GetDownloadPath(&path));
        EXPECT_EQ(folder_ + L"Downloads", path);
        EXPECT_FALSE(ConfMgr::SetUser(L"new"));

        std::string log = LogText().substr(log_before);
        EXPECT_NE(std::string::npos, log.find(": ConfMgr::GetAutoLogin: ")) << log;
        EXPECT_NE(std::string::npos, log.find(": ConfMgr::GetDownloadPath: ")) << log;
        EXPECT_NE(std::string::npos, log.find(": ConfMgr::SetUser: ")) << log;
    }
}

TEST_F(Settings, ALockedFileGivesDefaults) {
    ASSERT_TRUE(ConfMgr::SetAutoLogin(true));
    HANDLE h = CreateFileW(db_file_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    bool on = false;
    EXPECT_FALSE(ConfMgr::GetAutoLogin(&on));
    EXPECT_FALSE(on);
    EXPECT_FALSE(ConfMgr::SetAutoLogin(false));
    CloseHandle(h);
    EXPECT_TRUE(ConfMgr::GetAutoLogin(&on));
    EXPECT_TRUE(on);
}

TEST_F(Settings, WithoutTheDataFolderWritesFailAndReadsFallBack) {
    ASSERT_TRUE(RemoveDirectoryW((folder_ + L"data").c_str()));
    EXPECT_FALSE(ConfMgr::SetUser(L"me"));
    std::wstring user = L"keep";
    EXPECT_FALSE(ConfMgr::GetUser(&user));
    EXPECT_EQ(L"keep", user);
    std::wstring path;
    EXPECT_TRUE(ConfMgr::GetDownloadPath(&path));
    EXPECT_EQ(folder_ + L"Downloads", path);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((folder_ + L"data").c_str()));
}

struct WriterArgs {
    int id;
    int failures;
};

DWORD WINAPI WriteAndRead(void* p) {
    WriterArgs* a = static_cast<WriterArgs*>(p);
    for (int i = 0; i < 15; ++i) {
        std::wstring user = L"user" + std::to_wstring(a->id) + L"-" + std::to_wstring(i);
        if (!ConfMgr::SetUser(user)) ++a->failures;
        std::wstring back;
        if (!ConfMgr::GetUser(&back) || back.compare(0, 4, L"user") != 0) ++a->failures;
    }
    return 0;
}

TEST_F(Settings, ThreadsAreSerialised) {
    WriterArgs args[4] = {{0, 0}, {1, 0}, {2, 0}, {3, 0}};
    HANDLE threads[4];
    for (int i = 0; i < 4; ++i) threads[i] = CreateThread(nullptr, 0, WriteAndRead, &args[i], 0, nullptr);
    WaitForMultipleObjects(4, threads, TRUE, 60000);
    for (int i = 0; i < 4; ++i) {
        CloseHandle(threads[i]);
        EXPECT_EQ(0, args[i].failures);
    }
    EXPECT_EQ(1u, Rows("user_info", "user").size());
}

TEST_F(Settings, VersionDatabasePath) {
    std::wstring path;
    EXPECT_TRUE(ConfMgr::GetVdbPath(&path));
    EXPECT_EQ(folder_ + L"data\\vdb.dat", path);
}

}  // namespace

namespace {

TEST_F(Settings, DownloadFilePathJoinsTheFolderAndTheInstallerName) {
    std::wstring folder = folder_ + L"下载";
    ASSERT_TRUE(ConfMgr::SetDownloadPath(folder));
    Software soft;
    soft.soft_id = 1001;
    soft.soft_name = L"Setup Tool";
    soft.file_ext = L".msi";
    std::wstring path;
    ASSERT_TRUE(ConfMgr::GetDownloadFilePath(&path, soft));
    // The folder as stored: the test locale's OEM code page cannot hold
    // "下载", which comes back as "??".
    std::wstring stored;
    ASSERT_TRUE(ConfMgr::GetDownloadPath(&stored));
    EXPECT_EQ(stored + L"\\Setup Tool.msi", path);

    ASSERT_TRUE(ConfMgr::SetDownloadPath(folder_ + L"dl"));
    ASSERT_TRUE(ConfMgr::GetDownloadFilePath(&path, soft));
    EXPECT_EQ(folder_ + L"dl\\Setup Tool.msi", path);
    EXPECT_TRUE(GetFileAttributesW((folder_ + L"dl").c_str()) & FILE_ATTRIBUTE_DIRECTORY);

    // A name from the service cannot leave the folder.
    soft.soft_name = L"..\\..\\evil";
    ASSERT_TRUE(ConfMgr::GetDownloadFilePath(&path, soft));
    EXPECT_EQ(0u, path.find(folder_ + L"dl\\")) << path;
    EXPECT_EQ(std::wstring::npos, path.find(L"\\..\\"));

    // A path that cannot fit fails.
    ASSERT_TRUE(ConfMgr::SetDownloadPath(L"C:\\" + std::wstring(250, L'x')));
    soft.soft_name = L"a long enough installer name";
    path = L"keep";
    EXPECT_FALSE(ConfMgr::GetDownloadFilePath(&path, soft));
    EXPECT_EQ(L"keep", path);
}

}  // namespace

namespace {

// Run by the zh_CN variant of this program, where the OEM code page is 936.
TEST_F(Settings, ChineseNamesRoundTripWhereTheOemCodePageHoldsThem) {
    if (GetOEMCP() != 936) GTEST_SKIP() << "the OEM code page is " << GetOEMCP();
    const std::wstring user = L"张三 O'Neil";
    const std::wstring folder = L"D:\\软件下载\\装机必备";
    ASSERT_TRUE(ConfMgr::SetUser(user));
    ASSERT_TRUE(ConfMgr::SetDownloadPath(folder));
    std::wstring user_back, folder_back;
    ASSERT_TRUE(ConfMgr::GetUser(&user_back));
    ASSERT_TRUE(ConfMgr::GetDownloadPath(&folder_back));
    EXPECT_EQ(user, user_back);
    EXPECT_EQ(folder, folder_back);
    std::string oem;
    WideToOem(user, &oem);
    oem.pop_back();
    EXPECT_EQ(std::vector<std::string>{"1|" + oem}, Rows("user_info", "user"));
}

}  // namespace
