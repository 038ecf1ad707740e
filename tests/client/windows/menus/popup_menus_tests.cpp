// The popup menus as windows: an item posts its command to the main window
// and closes the menu; Escape, and focus going elsewhere (a click outside),
// close it without a command, also while the main window is hidden; the
// wheel does nothing; a broken menu skin closes the menu.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "client/core/startup/main_window_handle.h"
#include "client/windows/main_frame_messages.h"
#include "client/windows/menus/popup_menus.h"
#include "tests/client/windows/support/window_test_support.h"
#include "uitoolkit/core/control.h"

namespace {

// Stands in for the main window: records the commands posted to it.
class CommandSink : public UiToolkit::CWindowWnd {
public:
    std::vector<std::pair<UINT, LPARAM>> commands;

protected:
    const wchar_t* WindowClassName() const override { return L"MenuCommandSink"; }
    LRESULT ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_MENU_COMMAND || msg == WM_ADD_TO_SCHEME) commands.push_back({msg, lParam});
        return CWindowWnd::ProcessMessage(msg, wParam, lParam);
    }
};

class PopupMenus : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        wintest::UseDistSkin();
        main_ = new CommandSink;
        main_->Create(nullptr, L"main", WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW, 100, 100, 700, 500);
        PublishMainWindow(main_->GetHWND());
        other_ = new CommandSink;
        other_->Create(nullptr, L"other", WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW, 900, 100, 200, 200);
    }
    static void TearDownTestSuite() {
        ::DestroyWindow(main_->GetHWND());
        ::DestroyWindow(other_->GetHWND());
        delete main_;
        delete other_;
    }
    void SetUp() override {
        ::ShowWindow(main_->GetHWND(), SW_SHOWNA);
        main_->commands.clear();
    }

    // Opens `menu` for the main window at `screen`; its window.
    HWND Open(MenuWnd* menu, POINT screen, const wchar_t* cls) {
        menu->Popup(main_->GetHWND(), screen.x, screen.y);
        HWND hwnd = nullptr;
        EXPECT_TRUE(wintest::PumpUntil([&] { return (hwnd = wintest::FindOwnWindow(cls)) != nullptr; }, 3000));
        wintest::Pump(50);
        return hwnd;
    }
    bool Closes(HWND menu) {
        return wintest::PumpUntil([&] { return !::IsWindow(menu); }, 3000);
    }

    static CommandSink* main_;
    static CommandSink* other_;
};

CommandSink* PopupMenus::main_ = nullptr;
CommandSink* PopupMenus::other_ = nullptr;

TEST_F(PopupMenus, TrayAndSettingsItemsPostTheirCommands) {
    const struct {
        bool tray;
        const wchar_t* item;
        LPARAM command;
    } cases[] = {
        {true, L"menu_open", kMenuCommandOpen},       {true, L"menu_setting", kMenuCommandSetting},
        {true, L"menu_about", kMenuCommandAbout},     {true, L"menu_exit", kMenuCommandTrayExit},
        {false, L"menu_setting", kMenuCommandSetting}, {false, L"menu_about", kMenuCommandAbout},
    };
    for (const auto& c : cases) {
        main_->commands.clear();
        MenuWnd* menu = c.tray ? static_cast<MenuWnd*>(new TrayMenu) : new SettingMenu(POINT{300, 40});
        HWND hwnd = Open(menu, POINT{400, 140}, c.tray ? L"tray_menu" : L"setting_menu");
        ASSERT_TRUE(hwnd);
        UiToolkit::CControlUI* item = menu->Manager().FindControl(c.item);
        ASSERT_TRUE(item);
        wintest::ClickControl(hwnd, item);
        EXPECT_TRUE(Closes(hwnd));
        wintest::Pump(30);
        ASSERT_EQ(1u, main_->commands.size());
        EXPECT_EQ(WM_MENU_COMMAND, main_->commands[0].first);
        EXPECT_EQ(c.command, main_->commands[0].second);
    }
}

// Every item's text ends inside the menu's border, in the menu's font.
TEST_F(PopupMenus, ItemTextsStayInsideTheBorder) {
    const struct {
        std::function<MenuWnd*()> make;
        const wchar_t* cls;
        std::vector<const wchar_t*> items;
    } menus[] = {
        {[] { return new TrayMenu; }, L"tray_menu", {L"menu_open", L"menu_setting", L"menu_about", L"menu_exit"}},
        {[] { return new SettingMenu(POINT{300, 40}); }, L"setting_menu", {L"menu_setting", L"menu_about"}},
        {[] { return new MenuAddScheme(7); }, L"add_scheme_menu", {L"add_soft_to_scheme"}},
    };
    for (const auto& m : menus) {
        MenuWnd* menu = m.make();
        HWND hwnd = Open(menu, POINT{400, 140}, m.cls);
        ASSERT_TRUE(hwnd);
        RECT client;
        ::GetClientRect(hwnd, &client);
        const LONG border = 1;
        for (const wchar_t* name : m.items) {
            auto* item = static_cast<UiToolkit::IContainerUI*>(
                menu->Manager().FindControl(name)->FindInterface(L"IContainer"));
            ASSERT_TRUE(item && item->GetCount() == 1) << name;
            auto* label = static_cast<UiToolkit::CLabelUI*>(item->GetItemAt(0)->FindInterface(L"Label"));
            ASSERT_TRUE(label) << name;
            EXPECT_LE(wintest::TextOverrun(label, client.right - border), 0) << name;
        }
        wintest::PressKey(hwnd, VK_ESCAPE);
        EXPECT_TRUE(Closes(hwnd));
    }
    EXPECT_TRUE(main_->commands.empty());
}

