// The messages the main window handles itself: tray, menu commands, the
// roads that close it, login state, add-to-scheme, detail requests, icons
// from the software cache, and quitting.
#include "client/core/catalogue/soft_info_mgr.h"
#include "client/core/reports/login_session.h"
#include "client/core/settings/conf_mgr.h"
#include "client/windows/dialogs/modal_dialogs.h"
#include "client/windows/main/main_frame_flags.h"
#include "client/windows/main/main_frame_texts.h"
#include "client/windows/main_frame_messages.h"
#include "tests/client/windows/main/main_frame_fixture.h"
#include "uitoolkit/controls/label.h"

namespace {

using wintest::RecordingTarget;

class OwnMessages : public MainFrameTest {
protected:
    bool Visible() { return ::IsWindowVisible(hwnd()) != FALSE; }
    // True when a WM_QUIT with `code` waits (and takes it away).
    bool TakeQuit(int code) {
        MSG msg;
        if (!::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) return false;
        return static_cast<int>(msg.wParam) == code;
    }
};

TEST_F(OwnMessages, TrayLeftClickTogglesAndOtherMouseMessagesDoNothing) {
    Open();
    const struct {
        LPARAM mouse;
        bool handled;
        bool visible_after;
    } steps[] = {
        {WM_MOUSEMOVE, false, true},
        {WM_LBUTTONUP, false, true},
        {WM_LBUTTONDBLCLK, false, true},
        {WM_LBUTTONDOWN, true, false},
        {WM_MOUSEMOVE, false, false},
        {WM_LBUTTONDOWN, true, true},
    };
    for (const auto& s : steps) {
        EXPECT_EQ(s.handled, frame_->Dispatch(WM_TRAY_NOTIFY, 0, s.mouse)) << s.mouse;
        EXPECT_EQ(s.visible_after, Visible()) << s.mouse;
        EXPECT_EQ(s.visible_after, MainFrameFlags::Shown()) << s.mouse;
    }
    // Minimised: the next click hides, the one after restores it.
    ::SendMessageW(hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(::IsIconic(hwnd()));
    frame_->Dispatch(WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);
    EXPECT_FALSE(Visible());
    frame_->Dispatch(WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);
    EXPECT_TRUE(Visible());
    EXPECT_FALSE(::IsIconic(hwnd()));
}

TEST_F(OwnMessages, TrayRightClickOpensTheTrayMenuAtTheCursor) {
    Open();
    ::SetCursorPos(300, 300);
    EXPECT_TRUE(frame_->Dispatch(WM_TRAY_NOTIFY, 0, WM_RBUTTONDOWN));
    HWND menu = nullptr;
    ASSERT_TRUE(wintest::PumpUntil([&] { return (menu = wintest::FindOwnWindow(L"tray_menu")) != nullptr; }, 3000));
    RECT rc;
    ::GetWindowRect(menu, &rc);
    EXPECT_EQ(300, rc.left);
    EXPECT_EQ(300, rc.top);
    EXPECT_EQ(100, rc.right - rc.left);
    EXPECT_EQ(106, rc.bottom - rc.top);
    wintest::PressKey(menu, VK_ESCAPE);
    EXPECT_TRUE(wintest::PumpUntil([&] { return !::IsWindow(menu); }, 3000));
}

TEST_F(OwnMessages, MenuCommands) {
    Open();
    // 4 and above: nothing, unhandled.
    EXPECT_FALSE(frame_->Dispatch(WM_MENU_COMMAND, 0, 4));
    EXPECT_TRUE(Visible());
    // 0: the settings dialog, over the main window.
    HWND settings_owner = nullptr;
    wintest::WhenWindowAppears(L"SettingDialog", [&](HWND dialog, UiToolkit::WindowImplBase* w) {
        settings_owner = ::GetWindow(dialog, GW_OWNER);
        wintest::ClickNamed(w, L"setting_cancel_btn");
    });
    EXPECT_TRUE(frame_->Dispatch(WM_MENU_COMMAND, 0, kMenuCommandSetting));
    EXPECT_EQ(hwnd(), settings_owner);
    // 2: shows the hidden window.
    ::PostMessageW(hwnd(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(wintest::PumpUntil([&] { return !Visible(); }, 3000));
    EXPECT_TRUE(frame_->Dispatch(WM_MENU_COMMAND, 0, kMenuCommandOpen));
    EXPECT_TRUE(Visible());
    EXPECT_TRUE(MainFrameFlags::Shown());
    // 1: the about box, over the main window, with the program's version.
    std::wstring version;
    HWND owner = nullptr;
    wintest::WhenWindowAppears(L"AboutDialog", [&](HWND box, UiToolkit::WindowImplBase* w) {
        version = wintest::ControlText(w, L"about_version_tips");
        owner = ::GetWindow(box, GW_OWNER);
        EXPECT_FALSE(::IsWindowEnabled(hwnd()));
        wintest::ClickNamed(w, L"about_ok_btn");
    });
    EXPECT_TRUE(frame_->Dispatch(WM_MENU_COMMAND, 0, kMenuCommandAbout));
    EXPECT_EQ(L"1.0.2.7", version);
    EXPECT_EQ(hwnd(), owner);
    EXPECT_TRUE(::IsWindowEnabled(hwnd()));
    // 3: the tray icon goes and the loop is told to end with 0.
    EXPECT_TRUE(frame_->TrayIconAdded());
    EXPECT_TRUE(frame_->Dispatch(WM_MENU_COMMAND, 0, kMenuCommandTrayExit));
    EXPECT_FALSE(frame_->TrayIconAdded());
    EXPECT_TRUE(TakeQuit(0));
}

// Opened from the tray while another window has the keyboard (the shell's
// tray): the dialog takes it, so a real Escape closes it; and while it is
// open, neither menu command opens a second dialog over it.
TEST_F(OwnMessages, ADialogFromTheMenuTakesTheKeyboardAndIsTheOnlyOne) {
    Open();
    struct Case {
        LPARAM command;
        const wchar_t* cls;
        const wchar_t* close_button;  // when Escape fails, so the test ends
    } cases[] = {
        {kMenuCommandSetting, L"SettingDialog", L"setting_cancel_btn"},
        {kMenuCommandAbout, L"AboutDialog", L"about_ok_btn"},
    };
    for (bool main_hidden : {true, false}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.cls << (main_hidden ? ", main window hidden" : ""));
            ::ShowWindow(hwnd(), main_hidden ? SW_HIDE : SW_SHOW);
            HWND elsewhere = ::CreateWindowExW(0, L"STATIC", L"elsewhere", WS_POPUP | WS_VISIBLE, 0, 0,
                                               40, 40, nullptr, nullptr, nullptr, nullptr);
            ::SetForegroundWindow(elsewhere);
            ::SetFocus(elsewhere);
            wintest::Pump(50);
            HWND opened = nullptr, focus = nullptr, foreground = nullptr;
            int abouts = -1, settings = -1;
            bool escape_closed = false;
            wintest::WhenWindowAppears(c.cls, [&](HWND dialog, UiToolkit::WindowImplBase* w) {
                opened = dialog;
                focus = ::GetFocus();
                foreground = ::GetForegroundWindow();
                ::PostMessageW(hwnd(), WM_MENU_COMMAND, 0, kMenuCommandAbout);
                ::PostMessageW(hwnd(), WM_MENU_COMMAND, 0, kMenuCommandSetting);
                wintest::RunSoon(300, [&, dialog, w] {
                    abouts = wintest::CountOwnWindows(L"AboutDialog");
                    settings = wintest::CountOwnWindows(L"SettingDialog");
                    // Escape as the keyboard sends it: to the focused window.
                    INPUT keys[2] = {};
                    keys[0].type = keys[1].type = INPUT_KEYBOARD;
                    keys[0].ki.wVk = keys[1].ki.wVk = VK_ESCAPE;
                    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
                    ::SendInput(2, keys, sizeof(INPUT));
                    wintest::RunSoon(5000, [&, dialog, w] {
                        if (!::IsWindow(dialog)) {
                            escape_closed = true;
                            return;
                        }
                        wintest::ClickNamed(w, c.close_button);
                    });
                });
            });
            EXPECT_TRUE(frame_->Dispatch(WM_MENU_COMMAND, 0, c.command));
            wintest::PumpUntil([&] { return escape_closed; }, 6000);
            ASSERT_NE(nullptr, opened);
            EXPECT_EQ(opened, focus);
            EXPECT_EQ(opened, foreground);
            EXPECT_EQ(c.cls == std::wstring(L"AboutDialog") ? 1 : 0, abouts);
            EXPECT_EQ(c.cls == std::wstring(L"SettingDialog") ? 1 : 0, settings);
            EXPECT_TRUE(escape_closed) << "Escape did not close the dialog";
            EXPECT_EQ(0, wintest::CountOwnWindows(L"AboutDialog"));
            EXPECT_EQ(0, wintest::CountOwnWindows(L"SettingDialog"));
            ::DestroyWindow(elsewhere);
        }
    }
    ::ShowWindow(hwnd(), SW_SHOW);
}

TEST_F(OwnMessages, QuitForUpdateRemovesTheTrayIconAndEndsTheLoop) {
    Open();
    EXPECT_TRUE(frame_->Dispatch(WM_QUIT_FOR_UPDATE, 0, 0));
    EXPECT_FALSE(frame_->TrayIconAdded());
    EXPECT_TRUE(TakeQuit(0));
}

TEST_F(OwnMessages, EveryCloseHidesAndTheWindowLivesOn) {
    Open();
    struct Road {
        const char* what;
        std::function<void()> close;
    } roads[] = {
        {"a close from another program", [&] { ::PostMessageW(hwnd(), WM_CLOSE, 0, 0); }},
        {"Alt+F4 (the system close)", [&] { ::PostMessageW(hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"the close button", [&] { wintest::ClickControl(hwnd(), frame_->Find(L"close_btn")); }},
        {"Escape", [&] { wintest::PressKey(hwnd(), VK_ESCAPE); }},
    };
    for (const Road& r : roads) {
        frame_->Dispatch(WM_MENU_COMMAND, 0, kMenuCommandOpen);
        wintest::Pump(50);
        r.close();
        bool escape = std::string(r.what) == "Escape";
        wintest::PumpUntil([&] { return !Visible(); }, escape ? 500 : 3000);
        // Enter and Escape never close the main window.
        EXPECT_EQ(escape, Visible()) << r.what;
        EXPECT_TRUE(::IsWindow(hwnd())) << r.what;
        EXPECT_EQ(escape, MainFrameFlags::Shown()) << r.what;
        EXPECT_TRUE(frame_->TrayIconAdded()) << r.what;
    }
    MSG msg;
    EXPECT_FALSE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
    wintest::ClickControl(hwnd(), frame_->Find(L"min_btn"));
    EXPECT_TRUE(wintest::PumpUntil([&] { return ::IsIconic(hwnd()) != FALSE; }, 3000));
}

TEST_F(OwnMessages, AddToSchemeAsksForALoginFirst) {
    Open();
    std::wstring text;
    wintest::WhenWindowAppears(L"message_wnd", [&](HWND, UiToolkit::WindowImplBase* w) {
        text = wintest::ControlText(w, L"msg_tip_btn");
        wintest::ClickNamed(w, L"msg_ok_btn");
    });
    EXPECT_TRUE(frame_->Dispatch(WM_ADD_TO_SCHEME, 0, 1005));
    EXPECT_EQ(std::wstring(TipMessageMarkup(MainFrameTexts::kPleaseLogIn).GetData()), text);

    // Logged in: the add-to-scheme flow, no box.
    LoginSession::Instance().set_state(LoginSession::kLoggedIn);
    EXPECT_TRUE(frame_->Dispatch(WM_ADD_TO_SCHEME, 0, 1005));
    EXPECT_EQ(nullptr, wintest::FindOwnWindow(L"message_wnd"));
}

TEST_F(OwnMessages, DetailRequestsShowTheMarketBeforeTheirBroadcast) {
    Open();
    const struct {
        UINT msg;
        const wchar_t* name;
    } rows[] = {{WM_CLICK_DETAIL_ON_COLLECT, L"click_detail_on_collect"},
                {WM_CLICK_DETAIL_ON_SCHEME, L"click_detail_on_scheme"}};
    for (const auto& r : rows) {
        frame_->ShowTab(MainFrameWnd::kHomeTab);
        for (int i = 0; i < MainFrameWnd::kTabCount; ++i) page(i).Clear();
        ASSERT_TRUE(::PostMessageW(hwnd(), r.msg, 0, 1007));
        ASSERT_TRUE(wintest::PumpUntil([&] { return page(1).Count(r.name) == 1; }, 3000));
        EXPECT_EQ(1, frame_->SelectedTab());
        EXPECT_EQ(1007, page(1).Last(r.name)->lParam);
        EXPECT_EQ(0, page(6).Count(r.name));
    }
}

TEST_F(OwnMessages, CachedIconsReachALiveIconLabel) {
    Services();
    SoftMap ids;
    ids[1003];
    ASSERT_TRUE(SoftInfoMgr::Instance().FetchSofts(&ids, false));
    SoftInfoMgr::Instance().SetIconPath(1003, L"C:\\icons\\1003.png");
    Open();
    for (UINT msg : {WM_COLLECT_ICON_READY, WM_SCHEME_SOFT_ICON_READY}) {
        UiToolkit::CLabelUI label;
        LiveTargetRegistration registration;
        LiveTarget target;
        target.cls = TargetClass::kIconControl;
        target.control = &label;
        registration.Set(&label, target);
        EXPECT_TRUE(frame_->Dispatch(msg, 1003, reinterpret_cast<LPARAM>(&label)));
        EXPECT_EQ(L"C:\\icons\\1003.png", std::wstring(label.GetBkImage().GetData()));
        // No control, an unknown software, a label that is gone: nothing.
        EXPECT_TRUE(frame_->Dispatch(msg, 1003, 0));
        EXPECT_TRUE(frame_->Dispatch(msg, 999999, reinterpret_cast<LPARAM>(&label)));
        registration.Reset();
        label.SetBkImage(L"");
        EXPECT_TRUE(frame_->Dispatch(msg, 1003, reinterpret_cast<LPARAM>(&label)));
        EXPECT_EQ(L"", std::wstring(label.GetBkImage().GetData()));
    }
}

}  // namespace
