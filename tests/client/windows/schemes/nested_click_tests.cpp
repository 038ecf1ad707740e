// Every button of the client's rows whose click runs a nested loop (a
// message box, a loading window, a dialog): the row's list is emptied
// while that loop runs, with freed memory poisoned. The click is real
// mouse input through the main window, so the button's own event is on
// the stack when the loop returns into it.
#include <functional>
#include <string>

#include "client/core/reports/login_session.h"
#include "client/windows/favourites/collect_item.h"
#include "client/windows/favourites/my_collect.h"
#include "client/windows/home/home_page.h"
#include "client/windows/login/login_windows.h"
#include "tests/client/windows/schemes/schemes_fixture.h"
#include "uitoolkit/controls/container.h"
#include "uitoolkit/layouts/tab_layout.h"

namespace {

class NestedClicks : public SchemesTest {
public:
    MyCollect* Favourites() {
        UiToolkit::CControlUI* page = frame_->PageOfTab(MainFrameWnd::kHomeTab);
        HomePage* home = page ? static_cast<HomePage*>(page->FindInterface(L"HomePage")) : nullptr;
        UiToolkit::CTabLayoutUI* tabs = home ? home->TabSwitch() : nullptr;
        if (!tabs || tabs->GetCount() < 2) return nullptr;
        auto* holder = static_cast<UiToolkit::IContainerUI*>(tabs->GetItemAt(1)->FindInterface(L"IContainer"));
        UiToolkit::CControlUI* first = holder && holder->GetCount() ? holder->GetItemAt(0) : nullptr;
        return first ? static_cast<MyCollect*>(first->FindInterface(L"MyCollect")) : nullptr;
    }
    CollectItem* FavouriteRow() {
        ShowHome();
        PlainGet(services_->port(), "/_user/favourites?account=kelvora&ids=1004");
        wintest::ClickControl(frame_->GetHWND(), frame_->Find(L"my_collect"));
        EXPECT_TRUE(wintest::PumpUntil(
            [&] { return Favourites() && Favourites()->List() && Favourites()->List()->GetCount() > 0; },
            10000));
        wintest::PumpUntil([] { return wintest::CountOwnWindows(L"loading_wnd") == 0; }, 10000);
        wintest::Pump(200);
        UiToolkit::CControlUI* row = Favourites()->List()->GetItemAt(0);
        return static_cast<CollectItem*>(row->FindInterface(L"CollectItem"));
    }
    SoftListItem* CatalogueRow() {
        frame_->ShowTab(0);
        Page* page = PageOf(0);
        Send(page, L"refresh_content", nullptr);
        EXPECT_TRUE(WaitRows(page, 16));
        wintest::Pump(200);
        return Row(page, 2);
    }
    void ShowHome() {
        frame_->ShowTab(MainFrameWnd::kHomeTab);
        wintest::ClickControl(frame_->GetHWND(), frame_->Find(L"my_scheme"));
        wintest::Pump(200);
    }
    MySchemeItem* SchemeRowShown() {
        ShowHome();
        Schemes()->PageSwitch()->SelectItem(0);
        SendToPage(L"refresh_content_scheme_soft", nullptr);
        EXPECT_TRUE(wintest::PumpUntil([&] { return SchemeRows() == 2; }, 10000));
        wintest::PumpUntil([] { return wintest::CountOwnWindows(L"loading_wnd") == 0; }, 10000);
        wintest::Pump(200);
        return SchemeNamed(L"办公必备");
    }
    SchemeSoftItem* SchemeSoftRowShown() {
        MySchemeItem* scheme = SchemeRowShown();
        OpenScheme(scheme, 2);
        wintest::PumpUntil([] { return wintest::CountOwnWindows(L"loading_wnd") == 0; }, 10000);
        wintest::Pump(200);
        return SoftRow(0);
    }
};

struct Shown {
    UiToolkit::CControlUI* button;
    UiToolkit::CControlUI* row;
};

struct NestedClick {
    const char* place;
    bool logged_in;
    std::function<Shown(NestedClicks&)> show;
    // The window the click opens, and the button that closes it (none: it
    // closes itself once the held-back service answer has come).
    const wchar_t* window;
    const wchar_t* close;
};

}  // namespace

