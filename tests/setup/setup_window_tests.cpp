// How the setup programs' windows close: the system close and posted
// closes reach the page's own answer and never destroy the window behind
// its back; an answer that is still being given is not asked again; a
// window without its skin stays empty and closing it ends the program; a
// destroyed window ends its message loop.
#include <gtest/gtest.h>
#include <windows.h>

#include "setup/common/setup_window.h"
#include "uitoolkit/core/window_manager.h"

namespace {

class ClosingProbe : public SetupWindow {
 public:
    explicit ClosingProbe(const wchar_t* skin) : skin_(skin) {}
    int requests = 0;
    bool closeAgainWhileAnswering = false;
    bool skinned() const { return HasSkin(); }

 protected:
    const wchar_t* WindowClassName() const override { return L"SetupWindowClosingProbe"; }
    const wchar_t* SkinFile() const override { return skin_; }
    void OnCloseRequest() override {
        ++requests;
        if (closeAgainWhileAnswering) SendMessageW(m_hwnd, WM_CLOSE, 0, 0);
    }

 private:
    const wchar_t* skin_;
};

bool g_timedOut = false;
void CALLBACK GiveUp(HWND, UINT, UINT_PTR, DWORD) {
    g_timedOut = true;
    PostQuitMessage(0);
}

// Runs the toolkit's message loop; true when it ended by itself within `ms`.
bool LoopEndsWithin(UINT ms) {
    g_timedOut = false;
    UINT_PTR timer = SetTimer(nullptr, 0, ms, GiveUp);
    UiToolkit::CWindowManagerUI::RunMessageLoop();
    KillTimer(nullptr, timer);
    return !g_timedOut;
}

class SetupWindowClosing : public ::testing::Test {
 protected:
    void SetUp() override { UiToolkit::CWindowManagerUI::SetInstance(GetModuleHandleW(nullptr)); }
    ClosingProbe* Open(const wchar_t* resource, const wchar_t* skin) {
        UseSetupSkinResource(resource);
        auto* window = new ClosingProbe(skin);
        window->Create(nullptr, L"probe", 0, 0, 0, 0, 300, 200);
        return window;
    }
    void Close(ClosingProbe* window) {
        if (IsWindow(*window)) DestroyWindow(*window);
        LoopEndsWithin(2000);  // takes the quit the destroyed window posts
        delete window;
    }
};

TEST_F(SetupWindowClosing, TheSystemCloseAndPostedClosesAskThePage) {
    ClosingProbe* window = Open(L"#105", L"skin.xml");
    ASSERT_NE(nullptr, window->GetHWND());
    ASSERT_TRUE(window->skinned());
    SendMessageW(*window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(1, window->requests);
    EXPECT_TRUE(IsWindow(*window));
    // Escape posts a close with wParam 1.
    PostMessageW(*window, WM_CLOSE, 1, 0);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    EXPECT_EQ(2, window->requests);
    EXPECT_TRUE(IsWindow(*window));
    Close(window);
}

TEST_F(SetupWindowClosing, ACloseWhileThePageIsAnsweringIsDropped) {
    ClosingProbe* window = Open(L"#105", L"skin.xml");
    window->closeAgainWhileAnswering = true;
    SendMessageW(*window, WM_CLOSE, 0, 0);
    EXPECT_EQ(1, window->requests);
    window->closeAgainWhileAnswering = false;
    SendMessageW(*window, WM_CLOSE, 0, 0);
    EXPECT_EQ(2, window->requests);
    Close(window);
}

TEST_F(SetupWindowClosing, AWindowWithoutItsSkinStaysEmptyAndClosingItEndsTheLoop) {
    // No message box and no exit: the test goes on.
    ClosingProbe* window = Open(L"#999", L"skin.xml");
    ASSERT_NE(nullptr, window->GetHWND());
    EXPECT_FALSE(window->skinned());
    EXPECT_EQ(nullptr, window->Manager().GetRoot());
    PostMessageW(*window, WM_CLOSE, 1, 0);
    EXPECT_TRUE(LoopEndsWithin(5000));
    EXPECT_EQ(0, window->requests);
    Close(window);
}

TEST_F(SetupWindowClosing, ADestroyedWindowEndsItsLoop) {
    ClosingProbe* window = Open(L"#105", L"skin.xml");
    ASSERT_NE(nullptr, window->GetHWND());
    PostMessageW(*window, WM_USER + 7, 0, 0);  // the loop is running when it goes
    DestroyWindow(*window);
    EXPECT_TRUE(LoopEndsWithin(5000));
    EXPECT_EQ(0, window->requests);
    delete window;
}

}  // namespace
