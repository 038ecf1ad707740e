// The favourites page: its order, its failures and their retry, removal,
// the detail button, what empties it, late answers for rows that are gone,
// and one load at a time.
#include <atomic>
#include <thread>

#include "client/core/reports/login_session.h"
#include "client/core/user_services/scheme_mgr.h"
#include "client/windows/favourites/collect_soft_fetch.h"
#include "client/windows/login/login_request.h"
#include "client/windows/main/main_frame_flags.h"
#include "client/windows/main_frame_messages.h"
#include "client/windows/schemes/add_scheme_soft.h"
#include "tests/client/windows/home/home_fixture.h"

namespace {

class MyCollectTest : public HomeTest {
protected:
    CollectItem* Row(int index) {
        UiToolkit::CListUI* list = CollectList();
        if (!list || index >= list->GetCount()) return nullptr;
        return static_cast<CollectItem*>(list->GetItemAt(index)->FindInterface(L"CollectItem"));
    }
    // A click on one of a row's buttons, as the page hands it on.
    void ClickRowButton(UiToolkit::CControlUI* button) {
        UiToolkit::TUiNotify note;
        note.sType = L"click";
        note.pSender = button;
        Favourites()->Notify(note);
    }
    // The programs of a scheme (the favourites are one) on the user service.
    std::string SchemeSofts(int collect_scheme) {
        Json::Value state;
        std::string body = PlainGet(services_->port(), "/_user/state");
        Json::CharReaderBuilder builder;
        std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
        reader->parse(body.data(), body.data() + body.size(), &state, nullptr);
        std::string out;
        for (const Json::Value& id : state["schemes"][std::to_string(collect_scheme)]["softs"])
            out += (out.empty() ? "" : ",") + std::to_string(id.asInt());
        return out;
    }
    // Scheme-list requests after the last addition to a scheme.
    int SchemeFetchesAfterTheAdd() {
        int n = -1;
        for (const Json::Value& entry : services_->Log()) {
            const std::string q = entry["raw_query"].asString();
            if (q.find("mod=addschemesoft") != std::string::npos) n = 0;
            else if (n >= 0 && q.find("mod=scheme&") != std::string::npos) ++n;
        }
        return n;
    }
    // User-service requests whose query holds "mod=" + `mod`.
    int UserRequests(const std::string& mod) {
        int n = 0;
        for (const Json::Value& entry : services_->Log())
            n += entry["raw_query"].asString().find("mod=" + mod) != std::string::npos;
        return n;
    }
    int CollectRequests() { return UserRequests("collect"); }
};

const int kKelvoraFavourites = 601;  // the sample user's favourites scheme

TEST_F(MyCollectTest, FavouritesAreListedInAscendingIdWhateverTheServiceOrder) {
    // 99999 has no catalogue record and drops out.
    SetFavourites("kelvora", "1010,99999,1003,1007");
    Open();
    ASSERT_TRUE(LogIn("kelvora", "secret"));
    ShowFavourites();
    EXPECT_EQ((std::vector<int>{1003, 1007, 1010}), RowIds());
    // Shown again with rows: nothing is fetched again.
    const int requests = CollectRequests();
    wintest::ClickControl(hwnd(), frame_->Find(L"my_scheme"));
    wintest::Pump(100);
    ShowFavourites();
    EXPECT_EQ(3u, RowIds().size());
    EXPECT_EQ(requests, CollectRequests());
}

TEST_F(MyCollectTest, AFailedFetchGivesAnEmptyListAndALogLineAndTheNextShowingRetries) {
    const struct {
        const char* what;
        std::function<void(PrivateService&)> fail_once;
    } cases[] = {
        {"refused", [](PrivateService& s) { PlainGet(s.port(), "/_user/refuse?mod=collect&count=1"); }},
        {"malformed", [](PrivateService& s) { s.Fault("bad_json", "/userservice.aspx", 1); }},
        {"wrong shape", [](PrivateService& s) { s.Fault("wrong_json", "/userservice.aspx", 1, "[1,2]"); }},
        {"status 500", [](PrivateService& s) { s.Fault("status500", "/userservice.aspx", 1); }},
    };
    for (const auto& c : cases) {
        SetFavourites("kelvora", "1003,1004");
        Open();
        ASSERT_TRUE(LogIn("kelvora", "secret")) << c.what;
        // The home tab's own requests (schemes, favourite marks) go first:
        // a fault of the user service's path would meet them instead.
        ASSERT_TRUE(wintest::PumpUntil([&] { return UserRequests("scheme&") > 0 && CollectRequests() > 0; },
                                       5000)) << c.what;
        wintest::Pump(300);
        c.fail_once(*services_);
        LogCapture log;
        ShowFavourites();
        EXPECT_TRUE(RowIds().empty()) << c.what;
        EXPECT_NE(std::string::npos, log.Text().find("GetCollectSoftThreadProc: get collect soft failed"))
            << c.what;
        wintest::ClickControl(hwnd(), frame_->Find(L"my_scheme"));
        wintest::Pump(100);
        ShowFavourites();
        EXPECT_EQ((std::vector<int>{1003, 1004}), RowIds()) << c.what;
        Close();
        LoginSession::Instance().set_state(LoginSession::kNotLoggedIn);
        MainFrameFlags::ResetForTests();
        SchemeMgr::Instance().ClearCache();
        services_->Reset();
    }
}

TEST_F(MyCollectTest, DeleteRemovesTheRowOnlyWhenTheServiceRemovedTheFavourite) {
    SetFavourites("kelvora", "1003,1004,1005");
    Open();
    ASSERT_TRUE(LogIn("kelvora", "secret"));
    ShowFavourites();
    ASSERT_EQ(3u, RowIds().size());

    ClickRowButton(Row(0)->Tree().del);
    EXPECT_TRUE(wintest::PumpUntil([&] { return RowIds().size() == 2; }, 5000));
    EXPECT_EQ((std::vector<int>{1004, 1005}), RowIds());
    EXPECT_EQ("1004,1005", SchemeSofts(kKelvoraFavourites));

    // Refused: the row stays.
    PlainGet(services_->port(), "/_user/refuse?mod=delschemesoft&count=1");
    ClickRowButton(Row(1)->Tree().del);
    wintest::Pump(800);
    EXPECT_EQ((std::vector<int>{1004, 1005}), RowIds());
    EXPECT_EQ("1004,1005", SchemeSofts(kKelvoraFavourites));
}

TEST_F(MyCollectTest, DetailShowsTheMarketTabAndMarksTheWayBackHome) {
    SetFavourites("kelvora", "1006");
    Open();
    ASSERT_TRUE(LogIn("kelvora", "secret"));
    ShowFavourites();
    ASSERT_EQ(1u, RowIds().size());
    ClickRowButton(Row(0)->Tree().detail);
    EXPECT_TRUE(wintest::PumpUntil([&] { return frame_->pages[1]->Count(L"click_detail_on_collect") > 0; }, 3000));
    EXPECT_EQ(MainFrameWnd::kMarketTab, frame_->SelectedTab());
    EXPECT_EQ(1006, frame_->pages[1]->Last(L"click_detail_on_collect")->lParam);
    EXPECT_TRUE(MainFrameFlags::OpenedFromHome());
}

TEST_F(MyCollectTest, AddToSchemeAddsTheFavouriteToTheTickedSchemeAndRefetchesTheSchemesOnce) {
    SetFavourites("kelvora", "1004");
    Open();
    ASSERT_TRUE(LogIn("kelvora", "secret"));
    ShowFavourites();
    ASSERT_EQ(1u, RowIds().size());
    int offered = -1;
    wintest::WhenWindowAppears(L"add_scheme_soft", [&](HWND, UiToolkit::WindowImplBase* w) {
        AddSchemeSoft* dialog = static_cast<AddSchemeSoft*>(w);
        offered = dialog->SchemeList()->GetCount();
        static_cast<SchemeSelectListItem*>(dialog->SchemeList()->GetItemAt(0))->CheckBox()->SetSelected(true);
        wintest::ClickNamed(w, L"ok_btn");
    });
    ClickRowButton(Row(0)->Tree().add_scheme);
    wintest::Pump(500);
    EXPECT_EQ(2, offered);  // the sample user's two schemes
    // The first scheme ("办公必备", 610) holds it now.
    EXPECT_EQ("1010,1011,1004", SchemeSofts(610));
    ASSERT_TRUE(wintest::PumpUntil([&] { return SchemeFetchesAfterTheAdd() >= 1; }, 5000));
    wintest::Pump(300);
    EXPECT_EQ(1, SchemeFetchesAfterTheAdd());
}

TEST_F(MyCollectTest, LogoutAndAnAddedFavouriteEmptyTheListAndTheNextShowingLoadsAfresh) {
    // Log out, then another user: only their favourites.
    SetFavourites("kelvora", "1003,1004");
    SetFavourites("demo", "1008");
    Open();
    ASSERT_TRUE(LogIn("kelvora", "secret"));
    ShowFavourites();
    ASSERT_EQ((std::vector<int>{1003, 1004}), RowIds());
    wintest::ClickControl(hwnd(), frame_->Find(L"my_loginout_btn"));
    wintest::Pump(300);
    EXPECT_TRUE(RowIds().empty());
    ASSERT_TRUE(LogIn("demo", "demo"));
    ShowFavourites();
    EXPECT_EQ((std::vector<int>{1008}), RowIds());

    // A favourite added on a catalogue row while another tab is shown.
    frame_->ShowTab(0);
    SetFavourites("demo", "1008,1009");
    frame_->manager().EmitNotify(nullptr, L"refresh_content_collect_soft", 0, 0, true);
    wintest::Pump(200);
    EXPECT_TRUE(RowIds().empty());
    ShowFavourites();
    EXPECT_EQ((std::vector<int>{1008, 1009}), RowIds());
}

TEST_F(MyCollectTest, ARemovalAnswerForARowThatIsGoneChangesNothing) {
    SetFavourites("kelvora", "1003,1004");
    Open();
    ASSERT_TRUE(LogIn("kelvora", "secret"));
    ShowFavourites();
    CollectItem* gone = Row(0);
    frame_->manager().EmitNotify(nullptr, L"refresh_content_collect_soft", 0, 0, false);
    wintest::Pump(100);  // the removed rows are deleted
    ShowFavourites();
    ASSERT_EQ(2u, RowIds().size());
    // The dispatcher drops it (or, when a new row took the address, that row
    // has no removal pending); a broadcast naming no listed row removes none.
    ::PostMessageW(hwnd(), WM_DEL_COLLECT_SOFT_POST, 1, reinterpret_cast<LPARAM>(gone));
    wintest::Pump(200);
    UiToolkit::TUiNotify note;
    note.sType = L"del_collect_soft_post";
    note.pSender = nullptr;
    note.wParam = 1;
    note.lParam = reinterpret_cast<LPARAM>(frame_);
    Favourites()->Notify(note);
    EXPECT_EQ(2u, RowIds().size());
    // A failed removal's answer for a listed row leaves it too.
    note.wParam = 0;
    note.lParam = reinterpret_cast<LPARAM>(Row(0));
    Favourites()->Notify(note);
    EXPECT_EQ(2u, RowIds().size());
}

TEST_F(MyCollectTest, ASecondLoadWhileOneRunsReturnsAtOnceWithNothing) {
    SetFavourites("kelvora", "1003");
    ASSERT_EQ(LoginResult::kAccepted, RequestLogin(L"kelvora", "secret"));
    LoginSession::Instance().set_state(LoginSession::kLoggedIn);
    // The first load's answer is held long enough that "at once" needs no
    // clock: the second call must return while the first still waits.
    services_->Fault("stall_headers", "/userservice.aspx", 1, "15");
    std::vector<SoftwarePtr> first, second;
    std::atomic<bool> first_done{false};
    const int before = CollectRequests();
    std::thread running([&first, &first_done] {
        GetCollectSoftThreadProc(&first);
        first_done = true;
    });
    for (int i = 0; i < 3000 && CollectRequests() == before; ++i) ::Sleep(10);
    const int asked = CollectRequests();
    ASSERT_GT(asked, before) << "the first load asked nothing";
    GetCollectSoftThreadProc(&second);
    EXPECT_FALSE(first_done) << "the second load waited for the first";
    EXPECT_TRUE(second.empty());
    EXPECT_EQ(asked, CollectRequests());
    running.join();
    // The first one is over: the next load runs.
    GetCollectSoftThreadProc(&second);
    ASSERT_EQ(1u, second.size());
    EXPECT_EQ(1003, second[0]->soft_id);
}

}  // namespace
