// Tabs: one page receiver at a time, through every road that shows a tab;
// the refresh button; the way back from the download centre; and the
// login button's states.
#include "client/core/reports/login_session.h"
#include "client/core/settings/conf_mgr.h"
#include "client/windows/main/main_frame_flags.h"
#include "client/windows/main/main_frame_texts.h"
#include "client/windows/main_frame_messages.h"
#include "tests/client/windows/main/main_frame_fixture.h"
#include "uitoolkit/controls/option.h"

namespace {

const wchar_t* const kTabButtons[5] = {L"necessary_switch", L"market_switch", L"uninstall_switch",
                                       L"scheme_switch", L"tools_switch"};

class Tabs : public MainFrameTest {
protected:
    void ClickAndWait(const wchar_t* name) {
        wintest::ClickControl(hwnd(), frame_->Find(name));
        wintest::Pump(150);
    }
    bool RefreshVisible() { return frame_->Find(L"refresh_btn")->IsVisible(); }
};

TEST_F(Tabs, WindowInitReachesPageZeroAndRegistersItAlone) {
    Open();
    EXPECT_EQ(1, page(0).Count(L"windowinit"));
    for (int i = 1; i < MainFrameWnd::kTabCount; ++i) EXPECT_EQ(0, page(i).Count(L"windowinit")) << i;
    EXPECT_EQ(0, frame_->SelectedTab());
    EXPECT_EQ("0", PagesReached());
    EXPECT_TRUE(RefreshVisible());
}

// Only tab 0's page is built with the window. Each other page is built the
// first time it is needed, whichever road needs it (a tab button, a shown
// tab, a notification for the hidden home page), in its tab's place, and
// from then on is the one page of that tab.
TEST_F(Tabs, HiddenPagesAreBuiltWhenFirstNeeded) {
    defer_pages_ = true;
    Open();
    EXPECT_EQ(1, page(0).Count(L"windowinit"));
    EXPECT_TRUE(frame_->PageBuilt(0));
    for (int i = 1; i < MainFrameWnd::kTabCount; ++i) {
        EXPECT_EQ(nullptr, frame_->pages[i]) << i;
        EXPECT_FALSE(frame_->PageBuilt(i)) << i;
    }
    const struct {
        const char* road;
        int tab;
        std::function<void()> need;
        bool shown;
    } roads[] = {
        {"tab button", 3, [&] { ClickAndWait(kTabButtons[3]); }, true},
        {"download centre button", 5, [&] { ClickAndWait(L"download_mgr_btn"); }, true},
        {"hidden home page told of a login", 6, [&] { frame_->PageOfTab(MainFrameWnd::kHomeTab); }, false},
        {"tab button again", 3, [&] { ClickAndWait(kTabButtons[3]); }, true},
    };
    for (const auto& r : roads) {
        wintest::RecordingPage* before = frame_->pages[r.tab];
        r.need();
        wintest::RecordingPage* built = frame_->pages[r.tab];
        ASSERT_NE(nullptr, built) << r.road;
        if (before) {
            EXPECT_EQ(before, built) << r.road << ": built twice";
        }
        EXPECT_TRUE(frame_->PageBuilt(r.tab)) << r.road;
        EXPECT_EQ(static_cast<UiToolkit::CControlUI*>(built), frame_->PageOfTab(r.tab)) << r.road;
        EXPECT_EQ(r.shown, built->IsVisible()) << r.road;
        if (r.shown) {
            EXPECT_EQ(r.tab, frame_->SelectedTab()) << r.road;
            EXPECT_EQ(static_cast<UiToolkit::INotifyUI*>(built), frame_->PageReceiver()) << r.road;
            if (!before) {
                EXPECT_EQ(1, built->Count(L"tabselect")) << r.road;
            }
        }
    }
    // Tabs never needed are still not built.
    for (int i : {1, 2, 4}) EXPECT_FALSE(frame_->PageBuilt(i)) << i;
}

TEST_F(Tabs, TabButtonsSwitchTheReceiverAndTheShownTabAgainDoesNothing) {
    Open();
    const struct {
        int tab;
        int return_tab;  // the installed-programs tab leaves it as it was
    } steps[] = {{1, 1}, {3, 3}, {4, 4}, {2, 4}, {0, 0}};
    for (const auto& s : steps) {
        page(s.tab).Clear();
        ClickAndWait(kTabButtons[s.tab]);
        EXPECT_EQ(s.tab, frame_->SelectedTab());
        EXPECT_EQ(1, page(s.tab).Count(L"tabselect")) << s.tab;
        EXPECT_EQ(std::string(1, static_cast<char>('0' + s.tab)), PagesReached()) << s.tab;
        EXPECT_EQ(s.return_tab, frame_->ReturnTab()) << s.tab;
    }
    // Clicking the shown tab again: no re-registration, no "tabselect".
    page(0).Clear();
    ClickAndWait(kTabButtons[0]);
    EXPECT_EQ(0, page(0).Count(L"tabselect"));
    EXPECT_EQ("0", PagesReached());
}

TEST_F(Tabs, TheRefreshButtonIsShownOnCataloguePagesOnly) {
    Open();
    const bool visible[MainFrameWnd::kTabCount] = {true, true, false, true, true, false, false};
    for (int tab : {6, 5, 4, 3, 2, 1, 0}) {
        frame_->ShowTab(tab);
        EXPECT_EQ(visible[tab], RefreshVisible()) << tab;
        EXPECT_EQ(tab, frame_->SelectedTab());
        EXPECT_EQ(std::string(1, static_cast<char>('0' + tab)), PagesReached()) << tab;
    }
    // Its click asks the shown page, and only it, to reload.
    frame_->ShowTab(3);
    for (int i = 0; i < MainFrameWnd::kTabCount; ++i) page(i).Clear();
    ClickAndWait(L"refresh_btn");
    EXPECT_EQ(1, page(3).Count(L"refresh_content"));
    EXPECT_EQ(frame_->Find(L"refresh_btn"), page(3).Last(L"refresh_content")->sender);
    for (int i : {0, 1, 2, 4, 5, 6}) EXPECT_EQ(0, page(i).Count(L"refresh_content")) << i;
}

TEST_F(Tabs, BackFromTheDownloadCentreReturnsWhereItCameFrom) {
    Open();
    struct Case {
        const char* what;
        std::function<void()> show_first;
        int expected;
    } cases[] = {
        {"from tab 2", [&] { ClickAndWait(kTabButtons[2]); }, 2},
        {"from tab 6", [&] {
             frame_->Button(L"login_btn")->SetText(MainFrameTexts::kMyHome);
             ClickAndWait(L"login_btn");
         }, 6},
        {"from tab 4", [&] { ClickAndWait(kTabButtons[4]); }, 4},
    };
    for (const Case& c : cases) {
        c.show_first();
        ClickAndWait(L"download_mgr_btn");
        EXPECT_EQ(5, frame_->SelectedTab()) << c.what;
        EXPECT_EQ("5", PagesReached()) << c.what;
        EXPECT_FALSE(RefreshVisible()) << c.what;
        // The download centre's back button queues this on the main manager.
        frame_->manager().EmitNotify(nullptr, L"back_from_download_page", 0, 0, true);
        Drain();
        EXPECT_EQ(c.expected, frame_->SelectedTab()) << c.what;
        EXPECT_EQ(std::string(1, static_cast<char>('0' + c.expected)), PagesReached()) << c.what;
    }
}

// The tab buttons show the shown tab on every road: none is selected while
// the download centre or the home page (which have no button) is shown, and
// the roads that come back select the right one without a "selectchanged",
// which a catalogue page would take as its first showing and load.
TEST_F(Tabs, TheSelectedTabButtonIsTheShownTabs) {
    Open();
    auto selected = [&] {
        std::string which;
        for (int i = 0; i < 5; ++i)
            if (static_cast<UiToolkit::COptionUI*>(frame_->Find(kTabButtons[i]))->IsSelected())
                which += static_cast<char>('0' + i);
        return which.empty() ? std::string("none") : which;
    };
    auto selectchanged = [&] {
        int n = 0;
        for (int i = 0; i < MainFrameWnd::kTabCount; ++i) n += page(i).Count(L"selectchanged");
        return n;
    };
    EXPECT_EQ("0", selected());
    const struct {
        const char* road;
        std::function<void()> go;
        int tab;
        const char* buttons;
        int selectchanged;  // reaching the pages
    } roads[] = {
        {"login button to the home page", [&] {
             frame_->Button(L"login_btn")->SetText(MainFrameTexts::kMyHome);
             ClickAndWait(L"login_btn");
         }, 6, "none", 0},
        {"tab button 3 from the home page", [&] { ClickAndWait(kTabButtons[3]); }, 3, "3", 1},
        {"download centre", [&] { ClickAndWait(L"download_mgr_btn"); }, 5, "none", 0},
        {"back from the download centre", [&] {
             frame_->manager().EmitNotify(nullptr, L"back_from_download_page", 0, 0, true);
             Drain();
         }, 3, "3", 0},
        {"home page, then a favourite's detail", [&] {
             frame_->ShowTab(6);
             ::PostMessageW(hwnd(), WM_CLICK_DETAIL_ON_COLLECT, 0, 1001);
             wintest::PumpUntil([&] { return page(1).Count(L"click_detail_on_collect") == 1; }, 3000);
         }, 1, "1", 0},
        {"switch back to the home page", [&] {
             frame_->manager().EmitNotify(nullptr, L"switch_back_to_homepage", 0, 0, true);
             Drain();
         }, 6, "none", 0},
        {"logout", [&] {
             ::PostMessageW(hwnd(), WM_LOGOUT, 0, 0);
             wintest::PumpUntil([&] { return frame_->SelectedTab() == 0; }, 3000);
         }, 0, "0", 0},
    };
    for (const auto& r : roads) {
        for (int i = 0; i < MainFrameWnd::kTabCount; ++i) page(i).Clear();
        r.go();
        EXPECT_EQ(r.tab, frame_->SelectedTab()) << r.road;
        EXPECT_EQ(r.buttons, selected()) << r.road;
        EXPECT_EQ(r.selectchanged, selectchanged()) << r.road;
    }
}

TEST_F(Tabs, ABroadcastReachesOnlyTheShownPage) {
    Open();
    for (int tab : {5, 1}) {
        frame_->ShowTab(tab);
        for (int i = 0; i < MainFrameWnd::kTabCount; ++i) page(i).Clear();
        ::PostMessageW(hwnd(), WM_CLICK_SOFT_DETAIL, 0, 1001);
        ASSERT_TRUE(wintest::PumpUntil([&] { return page(tab).Count(L"click_soft_detail") == 1; }, 3000));
        for (int i = 0; i < MainFrameWnd::kTabCount; ++i)
            if (i != tab) EXPECT_EQ(0, page(i).Count(L"click_soft_detail")) << i;
    }
}

// A shown page is a receiver of the main manager: replaced and deleted,
// it is no longer one, and the next notification (freed memory poisoned)
// reaches only what is left.
TEST_F(Tabs, AShownPageThatIsReplacedLeavesTheReceivers) {
    Open();
    frame_->ShowTab(MainFrameWnd::kDownloadCenterTab);
    Drain();
    wintest::RecordingPage* shown = &page(MainFrameWnd::kDownloadCenterTab);
    ASSERT_EQ(std::string(1, static_cast<char>('0' + MainFrameWnd::kDownloadCenterTab)), PagesReached());
    const int receivers = frame_->manager().NotifyReceiverCount();
    auto* holder = static_cast<UiToolkit::IContainerUI*>(shown->GetParent()->FindInterface(L"IContainer"));
    ASSERT_TRUE(holder);
    wintest::QuarantineFrees(true);
    wintest::WatchDelete(shown);
    holder->Remove(shown);
    frame_->pages[MainFrameWnd::kDownloadCenterTab] = nullptr;
    const bool deleted = wintest::PumpUntil([] { return wintest::WatchedDeleted(); }, 5000);
    EXPECT_EQ(receivers - 1, frame_->manager().NotifyReceiverCount());
    frame_->manager().EmitNotify(nullptr, L"after_the_page");
    Drain();
    wintest::QuarantineFrees(false);
    EXPECT_TRUE(deleted);
}

TEST_F(Tabs, HomePageRefreshesAreHandedOnOnlyWhenItIsNotShown) {
    Open();
    for (int shown : {0, 6}) {
        frame_->ShowTab(shown);
        page(6).Clear();
        frame_->manager().EmitNotify(nullptr, L"refresh_content_scheme_soft", 0, 0, true);
        frame_->manager().EmitNotify(nullptr, L"refresh_content_collect_soft", 0, 0, true);
        Drain();
        EXPECT_EQ(1, page(6).Count(L"refresh_content_scheme_soft")) << shown;
        EXPECT_EQ(1, page(6).Count(L"refresh_content_collect_soft")) << shown;
    }
    frame_->ShowTab(1);
    MainFrameFlags::SetOpenedFromHome(true);
    frame_->manager().EmitNotify(nullptr, L"switch_back_to_homepage", 0, 0, true);
    Drain();
    EXPECT_EQ(6, frame_->SelectedTab());
    EXPECT_EQ("6", PagesReached());
    EXPECT_FALSE(MainFrameFlags::OpenedFromHome());
}

class LoginButton : public MainFrameTest {
protected:
    UiToolkit::CButtonUI* button() { return frame_->Button(L"login_btn"); }
    std::wstring text() { return button()->GetText().GetData(); }
};

TEST_F(LoginButton, AtStartUp) {
    // The start-up auto-login sends the stored account to the login host.
    ::SetEnvironmentVariableW(L"VANTREL_LOGIN_HOST", Services().host().c_str());
    const struct {
        bool auto_login;
        const wchar_t* password;  // stored for the services' sample user "kelvora"
        int state_after;
        bool disabled_at_first;
        const wchar_t* text_after;
        int login_posts;  // reaching the home page, which is not shown
    } cases[] = {
        {false, L"secret", LoginSession::kNotLoggedIn, false, MainFrameTexts::kLogin, 0},
        {true, L"wrong", LoginSession::kNotLoggedIn, true, MainFrameTexts::kLogin, 0},
        {true, L"secret", LoginSession::kLoggedIn, true, MainFrameTexts::kMyHome, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.password);
        MainFrameFlags::ResetForTests();
        LoginSession::Instance().set_state(LoginSession::kNotLoggedIn);
        ConfMgr::SetAutoLogin(c.auto_login);
        ConfMgr::SetUser(L"kelvora");
        ConfMgr::SetPassword(c.password);
        Services().Reset();
        frame_ = new TestMainFrame(false);
        ASSERT_TRUE(frame_->Create(nullptr, L"Kelvora", 0, 0, 0, 0, 890, 635));
        // Until the auto-login reports, the button waits.
        EXPECT_EQ(c.disabled_at_first, !button()->IsEnabled()) << c.auto_login;
        EXPECT_EQ(MainFrameTexts::kLogin, text());
        ASSERT_TRUE(wintest::PumpUntil([&] { return button()->IsEnabled(); }, 15000));
        wintest::Pump(100);
        EXPECT_EQ(c.text_after, text()) << c.auto_login;
        EXPECT_EQ(c.state_after, LoginSession::Instance().state());
        EXPECT_EQ(c.auto_login ? 1u : 0u, Services().Log().size());
        // An accepted auto-login is announced to the home page itself; the
        // shown tab stays.
        EXPECT_EQ(c.login_posts, page(6).Count(L"login_post"));
        EXPECT_EQ(c.login_posts == 1, MainFrameFlags::LoginAnnounced());
        EXPECT_EQ(0, frame_->SelectedTab());
        for (int i = 0; i < 6; ++i) EXPECT_EQ(0, page(i).Count(L"login_post")) << i;
        if (c.login_posts) {
            EXPECT_EQ(frame_->Find(L"help_btn"), page(6).Last(L"login_post")->sender);
            // Announced once per login.
            ::PostMessageW(hwnd(), WM_AUTO_LOGIN_DONE, 0, 0);
            wintest::Pump(100);
            EXPECT_EQ(1, page(6).Count(L"login_post"));
        }
        Close();
    }
    ConfMgr::SetUser(L"");
    ConfMgr::SetPassword(L"");
}

TEST_F(LoginButton, LoginLogoutAndLoginAgain) {
    ConfMgr::SetAutoLogin(true);
    Open();
    // The start-up auto-login (nothing stored: nothing sent) answers first.
    ASSERT_TRUE(wintest::PumpUntil([&] { return button()->IsEnabled(); }, 10000));
    struct Step {
        const char* what;
        int state;      // set before the message
        UINT msg;
        const wchar_t* text;
        int tab;
        int login_posts;  // reaching the home page so far
    } steps[] = {
        {"a failed login", LoginSession::kRejected, WM_LOGIN_SUCCEEDED, MainFrameTexts::kLogin, 6, 0},
        {"a login", LoginSession::kLoggedIn, WM_LOGIN_SUCCEEDED, MainFrameTexts::kMyHome, 6, 1},
        {"announced once", LoginSession::kLoggedIn, WM_LOGIN_SUCCEEDED, MainFrameTexts::kMyHome, 6, 1},
        {"logout", LoginSession::kLoggedIn, WM_LOGOUT, MainFrameTexts::kLogin, 0, 1},
        {"a second login", LoginSession::kLoggedIn, WM_LOGIN_SUCCEEDED, MainFrameTexts::kMyHome, 6, 2},
        {"login post", LoginSession::kLoggedIn, WM_LOGIN_POST, MainFrameTexts::kMyHome, 6, 3},
    };
    for (const Step& s : steps) {
        LoginSession::Instance().set_state(s.state);
        ASSERT_TRUE(::PostMessageW(hwnd(), s.msg, 0, 0));
        wintest::Pump(100);
        EXPECT_EQ(s.text, text()) << s.what;
        EXPECT_EQ(s.tab, frame_->SelectedTab()) << s.what;
        EXPECT_EQ(s.login_posts, page(6).Count(L"login_post")) << s.what;
        if (s.msg == WM_LOGOUT) {
            // The home page heard it at once, while it was still shown.
            EXPECT_EQ(1, page(6).Count(L"logout"));
            EXPECT_EQ(0, page(0).Count(L"logout"));
            EXPECT_EQ(LoginSession::kLoggedOut, LoginSession::Instance().state());
            EXPECT_FALSE(MainFrameFlags::LoginAnnounced());
        }
    }
    // The button's own roads: "我的管家" shows the home page.
    frame_->ShowTab(0);
    wintest::ClickControl(hwnd(), button());
    wintest::Pump(150);
    EXPECT_EQ(6, frame_->SelectedTab());
}

}  // namespace
