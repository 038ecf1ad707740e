#include <gtest/gtest.h>
#include <algorithm>
#include <atomic>
#include <sstream>
#include <thread>
#include "client/core/downloads/complete_queue.h"
#include "client/core/downloads/download_task_registry.h"
#include "tests/client/core/downloads/fake_catalogue.h"
#include "tests/client/core/downloads/test_observer.h"
#include "tests/support/test_support.h"

using namespace download_test;

namespace {

// The paths the recorder was asked to open, in the order the opens were made.
std::vector<std::string> Opened(const std::wstring& record) {
    std::string text;
    test_support::ReadFileBytes(record, &text);
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty()) lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end());  // by the recorder's creation stamp
    for (auto& l : lines) l = l.substr(l.find(' ') + 1);
    return lines;
}

std::string Narrow(const std::wstring& w) {
    char buf[1024];
    WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, buf, sizeof buf, nullptr, nullptr);
    return buf;
}

class CompletionQueue : public ::testing::Test {
protected:
    void SetUp() override {
        dir = test_support::MakeTempDir(L"cq");
        record = dir + L"\\opened.txt";
        RecordOpens(record);
        ASSERT_TRUE(CompleteQueue::Instance().Start());
    }
    void TearDown() override { test_support::RemoveTree(dir); }
    std::wstring dir, record;
    FakeCatalogue catalogue;
};

TEST_F(CompletionQueue, RunsTasksOneAtATimeInPostingOrderFromAnyThread) {
    std::vector<int> order;
    std::atomic<int> inside{0}, overlap{0};
    auto job = [&](int n) {
        return [&, n] {
            if (++inside > 1) ++overlap;
            order.push_back(n);
            Sleep(n % 3 == 0 ? 30 : 0);
            --inside;
        };
    };
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(CompleteQueue::Instance().Post(job(i)));
    std::thread other([&] {
        for (int i = 10; i < 20; ++i) CompleteQueue::Instance().Post(job(i));
    });
    other.join();
    ASSERT_TRUE(WaitUntil([&] { return order.size() == 20; }));
    for (int i = 0; i < 20; ++i) EXPECT_EQ(i, order[i]);
    EXPECT_EQ(0, overlap.load());
    EXPECT_TRUE(CompleteQueue::Instance().Start());  // a second start starts nothing
}

TEST_F(CompletionQueue, UnwatchedDownloadsAreOpenedInCompletionOrderAfterTheJobAhead) {
    const int first = 2001, second = 2002;
    catalogue.Add(first, 100, dir + L"\\first setup.exe");
    catalogue.Add(second, 100, dir + L"\\second.exe");
    catalogue.SetScripts(first, {Script{{100}, true}});
    catalogue.SetScripts(second, {Script{{100}, true}});
    // An install job runs: both opens wait behind it, then follow in order.
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_TRUE(CompleteQueue::Instance().Post([release] { WaitForSingleObject(release, 20000); }));
    ASSERT_TRUE(DownloadTaskRegistry::Start(first));
    ASSERT_TRUE(WaitUntil([&] { return !DownloadTaskRegistry::IsDownloading(first); }));
    ASSERT_TRUE(DownloadTaskRegistry::Start(second));
    ASSERT_TRUE(WaitUntil([&] { return !DownloadTaskRegistry::IsDownloading(second); }));
    Sleep(200);
    EXPECT_TRUE(Opened(record).empty());
    SetEvent(release);
    ASSERT_TRUE(WaitUntil([&] { return Opened(record).size() == 2; }));
    std::vector<std::string> expected = {Narrow(dir + L"\\first setup.exe"), Narrow(dir + L"\\second.exe")};
    EXPECT_EQ(expected, Opened(record));
    CloseHandle(release);
}

TEST_F(CompletionQueue, ADownloadARowInstallsIsLeftToItAndAnUncachedOneIsNotOpened) {
    const int watched = 2101, uncached = 2102;
    catalogue.Add(watched, 100, dir + L"\\watched.exe");
    catalogue.SetScripts(watched, {Script{{100}, true}});
    RecordingView view(/*installs=*/true);
    DownloadTaskRegistry::AddObserver(watched, &view);
    ASSERT_TRUE(DownloadTaskRegistry::Start(watched));
    ASSERT_TRUE(WaitUntil([&] { return view.Count("complete") == 1; }));
    DownloadTaskRegistry::RemoveAllObservers(watched);
    ASSERT_TRUE(CompleteQueue::Instance().PostOpenInstaller(uncached));
    // A marker job queued last: once it ran, every open before it was made.
    std::atomic<bool> marker{false};
    CompleteQueue::Instance().Post([&] { marker = true; });
    ASSERT_TRUE(WaitUntil([&] { return marker.load(); }));
    Sleep(500);
    EXPECT_TRUE(Opened(record).empty());
}

// Who opens a finished download: the completion queue, once, unless one
// of the views watching it installs it itself; only a catalogue row does.
// The other views (a download-centre row, the detail view, a scheme row)
// merely show it.
TEST_F(CompletionQueue, AFinishedDownloadIsOpenedOnceUnlessAWatchingViewInstallsIt) {
    struct Case {
        const char* watchers;
        std::vector<bool> installs;  // one view per entry
        size_t opens;
    } cases[] = {
        {"no view", {}, 1},
        {"a centre row", {false}, 1},
        {"the detail view", {false}, 1},
        {"a scheme row", {false}, 1},
        {"the detail view and a centre row", {false, false}, 1},
        {"a catalogue row", {true}, 0},
        {"a centre row and a catalogue row", {false, true}, 0},
        {"a catalogue row, the detail view and a scheme row", {true, false, false}, 0},
    };
    int id = 2300;
    std::vector<std::wstring> files;
    size_t expected_opens = 0;
    for (const Case& c : cases) {
        ++id;
        const std::wstring file = dir + L"\\case" + std::to_wstring(id) + L".exe";
        files.push_back(file);
        expected_opens += c.opens;
        catalogue.Add(id, 100, file);
        catalogue.SetScripts(id, {Script{{100}, true}});
        std::vector<std::unique_ptr<RecordingView>> views;
        for (bool installs : c.installs) {
            views.emplace_back(new RecordingView(installs));
            DownloadTaskRegistry::AddObserver(id, views.back().get());
        }
        ASSERT_TRUE(DownloadTaskRegistry::Start(id)) << c.watchers;
        ASSERT_TRUE(WaitUntil([&] { return !DownloadTaskRegistry::IsDownloading(id); })) << c.watchers;
        for (auto& v : views) EXPECT_EQ(1u, v->Count("complete")) << c.watchers;
        DownloadTaskRegistry::RemoveAllObservers(id);
    }
    // Each open is a recorder process of its own: wait for their lines,
    // then a moment more, so an open too many would show as well.
    WaitUntil([&] { return Opened(record).size() >= expected_opens; });
    Sleep(500);
    auto opened = Opened(record);
    for (size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(cases[i].opens, static_cast<size_t>(std::count(opened.begin(), opened.end(), Narrow(files[i]))))
            << cases[i].watchers;
    }
}

}  // namespace
