#include <gtest/gtest.h>
#include <atomic>
#include <random>
#include <set>
#include <thread>
#include "client/core/downloads/download_task_registry.h"
#include "tests/client/core/downloads/fake_catalogue.h"
#include "tests/client/core/downloads/service_fixture.h"
#include "tests/support/test_support.h"

using namespace download_test;

namespace {

// Marks an id when its download completes (on the pool thread, before the
// task leaves the active list).
class CompletionFlags final : public DownloadTaskObserver {
public:
    explicit CompletionFlags(int id) : id_(id) {}
    void OnPrepare() override {}
    void OnProgress(const std::shared_ptr<DownloadTask>&) override {}
    void OnComplete(const std::shared_ptr<DownloadTask>&) override { done = true; }
    void OnDelete() override {}
    void OnRestart() override {}
    void OnStop() override {}
    // As a catalogue row: the finished downloads are not opened.
    bool InstallsOnComplete() const override { return true; }
    std::atomic<bool> done{false};

private:
    int id_;
};

int EnvInt(const char* name, int fallback) {
    const char* v = getenv(name);
    return v && *v ? atoi(v) : fallback;
}

// Random stop, restart and delete from the UI thread against 4 throttled
// transfers; observers come and go on another thread. Every download that
// completes must be byte-identical to its source. VANTREL_STRESS_OPS sets the
// number of operations (default 1200).
TEST(DownloadStress, RandomStopRestartDeleteNeverDeadlocksOrCorruptsAFile) {
    ServiceCatalogue cat;
    ASSERT_TRUE(cat.service.ok());
    RecordOpens(L"");
    const int ops = EnvInt("VANTREL_STRESS_OPS", 1600);
    const std::vector<int> ids = {4001, 4002, 4003, 4004, 4005, 4006, 4007, 4008};
    std::map<int, std::string> sources;
    std::map<int, std::unique_ptr<CompletionFlags>> flags;
    for (size_t i = 0; i < ids.size(); ++i) {
        int size = 24 * 1024 + static_cast<int>(i) * 9 * 1024 + 123;
        cat.Add(ids[i], size, i % 3 == 0 ? 0 : size);  // some without a catalogue size
        sources[ids[i]] = cat.Source(ids[i]);
        ASSERT_EQ(static_cast<size_t>(size), sources[ids[i]].size());
        flags[ids[i]].reset(new CompletionFlags(ids[i]));
        DownloadTaskRegistry::AddObserver(ids[i], flags[ids[i]].get());
    }
    cat.service.Fault("throttle", "/files/", -1, "524288");

    std::atomic<bool> running{true};
    std::thread views([&] {
        std::mt19937 rng(7);
        while (running) {
            int id = ids[rng() % ids.size()];
            CompletionFlags extra(id);
            DownloadTaskRegistry::AddObserver(id, &extra);
            Sleep(rng() % 3);
            DownloadTaskRegistry::RemoveObserver(id, &extra);
        }
    });

    int verified = 0, mismatched = 0, starts = 0, stops = 0, restarts = 0, deletes = 0;
    auto verify_if_done = [&](int id) {
        if (DownloadTaskRegistry::IsDownloading(id) || !flags[id]->done) return false;
        flags[id]->done = false;
        std::string written;
        test_support::ReadFileBytes(cat.FilePath(id), &written);
        if (written == sources[id]) {
            ++verified;
        } else {
            ++mismatched;
        }
        return true;
    };

    std::mt19937 rng(12345);
    DWORD t0 = GetTickCount();
    for (int op = 0; op < ops; ++op) {
        int id = ids[rng() % ids.size()];
        if (verify_if_done(id)) continue;
        // As the views do: start what is not downloading, stop what runs,
        // restart what is stopped or failed, delete either.
        if (!DownloadTaskRegistry::IsDownloading(id)) {
            starts += DownloadTaskRegistry::Start(id);
            continue;
        }
        int pick = rng() % 10;
        bool paused = DownloadStateMap::Get(id) == DownloadStateMap::kStopped ||
                      DownloadTaskRegistry::Find(id)->state() == DownloadTask::kFailed;
        if (pick < 2) {
            DownloadTaskRegistry::Delete(id);
            ++deletes;
            // Delete forgets the id's views; this one watches again.
            DownloadTaskRegistry::AddObserver(id, flags[id].get());
        } else if (paused) {
            restarts += DownloadTaskRegistry::Restart(id);
        } else if (pick < 7) {
            DownloadTaskRegistry::Stop(id);
            ++stops;
        }
        Sleep(rng() % 8);
    }
    // Let every download left finish, then check them too. An id whose last
    // operation was a delete starts once more, so every id ends with one
    // checked file however the load on the machine timed the loop above.
    cat.service.Reset();
    for (int id : ids) {
        verify_if_done(id);
        if (DownloadTaskRegistry::IsDownloading(id)) {
            DownloadTaskRegistry::Restart(id);
        } else {
            starts += DownloadTaskRegistry::Start(id);
        }
    }
    for (int id : ids) {
        ASSERT_TRUE(WaitUntil([&] { return !DownloadTaskRegistry::IsDownloading(id); }, 60000)) << id;
        verify_if_done(id);
    }
    DWORD elapsed = GetTickCount() - t0;
    running = false;
    views.join();
    for (int id : ids) DownloadTaskRegistry::RemoveAllObservers(id);

    printf("stress: %d operations (%d starts, %d stops, %d restarts, %d deletes) in %lu ms; "
           "%d completed files checked\n",
           ops, starts, stops, restarts, deletes, static_cast<unsigned long>(elapsed), verified);
    EXPECT_EQ(0, mismatched);
    EXPECT_GE(verified, static_cast<int>(ids.size()));
    EXPECT_GE(starts + stops + restarts + deletes, 1000);
}

}  // namespace
