#include <gtest/gtest.h>
#include "client/core/downloads/complete_queue.h"
#include "client/core/downloads/download_mgr.h"
#include "client/core/downloads/download_task_registry.h"
#include "tests/client/core/downloads/fake_catalogue.h"
#include "tests/client/core/downloads/service_fixture.h"
#include "tests/client/core/downloads/test_observer.h"
#include "tests/support/test_support.h"

using namespace download_test;

namespace {

class ServiceDownloads : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(cat.service.ok());
        record = cat.folder + L"\\opened.txt";
        RecordOpens(record);
    }
    void TearDown() override {
        for (int id : watched) DownloadTaskRegistry::RemoveAllObservers(id);
        RecordOpens(L"");
    }
    void Watch(int id) {
        DownloadTaskRegistry::AddObserver(id, &view);
        watched.push_back(id);
    }
    bool Completed(int id) { return WaitUntil([&] { return !DownloadTaskRegistry::IsDownloading(id); }, 30000); }
    size_t FileRequests(int id) { return cat.FileRanges(id).size(); }
    static size_t TimesCompleted(const SoftwarePtr& record) {
        size_t listed = 0;
        for (const auto& soft : DownloadTaskRegistry::CompletedList()) listed += soft == record;
        return listed;
    }

    ServiceCatalogue cat;
    // As a catalogue row: what it watches is not opened.
    RecordingView view{/*installs=*/true};
    std::vector<int> watched;
    std::wstring record;
};

TEST_F(ServiceDownloads, FiveStartedAtOnceRunFourAndTheFifthAfterOneEnds) {
    std::vector<int> ids = {3001, 3002, 3003, 3004, 3005};
    for (int id : ids) {
        cat.Add(id, 96 * 1024, 96 * 1024);
        Watch(id);
    }
    cat.service.Fault("throttle", "/files/", -1, "49152");  // each file takes about 2 s
    for (int id : ids) ASSERT_TRUE(DownloadTaskRegistry::Start(id));
    size_t total = 0;
    auto requested = [&] {
        total = 0;
        Json::Value log = cat.service.Log();
        for (const Json::Value& entry : log) {
            total += entry.get("path", "").asString().compare(0, 7, "/files/") == 0;
        }
        return total;
    };
    ASSERT_TRUE(WaitUntil([&] { return requested() >= 4; }));
    Sleep(300);
    EXPECT_EQ(4u, requested());
    EXPECT_EQ(0u, view.Count("complete"));
    ASSERT_TRUE(WaitUntil([&] { return requested() == 5; }, 30000));
    // The fifth transfer could only begin on a thread that a finished one let go.
    EXPECT_GE(view.Count("complete"), 1u);
    for (int id : ids) ASSERT_TRUE(Completed(id));
    EXPECT_EQ(5u, view.Count("complete"));
    EXPECT_LE(DownloadMgr::Instance().PoolThreads(), 4);
    cat.service.Reset();
    for (int id : ids) EXPECT_TRUE(cat.Source(id) == cat.Written(id)) << id;
}

TEST_F(ServiceDownloads, StopAfterTheFirstChunkThenRestartResumesWithRangeAndTheFileIsIdentical) {
    const int id = 3101;
    cat.Add(id, 200 * 1024, 200 * 1024);
    Watch(id);
    cat.service.Fault("throttle", "/files/", -1, "65536");
    ASSERT_TRUE(DownloadTaskRegistry::Start(id));
    ASSERT_TRUE(WaitUntil([&] { return DownloadTaskRegistry::Find(id)->received() >= 8192; }));
    DownloadTaskRegistry::Stop(id);
    const unsigned received = DownloadTaskRegistry::Find(id)->received();
    Sleep(300);
    EXPECT_EQ(received, DownloadTaskRegistry::Find(id)->received());  // nothing counted after the stop
    cat.service.Reset();
    ASSERT_TRUE(DownloadTaskRegistry::Restart(id));
    ASSERT_TRUE(Completed(id));
    std::vector<std::string> ranges = cat.FileRanges(id);
    ASSERT_EQ(1u, ranges.size());  // the log was reset before the restart
    EXPECT_EQ("bytes=" + std::to_string(received) + "-", ranges[0]);
    EXPECT_EQ(1u, view.Count("complete"));
    EXPECT_EQ(0u, view.Count("failed"));
    EXPECT_TRUE(cat.Source(id) == cat.Written(id));
}

