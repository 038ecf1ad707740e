// The settings dialog: what it shows, what OK stores and what every other
// way out leaves alone; its free-space line; skins that lack a control.
#include <gtest/gtest.h>

#include <string>

#include "client/core/settings/conf_mgr.h"
#include "client/windows/settings/free_space.h"
#include "client/windows/settings/setting_dialog.h"
#include "foundation/log/log.h"
#include "tests/client/windows/support/window_test_support.h"
#include "tests/support/test_support.h"
#include "uitoolkit/controls/edit.h"

namespace {

TEST(FreeSpace, DriveRootAndText) {
    const struct {
        const wchar_t* folder;
        const wchar_t* root;
    } roots[] = {
        {L"C:\\Soft\\Downloads", L"C:\\"}, {L"D:\\", L"D:\\"}, {L"C:", L""}, {L"Downloads", L""},
        {L"", L""},  {L"\\\\server\\share", L"\\"}, {L"C:/Soft", L""},
    };
    for (const auto& r : roots) EXPECT_EQ(r.root, DriveRootOf(r.folder)) << r.folder;
    const struct {
        uint64_t bytes;
        const wchar_t* text;
    } texts[] = {
        {53687091200ull, L"| 当前目录所在硬盘可用空间：50.00GB"},
        {0, L"| 当前目录所在硬盘可用空间：0.00GB"},
        {1610612736ull, L"| 当前目录所在硬盘可用空间：1.50GB"},
        {10737418ull, L"| 当前目录所在硬盘可用空间：0.01GB"},
    };
    for (const auto& t : texts) EXPECT_EQ(t.text, FreeSpaceText(t.bytes)) << t.bytes;
}

// The stand-ins of the folder picker and the drive query.
std::wstring g_pick;  // empty: the user cancels
int g_picks = 0;
bool PickFolder(HWND owner, std::wstring* folder) {
    ++g_picks;
    EXPECT_TRUE(owner && ::IsWindow(owner));
    if (g_pick.empty()) return false;
    *folder = g_pick;
    return true;
}
std::vector<std::wstring> g_roots;
bool FreeBytes(const std::wstring& root, uint64_t* bytes) {
    g_roots.push_back(root);
    if (root != L"C:\\") return false;
    *bytes = 53687091200ull;
    return true;
}

class SettingDialogTest : public wintest::DialogOwnerTest {
protected:
    static void SetUpTestSuite() {
        DialogOwnerTest::SetUpTestSuite();
        dir_ = test_support::MakeTempDir(L"settings");
        ::CreateDirectoryW((dir_ + L"\\data").c_str(), nullptr);
        ConfMgr::SetProgramFolderForTest(dir_ + L"\\");
        SetFolderPickerForTests(PickFolder);
        SetFreeSpaceQueryForTests(FreeBytes);
    }
    static void TearDownTestSuite() {
        SetFolderPickerForTests(nullptr);
        SetFreeSpaceQueryForTests(nullptr);
        test_support::RemoveTree(dir_);
        DialogOwnerTest::TearDownTestSuite();
    }
    void SetUp() override {
        g_pick.clear();
        g_picks = 0;
        g_roots.clear();
    }
    static std::wstring Stored() {
        std::wstring folder;
        ConfMgr::GetDownloadPath(&folder);
        return folder;
    }
    static std::wstring DefaultFolder() { return dir_ + L"\\Downloads"; }

