// The detail view in a real main window: its ratings, its download /
// upgrade button and its own-rating stars against a private session of the
// local services, results coming back through the main window's messages.
#include <gtest/gtest.h>

#include <atomic>

#include "client/core/catalogue/soft_info_mgr.h"
#include "client/core/downloads/complete_queue.h"
#include "client/core/downloads/download_task_registry.h"
#include "client/windows/detail/detail_texts.h"
#include "client/windows/main_frame_messages.h"
#include "tests/client/core/downloads/fake_catalogue.h"
#include "tests/client/windows/detail/detail_fixture.h"
#include "tests/client/windows/support/window_test_support.h"
#include "tests/support/test_support.h"

namespace detailtest {
namespace {

const char kScorePath[] = "/UserService.aspx";

// The open recorder's file once it names `file` (or after 20 s), and a
// moment more, so a second open would have shown too.
std::string OpenedRecord(const std::wstring& record, const char* file) {
    std::string opened;
    download_test::WaitUntil([&] {
        test_support::ReadFileBytes(record, &opened);
        return opened.find(file) != std::string::npos;
    });
    ::Sleep(300);
    test_support::ReadFileBytes(record, &opened);
    return opened;
}

int CachedScore(int id) { return SoftInfoMgr::Instance().GetSoftScore(*SoftInfoMgr::Instance().GetSoft(id)); }

TEST_F(DetailTest, TheViewShowsTheSoftwaresRecordAndItsFacts) {
    ScriptedScan& scan = NewScan();
    scan.RunToEnd();
    Open(scan.mgr());
    ShowSoft(1001);
    SoftwarePtr soft = SoftInfoMgr::Instance().GetSoft(1001);
    EXPECT_EQ(1001, view().SoftId());
    EXPECT_EQ(soft->soft_name, view().Name()->GetText().GetData());
    EXPECT_EQ(SoftInfoMgr::Instance().GetIconPath(*soft), view().Icon()->GetBkImage().GetData());
    const std::wstring facts[5] = {L"软件版本：" + soft->soft_version, L"", L"授权方式：免费授权",
                                   L"更新时间：", L"运行环境："};
    for (int i = 0; i < 5; ++i) {
        if (i != 1) { EXPECT_EQ(facts[i], view().Fact(i)->GetText().GetData()) << i; }
        EXPECT_FALSE(view().Fact(i)->IsEnabled()) << i;
    }
    wchar_t size[64];
    swprintf(size, 64, L"软件大小：%.1fMB", soft->soft_size / 1048576.0);
    EXPECT_EQ(std::wstring(size), view().Fact(1)->GetText().GetData());
    // The own rating starts at three stars.
    EXPECT_EQ(3, FullStars(view().OwnStars()));
}

// The score answer decides the average stars and texts; only an answer
// replaces the cached score.
TEST_F(DetailTest, AverageStarsAndTextsFollowTheScoreAnswer) {
    ScriptedScan& scan = NewScan();
    scan.RunToEnd();
    Open(scan.mgr());
    struct Case {
        const char* answer;
        int full;
        const wchar_t *score, *count;
        int cached;
    } cases[] = {
        {R"({"error":"noerror","nums":"3","score":"0"})", 0, L" 0分", L"3人参与评分", 0},
        {R"({"error":"noerror","nums":"7","score":"59"})", 2, L" 59分", L"7人参与评分", 59},
        {R"({"error":"noerror","nums":"12","score":"100"})", 5, L" 100分", L"12人参与评分", 100},
        {R"({"error":"noerror","nums":"1","score":"101"})", 5, L" 101分", L"1人参与评分", 101},
        {R"({"error":"noerror","nums":"1","score":"250"})", 5, L" 250分", L"1人参与评分", 250},
        {R"({"error":"noerror","nums":"2","score":"-40"})", 0, L" -40分", L"2人参与评分", -40},
        {R"({"error":"noerror"})", 0, L" 0分", L"0人参与评分", 0},
    };
    for (const Case& c : cases) {
        SoftInfoMgr::Instance().SetSoftScore(1002, 77);
        services_->Fault("wrong_json", kScorePath, 1, c.answer);
        ShowSoft(1002);
        EXPECT_EQ(c.full, FullStars(view().AverageStars())) << c.answer;
        EXPECT_EQ(std::wstring(c.score), view().ScoreText()->GetText().GetData()) << c.answer;
        EXPECT_EQ(std::wstring(c.count), view().CountText()->GetText().GetData()) << c.answer;
        EXPECT_EQ(c.cached, CachedScore(1002)) << c.answer;
        for (UiToolkit::COptionUI* star : view().AverageStars()) {
            EXPECT_FALSE(star->IsEnabled());
            EXPECT_EQ(12, star->GetFixedWidth());
            EXPECT_EQ(11, star->GetFixedHeight());
        }
        host().Back();
    }
}

// A score request that fails shows the cached score with no count, leaves
// the cache alone and says so in the log.
TEST_F(DetailTest, AFailedScoreAnswerShowsAndKeepsTheCachedScore) {
    ScriptedScan& scan = NewScan();
    scan.RunToEnd();
    Open(scan.mgr());
    struct Case {
        const char* mode;
        const char* arg;
    } cases[] = {
        {"status500", ""},           {"status404", ""},
        {"bad_json", ""},            {"wrong_json", R"({"error":"failed","score":"10"})"},
        {"wrong_json", "[1,2,3]"},   {"wrong_json", R"({"score":"10","nums":"2"})"},
        {"disconnect", ""},          {"short_body", ""},
    };
    for (const Case& c : cases) {
        SoftInfoMgr::Instance().SetSoftScore(1003, 80);
        // Every answer: WinINet sends a request again when a connection
        // closes without one.
        services_->Fault(c.mode, kScorePath, -1, c.arg);
        ShowSoft(1003);
        EXPECT_EQ(4, FullStars(view().AverageStars())) << c.mode << c.arg;
        EXPECT_EQ(L" 80分", std::wstring(view().ScoreText()->GetText().GetData())) << c.mode;
        EXPECT_EQ(L"0人参与评分", std::wstring(view().CountText()->GetText().GetData())) << c.mode;
        EXPECT_EQ(80, CachedScore(1003)) << c.mode << c.arg;
        host().Back();
        services_->Reset();
    }
    EXPECT_NE(std::string::npos, LogSinceStart().find("Detail::Fill: no score for soft 1003"));
}

// Clicking own star i sends the rating (i + 1) x 20, then asks for the new
// average, which the view and the cache take.
TEST_F(DetailTest, AnOwnStarClickSendsItsScoreThenAsksForTheAverage) {
    ScriptedScan& scan = NewScan();
    scan.RunToEnd();
    Open(scan.mgr());
    for (int i = 0; i < 5; ++i) {
        const int id = 1004 + i;
        ShowSoft(id);
        services_->Reset();
        wintest::ClickControl(hwnd(), view().OwnStars()[i]);
        ASSERT_TRUE(PumpUntil([&] { return ScoreRequests().size() >= 2 && FullStars(view().OwnStars()) == i + 1; }));
        wintest::Pump(100);
        const std::string sid = std::to_string(id);
        std::vector<std::string> expected = {"mod=score&soft_id=" + sid + "&score=" + std::to_string((i + 1) * 20),
                                             "mod=getscorenum&soft_id=" + sid};
        EXPECT_EQ(expected, ScoreRequests()) << i;
        // The view shows what the service answers now.
        Json::Value answer;
        Json::Reader().parse(PlainGet(services_->port(), "/UserService.aspx?mod=getscorenum&soft_id=" + sid), answer);
        const int score = atoi(answer["score"].asString().c_str());
        const int count = atoi(answer["nums"].asString().c_str());
        ASSERT_GE(count, 1);
        EXPECT_EQ(L" " + std::to_wstring(score) + L"分", std::wstring(view().ScoreText()->GetText().GetData()));
        EXPECT_EQ(std::to_wstring(count) + L"人参与评分", std::wstring(view().CountText()->GetText().GetData()));
        EXPECT_EQ(score, CachedScore(id));
        EXPECT_EQ(score / 20 > 5 ? 5 : score / 20, FullStars(view().AverageStars()));
        host().Back();
    }
}

// Without both answers the user's stars stay and nothing else changes.
TEST_F(DetailTest, AFailedRatingKeepsTheChosenStarsAndTheAverage) {
    ScriptedScan& scan = NewScan();
    scan.RunToEnd();
    Open(scan.mgr());
    struct Case {
        const char* name;
        int fail_after;  // score requests that succeed before the failing one
        size_t requests;
    } cases[] = {{"the rating is refused", 0, 1}, {"the new average does not come", 1, 2}};
    for (const Case& c : cases) {
        services_->Fault("wrong_json", kScorePath, 1, R"({"error":"noerror","nums":"4","score":"40"})");
        ShowSoft(1009);
        ASSERT_EQ(L" 40分", std::wstring(view().ScoreText()->GetText().GetData()));
        services_->Reset();
        // The answers before the failing one go through (their content is
        // not read); the failing one is a server error.
        if (c.fail_after > 0) services_->Fault("wrong_json", kScorePath, c.fail_after, R"({"error":"noerror"})");
        services_->Fault("status500", kScorePath, 1);
        wintest::ClickControl(hwnd(), view().OwnStars()[4]);
        ASSERT_TRUE(PumpUntil([&] { return ScoreRequests().size() >= c.requests; })) << c.name;
        wintest::Pump(300);
        EXPECT_EQ(c.requests, ScoreRequests().size()) << c.name;
        EXPECT_EQ(5, FullStars(view().OwnStars())) << c.name;
        EXPECT_EQ(2, FullStars(view().AverageStars())) << c.name;
        EXPECT_EQ(L" 40分", std::wstring(view().ScoreText()->GetText().GetData())) << c.name;
        EXPECT_EQ(40, CachedScore(1009)) << c.name;
        services_->Reset();
        host().Back();
    }
}

// The loading window of a rating opens where the user clicked, 24 pixels up
// and left.
TEST_F(DetailTest, TheRatingsLoadingWindowOpensAtTheClick) {
    ScriptedScan& scan = NewScan();
    scan.RunToEnd();
    Open(scan.mgr());
    ShowSoft(1010);
    services_->Fault("stall_headers", kScorePath, 1, "1.5");
    RECT placed = {};
    wintest::WhenWindowAppears(L"loading_wnd", [&](HWND wnd, UiToolkit::WindowImplBase*) {
        ::GetWindowRect(wnd, &placed);
    });
    UiToolkit::COptionUI* star = view().OwnStars()[2];
    const RECT& rc = star->GetBounds();
    POINT click = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    wintest::ClickControl(hwnd(), star);
    ASSERT_TRUE(PumpUntil([&] { return placed.right != 0; }));
    ::ClientToScreen(hwnd(), &click);
    EXPECT_EQ(click.x - 24, placed.left);
    EXPECT_EQ(click.y - 24, placed.top);
    ASSERT_TRUE(PumpUntil([&] { return wintest::FindOwnWindow(L"loading_wnd") == nullptr; }));
}

// ---- the download / upgrade button ----

enum class ScanAt { kDone, kRunning, kEndsInsideFill, kFailsLater };

struct ButtonCase {
    const char* name;
    bool task_active;             // a download of the id runs before the view is filled
    ScanAt scan;
    std::vector<std::pair<int, bool>> installed;
    const wchar_t* after_fill;
    bool enabled_after_fill;
    const wchar_t* after_scan;    // once the scan has ended (running cases)
};

class DetailButton : public DetailTest, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(DetailButton, FollowsTheDownloadAndTheScan) {
    const ButtonCase& c = GetParam();
    const int id = 1011;
    ScriptedScan& scan = NewScan(c.installed, c.scan != ScanAt::kFailsLater);
    if (c.scan == ScanAt::kDone) scan.RunToEnd(); else scan.Start();
    Open(scan.mgr());

