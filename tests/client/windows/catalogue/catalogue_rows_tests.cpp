// The catalogue rows in the real main window: sizes from the catalogue's
// answers, the action button's looks from the installed-software scan
// (also when the scan ends while a row registers), favourites, and the
// download strip driven by a real, throttled download.
#include <string>

#include "client/core/catalogue/soft_info_mgr.h"
#include "client/core/downloads/complete_queue.h"
#include "client/core/downloads/download_task_registry.h"
#include "client/core/reports/login_session.h"
#include "client/core/startup/main_window_handle.h"
#include "client/windows/catalogue/install_job.h"
#include "client/windows/catalogue/row_looks.h"
#include "client/windows/main/message_records.h"
#include "client/windows/main_frame_messages.h"
#include "tests/client/windows/catalogue/catalogue_fixture.h"

namespace {

class CatalogueRows : public CatalogueTest {
protected:
    static void SetUpTestSuite() {
        CatalogueTest::SetUpTestSuite();
        CompleteQueue::Instance().Start();
        InstallTimings quick;
        quick.settle_ms = 100;
        quick.scan_pause_ms = 50;
        quick.scans = 2;
        SetInstallTimingsForTests(quick);
    }

    // A row taken by the page as a search result would be.
    SoftListItem* Insert(Page* page, int32_t soft_id) {
        SoftListItem* row = new SoftListItem(page->RowOwnerOf(), soft_id, page->LatestRequest());
        Send(page, L"insert_single_soft_item", page, reinterpret_cast<WPARAM>(row));
        return row;
    }
    Page* Loaded() {
        Open();
        Page* page = PageOf(0);
        EXPECT_TRUE(WaitRows(page, 16));
        return page;
    }
    static std::wstring Text(UiToolkit::CControlUI* c) { return c->GetText().GetData(); }
};

// The sizes as the catalogue sends them, through the real parser.
TEST_F(CatalogueRows, SizesFromTheCatalogue) {
    const struct {
        const char* size;
        const wchar_t* text;
    } cases[] = {
        {"1048577", L"1.00M"},     {"1073741824", L"1073741824B"}, {"1073741825", L"1.00G"},
        {"2147483647", L"2.00G"},  {"-1", L""},                    {"1024", L"1024B"},
        {"1025", L"1.00K"},        {"1048576", L"1048576B"},       {"0", L""},
    };
    int32_t id = 5001;
    for (const auto& c : cases) {
        ASSERT_TRUE(CacheRecord(id, std::string("{\"soft_id\":\"") + std::to_string(id) +
                                        "\",\"soft_name\":\"Sized\",\"soft_size\":\"" + c.size + "\"}"))
            << c.size;
        SoftListItem row(RowOwner(), id, 0);
        EXPECT_EQ(c.text, Text(row.SizeText())) << c.size;
        ++id;
    }
}

TEST_F(CatalogueRows, StarsAndScoreFollowTheScoreService) {
    Page* page = Loaded();
    SoftListItem* row = Row(page, 0);
    const struct {
        int score, full;
        const wchar_t* text;
    } cases[] = {{87, 4, L"87分"}, {100, 5, L"100分"}, {19, 0, L"19分"}};
    for (const auto& c : cases) {
        SoftScoreMgr::NotifyObservers(row->SoftId(), c.score);
        ASSERT_TRUE(wintest::PumpUntil([&] { return Text(row->ScoreText()) == c.text; }, 5000));
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(i < c.full ? RowLooks::kFullStar : RowLooks::kEmptyStar,
                      std::wstring(row->Star(i)->GetBkImage().GetData()))
                << c.score << " star " << i;
    }
}

// 飞鸽聊天 (1001) is catalogue version 3.2.1.
TEST_F(CatalogueRows, TheActionButtonFollowsTheScan) {
    const InstalledProgram same = {L"飞鸽聊天", L"3.2.1", 1001, L"3.2.1"};
    const InstalledProgram older = {L"飞鸽聊天", L"3.0", 1001, L"3.2.1"};
    const struct {
        const char* name;
        std::vector<InstalledProgram> installed;
        bool finished;
        bool ends_while_registering;
        const wchar_t* first;
        bool first_enabled;
        const wchar_t* last;
    } cases[] = {
        {"done, not installed", {}, true, false, L"下载", true, L"下载"},
        {"done, installed", {same}, true, false, L"已安装", true, L"已安装"},
        {"done, older", {older}, true, false, L"升级", true, L"升级"},
        {"running, older", {older}, false, false, L"正在查询", false, L"升级"},
        {"running, not installed", {}, false, false, L"正在查询", false, L"下载"},
        {"running, installed", {same}, false, false, L"正在查询", false, L"已安装"},
        {"ends while registering", {same}, false, true, L"已安装", true, L"已安装"},
    };
    Page* page = Loaded();
    for (const auto& c : cases) {
        UseScan(c.installed, c.finished);
        if (c.ends_while_registering)
            SoftListItem::SetScanRegistrationHookForTests([this] { scan()->ScanThread(); });
        SoftListItem* row = Insert(page, 1001);
        SoftListItem::SetScanRegistrationHookForTests(nullptr);
        EXPECT_EQ(c.first, row->ActionText()) << c.name;
        EXPECT_EQ(c.first_enabled, row->ActionButton()->IsEnabled()) << c.name;
        if (!c.finished && !c.ends_while_registering) scan()->ScanThread();
        ASSERT_TRUE(wintest::PumpUntil([&] { return row->ActionButton()->IsEnabled(); }, 5000)) << c.name;
        EXPECT_EQ(c.last, row->ActionText()) << c.name;
        const RowLooks::Look look = std::wstring(c.last) == L"升级"    ? RowLooks::kUpgrade
                                    : std::wstring(c.last) == L"已安装" ? RowLooks::kInstalled
                                                                       : RowLooks::kDownload;
        EXPECT_EQ(RowLooks::ImagesOf(look).action[0], std::wstring(row->ActionButton()->GetNormalImage().GetData()))
            << c.name;
        EXPECT_EQ(RowLooks::ImagesOf(look).menu[1], std::wstring(row->MenuButton()->GetHotImage().GetData()))
            << c.name;
    }
}

TEST_F(CatalogueRows, FavouritesNeedALoginThenAreAddedOnce) {
    Page* page = Loaded();
    SoftListItem* row = Row(page, 2);
    const int32_t id = row->SoftId();
    std::wstring said;
    wintest::WhenWindowAppears(L"message_wnd", [&](HWND, UiToolkit::WindowImplBase* w) {
        said = wintest::ControlText(w, L"msg_tip_btn");
        wintest::ClickNamed(w, L"msg_ok_btn");
    });
    Click(page, row->CollectButton());
    EXPECT_NE(std::wstring::npos, said.find(L"请登录Kelvora！"));
    EXPECT_EQ(0, Count("/userservice.aspx?mod=addschemesoft&uid=501&soft_id=" + std::to_string(id) + "&scheme_id=601"));

    LoginSession& session = LoginSession::Instance();
    std::string cookie = "sess501";
    session.SwapCookie(&cookie);
    session.set_user_id(501);
    session.set_favourites_id(601);
    session.set_state(LoginSession::kLoggedIn);
    wintest::RecordingPage watcher(L"watcher");
    frame_->manager().AddNotifyReceiver(&watcher);
    Click(page, row->CollectButton());
    ASSERT_TRUE(wintest::PumpUntil([&] { return !row->CollectButton()->IsEnabled(); }, 10000));
    EXPECT_EQ(1, Count("/userservice.aspx?mod=addschemesoft&uid=501&soft_id=" + std::to_string(id) + "&scheme_id=601"));
    ASSERT_TRUE(wintest::PumpUntil([&] { return watcher.Count(L"refresh_content_collect_soft") == 1; }, 5000));
    EXPECT_EQ(static_cast<UiToolkit::CControlUI*>(row), watcher.Last(L"refresh_content_collect_soft")->sender);
    // Logging out tells every row the id is no longer a favourite.
    Collect::ClearAll();
    ASSERT_TRUE(wintest::PumpUntil([&] { return row->CollectButton()->IsEnabled(); }, 5000));
    frame_->manager().RemoveNotifyReceiver(&watcher);
    session.set_state(LoginSession::kNotLoggedIn);
}

// The loading window's loop runs the page's messages: a reload that
// replaces the rows meanwhile removes the row whose click opened it, which
// then sends its notification without naming itself.
TEST_F(CatalogueRows, AFavouritesClickSurvivesItsRowBeingReplaced) {
    Page* page = Loaded();
    LoginSession& session = LoginSession::Instance();
    std::string cookie = "sess501";
    session.SwapCookie(&cookie);
    session.set_user_id(501);
    session.set_favourites_id(601);
    session.set_state(LoginSession::kLoggedIn);
    wintest::RecordingPage watcher(L"watcher");
    frame_->manager().AddNotifyReceiver(&watcher);
    Fault("delay", "/userservice.aspx", 1, "2");
    SoftListItem* row = Row(page, 5);
    wintest::WhenWindowAppears(L"loading_wnd", [&](HWND, UiToolkit::WindowImplBase*) {
        Send(page, L"refresh_content", nullptr);
    });
    wintest::QuarantineFrees(true);
    // A real click: the button's own event is on the stack when the
    // loading window's loop returns into it.
    wintest::ClickControl(MainWindowHandle(), row->CollectButton());
    ASSERT_TRUE(wintest::PumpUntil([&] { return watcher.Count(L"refresh_content_collect_soft") == 1; }, 15000));
    wintest::QuarantineFrees(false);
    ASSERT_TRUE(WaitRows(page, 16));
    EXPECT_NE(row, Row(page, 5));
    ASSERT_TRUE(wintest::PumpUntil([&] { return watcher.Count(L"refresh_content_collect_soft") == 1; }, 5000));
    EXPECT_EQ(nullptr, watcher.Last(L"refresh_content_collect_soft")->sender);
    frame_->manager().RemoveNotifyReceiver(&watcher);
    session.set_state(LoginSession::kNotLoggedIn);
}

// "Prepare" is posted before the registry knows whether the start works.
TEST_F(CatalogueRows, APrepareWithoutADownloadIsDropped) {
    Page* page = Loaded();
    SoftListItem* orphan = Insert(page, 5999);  // no record: the start fails
    ASSERT_EQ(L"下载", orphan->ActionText());
    Click(page, orphan->ActionButton());
    Drain(200);
    EXPECT_FALSE(orphan->StripShown());
    EXPECT_EQ(L"0 B/S", Text(orphan->Progress()->SpeedText()));
    EXPECT_FALSE(DownloadTaskRegistry::IsDownloading(5999));

    SoftListItem* row = Row(page, 1);
    DownloadProgressRecord* record = new DownloadProgressRecord;
    wintest::WatchDelete(record);
    ::PostMessageW(MainWindowHandle(), WM_PREPARE_ON_SOFT_LIST_ITEM, reinterpret_cast<WPARAM>(record),
                   reinterpret_cast<LPARAM>(row));
    ASSERT_TRUE(wintest::PumpUntil([] { return wintest::WatchedDeleted(); }, 5000));
    EXPECT_FALSE(row->StripShown());
}

// A real download, throttled: the strip follows the registry through stop,
// restart and delete; a second download after the delete still reaches the
// row, and its installer (a program that installs nothing) runs, the
// program is not found, and the row returns to its text.
TEST_F(CatalogueRows, TheStripFollowsARealDownload) {
    Page* page = Loaded();
    // The catalogue's size is the served file's, so the percent moves.
    const int32_t id = 5301;
    ASSERT_TRUE(CacheRecord(id, "{\"soft_id\":\"5301\",\"soft_name\":\"Strip\",\"soft_uname\":"
                                "\"strip_test.exe\",\"soft_size\":\"262144\"}"));
    SoftListItem* row = Insert(page, id);
    DownloadProgress* strip = row->Progress();
    Fault("throttle", "/files/", -1, "24000");
    Click(page, row->ActionButton());
    EXPECT_TRUE(row->StripShown());
    EXPECT_FALSE(row->ActionButton()->GetParent()->IsVisible());
    EXPECT_FALSE(strip->StartButton()->IsEnabled());
    EXPECT_TRUE(strip->StopButton()->IsEnabled());
    ASSERT_TRUE(wintest::PumpUntil([&] { return strip->Bar()->GetValue() > 0; }, 15000));
    EXPECT_NE(std::wstring::npos, Text(strip->SpeedText()).find(L"B/S"));

    Click(page, strip->StopButton());
    ASSERT_TRUE(wintest::PumpUntil([&] { return strip->IsStoppedLook(); }, 5000));
    EXPECT_EQ(DownloadStateMap::kStopped, DownloadStateMap::Get(id));
    const int stopped_at = strip->Bar()->GetValue();
    Drain(600);
    EXPECT_EQ(stopped_at, strip->Bar()->GetValue());

    Click(page, strip->StartButton());
    ASSERT_TRUE(wintest::PumpUntil([&] { return !strip->IsStoppedLook(); }, 5000));
    ASSERT_TRUE(wintest::PumpUntil([&] { return strip->Bar()->GetValue() > stopped_at; }, 15000));

    Click(page, strip->DeleteButton());
    ASSERT_TRUE(wintest::PumpUntil([&] { return !row->StripShown(); }, 5000));
    EXPECT_TRUE(row->ActionButton()->GetParent()->IsVisible());
    EXPECT_EQ(0, strip->Bar()->GetValue());
    EXPECT_EQ(L"0%", Text(strip->PercentText()));
    EXPECT_EQ(L"0 B/S", Text(strip->SpeedText()));
    EXPECT_EQ(DownloadStateMap::kNone, DownloadStateMap::Get(id));

    services_->Reset();  // full speed now
    ASSERT_TRUE(ServeFile(id, TestProgram("fake_installer.exe")));
    Click(page, row->ActionButton());
    ASSERT_TRUE(wintest::PumpUntil([&] { return row->ActionText() == L"正在安装"; }, 20000));
    EXPECT_FALSE(row->StripShown());
    ASSERT_TRUE(wintest::PumpUntil([&] { return row->ActionText() == L"下载"; }, 20000));
    EXPECT_EQ(DownloadStateMap::kCompleted, DownloadStateMap::Get(id));
    ASSERT_TRUE(wintest::PumpUntil([] { return InstallJobs::PendingCount() == 0; }, 5000));
}

}  // namespace