TEST_F(PopupMenus, WhereTheyOpen) {
    HWND tray = Open(new TrayMenu, POINT{400, 300}, L"tray_menu");
    RECT rc;
    ::GetWindowRect(tray, &rc);
    EXPECT_EQ(400, rc.left);
    EXPECT_EQ(300, rc.top);
    EXPECT_EQ(100, rc.right - rc.left);
    EXPECT_EQ(106, rc.bottom - rc.top);
    EXPECT_TRUE(::GetWindowLongW(tray, GWL_EXSTYLE) & WS_EX_TOPMOST);
    wintest::PressKey(tray, VK_ESCAPE);
    EXPECT_TRUE(Closes(tray));

    // In the corner of the screen: up and left, onto the work area's edges.
    RECT work;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    tray = Open(new TrayMenu, POINT{work.right - 5, work.bottom - 5}, L"tray_menu");
    ::GetWindowRect(tray, &rc);
    EXPECT_EQ(work.right, rc.right);
    EXPECT_EQ(work.bottom, rc.bottom);
    wintest::PressKey(tray, VK_ESCAPE);
    EXPECT_TRUE(Closes(tray));

    // The settings menu: centred under a click at client y 5, from row 20.
    POINT client = {300, 5};
    POINT screen = client;
    ::ClientToScreen(main_->GetHWND(), &screen);
    ShowSettingMenu(main_->GetHWND(), client);
    HWND setting = nullptr;
    ASSERT_TRUE(wintest::PumpUntil([&] { return (setting = wintest::FindOwnWindow(L"setting_menu")) != nullptr; }, 3000));
    ::GetWindowRect(setting, &rc);
    EXPECT_EQ(screen.x - 50, rc.left);
    EXPECT_EQ(screen.y + 15, rc.top);
    EXPECT_EQ(58, rc.bottom - rc.top);
    wintest::PressKey(setting, VK_ESCAPE);
    EXPECT_TRUE(Closes(setting));
    EXPECT_TRUE(main_->commands.empty());
}

TEST_F(PopupMenus, FocusElsewhereClosesWithoutACommand) {
    for (bool main_hidden : {false, true}) {
        if (main_hidden) ::ShowWindow(main_->GetHWND(), SW_HIDE);
        main_->commands.clear();
        HWND menu = Open(new TrayMenu, POINT{300, 300}, L"tray_menu");
        ASSERT_TRUE(menu);
        EXPECT_EQ(menu, ::GetFocus()) << main_hidden;
        // The wheel over it changes nothing.
        ::SendMessageW(menu, WM_MOUSEWHEEL, MAKEWPARAM(0, -120), MAKELPARAM(320, 320));
        wintest::Pump(50);
        EXPECT_TRUE(::IsWindow(menu));
        // A click on another window moves the focus there.
        ::SetActiveWindow(other_->GetHWND());
        ::SetFocus(other_->GetHWND());
        EXPECT_TRUE(Closes(menu)) << main_hidden;
        wintest::Pump(30);
        EXPECT_TRUE(main_->commands.empty()) << main_hidden;
    }
}

TEST_F(PopupMenus, TheAddToSchemeMenuPostsItsSoftwareToTheMainWindow) {
    POINT client = {120, 200};
    ShowAddSchemeMenu(main_->GetHWND(), client, 1042);
    HWND menu = nullptr;
    ASSERT_TRUE(wintest::PumpUntil([&] { return (menu = wintest::FindOwnWindow(L"add_scheme_menu")) != nullptr; }, 3000));
    RECT rc;
    ::GetWindowRect(menu, &rc);
    POINT screen = client;
    ::ClientToScreen(main_->GetHWND(), &screen);
    EXPECT_EQ(screen.x, rc.left);
    EXPECT_EQ(screen.y, rc.top);
    EXPECT_EQ(92, rc.right - rc.left);
    wintest::ClickAt(menu, POINT{40, 14});
    EXPECT_TRUE(Closes(menu));
    wintest::Pump(30);
    ASSERT_EQ(1u, main_->commands.size());
    EXPECT_EQ(WM_ADD_TO_SCHEME, main_->commands[0].first);
    EXPECT_EQ(1042, main_->commands[0].second);
}

TEST_F(PopupMenus, AMenuWhoseSkinFailsClosesAndGoes) {
    MenuWnd* broken = new MenuWnd(L"no_such_menu.xml", L"broken_menu");
    wintest::WatchDelete(broken);
    broken->Popup(main_->GetHWND(), 100, 100);
    EXPECT_TRUE(wintest::PumpUntil([&] { return wintest::WatchedDeleted(); }, 3000));
    EXPECT_EQ(nullptr, wintest::FindOwnWindow(L"broken_menu"));
}

}  // namespace