    download_test::FakeCatalogue catalogue;
    HANDLE hold = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (c.task_active) {
        catalogue.Add(id, 1000);
        download_test::Script held;
        held.chunks = {100};
        held.hold_after = 1;
        held.hold = hold;
        catalogue.SetScripts(id, {held});
        ASSERT_TRUE(DownloadTaskRegistry::Start(id));
    }
    if (c.scan == ScanAt::kEndsInsideFill) {
        // The score answer is held back a moment; meanwhile the scan ends.
        services_->Fault("stall_headers", kScorePath, 1, "1");
        wintest::WhenWindowAppears(L"loading_wnd", [&](HWND, UiToolkit::WindowImplBase*) { scan.End(); });
    }
    ShowSoft(id);
    EXPECT_EQ(c.after_fill, ButtonText()) << c.name;
    EXPECT_EQ(c.enabled_after_fill, view().DownloadButton()->IsEnabled()) << c.name;
    if (c.scan == ScanAt::kEndsInsideFill) { EXPECT_EQ(InstallScanMgr::kDone, scan.mgr()->ScanState()); }

    if (c.scan == ScanAt::kRunning || c.scan == ScanAt::kFailsLater) {
        scan.End();
        EXPECT_TRUE(PumpUntil([&] { return view().DownloadButton()->IsEnabled() && ButtonText() == c.after_scan; }))
            << c.name << ": " << std::string(ButtonText().begin(), ButtonText().end()).size();
        wintest::Pump(100);
        EXPECT_EQ(c.after_scan, ButtonText()) << c.name;
        EXPECT_TRUE(view().DownloadButton()->IsEnabled()) << c.name;
    }
    host().Back();
    if (c.task_active) {
        DownloadTaskRegistry::Delete(id);
        ::SetEvent(hold);
        download_test::WaitUntil([&] { return catalogue.Running() == 0; });
    }
    ::CloseHandle(hold);
}

const std::vector<std::pair<int, bool>> kNone;
const std::vector<std::pair<int, bool>> kInstalled = {{1011, false}};
const std::vector<std::pair<int, bool>> kOutdated = {{1005, false}, {1011, true}};
const std::vector<std::pair<int, bool>> kOthers = {{1005, true}, {1006, false}};

INSTANTIATE_TEST_SUITE_P(
    Cases, DetailButton,
    ::testing::Values(
        ButtonCase{"not installed", false, ScanAt::kDone, kOthers, L"下载", true, nullptr},
        ButtonCase{"installed", false, ScanAt::kDone, kInstalled, L"已安装", true, nullptr},
        ButtonCase{"installed, newer", false, ScanAt::kDone, kOutdated, L"升级", true, nullptr},
        ButtonCase{"scan running, then not found", false, ScanAt::kRunning, kOthers, L"正在查询", false, L"下载"},
        ButtonCase{"scan running, then installed", false, ScanAt::kRunning, kInstalled, L"正在查询", false, L"已安装"},
        ButtonCase{"scan running, then newer", false, ScanAt::kRunning, kOutdated, L"正在查询", false, L"升级"},
        ButtonCase{"scan running, registry unreadable", false, ScanAt::kFailsLater, kInstalled, L"正在查询", false, L"下载"},
        ButtonCase{"scan ends inside the fill, newer", false, ScanAt::kEndsInsideFill, kOutdated, L"升级", true, nullptr},
        ButtonCase{"scan ends inside the fill, not found", false, ScanAt::kEndsInsideFill, kNone, L"下载", true, nullptr},
        ButtonCase{"task active, scan running", true, ScanAt::kRunning, kOutdated, L"下载中", true, L"下载中"},
        ButtonCase{"task active, installed", true, ScanAt::kDone, kInstalled, L"下载中", true, nullptr}),
    [](const ::testing::TestParamInfo<ButtonCase>& info) { return "case" + std::to_string(info.index); });

// A view left while the scan runs loses its scan observer; on a later visit
// after the scan the button is enabled again.
TEST_F(DetailTest, AViewLeftWhileTheScanRanIsEnabledOnTheNextVisit) {
    ScriptedScan& scan = NewScan({{1012, false}});
    scan.Start();
    Open(scan.mgr());
    ShowSoft(1012);
    EXPECT_EQ(L"正在查询", ButtonText());
    EXPECT_FALSE(view().DownloadButton()->IsEnabled());
    host().Back();
    scan.End();
    wintest::Pump(200);
    EXPECT_EQ(L"正在查询", ButtonText());  // the view was told nothing after it left
    ShowSoft(1012);
    EXPECT_EQ(L"已安装", ButtonText());
    EXPECT_TRUE(view().DownloadButton()->IsEnabled());
}

// "下载" starts the download; the registry's prepare comes back as "下载中".
// Watched only by the view, the finished download is opened once; a click
// while the text is anything else starts nothing.
TEST_F(DetailTest, TheButtonStartsADownloadWhichIsOpenedOnceWhenOnlyTheViewWatchesIt) {
    ScriptedScan& scan = NewScan({{1001, false}});
    scan.RunToEnd();
    Open(scan.mgr());
    const std::wstring dir = test_support::MakeTempDir(L"detailopen");
    const std::wstring record = dir + L"\\opened.txt";
    download_test::RecordOpens(record);
    download_test::FakeCatalogue catalogue;
    const int id = 1007;
    catalogue.Add(id, 1000, dir + L"\\setup 1007.exe");
    catalogue.Add(1001, 1000, dir + L"\\setup 1001.exe");
    HANDLE hold = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    download_test::Script held;
    held.chunks = {400, 600};
    held.hold_after = 1;
    held.hold = hold;
    catalogue.SetScripts(id, {held});

    // Installed: a click starts nothing.
    ShowSoft(1001);
    ASSERT_EQ(L"已安装", ButtonText());
    wintest::ClickControl(hwnd(), view().DownloadButton());
    wintest::Pump(200);
    EXPECT_TRUE(catalogue.Calls().empty());
    host().Back();

    ShowSoft(id);
    ASSERT_EQ(L"下载", ButtonText());
    wintest::ClickControl(hwnd(), view().DownloadButton());
    ASSERT_TRUE(PumpUntil([&] { return ButtonText() == L"下载中"; }));
    EXPECT_TRUE(DownloadTaskRegistry::IsDownloading(id));
    // A second click while it runs starts nothing more.
    wintest::ClickControl(hwnd(), view().DownloadButton());
    wintest::Pump(200);
    EXPECT_EQ(1u, catalogue.Calls().size());
    ::SetEvent(hold);
    ASSERT_TRUE(download_test::WaitUntil([&] { return !DownloadTaskRegistry::IsDownloading(id); }));
    std::atomic<bool> marker{false};
    CompleteQueue::Instance().Post([&] { marker = true; });
    ASSERT_TRUE(download_test::WaitUntil([&] { return marker.load(); }));
    // The recorder is a process of its own: its line comes when it has run.
    std::string opened = OpenedRecord(record, "setup 1007.exe");
    size_t count = 0;
    for (size_t at = 0; (at = opened.find("setup 1007.exe", at)) != std::string::npos; ++at) ++count;
    EXPECT_EQ(1u, count) << opened;
    wintest::Pump(100);
    EXPECT_EQ(L"下载中", ButtonText());  // until the next ShowSoft
    host().Back();
    download_test::RecordOpens(L"");
    ::CloseHandle(hold);
    test_support::RemoveTree(dir);
}

// Showing another software without leaving first stops watching the first:
// its download no longer reaches the view.
TEST_F(DetailTest, ShowingAnotherSoftwareStopsWatchingTheFirst) {
    ScriptedScan& scan = NewScan();
    scan.RunToEnd();
    Open(scan.mgr());
    download_test::FakeCatalogue catalogue;
    catalogue.Add(1002, 1000);
    catalogue.Add(1003, 1000);
    HANDLE hold = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    download_test::Script held;
    held.chunks = {100};
    held.hold_after = 1;
    held.hold = hold;
    catalogue.SetScripts(1002, {held});
    catalogue.SetScripts(1003, {held});
    ShowSoft(1002);
    ShowSoft(1003);  // no Back between
    ASSERT_EQ(L"下载", ButtonText());
    ASSERT_TRUE(DownloadTaskRegistry::Start(1002));
    wintest::Pump(300);
    EXPECT_EQ(L"下载", ButtonText());
    ASSERT_TRUE(DownloadTaskRegistry::Start(1003));
    EXPECT_TRUE(PumpUntil([&] { return ButtonText() == L"下载中"; }));
    host().Back();
    DownloadTaskRegistry::Delete(1002);
    DownloadTaskRegistry::Delete(1003);
    ::SetEvent(hold);
    download_test::WaitUntil([&] { return catalogue.Running() == 0; });
    ::CloseHandle(hold);
}

// A view destroyed while it watches a download and waits for the scan is
// never called again: the scan ends, the download is prepared and
// completes, and a message posted for it before it went is dropped.
TEST_F(DetailTest, AViewDestroyedWhileRegisteredIsNeverCalledAgain) {
    ScriptedScan& scan = NewScan();
    scan.Start();
    Open(scan.mgr());
    const std::wstring dir = test_support::MakeTempDir(L"detailgone");
    const std::wstring record = dir + L"\\opened.txt";
    download_test::RecordOpens(record);
    download_test::FakeCatalogue catalogue;
    catalogue.Add(1008, 1000, dir + L"\\gone.exe");
    catalogue.SetScripts(1008, {download_test::Script{{1000}, true}});
    ShowSoft(1008);
    ASSERT_EQ(L"正在查询", ButtonText());
    Detail* gone = &view();
    ::PostMessageW(hwnd(), WM_FINAL_ON_DETAIL, 0, reinterpret_cast<LPARAM>(gone));
    host().DestroyDetail();
    wintest::Pump(100);  // the posted message arrives for a view that is gone
    scan.End();
    ASSERT_TRUE(DownloadTaskRegistry::Start(1008));
    ASSERT_TRUE(download_test::WaitUntil([&] { return !DownloadTaskRegistry::IsDownloading(1008); }));
    std::atomic<bool> marker{false};
    CompleteQueue::Instance().Post([&] { marker = true; });
    ASSERT_TRUE(download_test::WaitUntil([&] { return marker.load(); }));
    wintest::Pump(100);
    std::string opened = OpenedRecord(record, "gone.exe");
    EXPECT_NE(std::string::npos, opened.find("gone.exe"));  // nobody watched it: opened
    EXPECT_NE(std::string::npos, LogSinceStart().find("WM_FINAL_ON_DETAIL dropped"));
    download_test::RecordOpens(L"");
    test_support::RemoveTree(dir);
}

}  // namespace
}  // namespace detailtest
