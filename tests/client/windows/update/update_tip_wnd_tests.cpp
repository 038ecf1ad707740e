// The self-update window: the offer, the confirmation of a cancel, the
// progress bar, the setup started with the main window told to quit, and
// exactly one box for each failure, with the window left open.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client/core/settings/conf_mgr.h"
#include "client/core/startup/main_window_handle.h"
#include "client/windows/dialogs/modal_dialogs.h"
#include "client/windows/main_frame_messages.h"
#include "client/windows/update/update_tip_wnd.h"
#include "tests/client/windows/support/window_test_support.h"
#include "tests/client/windows/update/update_source_stand_in.h"
#include "tests/support/test_support.h"
#include "uitoolkit/controls/label.h"
#include "uitoolkit/controls/progress.h"

namespace {

// The main window as far as the update window sees it: a window that counts
// the quits it is asked for.
int g_quits = 0;
LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_QUIT_FOR_UPDATE) ++g_quits;
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

std::vector<std::wstring> g_started;
INT_PTR g_start_result = 42;
INT_PTR StartSetup(const std::wstring& path) {
    g_started.push_back(path);
    return g_start_result;
}

class UpdateTipWndTest : public wintest::DialogOwnerTest {
protected:
    static void SetUpTestSuite() {
        DialogOwnerTest::SetUpTestSuite();
        dir_ = test_support::MakeTempDir(L"updatewnd");
        ::CreateDirectoryW((dir_ + L"\\data").c_str(), nullptr);
        ConfMgr::SetProgramFolderForTest(dir_ + L"\\");
        WNDCLASSW wc = {};
        wc.lpfnWndProc = MainProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"UpdateTestMain";
        ::RegisterClassW(&wc);
        main_ = ::CreateWindowExW(0, L"UpdateTestMain", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        PublishMainWindow(main_);
        SetSetupStarterForTests(StartSetup);
    }
    static void TearDownTestSuite() {
        SetSetupStarterForTests(nullptr);
        PublishMainWindow(nullptr);
        ::DestroyWindow(main_);
        test_support::RemoveTree(dir_);
        DialogOwnerTest::TearDownTestSuite();
    }
    void SetUp() override {
        g_quits = 0;
        g_started.clear();
        g_start_result = 42;
        ConfMgr::SetDownloadPath(dir_ + L"\\Downloads");
        ::RemoveDirectoryW((dir_ + L"\\Downloads").c_str());
    }
    static std::wstring SetupPath() { return dir_ + L"\\Downloads\\vantrel_setup.exe"; }
    static bool SetupThere() { return ::GetFileAttributesW(SetupPath().c_str()) != INVALID_FILE_ATTRIBUTES; }

    // Shows the window for a download from `script`; `act` runs once it is up.
    void Show(const SourceScript& script, std::function<void(HWND, UiToolkit::WindowImplBase*)> act,
              const std::wstring& address = L"http://updates.example/setup/vantrel_setup.exe") {
        UpdateTipWnd* wnd = new UpdateTipWnd(L"1.0.2.8", address);
        wnd->SetSourceFactory(StandIn(script));
        wintest::WhenWindowAppears(L"update_tip_wnd", act);
        RunModalDialog(wnd, owner());
        EXPECT_EQ(nullptr, wintest::FindOwnWindow(L"update_tip_wnd"));
        EXPECT_TRUE(::IsWindowEnabled(owner()));
    }
    // Answers the next confirmation box, then runs `then`.
    static void WhenBox(const wchar_t* button, std::wstring* text, std::function<void()> then = nullptr) {
        wintest::WhenWindowAppears(L"message_box", [=](HWND, UiToolkit::WindowImplBase* box) {
            if (text) *text = wintest::ControlText(box, L"msg_box_tip_btn");
            wintest::ClickNamed(box, button);
            if (then) wintest::RunSoon(150, then);
        });
    }
    static bool Visible(UiToolkit::WindowImplBase* w, const wchar_t* name) {
        return w->Manager().FindControl(name)->IsVisible();
    }
    static int Progress(UiToolkit::WindowImplBase* w) {
        return static_cast<UiToolkit::CProgressUI*>(w->Manager().FindControl(L"update_tip_progress"))->GetValue();
    }

    static std::wstring dir_;
    static HWND main_;
};
std::wstring UpdateTipWndTest::dir_;
HWND UpdateTipWndTest::main_ = nullptr;

TEST_F(UpdateTipWndTest, TheOfferAndACancelConfirmedOrNot) {
    std::wstring asked;
    StandInSource::opens = 0;
    Show(SourceScript(), [&](HWND, UiToolkit::WindowImplBase* w) {
        EXPECT_EQ(L"检测到最新版本：1.0.2.8", wintest::ControlText(w, L"update_tip_version"));
        auto* version = static_cast<UiToolkit::CLabelUI*>(w->Manager().FindControl(L"update_tip_version"));
        EXPECT_EQ(0xFF114066u, version->GetTextColor());
        EXPECT_TRUE(Visible(w, L"update_tip_btn"));
        EXPECT_FALSE(Visible(w, L"update_tip_progress_plane"));
        // Cancel at the question keeps the window; OK closes it.
        WhenBox(L"msg_box_cancel_btn", &asked, [w] {
            EXPECT_TRUE(::IsWindow(w->GetHWND()));
            WhenBox(L"msg_box_ok_btn", nullptr);
            wintest::ClickNamed(w, L"update_tip_close_btn");
        });
        wintest::ClickNamed(w, L"update_tip_close_btn");
    });
    EXPECT_EQ(L"<i default\\main\\tip.png> 确定取消升级吗？", asked);
    EXPECT_EQ(0, StandInSource::opens.load()) << "no download before the update button";
    EXPECT_EQ(0, g_quits);
}

TEST_F(UpdateTipWndTest, ADownloadShowsProgressStartsTheSetupAndQuits) {
    HANDLE hold = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SourceScript script;
    script.pieces = {8192, 8192, 3616};
    script.hold_read = 1;
    script.hold = hold;
    Show(script, [&](HWND wnd, UiToolkit::WindowImplBase* w) {
        wintest::ClickNamed(w, L"update_tip_btn");
        wintest::RunSoon(300, [&, wnd, w] {
            EXPECT_FALSE(Visible(w, L"update_tip_btn"));
            EXPECT_FALSE(Visible(w, L"update_tip_blank"));
            EXPECT_TRUE(Visible(w, L"update_tip_progress_plane"));
            EXPECT_EQ(40, Progress(w));
            // Answering Cancel at the question keeps the download going.
            WhenBox(L"msg_box_cancel_btn", nullptr, [&, wnd, w] {
                ::SetEvent(hold);
                wintest::RunSoon(400, [&, wnd, w] {
                    EXPECT_EQ(100, Progress(w));
                    EXPECT_EQ(1u, g_started.size());
                    EXPECT_EQ(1, g_quits);
                    wintest::PressKey(wnd, VK_ESCAPE);  // the quit would close it
                });
            });
            wintest::ClickNamed(w, L"update_tip_close_btn");
        });
    });
    ASSERT_EQ(1u, g_started.size());
    EXPECT_EQ(SetupPath(), g_started[0]);
    std::string bytes;
    ASSERT_TRUE(test_support::ReadFileBytes(SetupPath(), &bytes)) << "the started setup keeps its file";
    EXPECT_EQ(SetupBytes(20000), bytes);
    ::DeleteFileW(SetupPath().c_str());
    ::CloseHandle(hold);
}

TEST_F(UpdateTipWndTest, EachFailureShowsOneBoxAndLeavesTheWindowOpen) {
    struct Case {
        const char* what;
        SourceScript script;
        INT_PTR start_result;
        const wchar_t* address;
        const wchar_t* box;
    };
    SourceScript good;
    good.pieces = {8192, 8192, 3616};
    SourceScript short_body = good;
    short_body.pieces = {8192, 0};
    SourceScript refused = good;
    refused.status = 500;
    const Case cases[] = {
        {"the body ends short", short_body, 42, nullptr, L"下载文件失败，请检查网络"},
        {"status 500", refused, 42, nullptr, L"下载文件失败，请检查网络"},
        {"the setup does not start", good, 2, nullptr, L"无法启动安装程序"},
        {"no file name", good, 42, L"http://updates.example/setup.exe?v=2", L"无法创建本地文件"},
    };
    for (const Case& c : cases) {
        g_start_result = c.start_result;
        g_quits = 0;
        int boxes = 0;
        std::wstring text;
        Show(c.script, [&](HWND wnd, UiToolkit::WindowImplBase* w) {
            wintest::WhenWindowAppears(L"message_box", [&, wnd](HWND, UiToolkit::WindowImplBase* box) {
                ++boxes;
                text = wintest::ControlText(box, L"msg_box_tip_btn");
                wintest::ClickNamed(box, L"msg_box_ok_btn");
                wintest::RunSoon(500, [&, wnd] {
                    EXPECT_TRUE(::IsWindow(wnd)) << "the window stays open: " << c.what;
                    EXPECT_EQ(nullptr, wintest::FindOwnWindow(L"message_box")) << "one box: " << c.what;
                    wintest::PressKey(wnd, VK_ESCAPE);
                });
            });
            wintest::ClickNamed(w, L"update_tip_btn");
        }, c.address ? c.address : L"http://updates.example/setup/vantrel_setup.exe");
        EXPECT_EQ(1, boxes) << c.what;
        EXPECT_EQ(std::wstring(L"<i default\\main\\tip.png> ") + c.box, text) << c.what;
        EXPECT_EQ(0, g_quits) << "the client keeps running: " << c.what;
        EXPECT_FALSE(SetupThere()) << c.what;
    }
}

TEST_F(UpdateTipWndTest, EscapeMidDownloadStopsItAndLeavesNoFile) {
    HANDLE hold = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE gone = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SourceScript script;
    script.pieces = {8192, 8192, 3616};
    script.hold_read = 1;
    script.hold = hold;
    script.gone = gone;
    Show(script, [&](HWND wnd, UiToolkit::WindowImplBase* w) {
        wintest::ClickNamed(w, L"update_tip_btn");
        wintest::RunSoon(300, [&, wnd] {
            EXPECT_TRUE(SetupThere());
            wintest::PressKey(wnd, VK_ESCAPE);
        });
    });
    // The window is gone while the worker still waits for its read.
    ::SetEvent(hold);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(gone, 10000));
    wintest::PumpUntil([] { return !SetupThere(); }, 2000);
    EXPECT_FALSE(SetupThere());
    wintest::Pump(100);
    EXPECT_TRUE(g_started.empty());
    ::CloseHandle(hold);
    ::CloseHandle(gone);
}

}  // namespace
