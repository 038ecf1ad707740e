#include <gtest/gtest.h>
#include <algorithm>
#include <thread>
#include "client/core/downloads/complete_queue.h"
#include "client/core/downloads/download_mgr.h"
#include "client/core/downloads/download_task_registry.h"
#include "tests/client/core/downloads/fake_catalogue.h"
#include "tests/client/core/downloads/test_observer.h"

using namespace download_test;

namespace {

struct Event {
    Event() : h(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~Event() { CloseHandle(h); }
    HANDLE h;
};

// Every test uses soft ids of its own: the registry is process-wide.
class Registry : public ::testing::Test {
protected:
    void SetUp() override {
        RecordOpens(L"");  // no real shell opens from these tests
    }
    void Watch(int id) {
        DownloadTaskRegistry::AddObserver(id, &view);
        watched.push_back(id);
    }
    void TearDown() override {
        for (int id : watched) DownloadTaskRegistry::RemoveAllObservers(id);
    }
    bool Settled(int id) {
        return WaitUntil([&] { return !DownloadTaskRegistry::IsDownloading(id) || DownloadTaskRegistry::Find(id)->state() == DownloadTask::kFailed; });
    }
    FakeCatalogue catalogue;
    // As a catalogue row: nothing these tests finish is opened.
    RecordingView view{/*installs=*/true};
    std::vector<int> watched;
};

TEST(DownloadTaskValues, SetProgressChoosesTheStateFromThePercent) {
    struct Case {
        int percent, state;
    } cases[] = {{0, 1}, {60, 1}, {99, 1}, {100, 2}, {-1, 3}, {101, 1}};
    for (const Case& c : cases) {
        DownloadTask task(1, nullptr);
        task.SetProgress(c.percent, 5);
        int state = -9, percent = -9, speed = -9;
        task.GetProgress(&state, &percent, &speed);
        EXPECT_EQ(c.state, state) << c.percent;
        EXPECT_EQ(c.percent, percent);
        EXPECT_EQ(5, speed);
    }
}

TEST(DownloadTaskValues, RunningPercentTruncatesAndStaysBelowHundredUntilTheEnd) {
    struct Case {
        unsigned received;
        long long size;
        int percent;
    } cases[] = {
        {600, 1000, 60}, {999, 1000, 99}, {1000, 1000, 99}, {5000, 1000, 99}, {1, 3, 33},
        {100, 0, 0},     {100, -5, 0},    {0, 1000, 0},     {4000000000u, 4000000001LL, 99},
        {2147483648u, 4294967296LL, 50},
    };
    for (const Case& c : cases) EXPECT_EQ(c.percent, RunningPercent(c.received, c.size)) << c.received << "/" << c.size;
}

size_t CompletedTimes(const std::shared_ptr<Software>& rec) {
    size_t n = 0;
    for (const auto& s : DownloadTaskRegistry::CompletedList()) n += s == rec;
    return n;
}

TEST_F(Registry, ChunksOf600And400Of1000GiveProgressThenOneCompletion) {
    const int id = 1001;
    auto rec = catalogue.Add(id, 1000);
    catalogue.SetScripts(id, {Script{{600, 400}}});
    Watch(id);
    ASSERT_TRUE(DownloadTaskRegistry::Start(id));
    EXPECT_EQ(DownloadStateMap::kDownloading, DownloadStateMap::Get(id));
    ASSERT_TRUE(WaitUntil([&] { return view.Count("complete") == 1; }));
    // 100 percent only once the transfer has ended with the whole file.
    std::vector<std::string> expected = {"prepare", "progress 60", "progress 99", "complete 100"};
    EXPECT_EQ(expected, view.Events());
    EXPECT_FALSE(DownloadTaskRegistry::IsDownloading(id));
    EXPECT_EQ(1u, CompletedTimes(rec));
    EXPECT_EQ(DownloadStateMap::kCompleted, DownloadStateMap::Get(id));
    EXPECT_EQ(0, DownloadTaskRegistry::Find(id)->soft_id());  // the empty task

    // Started again with the same record: still listed once.
    ASSERT_TRUE(DownloadTaskRegistry::Start(id));
    ASSERT_TRUE(WaitUntil([&] { return view.Count("complete") == 2; }));
    EXPECT_EQ(1u, CompletedTimes(rec));
    DownloadTaskRegistry::RemoveCompleted(id);
    EXPECT_EQ(0u, CompletedTimes(rec));
    DownloadTaskRegistry::Delete(id);  // only a completed record existed: nothing happens
    EXPECT_EQ(0u, view.Count("delete"));
}

// The catalogue's size decides only the displayed percentage: the download
// completes when its transfer ended well, and fails when it did not.
struct SizeCase {
    const char* name;
    long long soft_size;
    std::vector<int> chunks;
    bool ok;
    std::vector<std::string> events;  // after "prepare"
    int final_state_map;
};

class RegistrySizes : public Registry, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(RegistrySizes, EndsAsTheTransferEnded) {
    const SizeCase& c = GetParam();
    static int next_id = 1100;
    const int id = next_id++;
    auto rec = catalogue.Add(id, c.soft_size);
    catalogue.SetScripts(id, {Script{c.chunks, c.ok}});
    Watch(id);
    ASSERT_TRUE(DownloadTaskRegistry::Start(id));
    ASSERT_TRUE(Settled(id));
    ASSERT_TRUE(WaitUntil([&] { return view.Events().size() == c.events.size() + 1; }));
    std::vector<std::string> expected = {"prepare"};
    expected.insert(expected.end(), c.events.begin(), c.events.end());
    EXPECT_EQ(expected, view.Events());
    EXPECT_EQ(c.final_state_map, DownloadStateMap::Get(id));
    if (c.ok) {
        EXPECT_EQ(1u, CompletedTimes(rec));
    } else {
        int state = 0, percent = 0, speed = 0;
        DownloadTaskRegistry::Find(id)->GetProgress(&state, &percent, &speed);
        EXPECT_EQ(DownloadTask::kFailed, state);
        EXPECT_EQ(-1, percent);
        EXPECT_EQ(-1, speed);
        EXPECT_TRUE(DownloadTaskRegistry::IsDownloading(id));  // stays until restarted or deleted
        EXPECT_EQ(0u, CompletedTimes(rec));
        DownloadTaskRegistry::Delete(id);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegistrySizes,
    ::testing::Values(
        SizeCase{"unknown_size", 0, {600, 400}, true, {"progress 0", "progress 0", "complete 100"}, 1},
        SizeCase{"file_larger_than_size", 1000, {800, 800}, true, {"progress 80", "progress 99", "complete 100"}, 1},
        SizeCase{"file_smaller_than_size", 2000, {600, 400}, true, {"progress 30", "progress 50", "complete 100"}, 1},
        SizeCase{"broken_connection", 1000, {600}, false, {"progress 60", "failed -1"}, 2},
        SizeCase{"nothing_arrived", 1000, {}, false, {"failed -1"}, 2}),
    [](const ::testing::TestParamInfo<SizeCase>& info) { return std::string(info.param.name); });

TEST_F(Registry, StartOfAnUncachedIdFailsAfterPrepareAndLeavesNoTask) {
    const int id = 1201;
    Watch(id);
    EXPECT_FALSE(DownloadTaskRegistry::Start(id));
    EXPECT_FALSE(DownloadTaskRegistry::IsDownloading(id));
    EXPECT_EQ(std::vector<std::string>{"prepare"}, view.Events());
    EXPECT_EQ(DownloadStateMap::kNone, DownloadStateMap::Get(id));
    EXPECT_TRUE(catalogue.Calls().empty());
    EXPECT_FALSE(DownloadTaskRegistry::Restart(id));
    EXPECT_EQ(DownloadStateMap::kNone, DownloadStateMap::Get(id));
}

// A transfer blocked in a read while the download is stopped and restarted
// must not deliver into the restarted download: its chunk would be counted
// twice and its end would mark the task failed.
TEST_F(Registry, AStaleTransferReportsNothingAfterStopAndRestart) {
    const int id = 1301;
    Event release;
    catalogue.Add(id, 4 * 8192);
    Script old_transfer{{8192, 8192, 8192, 8192}, false, 1, release.h};  // would fail at its end
    Script resumed{{8192, 8192, 8192}, true};
    catalogue.SetScripts(id, {old_transfer, resumed});
    Watch(id);
    ASSERT_TRUE(DownloadTaskRegistry::Start(id));
    ASSERT_TRUE(WaitUntil([&] { return DownloadTaskRegistry::Find(id)->received() == 8192; }));

    DownloadTaskRegistry::Stop(id);
    EXPECT_EQ(DownloadStateMap::kStopped, DownloadStateMap::Get(id));
    ASSERT_TRUE(DownloadTaskRegistry::Restart(id));
    EXPECT_EQ(DownloadStateMap::kDownloading, DownloadStateMap::Get(id));
    SetEvent(release.h);  // the old read returns

    ASSERT_TRUE(WaitUntil([&] { return view.Count("complete") == 1; }));
    Sleep(100);
    auto calls = catalogue.Calls();
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ(0, calls[0].offset);
    EXPECT_EQ(8192, calls[1].offset);
    EXPECT_EQ(L"/file/1301", calls[1].path);
    EXPECT_EQ(0u, view.Count("failed"));
    // 1 chunk before the stop + 3 after: 25, 50, 75, 99.
    std::vector<std::string> expected = {"prepare",     "progress 25", "stop",        "restart",
                                         "progress 50", "progress 75", "progress 99", "complete 100"};
    EXPECT_EQ(expected, view.Events());
}

TEST_F(Registry, StopBeforeAnyByteRestartsFromZeroWithAFreshTransfer) {
    const int id = 1401;
    Event release;
    catalogue.Add(id, 2000);
    catalogue.SetScripts(id, {Script{{1000, 1000}, true, 0, release.h}, Script{{1000, 1000}, true}});
    Watch(id);
    ASSERT_TRUE(DownloadTaskRegistry::Start(id));
    ASSERT_TRUE(WaitUntil([&] { return catalogue.Running() == 1; }));
    DownloadTaskRegistry::Stop(id);
    ASSERT_TRUE(DownloadTaskRegistry::Restart(id));
    SetEvent(release.h);
    ASSERT_TRUE(WaitUntil([&] { return view.Count("complete") == 1; }));
    auto calls = catalogue.Calls();
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ(0, calls[1].offset);
    std::vector<std::string> expected = {"prepare", "stop", "restart", "progress 50", "progress 99", "complete 100"};
    EXPECT_EQ(expected, view.Events());
}

TEST_F(Registry, DeleteOfAStoppedDownloadTellsEachViewOnceThenForgetsThem) {
    const int id = 1501;
    Event release;
    catalogue.Add(id, 3000);
    catalogue.SetScripts(id, {Script{{1000, 1000, 1000}, true, 1, release.h}});
    RecordingView second;
    Watch(id);
    DownloadTaskRegistry::AddObserver(id, &second);
    ASSERT_TRUE(DownloadTaskRegistry::Start(id));
    ASSERT_TRUE(WaitUntil([&] { return view.Count("progress") == 1; }));
    DownloadTaskRegistry::Stop(id);
    DownloadTaskRegistry::Delete(id);
    SetEvent(release.h);
    EXPECT_FALSE(DownloadTaskRegistry::IsDownloading(id));
    EXPECT_EQ(DownloadStateMap::kNone, DownloadStateMap::Get(id));
    EXPECT_FALSE(DownloadMgr::Instance().FindObserver(id));
    EXPECT_EQ(1u, view.Count("delete"));
    EXPECT_EQ(1u, second.Count("delete"));
    // A new start is no longer seen by the forgotten views.
    catalogue.SetScripts(id, {Script{{3000}, true}});
    ASSERT_TRUE(DownloadTaskRegistry::Start(id));
    ASSERT_TRUE(WaitUntil([&] { return !DownloadTaskRegistry::IsDownloading(id); }));
    EXPECT_EQ("delete", view.Last());
    EXPECT_EQ("delete", second.Last());
}

TEST_F(Registry, FiveStartsRunFourTransfersAndTheFifthWhenOneEnds) {
    Event release;
    std::vector<int> ids = {1601, 1602, 1603, 1604, 1605};
    for (int id : ids) {
        catalogue.Add(id, 1000);
        catalogue.SetScripts(id, {Script{{1000}, true, 0, release.h}});
    }
    for (int id : ids) ASSERT_TRUE(DownloadTaskRegistry::Start(id));
    ASSERT_TRUE(WaitUntil([&] { return catalogue.Running() == 4; }));
    Sleep(300);
    EXPECT_EQ(4u, catalogue.Calls().size());
    EXPECT_EQ(4, catalogue.Running());
    SetEvent(release.h);
    ASSERT_TRUE(WaitUntil([&] { return catalogue.Calls().size() == 5; }));
    for (int id : ids) ASSERT_TRUE(WaitUntil([&] { return !DownloadTaskRegistry::IsDownloading(id); }));
    EXPECT_EQ(4, catalogue.MaxRunning());
    EXPECT_LE(DownloadMgr::Instance().PoolThreads(), 4);
}

TEST_F(Registry, EngineStepsForAnIdWithoutATaskAreIgnored) {
    const int id = 1701;
    Watch(id);
    DownloadTaskRegistry::OnProgress(id, 500, 10);
    DownloadTaskRegistry::OnProgress(id, 0, 0);
    DownloadTaskRegistry::OnProgress(id, -1, -1);
    EXPECT_TRUE(view.Events().empty());
    EXPECT_FALSE(DownloadTaskRegistry::IsDownloading(id));
}

TEST_F(Registry, ObserversMayBeAddedAndRemovedFromOtherThreadsWhileProgressFlows) {
    const int id = 1801;
    catalogue.Add(id, 1000000);
    std::vector<int> chunks(400, 2500);
    catalogue.SetScripts(id, {Script{chunks, true}});
    Watch(id);
    ASSERT_TRUE(DownloadTaskRegistry::Start(id));
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([id] {
            for (int i = 0; i < 200; ++i) {
                RecordingView* v = new RecordingView();
                DownloadTaskRegistry::AddObserver(id, v);
                Sleep(0);
                DownloadTaskRegistry::RemoveObserver(id, v);
                delete v;  // no slot may run on it after the removal returned
            }
        });
    }
    for (auto& t : threads) t.join();
    ASSERT_TRUE(WaitUntil([&] { return view.Count("complete") == 1; }));
    EXPECT_EQ(400u, view.Count("progress"));
}

}  // namespace