TEST_F(ServiceDownloads, StopBeforeAnyByteThenRestartStartsAgainFromZero) {
    const int id = 3201;
    cat.Add(id, 64 * 1024, 64 * 1024);
    Watch(id);
    cat.service.Fault("stall_headers", "/files/", 1, "1.5");
    ASSERT_TRUE(DownloadTaskRegistry::Start(id));
    ASSERT_TRUE(WaitUntil([&] { return FileRequests(id) == 1; }));
    DownloadTaskRegistry::Stop(id);
    EXPECT_EQ(0u, DownloadTaskRegistry::Find(id)->received());
    ASSERT_TRUE(DownloadTaskRegistry::Restart(id));
    ASSERT_TRUE(Completed(id));
    // (WinINet may send the stalled request once more on its own.)
    std::vector<std::string> ranges = cat.FileRanges(id);
    ASSERT_GE(ranges.size(), 2u);
    EXPECT_TRUE(ranges.back().empty() || ranges.back() == "bytes=0-") << ranges.back();
    EXPECT_EQ(0u, view.Count("failed"));  // the stalled transfer's failure is stale
    EXPECT_TRUE(cat.Source(id) == cat.Written(id));
}

TEST_F(ServiceDownloads, AThousandByteFileCompletesOnceAndIsListedOnce) {
    const int id = 3301;
    SoftwarePtr rec = cat.Add(id, 1000, 1000);
    Watch(id);
    ASSERT_TRUE(DownloadTaskRegistry::Start(id));
    ASSERT_TRUE(Completed(id));
    std::vector<std::string> expected = {"prepare", "progress 99", "complete 100"};
    EXPECT_EQ(expected, view.Events());
    EXPECT_EQ(1u, TimesCompleted(rec));
    EXPECT_EQ(DownloadStateMap::kCompleted, DownloadStateMap::Get(id));
    EXPECT_EQ(cat.Source(id), cat.Written(id));
}

// A Stop that lands after the last byte was written and before the end of
// the transfer was recorded: the restart asks for the range at the file's
// end, which a web server answers with 416. The download is complete, and
// the registry and its views see it completed, once.
TEST_F(ServiceDownloads, AResumeOfAFileThatIsAlreadyWholeCompletesOnce) {
    const int id = 3701;
    // One read's worth: the read that brings the last byte returns at once,
    // and the next one waits for the end of the answer.
    const int size = 8192;
    SoftwarePtr rec = cat.Add(id, size, size);
    Watch(id);
    // The whole body arrives, then the answer's end does not (for 1.5 s).
    cat.service.Fault("stall_end", "/files/", 1, "1.5");
    ASSERT_TRUE(DownloadTaskRegistry::Start(id));
    ASSERT_TRUE(WaitUntil([&] { return DownloadTaskRegistry::Find(id)->received() == size; }));
    DownloadTaskRegistry::Stop(id);
    ASSERT_TRUE(DownloadTaskRegistry::IsDownloading(id));
    EXPECT_EQ(0u, view.Count("complete"));
    EXPECT_EQ(DownloadStateMap::kStopped, DownloadStateMap::Get(id));
    EXPECT_TRUE(cat.Source(id) == cat.Written(id));

    cat.service.Reset();
    cat.service.Fault("range416", "/files/", -1);
    ASSERT_TRUE(DownloadTaskRegistry::Restart(id));
    ASSERT_TRUE(Completed(id));
    Sleep(300);  // a second completion would arrive meanwhile
    EXPECT_EQ(std::vector<std::string>{"bytes=" + std::to_string(size) + "-"}, cat.FileRanges(id));
    EXPECT_EQ(1u, view.Count("complete"));
    EXPECT_EQ("complete 100", view.Last());
    EXPECT_EQ(0u, view.Count("failed"));
    EXPECT_EQ(1u, TimesCompleted(rec));
    EXPECT_EQ(DownloadStateMap::kCompleted, DownloadStateMap::Get(id));
    EXPECT_EQ(0u, DownloadTaskRegistry::Find(id)->received());  // the empty task: none active
    EXPECT_TRUE(cat.Source(id) == cat.Written(id));
    cat.service.Reset();
}