    static std::wstring dir_;
};
std::wstring SettingDialogTest::dir_;

TEST_F(SettingDialogTest, ShowsTheStoredFolderAndItsDrivesFreeSpace) {
    ASSERT_TRUE(ConfMgr::SetDownloadPath(L"C:\\Stored\\Soft"));
    std::wstring edit, tips;
    wintest::WhenWindowAppears(L"SettingDialog", [&](HWND wnd, UiToolkit::WindowImplBase* w) {
        edit = wintest::ControlText(w, L"download_path_edit");
        tips = wintest::ControlText(w, L"disk_space_tips");
        RECT rc, o;
        ::GetWindowRect(wnd, &rc);
        ::GetWindowRect(owner(), &o);
        EXPECT_NEAR((o.left + o.right) / 2, (rc.left + rc.right) / 2, 1);
        EXPECT_FALSE(::IsWindowEnabled(owner()));
        // A folder without a backslash names no drive: the line stays.
        g_pick = L"Downloads";
        wintest::ClickNamed(w, L"download_path_set_btn");
        wintest::RunSoon(100, [&, w] {
            EXPECT_EQ(L"Downloads", wintest::ControlText(w, L"download_path_edit"));
            EXPECT_EQ(tips, wintest::ControlText(w, L"disk_space_tips"));
            wintest::ClickNamed(w, L"setting_cancel_btn");
        });
    });
    ShowSettingDialog(owner());
    EXPECT_EQ(L"C:\\Stored\\Soft", edit);
    EXPECT_EQ(L"| 当前目录所在硬盘可用空间：50.00GB", tips);
    EXPECT_EQ(std::vector<std::wstring>{L"C:\\"}, g_roots) << "no drive is asked for a text without a backslash";
    EXPECT_EQ(L"C:\\Stored\\Soft", Stored());
    EXPECT_TRUE(::IsWindowEnabled(owner()));
}

TEST_F(SettingDialogTest, OnlyOkWithATextStores) {
    const wchar_t* kBefore = L"C:\\Before";
    // How the dialog is left, and what is stored then (none: unchanged).
    const struct {
        const char* what;
        const wchar_t* pick;  // the picker's answer when browsing
        const char* steps;    // b browse, r restore, e empty the edit, then the way out: o OK, c Cancel, x close, k Escape
        bool store_default;
        const wchar_t* stored;
    } cases[] = {
        {"browse, OK", L"C:\\Picked", "bo", false, L"C:\\Picked"},
        {"browse cancelled, OK", L"", "bo", false, L"C:\\Before"},
        {"restore, OK", L"", "ro", true, nullptr},
        {"restore, Cancel", L"", "rc", false, L"C:\\Before"},
        {"restore, close button", L"", "rx", false, L"C:\\Before"},
        {"browse, Escape", L"C:\\Picked", "bk", false, L"C:\\Before"},
        {"empty edit, OK", L"", "eo", false, L"C:\\Before"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(ConfMgr::SetDownloadPath(kBefore));
        g_pick = c.pick;
        std::string steps = c.steps;
        wintest::WhenWindowAppears(L"SettingDialog", [&](HWND wnd, UiToolkit::WindowImplBase* w) {
            for (char step : steps) {
                if (step == 'b') wintest::ClickNamed(w, L"download_path_set_btn");
                if (step == 'r') wintest::ClickNamed(w, L"recover_default_path_btn");
                if (step == 'e') w->Manager().FindControl(L"download_path_edit")->SetText(L"");
                if (step == 'o') wintest::ClickNamed(w, L"setting_ok_btn");
                if (step == 'c') wintest::ClickNamed(w, L"setting_cancel_btn");
                if (step == 'x') wintest::ClickNamed(w, L"close_btn");
                if (step == 'k') wintest::PressKey(wnd, VK_ESCAPE);
            }
        });
        ShowSettingDialog(owner());
        EXPECT_EQ(nullptr, wintest::FindOwnWindow(L"SettingDialog")) << c.what;
        EXPECT_EQ(c.store_default ? DefaultFolder() : std::wstring(c.stored), Stored()) << c.what;
    }
}

TEST_F(SettingDialogTest, AnUnreadableSettingsFileIsLoggedAndLeftAsItIs) {
    const std::wstring log_dir = test_support::MakeTempDir(L"settingdb");
    char log_path[MAX_PATH];
    ::WideCharToMultiByte(CP_ACP, 0, (log_dir + L"\\test.log").c_str(), -1, log_path, MAX_PATH, nullptr, nullptr);
    ASSERT_TRUE(log_open(log_path));
    const std::wstring db = dir_ + L"\\data\\ext.dat";
    const std::string garbage(4096, '\x5a');
    ASSERT_TRUE(test_support::WriteFileBytes(db, garbage));

    std::wstring edit;
    wintest::WhenWindowAppears(L"SettingDialog", [&](HWND, UiToolkit::WindowImplBase* w) {
        edit = wintest::ControlText(w, L"download_path_edit");
        wintest::ClickNamed(w, L"setting_ok_btn");
    });
    ShowSettingDialog(owner());
    log_close();

    EXPECT_EQ(DefaultFolder(), edit) << "the default stands in for what cannot be read";
    EXPECT_EQ(nullptr, wintest::FindOwnWindow(L"SettingDialog"));
    std::string log, now;
    test_support::ReadFileBytes(log_dir + L"\\test.log", &log);
    EXPECT_NE(std::string::npos, log.find("ConfMgr::GetDownloadPath")) << log;
    EXPECT_NE(std::string::npos, log.find("SettingDialog::SaveDownloadPath: set download path failed")) << log;
    ASSERT_TRUE(test_support::ReadFileBytes(db, &now));
    EXPECT_EQ(garbage, now) << "the file is not written over";
    ::DeleteFileW(db.c_str());
    test_support::RemoveTree(log_dir);
}

// A copy of the dialog's skin with one text replaced, as the skin folder.
void UseSettingSkinWith(const std::wstring& dir, const wchar_t* file, const std::string& from,
                        const std::string& to) {
    const std::wstring copy = dir + L"\\skin";
    ::CreateDirectoryW(copy.c_str(), nullptr);
    for (const wchar_t* name : {L"setting.xml", L"down_page_setting.xml"}) {
        std::string text;
        ASSERT_TRUE(test_support::ReadFileBytes(wintest::DistSkinFolder() + L"\\" + name, &text));
        if (wcscmp(name, file) == 0) {
            size_t at = text.find(from);
            ASSERT_NE(std::string::npos, at) << from;
            text.replace(at, from.size(), to);
        }
        ASSERT_TRUE(test_support::WriteFileBytes(copy + L"\\" + name, text));
    }
    UiToolkit::CWindowManagerUI::SetResourceFolder(copy.c_str());
}

TEST_F(SettingDialogTest, SkinsThatLackAControlAreLoggedNotFatal) {
    const std::wstring log_dir = test_support::MakeTempDir(L"settinglog");
    char log_path[MAX_PATH];
    ::WideCharToMultiByte(CP_ACP, 0, (log_dir + L"\\test.log").c_str(), -1, log_path, MAX_PATH, nullptr, nullptr);
    ASSERT_TRUE(log_open(log_path));
    const struct {
        const wchar_t* file;
        const char* from;
        const char* to;
        const char* logged;
        bool opens;  // the dialog stays up and OK still works
    } cases[] = {
        {L"setting.xml", "name=\"setting_ok_btn\"", "name=\"ok\"", "control \"setting_ok_btn\" is missing", false},
        // The document stays well formed: only the name moves to a label.
        {L"setting.xml", "<TabLayout name=\"setting_switch\">",
         "<TabLayout name=\"setting_tabs\"><Label name=\"setting_switch\"/>",
         "control \"setting_switch\" is a LabelUI, not a TabLayout", false},
        {L"setting.xml", "<download_setting_page/>", "<Control/>", "holds no download_setting_page", true},
        {L"down_page_setting.xml", "<Edit name=\"download_path_edit\"", "<Label name=\"download_path_edit\"",
         "control \"download_path_edit\" is a LabelUI, not a Edit", true},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(ConfMgr::SetDownloadPath(L"C:\\Kept"));
        UseSettingSkinWith(log_dir, c.file, c.from, c.to);
        // A dialog that lacks a control of its own closes by itself.
        if (c.opens) {
            wintest::WhenWindowAppears(L"SettingDialog", [&](HWND, UiToolkit::WindowImplBase* w) {
                // Without the page there is nothing to restore.
                if (w->Manager().FindControl(L"recover_default_path_btn"))
                    wintest::ClickNamed(w, L"recover_default_path_btn");
                wintest::ClickNamed(w, L"setting_ok_btn");
            });
        }
        ShowSettingDialog(owner());
        ::Sleep(50);
        std::string log;
        test_support::ReadFileBytes(log_dir + L"\\test.log", &log);
        EXPECT_NE(std::string::npos, log.find(c.logged)) << c.logged << "\n" << log;
        EXPECT_EQ(L"C:\\Kept", Stored()) << c.logged;
    }
    log_close();
    wintest::UseDistSkin();
    test_support::RemoveTree(log_dir);
}

}  // namespace
