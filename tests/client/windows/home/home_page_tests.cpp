// The home page: what it tells its sub-pages when the home tab or one of
// its options is shown, the greeting after either login road, the log-out
// button, and skins that lack its controls.
#include <stdio.h>

#include "client/core/reports/login_session.h"
#include "client/windows/home/home_texts.h"
#include "client/windows/login/login_request.h"
#include "client/windows/main/main_frame_flags.h"
#include "client/windows/main_frame_messages.h"
#include "tests/client/windows/home/home_fixture.h"
#include "tests/support/test_support.h"
#include "uitoolkit/core/window_manager.h"

namespace {

const wchar_t* const kAnnouncements[] = {HomeTexts::kSwitchToScheme, HomeTexts::kSwitchToCollect,
                                         HomeTexts::kFetchCollect};

std::vector<std::wstring> AnnouncementsOf(const TypeRecorder& rec) {
    std::vector<std::wstring> out;
    for (const std::wstring& t : rec.types) {
        for (const wchar_t* a : kAnnouncements) {
            if (t == a) out.push_back(t);
        }
    }
    return out;
}

class HomePageTest : public HomeTest {
protected:
    void TearDown() override {
        if (frame_ && home()) home()->RemoveObserver(&rec_);
        HomeTest::TearDown();
    }
    void Watch() { home()->AddObserver(&rec_); }
    TypeRecorder rec_;
};

TEST_F(HomePageTest, ShowingTheHomeTabAnnouncesTheCurrentSubPage) {
    const struct {
        int sub_page;
        std::vector<std::wstring> expected;
    } cases[] = {
        {HomePage::kSchemePage, {HomeTexts::kSwitchToScheme, HomeTexts::kFetchCollect}},
        {HomePage::kCollectPage, {HomeTexts::kSwitchToCollect}},
    };
    for (const auto& c : cases) {
        Open();
        Watch();
        // Chosen quietly: the home page's own "tabselect" announces nothing.
        home()->TabSwitch()->SelectItem(c.sub_page);
        EXPECT_TRUE(AnnouncementsOf(rec_).empty()) << c.sub_page;
        rec_.types.clear();
        frame_->ShowTab(MainFrameWnd::kHomeTab);
        wintest::Pump(100);
        EXPECT_EQ(c.expected, AnnouncementsOf(rec_)) << c.sub_page;
        // The main window's "tabselect" is passed on as well.
        EXPECT_EQ(1, rec_.Count(L"tabselect")) << c.sub_page;
        home()->RemoveObserver(&rec_);
        rec_.types.clear();
        Close();
    }
}

TEST_F(HomePageTest, OptionsSwitchTheSubPageAndAnnounceItOnce) {
    Open();
    frame_->ShowTab(MainFrameWnd::kHomeTab);
    wintest::Pump(100);
    Watch();
    const struct {
        const wchar_t* option;
        int page;
        const wchar_t* announcement;
    } steps[] = {
        {L"my_collect", HomePage::kCollectPage, HomeTexts::kSwitchToCollect},
        {L"my_scheme", HomePage::kSchemePage, HomeTexts::kSwitchToScheme},
    };
    for (const auto& s : steps) {
        rec_.types.clear();
        wintest::ClickControl(hwnd(), frame_->Find(s.option));
        wintest::Pump(300);
        EXPECT_EQ(s.page, home()->TabSwitch()->GetCurSel()) << s.page;
        EXPECT_EQ(std::vector<std::wstring>{s.announcement}, AnnouncementsOf(rec_)) << s.page;
        // The option's own change reaches the sub-pages; its click does not.
        EXPECT_GE(rec_.Count(L"selectchanged"), 1) << s.page;
        EXPECT_EQ(0, rec_.Count(L"click")) << s.page;
    }
}

TEST_F(HomePageTest, AfterADialogLoginTheGreetingShowsTheAccountAsTyped) {
    const struct {
        const char* account;
        const char* password;
        const wchar_t* expected;
    } users[] = {
        {"kelvora", "secret", L"欢迎你 kelvora"},
        {"Zo\xC3\xAB Lin&Co+1 #\xE4\xB8\xAD\xE6\x96\x87", "p&ss w\xC3\xB6rd+#\xE4\xB8\xAD",
         L"欢迎你 Zo\x00EB Lin&Co+1 #\x4E2D\x6587"},
    };
    for (const auto& u : users) {
        // The dialog's road: the home tab is shown and hears "login_post".
        Open();
        ASSERT_TRUE(LogIn(u.account, u.password));
        EXPECT_EQ(MainFrameWnd::kHomeTab, frame_->SelectedTab());
        EXPECT_EQ(std::wstring(u.expected), Text(L"my_username"));
        Close();
        LoginSession::Instance().set_state(LoginSession::kNotLoggedIn);
        MainFrameFlags::ResetForTests();
    }
}

TEST_F(HomePageTest, AutoLoginGreetsWithoutShowingTheHomeTab) {
    Open();
    ASSERT_EQ(LoginResult::kAccepted, RequestLogin(L"demo", "demo"));
    LoginSession::Instance().set_state(LoginSession::kLoggedIn);
    frame_->Find(L"login_btn")->SetEnabled(false);
    ::PostMessageW(hwnd(), WM_AUTO_LOGIN_DONE, 0, 0);
    wintest::Pump(200);
    EXPECT_EQ(L"欢迎你 demo", Text(L"my_username"));
    EXPECT_EQ(0, frame_->SelectedTab());
}

TEST_F(HomePageTest, LoginPostWhileLoggedOutChangesNothing) {
    Open();
    frame_->ShowTab(MainFrameWnd::kHomeTab);
    UiToolkit::TUiNotify note;
    note.sType = L"login_post";
    note.pSender = nullptr;
    home()->Notify(note);
    EXPECT_EQ(L"", Text(L"my_username"));
    EXPECT_EQ(HomePage::kSchemePage, home()->TabSwitch()->GetCurSel());
}

TEST_F(HomePageTest, TheLogOutButtonLogsOutAndShowsTabZero) {
    Open();
    ASSERT_TRUE(LogIn("kelvora", "secret"));
    wintest::ClickControl(hwnd(), frame_->Find(L"my_loginout_btn"));
    wintest::Pump(300);
    EXPECT_EQ(LoginSession::kLoggedOut, LoginSession::Instance().state());
    EXPECT_EQ(0, frame_->SelectedTab());
    EXPECT_EQ(L"登陆", Text(L"login_btn"));
}

// Skins that lack a control the page binds, or hold it as another class:
// logged, and the page does without it.
TEST_F(HomePageTest, ABrokenSkinIsLoggedAndNothingBreaks) {
    const std::wstring dist = wintest::DistSkinFolder();
    const struct {
        const char* what;
        const char* body;
        const char* logged;
    } skins[] = {
        {"no tab layout",
         "<Window><VerticalLayout><Option name=\"my_scheme\"/><Option name=\"my_collect\"/>"
         "<Button name=\"my_username\"/><Button name=\"my_loginout_btn\"/></VerticalLayout></Window>",
         "home_page_tab_switch"},
        {"greeting as a label",
         "<Window><VerticalLayout><Option name=\"my_scheme\"/><Option name=\"my_collect\"/>"
         "<Label name=\"my_username\"/><Button name=\"my_loginout_btn\"/>"
         "<TabLayout name=\"home_page_tab_switch\"><HorizontalLayout><my_scheme/></HorizontalLayout>"
         "<HorizontalLayout><my_collect/></HorizontalLayout></TabLayout></VerticalLayout></Window>",
         "my_username"},
        {"empty tab pages",
         "<Window><VerticalLayout><Option name=\"my_scheme\"/><Option name=\"my_collect\"/>"
         "<Button name=\"my_username\"/><Button name=\"my_loginout_btn\"/>"
         "<TabLayout name=\"home_page_tab_switch\"><HorizontalLayout/></TabLayout></VerticalLayout></Window>",
         "sub-page"},
        {"a control for a root", "<Window><Button name=\"my_loginout_btn\"/></Window>", "container"},
    };
    const std::wstring folder = test_support::MakeTempDir(L"homeskin");
    for (const wchar_t* file : {L"skin.xml", L"my_collect.xml", L"loading_wnd.xml", L"loading.xml"})
        ::CopyFileW((dist + L"\\" + file).c_str(), (folder + L"\\" + file).c_str(), FALSE);
    UiToolkit::CWindowManagerUI::SetResourceFolder(folder.c_str());
    for (const auto& s : skins) {
        FILE* f = _wfopen((folder + L"\\new_home_page.xml").c_str(), L"wb");
        ASSERT_NE(nullptr, f);
        fputs(s.body, f);
        fclose(f);
        LogCapture log;
        Open();
        ASSERT_TRUE(LogIn("kelvora", "secret")) << s.what;
        if (frame_->Find(L"my_collect")) wintest::ClickControl(hwnd(), frame_->Find(L"my_collect"));
        frame_->ShowTab(0);
        frame_->ShowTab(MainFrameWnd::kHomeTab);
        wintest::Pump(200);
        EXPECT_NE(std::string::npos, log.Text().find(s.logged)) << s.what << "\n" << log.Text();
        Close();
        LoginSession::Instance().set_state(LoginSession::kNotLoggedIn);
        MainFrameFlags::ResetForTests();
    }
    wintest::UseDistSkin();
    test_support::RemoveTree(folder);
}

}  // namespace
