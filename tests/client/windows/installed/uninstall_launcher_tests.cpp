// Starting an uninstall command, and the page's skins when they lack what
// the code needs: a log line, never a crash.
#include <gtest/gtest.h>

#include <stdio.h>

#include <string>

#include "client/windows/installed/uninstall_launcher.h"
#include "client/windows/installed/uninstall_soft.h"
#include "client/windows/installed/uninstall_soft_item.h"
#include "foundation/log/log.h"
#include "tests/client/windows/support/window_test_support.h"
#include "tests/support/test_support.h"
#include "uitoolkit/core/window_manager.h"

namespace {

// A log of this test's own, read back as text.
class LoggedTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = test_support::MakeTempDir(L"installedlog");
        log_path_ = dir_ + L"\\test.log";
        char narrow[MAX_PATH];
        ::WideCharToMultiByte(CP_ACP, 0, log_path_.c_str(), -1, narrow, MAX_PATH, nullptr, nullptr);
        ASSERT_TRUE(log_open(narrow));
    }
    void TearDown() override {
        log_close();
        wintest::UseDistSkin();
        test_support::RemoveTree(dir_);
    }
    std::string Log() {
        std::string text;
        test_support::ReadFileBytes(log_path_, &text);
        return text;
    }
    // A copy of the program folder's skin in which `file` has `from`
    // replaced by `to` (the whole file when `from` is empty), used as the
    // skin folder from now on.
    void UseSkinWith(const wchar_t* file, const std::string& from, const std::string& to) {
        const std::wstring skin = wintest::DistSkinFolder();
        const std::wstring copy = dir_ + L"\\skin";
        ::CreateDirectoryW(copy.c_str(), nullptr);
        for (const wchar_t* name : {L"uninstall_soft.xml", L"uninstall_soft_item.xml"}) {
            std::string text;
            ASSERT_TRUE(test_support::ReadFileBytes(skin + L"\\" + name, &text));
            if (wcscmp(name, file) == 0 && from.empty()) {
                text = to;  // the whole file
            } else if (wcscmp(name, file) == 0) {
                size_t at = text.find(from);
                ASSERT_NE(std::string::npos, at) << from;
                text.replace(at, from.size(), to);
            }
            ASSERT_TRUE(test_support::WriteFileBytes(copy + L"\\" + name, text));
        }
        UiToolkit::CWindowManagerUI::SetResourceFolder(copy.c_str());
    }

    std::wstring dir_;
    std::wstring log_path_;
};

typedef LoggedTest UninstallLauncher;

TEST_F(UninstallLauncher, CommandsThatCannotRunAreLoggedAndNotStarted) {
    const std::wstring too_long = L"cmd.exe /c rem " + std::wstring(kMaxCommandLineChars, L'x');
    EXPECT_FALSE(StartUninstallCommand(too_long, nullptr));
    EXPECT_FALSE(StartUninstallCommand(L"Z:\\no\\such\\uninstaller.exe /S", nullptr));
    EXPECT_FALSE(StartUninstallCommand(L"", nullptr));
    const std::string log = Log();
    EXPECT_NE(std::string::npos, log.find("more than a command line holds; not started")) << log;
    EXPECT_NE(std::string::npos, log.find("CreateProcess failed")) << log;
    EXPECT_NE(std::string::npos, log.find("no\\such\\uninstaller.exe")) << log;
}

