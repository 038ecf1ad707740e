// The loading window: the job runs on a worker while the caller waits in
// the modal loop; the window closes only after the job has returned, also
// when Escape, the system close or a quit arrive first, and when its
// animation is missing.
#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "client/windows/dialogs/loading_wnd.h"
#include "tests/client/windows/support/window_test_support.h"
#include "tests/support/test_support.h"
#include "uitoolkit/core/window_manager.h"

namespace {

void CopyTree(const std::wstring& from, const std::wstring& to, const wchar_t* skip) {
    ::CreateDirectoryW(to.c_str(), nullptr);
    WIN32_FIND_DATAW fd;
    HANDLE h = ::FindFirstFileW((from + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        std::wstring name = fd.cFileName;
        if (name == L"." || name == L".." || name == skip) continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CopyTree(from + L"\\" + name, to + L"\\" + name, skip);
        else
            ::CopyFileW((from + L"\\" + name).c_str(), (to + L"\\" + name).c_str(), FALSE);
    } while (::FindNextFileW(h, &fd));
    ::FindClose(h);
}

class Loading : public wintest::DialogOwnerTest {
protected:
    // A job that takes `ms` and then marks itself done.
    ke::task SlowJob(DWORD ms) {
        done_ = false;
        return [this, ms] {
            ::Sleep(ms);
            done_ = true;
        };
    }

    std::atomic<bool> done_{false};
};

TEST_F(Loading, AnEmptyJobStillClosesTheWindow) {
    EXPECT_TRUE(RunInLoadingWnd(owner(), ke::task()));
    EXPECT_EQ(nullptr, wintest::FindOwnWindow(L"loading_wnd"));
    EXPECT_TRUE(::IsWindowEnabled(owner()));
}

TEST_F(Loading, TheCallerReadsResultsAfterTheWindowClosed) {
    bool seen = false;
    wintest::WhenWindowAppears(L"loading_wnd", [&](HWND h, UiToolkit::WindowImplBase* w) {
        seen = true;
        RECT rc;
        ::GetWindowRect(h, &rc);
        EXPECT_EQ(48, rc.right - rc.left);
        EXPECT_EQ(48, rc.bottom - rc.top);
        EXPECT_EQ(owner(), ::GetWindow(h, GW_OWNER));
        EXPECT_FALSE(::IsWindowEnabled(owner()));
        EXPECT_FALSE(done_);
        // The animation runs; the mouse changes nothing.
        UiToolkit::CControlUI* gif = w->Manager().FindControl(L"gif_loadding_btn");
        ASSERT_TRUE(gif);
        EXPECT_FALSE(gif->IsEnabled());
        wintest::ClickAt(h, POINT{24, 24});
    });
    std::wstring result;
    EXPECT_TRUE(RunInLoadingWnd(owner(), [&] {
        ::Sleep(400);
        result = L"filled by the job";
    }));
    EXPECT_TRUE(seen);
    EXPECT_EQ(L"filled by the job", result);
    EXPECT_TRUE(::IsWindowEnabled(owner()));
}

TEST_F(Loading, AMissingAnimationDoesNotHoldTheWindowOpen) {
    std::wstring skin = test_support::MakeTempDir(L"nogif");
    CopyTree(wintest::DistSkinFolder(), skin, L"loading.gif");
    UiToolkit::CWindowManagerUI::SetResourceFolder(skin.c_str());
    EXPECT_TRUE(RunInLoadingWnd(owner(), SlowJob(200)));
    EXPECT_TRUE(done_);
    EXPECT_EQ(nullptr, wintest::FindOwnWindow(L"loading_wnd"));
    test_support::RemoveTree(skin);
}

TEST_F(Loading, EscapeAndTheSystemCloseWaitForTheJob) {
    for (const char* how : {"escape", "system close"}) {
        std::string h = how;
        bool still_open = false, owner_disabled = false;
        wintest::WhenWindowAppears(L"loading_wnd", [&](HWND box, UiToolkit::WindowImplBase*) {
            if (h == "escape")
                wintest::PressKey(box, VK_ESCAPE);
            else
                ::PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
            wintest::RunSoon(200, [&, box] {
                still_open = ::IsWindow(box) && !done_;
                owner_disabled = !::IsWindowEnabled(owner());
            });
        });
        EXPECT_TRUE(RunInLoadingWnd(owner(), SlowJob(700))) << how;
        EXPECT_TRUE(still_open) << how;
        EXPECT_TRUE(owner_disabled) << how;
        EXPECT_TRUE(done_) << how;
        EXPECT_TRUE(::IsWindowEnabled(owner())) << how;
    }
}

TEST_F(Loading, AQuitDuringTheJobWaitsForItAndIsPassedOn) {
    wintest::WhenWindowAppears(L"loading_wnd", [&](HWND, UiToolkit::WindowImplBase*) {
        ::PostQuitMessage(3);
    });
    bool done_at_return = false;
    EXPECT_FALSE(RunInLoadingWnd(owner(), SlowJob(600)));
    done_at_return = done_;
    EXPECT_TRUE(done_at_return);
    EXPECT_EQ(nullptr, wintest::FindOwnWindow(L"loading_wnd"));
    EXPECT_TRUE(::IsWindowEnabled(owner()));
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(3u, msg.wParam);
}

}  // namespace