// A new, smaller release under the same address while a download is
// stopped: the resume gets 416, the download starts over from byte 0 and
// ends with the new file, completed once.
TEST_F(ServiceDownloads, AResumeAfterTheServedFileShrankStartsOverAndCompletesOnce) {
    const int id = 3702;
    SoftwarePtr rec = cat.Add(id, 96 * 1024, 96 * 1024);
    Watch(id);
    cat.service.Fault("throttle", "/files/", -1, "65536");
    ASSERT_TRUE(DownloadTaskRegistry::Start(id));
    ASSERT_TRUE(WaitUntil([&] { return DownloadTaskRegistry::Find(id)->received() >= 40000; }));
    DownloadTaskRegistry::Stop(id);
    const unsigned stopped_at = DownloadTaskRegistry::Find(id)->received();
    ASSERT_LT(stopped_at, 96u * 1024);

    cat.service.Reset();
    PlainGet(cat.service.port(), "/_files/" + std::to_string(id) + "?size=20000&release=2");
    cat.service.Fault("range416", "/files/", -1);
    ASSERT_TRUE(DownloadTaskRegistry::Restart(id));
    ASSERT_TRUE(Completed(id));
    Sleep(300);
    EXPECT_EQ((std::vector<std::string>{"bytes=" + std::to_string(stopped_at) + "-", ""}), cat.FileRanges(id));
    EXPECT_EQ(1u, view.Count("complete"));
    EXPECT_EQ("complete 100", view.Last());
    EXPECT_EQ(0u, view.Count("failed"));
    EXPECT_EQ(1u, TimesCompleted(rec));
    cat.service.Reset();
    const std::string release = cat.Source(id);
    EXPECT_EQ(20000u, release.size());
    EXPECT_TRUE(release == cat.Written(id)) << "written " << cat.Written(id).size();
}

TEST_F(ServiceDownloads, AShortBodyFailsWithState3AndPercentMinus1) {
    const int id = 3401;
    cat.Add(id, 64 * 1024, 64 * 1024);
    Watch(id);
    cat.service.Fault("short_body", "/files/", 1);
    ASSERT_TRUE(DownloadTaskRegistry::Start(id));
    ASSERT_TRUE(WaitUntil([&] { return view.Count("failed") == 1; }));
    int state = 0, percent = 0, speed = 0;
    DownloadTaskRegistry::Find(id)->GetProgress(&state, &percent, &speed);
    EXPECT_EQ(DownloadTask::kFailed, state);
    EXPECT_EQ(-1, percent);
    EXPECT_EQ(0u, view.Count("complete"));
    // A restart picks the download up where the short body left it.
    ASSERT_TRUE(DownloadTaskRegistry::Restart(id));
    ASSERT_TRUE(Completed(id));
    EXPECT_TRUE(cat.Source(id) == cat.Written(id));
}

TEST_F(ServiceDownloads, UnwatchedCompletionsAreOpenedInCompletionOrderAndOnesARowInstallsAreNot) {
    const int first = 3501, second = 3502, watched_id = 3503;
    cat.Add(first, 2000, 2000);
    cat.Add(second, 64 * 1024, 64 * 1024);
    cat.Add(watched_id, 2000, 2000);
    Watch(watched_id);
    cat.service.Fault("throttle", "/files/3502", -1, "65536");
    ASSERT_TRUE(DownloadTaskRegistry::Start(second));
    ASSERT_TRUE(DownloadTaskRegistry::Start(first));
    ASSERT_TRUE(DownloadTaskRegistry::Start(watched_id));
    ASSERT_TRUE(Completed(first));
    ASSERT_TRUE(Completed(second));
    ASSERT_TRUE(Completed(watched_id));
    std::vector<std::string> opened;
    ASSERT_TRUE(WaitUntil([&] {
        opened.clear();
        std::string text;
        test_support::ReadFileBytes(record, &text);
        for (size_t at = 0; (at = text.find(' ', at)) != std::string::npos;) {
            size_t end = text.find('\n', at);
            opened.push_back(text.substr(at + 1, end - at - 1));
            at = end;
        }
        return opened.size() >= 2;
    }));
    Sleep(500);
    char first_path[MAX_PATH], second_path[MAX_PATH];
    WideCharToMultiByte(CP_UTF8, 0, cat.FilePath(first).c_str(), -1, first_path, MAX_PATH, nullptr, nullptr);
    WideCharToMultiByte(CP_UTF8, 0, cat.FilePath(second).c_str(), -1, second_path, MAX_PATH, nullptr, nullptr);
    std::vector<std::string> expected = {first_path, second_path};
    EXPECT_EQ(expected, opened);
}

TEST_F(ServiceDownloads, AProcessEndsAtOnceWhileATransferIsBlockedInARead) {
    const int id = 3601;
    cat.Add(id, 512 * 1024, 512 * 1024);
    cat.service.Fault("stall_body", "/files/", -1, "30");
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring helper = exe;
    helper = helper.substr(0, helper.rfind(L'\\') + 1) + L"download_exit_helper.exe";
    std::wstring command = L"\"" + helper + L"\" " + cat.service.host() + L" \"" + cat.folder + L"\" " +
                           std::to_wstring(id);
    STARTUPINFOW si = {sizeof si};
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    // The stall lasts 30 s; a process that waited for its pool would still run.
    DWORD waited = WaitForSingleObject(pi.hProcess, 15000);
    DWORD code = 99;
    GetExitCodeProcess(pi.hProcess, &code);
    if (waited != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), waited);
    EXPECT_EQ(0u, code);
    cat.service.Reset();
}

}  // namespace