TEST(UninstallLauncherHandles, EveryStartedCommandGivesItsHandlesBack) {
    // The ends are announced to this window's queue.
    HWND box = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    auto wait_for_ends = [box](int count) {
        int ended = 0;
        for (int i = 0; i < 3000 && ended < count; ++i) {
            MSG msg;
            while (::PeekMessageW(&msg, box, UiToolkit::UIMSG_QUEUE_NOTIFY, UiToolkit::UIMSG_QUEUE_NOTIFY, PM_REMOVE)) {
                auto* record = reinterpret_cast<UiToolkit::TUiNotify*>(msg.lParam);
                EXPECT_EQ(std::wstring(kUninstallerExitedNotify), std::wstring(record->sType.GetData()));
                delete record;
                ++ended;
            }
            ::Sleep(10);
        }
        return ended;
    };
    ASSERT_TRUE(StartUninstallCommand(L"cmd.exe /c exit 3", box));
    ASSERT_EQ(1, wait_for_ends(1));
    ::Sleep(200);
    const int before = test_support::OpenHandleCount();
    for (int i = 0; i < 20; ++i) ASSERT_TRUE(StartUninstallCommand(L"cmd.exe /c exit 3", box));
    EXPECT_EQ(20, wait_for_ends(20));
    ::Sleep(200);
    const int after = test_support::OpenHandleCount();
    EXPECT_LT(after - before, 5) << before << " -> " << after;
    ::DestroyWindow(box);
}

typedef LoggedTest InstalledSkins;

TEST_F(InstalledSkins, APageSkinWithoutItsListLeavesThePageEmpty) {
    const struct {
        const char* from;
        const char* to;
        const char* logged;
    } cases[] = {
        {"name=\"uninstall_soft_list\"", "name=\"other_list\"", "control \"uninstall_soft_list\" is missing"},
        {"<Button name=\"uninstall_soft_bar\"", "<Label name=\"uninstall_soft_bar\"",
         "control \"uninstall_soft_bar\" is a LabelUI, not a Button"},
        {"", "<Window><Label name=\"uninstall_soft_list\"/></Window>", "the root is a LabelUI, not a container"},
    };
    for (const auto& c : cases) {
        UseSkinWith(L"uninstall_soft.xml", c.from, c.to);
        int scans = 0;
        UninstallSoft page([&scans](SysInstallSoftList*) { return ++scans, true; });
        EXPECT_EQ(nullptr, page.List()) << c.from;
        UiToolkit::TUiNotify shown;
        shown.sType = L"selectchanged";
        page.Notify(shown);
        EXPECT_EQ(0, scans) << "an empty page reads nothing: " << c.from;
        EXPECT_NE(std::string::npos, Log().find(c.logged)) << c.logged;
    }
}

TEST_F(InstalledSkins, RowSkinsThatLackWhatTheCodeNeeds) {
    auto soft = std::make_shared<SysInstallSoft>();
    soft->display_name = L"Shown";
    soft->uninstall_command = L"uninstall shown";
    struct Find {
        static UiToolkit::CControlUI* CALLBACK ByName(UiToolkit::CControlUI* c, LPVOID name) {
            return c->GetName() == static_cast<const wchar_t*>(name) ? c : nullptr;
        }
    };
    // A missing control: the row is listed as built, not filled.
    UseSkinWith(L"uninstall_soft_item.xml", "name=\"sys_soft_disk_size\"", "name=\"elsewhere\"");
    {
        UninstallSoftItem item(soft);
        ASSERT_TRUE(item.Row());
        UiToolkit::CControlUI* button = item.Row()->Search(Find::ByName, const_cast<wchar_t*>(L"sys_soft_uninstall"),
                                                           UiToolkit::UIFIND_ME_FIRST);
        ASSERT_TRUE(button);
        EXPECT_TRUE(button->GetUserData().IsEmpty());
        delete item.Row();
    }
    EXPECT_NE(std::string::npos, Log().find("control \"sys_soft_disk_size\" is missing"));

    const struct {
        const char* skin;
        const char* logged;
    } no_row[] = {
        {"<Window><Label name=\"sys_soft_display_name\"/></Window>",
         "the root is a LabelUI, not a ListContainerElement"},
        {"<ListContainerElement><Label></ListContainerElement>", "uninstall_soft_item.xml did not build"},
        {"", "uninstall_soft_item.xml did not build"},
    };
    for (const auto& c : no_row) {
        UseSkinWith(L"uninstall_soft_item.xml", "", c.skin);
        UninstallSoftItem item(soft);
        EXPECT_EQ(nullptr, item.Row()) << c.skin;
        EXPECT_NE(std::string::npos, Log().find(c.logged)) << c.logged;
    }
}

}  // namespace
