// The detail view's browser: what it navigates to and when, its host
// answers, skins that are broken, and a look at the whole view with the
// system's browser.
#include <gtest/gtest.h>

#include <algorithm>

#include "client/core/catalogue/soft_info_mgr.h"
#include "client/windows/detail/web.h"
#include "client/windows/main_frame_messages.h"
#include "tests/client/windows/detail/detail_fixture.h"
#include "tests/client/windows/support/window_test_support.h"
#include "tests/support/test_support.h"

namespace detailtest {
namespace {

std::string Narrow(const std::wstring& w) {
    std::string n;
    for (wchar_t c : w) n += static_cast<char>(c < 128 ? c : '?');
    return n;
}

std::string NavigationTo(int soft_id) { return "Navigate2 " + Narrow(Web::PageAddress(soft_id)); }

FakeBrowserRecord& Record() { return FakeBrowserRecord::Get(); }

TEST_F(DetailTest, TheBrowserGoesBlankTwiceThenToThePageThenOncePerSoftwareAndNothingAfterLeave) {
    ScriptedScan& scan = NewScan();
    scan.RunToEnd();
    Open(scan.mgr());
    EXPECT_EQ(nullptr, view().GetWeb());  // no browser before the first software
    ShowSoft(1001);
    std::vector<std::string> expected = {"Navigate2 about:blank", "Navigate2 about:blank", NavigationTo(1001)};
    EXPECT_EQ(expected, Record().Lines("Navigate2"));
    host().Back();
    ShowSoft(1002);
    expected.push_back(NavigationTo(1002));
    EXPECT_EQ(expected, Record().Lines("Navigate2"));
    ShowSoft(1003);  // straight from one software to another
    expected.push_back(NavigationTo(1003));
    EXPECT_EQ(expected, Record().Lines("Navigate2"));
    // One browser, made once, serves every visit.
    EXPECT_EQ(1u, Record().Lines("create").size());
    ASSERT_TRUE(view().GetWeb() && view().GetWeb()->Browser());
    EXPECT_EQ(1003, view().GetWeb()->SoftId());
    EXPECT_EQ(733, view().GetWeb()->Browser()->GetFixedWidth());

    // Left by the back button: the page hears it through the main window.
    wintest::ClickControl(hwnd(), view().BackButton());
    ASSERT_TRUE(PumpUntil([&] { return host().Count(L"back_to_soft_list_page") == 1; }));
    EXPECT_FALSE(host().shown());
    for (UINT message : {WM_PREPARE_ON_DETAIL, WM_CHECKED_ON_DETAIL, WM_FINAL_ON_DETAIL})
        ::PostMessageW(hwnd(), message, 1, reinterpret_cast<LPARAM>(&view()));
    wintest::ClickControl(hwnd(), view().DownloadButton());
    wintest::Pump(300);
    EXPECT_EQ(expected, Record().Lines("Navigate2"));
}

// The handler's host answer: no three-dimensional border, default
// double-click, success also without a record; the browser control hands
// the document's question to it.
TEST_F(DetailTest, TheBrowserAsksTheViewsHandlerForItsHostInfo) {
    ScriptedScan& scan = NewScan();
    scan.RunToEnd();
    Open(scan.mgr());
    ShowSoft(1001);
    UiToolkit::CWebBrowserUI* browser = view().GetWeb()->Browser();
    ASSERT_TRUE(browser && browser->GetEventHandler());
    DOCHOSTUIINFO info;
    memset(&info, 0xCD, sizeof info);
    info.pchHostCss = nullptr;
    info.pchHostNS = nullptr;
    EXPECT_EQ(S_OK, static_cast<IDocHostUIHandler*>(browser)->GetHostInfo(&info));
    EXPECT_EQ(sizeof(DOCHOSTUIINFO), info.cbSize);
    EXPECT_EQ(static_cast<DWORD>(DOCHOSTUIFLAG_NO3DBORDER), info.dwFlags);
    EXPECT_EQ(4u, info.dwFlags);
    EXPECT_EQ(static_cast<DWORD>(DOCHOSTUIDBLCLK_DEFAULT), info.dwDoubleClick);
    EXPECT_EQ(S_OK, browser->GetEventHandler()->GetHostInfo(nullptr));
    // Every other question keeps the default answer.
    EXPECT_EQ(S_OK, browser->GetEventHandler()->ShowContextMenu(0, nullptr, nullptr, nullptr));
}

// Two catalogue pages each hold a view built from the same skin in the one
// main window: each view drives the browser of its own skin.
TEST_F(DetailTest, EachViewDrivesItsOwnBrowser) {
    ScriptedScan& scan = NewScan();
    scan.RunToEnd();
    Open(scan.mgr());
    ShowSoft(1001);
    frame_->ShowTab(MainFrameWnd::kToolsTab);
    wintest::Pump(50);
    frame_->second_host->Open(1002);
    Web* first = view().GetWeb();
    Web* second = frame_->second_host->detail()->GetWeb();
    ASSERT_TRUE(first && second && first->Browser() && second->Browser());
    EXPECT_NE(first->Browser(), second->Browser());
    for (Web* web : {first, second}) {
        bool inside = false;
        for (UiToolkit::CControlUI* c = web->Browser(); c; c = c->GetParent()) inside = inside || c == web;
        EXPECT_TRUE(inside);
    }
    EXPECT_EQ(2u, Record().Lines("create").size());
    const std::vector<std::string> navigations = Record().Lines("Navigate2");
    EXPECT_EQ(1, std::count(navigations.begin(), navigations.end(), NavigationTo(1002)));
    frame_->second_host->Back();
}

// A view destroyed while its browser is shown leaves nothing of the
// browser behind: the object is gone and its events unadvised.
TEST_F(DetailTest, ADestroyedViewTakesItsBrowserWithIt) {
    ScriptedScan& scan = NewScan();
    scan.RunToEnd();
    Open(scan.mgr());
    ShowSoft(1001);
    ASSERT_EQ(1, Record().LiveObjects());
    host().DestroyDetail();
    wintest::Pump(100);
    EXPECT_EQ(0, Record().LiveObjects());
    EXPECT_EQ(0, Record().OpenAdvises());
}

// A broken detail skin leaves the view without a page, with a log line;
// the rest of the view works, visit after visit.
TEST_F(DetailTest, ABrokenDetailSkinShowsNoPageAndSaysWhy) {
    struct Case {
        const wchar_t* skin;
        const char* logged;
        bool browser;  // a browser control is found (but has no object)
    } cases[] = {
        {L"missing_detail.xml", "could not be built", false},
        {L"<Window><HorizontalLayout>", "could not be built", false},
        {L"<Window><Button name=\"ie\"/></Window>", "is not a container", false},
        {L"<Window><HorizontalLayout><Label/></HorizontalLayout></Window>", "holds no control named", false},
        {L"<Window><HorizontalLayout><Label name=\"ie\"/></HorizontalLayout></Window>", "is not a WebBrowser", false},
        {L"<Window><HorizontalLayout><WebBrowser name=\"ie\" clsid=\"{6B1C1F10-2B1E-4C1A-9D41-5100000000AA}\" "
         L"delaycreate=\"false\"/></HorizontalLayout></Window>",
         nullptr, true},
    };
    for (const Case& c : cases) {
        ScriptedScan& scan = NewScan();
        scan.RunToEnd();
        Web::SetSkinForTests(c.skin);
        Open(scan.mgr());
        ShowSoft(1001);
        ShowSoft(1002);
        EXPECT_EQ(L"下载", ButtonText());
        ASSERT_TRUE(view().GetWeb());
        EXPECT_EQ(c.browser, view().GetWeb()->Browser() != nullptr);
        if (c.browser) { EXPECT_EQ(nullptr, view().GetWeb()->Browser()->GetWebBrowser2()); }
        EXPECT_TRUE(Record().Lines("Navigate2").empty());
        if (c.logged) { EXPECT_NE(std::string::npos, LogSinceStart().find(c.logged)) << c.logged; }
        host().Back();
        Close();
    }
    Web::SetSkinForTests(FakeBrowserSkin().c_str());
}

// The whole view with the system's browser (Wine shows no page in it).
// DETAIL_SHOT=<file.bmp> saves a picture of the window.
TEST_F(DetailTest, TheViewWithTheSystemsBrowser) {
    ScriptedScan& scan = NewScan({{1005, true}});
    scan.RunToEnd();
    Web::SetSkinForTests(nullptr);  // the program folder's detail.xml
    Open(scan.mgr());
    services_->Fault("wrong_json", "/UserService.aspx", 1, R"({"error":"noerror","nums":"128","score":"86"})");
    ShowSoft(1005);
    Web::SetSkinForTests(FakeBrowserSkin().c_str());
    ASSERT_TRUE(view().GetWeb() && view().GetWeb()->Browser());
    EXPECT_NE(nullptr, view().GetWeb()->Browser()->GetWebBrowser2());
    EXPECT_EQ(L"升级", ButtonText());
    EXPECT_EQ(4, FullStars(view().AverageStars()));
    wintest::Pump(500);
    std::string shot = test_support::Env("DETAIL_SHOT");
    if (!shot.empty()) { EXPECT_TRUE(wintest::SaveWindowShot(hwnd(), shot.c_str())); }
}

}  // namespace
}  // namespace detailtest
