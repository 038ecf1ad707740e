// Two catalogue pages rebuilt over and over for a minute (reloads, paging,
// sub-categories, searches) while throttled downloads, late icons, scores
// and favourites report to the rows. Freed memory is poisoned and kept out
// of use, so a row touched after its deletion shows. At the end the pages
// stay still while the services keep reporting: no message may name a row
// (or a row's strip) that is gone.
#include <atomic>
#include <set>
#include <thread>

#include "client/core/downloads/complete_queue.h"
#include "client/core/downloads/download_task_registry.h"
#include "client/core/user_services/collect.h"
#include "client/core/user_services/soft_score_mgr.h"
#include "client/windows/catalogue/install_job.h"
#include "client/windows/main/live_targets.h"
#include "tests/client/windows/catalogue/catalogue_fixture.h"

namespace {

// The sample catalogue's ids.
const int32_t kFirstId = 1001;
const int32_t kLastId = 1080;

class CatalogueStress : public CatalogueTest {
protected:
    static void SetUpTestSuite() {
        CatalogueTest::SetUpTestSuite();
        CompleteQueue::Instance().Start();
    }

    // Every row and strip the two pages show now.
    void Snapshot(Page* page, std::set<LPARAM>* into) {
        for (int i = 0; i < page->SoftList()->GetCount(); ++i) {
            SoftListItem* row = Row(page, i);
            if (!row) continue;
            into->insert(reinterpret_cast<LPARAM>(row));
            into->insert(reinterpret_cast<LPARAM>(row->Progress()));
        }
    }

    // One of the ways a page's rows are replaced.
    void Rebuild(int step, Page* necessary, Page* market) {
        switch (step % 7) {
        case 0:
            Send(necessary, L"refresh_content", nullptr);
            break;
        case 1:
            if (market->Pager() && market->Pager()->NextButton()) Click(market, market->Pager()->NextButton());
            break;
        case 2:
            if (market->Pager() && market->Pager()->PreviousButton())
                Click(market, market->Pager()->PreviousButton());
            break;
        case 3:
            market->TypeList()->SelectItem(1 + (step / 7) % 6);
            break;
        case 4:
            if (market->MainTypeButton()->IsVisible()) Click(market, market->MainTypeButton());
            break;
        case 5:
            if (step % 21 == 5) {  // a search now and then: its loading window is modal
                necessary->SearchEdit()->SetText(L"浏览器");
                Send(necessary, L"return", necessary->SearchEdit());
            }
            break;
        case 6:
            Send(market, L"refresh_content", nullptr);
            break;
        }
    }
};

TEST_F(CatalogueStress, PagesRebuiltForAMinuteWhileEveryServiceReports) {
    Open();
    Page* necessary = PageOf(0);
    ASSERT_TRUE(WaitRows(necessary, 16));
    // Icons come late, and some of them never.
    Fault("delay", "/icon/", -1, "0.4");
    Fault("status500", "/icon/1007", -1);
    ClickTab(1);
    Page* market = PageOf(1);
    ASSERT_TRUE(WaitRows(market, 20));
    ClickTab(0);

    // Slow downloads of the first rows, which every reload of page 0 shows again.
    Fault("throttle", "/files/", -1, "3000");
    std::vector<int32_t> downloading;
    for (int i = 0; i < 4; ++i) {
        SoftListItem* row = Row(necessary, i);
        downloading.push_back(row->SoftId());
        Click(necessary, row->ActionButton());
    }
    for (int32_t id : downloading) EXPECT_TRUE(DownloadTaskRegistry::IsDownloading(id)) << id;

    // Scores and favourites from another thread, for every id, all along.
    std::atomic<bool> reporting(true);
    std::thread reporter([&] {
        int n = 0;
        while (reporting) {
            for (int32_t id = kFirstId; id <= kLastId && reporting; ++id) {
                SoftScoreMgr::NotifyObservers(id, (id + n) % 101);
                Collect::Notify(id, (id + n) % 2 ? Collect::kCollected : Collect::kUncollected);
            }
            ++n;
            ::Sleep(20);
        }
    });

    wintest::QuarantineFrees(true);
    std::set<LPARAM> seen;
    const DWORD start = ::GetTickCount();
    int step = 0;
    while (::GetTickCount() - start < 60000) {
        Rebuild(step, necessary, market);
        // Stop and restart the downloads through whichever rows show them.
        if (step % 5 == 0) {
            for (int i = 0; i < necessary->SoftList()->GetCount() && i < 4; ++i) {
                DownloadProgress* strip = Row(necessary, i)->Progress();
                Click(necessary, step % 10 ? strip->StopButton() : strip->StartButton());
            }
        }
        Drain(20 + (step * 37) % 150);
        Snapshot(necessary, &seen);
        Snapshot(market, &seen);
        ++step;
    }
    // A loaded machine manages fewer rounds in the minute; a handful is
    // still hundreds of rows built and freed.
    EXPECT_GT(step, 20);

    // Still: the queue is emptied, then only the services speak.
    ASSERT_TRUE(wintest::PumpUntil([&] { return !necessary->TextBar()->GetText().IsEmpty(); }, 20000));
    Drain(2000);
    std::set<LPARAM> live;
    Snapshot(necessary, &live);
    Snapshot(market, &live);
    std::set<LPARAM> dead;
    for (LPARAM row : seen)
        if (!live.count(row)) dead.insert(row);
    EXPECT_GT(dead.size(), 200u);
    for (int32_t id : downloading) DownloadTaskRegistry::Restart(id);
    frame_->arrivals.clear();
    Drain(3000);
    reporting = false;
    reporter.join();
    Drain(300);

    int to_dead = 0, to_live = 0;
    for (const CatalogueFrame::Arrival& a : frame_->arrivals) {
        to_dead += dead.count(a.lParam) != 0;
        to_live += live.count(a.lParam) != 0;
    }
    EXPECT_EQ(0, to_dead);
    EXPECT_GT(to_live, 0);  // the services did speak to the rows that show

    for (int32_t id : downloading) DownloadTaskRegistry::Delete(id);
    Drain(300);
    wintest::QuarantineFrees(false);
}

}  // namespace