TEST_F(NestedClicks, AClickSurvivesItsRowsListBeingEmptiedInsideTheLoopItOpens) {
    Open();
    ASSERT_TRUE(WaitRows(PageOf(0), 16));
    const NestedClick cases[] = {
        {"catalogue row 收藏, logged out", false,
         [](NestedClicks& t) { SoftListItem* r = t.CatalogueRow(); return Shown{r->CollectButton(), r}; },
         L"message_wnd", L"msg_ok_btn"},
        {"catalogue row 收藏, logged in", true,
         [](NestedClicks& t) { SoftListItem* r = t.CatalogueRow(); return Shown{r->CollectButton(), r}; },
         L"loading_wnd", nullptr},
        {"scheme row open", true,
         [](NestedClicks& t) { MySchemeItem* r = t.SchemeRowShown(); return Shown{r->LookButton(), r}; },
         L"loading_wnd", nullptr},
        {"scheme row rename", true,
         [](NestedClicks& t) { MySchemeItem* r = t.SchemeRowShown(); return Shown{r->ModifyButton(), r}; },
         L"add_scheme_wnd", L"cancel_btn"},
        {"scheme's software row delete", true,
         [](NestedClicks& t) { SchemeSoftItem* r = t.SchemeSoftRowShown(); return Shown{r->Tree().del, r}; },
         L"loading_wnd", nullptr},
        {"scheme row delete (the service deletes it: after the rows that need it)", true,
         [](NestedClicks& t) { MySchemeItem* r = t.SchemeRowShown(); return Shown{r->DeleteButton(), r}; },
         L"loading_wnd", nullptr},
        {"favourites row add to scheme", true,
         [](NestedClicks& t) { CollectItem* r = t.FavouriteRow(); return Shown{r->Tree().add_scheme, r}; },
         L"add_scheme_soft", L"cancel_btn"},
    };
    bool logged_in = false;
    for (const NestedClick& c : cases) {
        SCOPED_TRACE(c.place);
        if (c.logged_in && !logged_in) {
            ASSERT_EQ(LoginSession::kLoggedIn, LoginWithTypedAccount(L"kelvora", L"secret", false, false));
            logged_in = true;
        }
        Shown shown = c.show(*this);
        ASSERT_NE(nullptr, shown.button);
        ASSERT_TRUE(shown.button->IsVisible());
        auto* list = static_cast<UiToolkit::IContainerUI*>(shown.row->GetParent()->FindInterface(L"IContainer"));
        ASSERT_NE(nullptr, list);

        // The loading windows' answers are held back, so their loops run
        // while the test acts in them.
        if (!c.close) Fault("delay", "/userservice.aspx", -1, "1.5");
        bool acted = false, freed_in_loop = true;
        wintest::WhenWindowAppears(c.window, [&](HWND, UiToolkit::WindowImplBase* w) {
            list->RemoveAll();
            // The deferred deletion is dispatched by this loop.
            wintest::Pump(200);
            freed_in_loop = wintest::WatchedDeleted();
            acted = true;
            if (c.close) wintest::ClickNamed(w, c.close);
        }, 15000);
        wintest::WatchDelete(shown.button);
        wintest::QuarantineFrees(true);
        wintest::ClickControl(frame_->GetHWND(), shown.button);
        const bool done = wintest::PumpUntil([&] { return acted && wintest::CountOwnWindows(c.window) == 0; }, 20000);
        // Once its event has returned the button goes.
        const bool freed = wintest::PumpUntil([] { return wintest::WatchedDeleted(); }, 5000);
        wintest::QuarantineFrees(false);
        services_->Reset();
        ASSERT_TRUE(done);
        EXPECT_FALSE(freed_in_loop);
        EXPECT_TRUE(freed);
        EXPECT_TRUE(::IsWindow(frame_->GetHWND()));
        EXPECT_EQ(0, frame_->manager().DispatchDepth());
    }
}
