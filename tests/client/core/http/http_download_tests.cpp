#include <gtest/gtest.h>
#include <windows.h>
#include <vector>
#include "client/core/http/download_observer.h"
#include "client/core/http/http_fetch.h"
#include "tests/support/private_service.h"
#include "tests/support/test_support.h"

namespace {

using test_support::ReadFileBytes;
using test_support::WriteFileBytes;

// Records every progress step; stops the transfer once `stop_after` bytes
// have come (never when negative).
class RecordingObserver : public DownloadObserver {
public:
    explicit RecordingObserver(int64_t stop_after = -1) : stop_after_(stop_after) {}
    bool OnProgress(int bytes, int speed) override {
        steps.push_back(bytes);
        if (bytes == 0 && speed == 0) {
            ++ends;
            return true;
        }
        EXPECT_EQ(0, ends) << "no step may follow the end signal";
        EXPECT_GE(speed, 0);
        received += bytes;
        return stop_after_ < 0 || received < stop_after_;
    }
    void OnRestartFromZero() override {
        ++restarts;
        received = 0;
    }
    std::vector<int> steps;
    int64_t received = 0;
    int ends = 0;
    int restarts = 0;

private:
    int64_t stop_after_;
};

class HttpDownload : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(service.ok()) << "local services not running";
        dir = test_support::MakeTempDir(L"download");
        target = dir + L"\\setup.exe";
    }
    void TearDown() override { test_support::RemoveTree(dir); }

    // Registers the size of /files/<id>.bin and returns its bytes.
    std::string Source(const std::string& id, int size, int release = 0) {
        PlainGet(service.port(),
                 "/_files/" + id + "?size=" + std::to_string(size) + "&release=" + std::to_string(release));
        std::string bytes = PlainGet(service.port(), "/files/" + id + ".bin");
        service.Reset();
        return bytes;
    }
    std::string Target() {
        std::string bytes;
        ReadFileBytes(target, &bytes);
        return bytes;
    }
    std::wstring FilePath(const std::string& id) {
        return L"/file/" + std::wstring(id.begin(), id.end());
    }

    PrivateService service;
    std::wstring dir, target;
};

TEST_F(HttpDownload, WholeFileInChunksWithOneEndSignal) {
    const std::string source = Source("dl-whole", 100000);
    ASSERT_EQ(100000u, source.size());
    RecordingObserver observer;
    ASSERT_TRUE(HttpDownloadFile(service.host(), FilePath("dl-whole"), target, &observer, 0));
    EXPECT_TRUE(Target() == source);
    EXPECT_EQ(1, observer.ends);
    EXPECT_EQ(0, observer.steps.back());
    EXPECT_EQ(100000, observer.received);
    for (size_t i = 0; i + 1 < observer.steps.size(); ++i) {
        EXPECT_GT(observer.steps[i], 0);
        EXPECT_LE(observer.steps[i], 8192);
    }
    Json::Value log = service.Log();
    ASSERT_EQ(2u, log.size());
    EXPECT_EQ("/file/dl-whole", log[0]["path"].asString());
    EXPECT_EQ("/files/dl-whole.bin", log[1]["path"].asString());
    EXPECT_EQ("bytes=0-", log[1]["range"].asString());
}

TEST_F(HttpDownload, StoppedThenResumedIsByteIdenticalAndTruncatesAStaleTail) {
    const std::string source = Source("dl-resume", 150000);
    // An older, longer file of other bytes sits at the target.
    ASSERT_TRUE(WriteFileBytes(target, std::string(400000, 'x')));
    RecordingObserver first(40000);
    ASSERT_TRUE(HttpDownloadFile(service.host(), FilePath("dl-resume"), target, &first, 0));
    EXPECT_EQ(1, first.ends);
    const int64_t have = first.received;
    ASSERT_GE(have, 40000);
    ASSERT_LT(have, 150000);
    EXPECT_EQ(static_cast<size_t>(have), Target().size()) << "a stopped transfer ends the file where it stopped";

    service.Reset();
    RecordingObserver second;
    ASSERT_TRUE(HttpDownloadFile(service.host(), FilePath("dl-resume"), target, &second, have));
    EXPECT_EQ(150000 - have, second.received);
    EXPECT_TRUE(Target() == source);
    Json::Value log = service.Log();
    ASSERT_EQ(2u, log.size());
    EXPECT_EQ("bytes=" + std::to_string(have) + "-", log[1]["range"].asString());
}

TEST_F(HttpDownload, IgnoredRangeRewritesFromByteZero) {
    const std::string source = Source("dl-ignore", 60000);
    ASSERT_TRUE(WriteFileBytes(target, source.substr(0, 20000) + std::string(90000, 'z')));
    service.Fault("ignore_range", "/files/", 1);
    RecordingObserver observer;
    ASSERT_TRUE(HttpDownloadFile(service.host(), FilePath("dl-ignore"), target, &observer, 20000));
    EXPECT_EQ(1, observer.restarts);
    EXPECT_EQ(60000, observer.received);
    EXPECT_TRUE(Target() == source) << "size " << Target().size();
}

TEST_F(HttpDownload, OffsetBeyondTheFileStartsOverInsteadOfLeavingAGap) {
    const std::string source = Source("dl-gap", 50000);
    struct Case {
        const char* what;
        bool file_exists;
        size_t file_bytes;
    } cases[] = {{"missing file", false, 0}, {"shorter file", true, 10000}};
    for (const Case& c : cases) {
        DeleteFileW(target.c_str());
        if (c.file_exists) {
            ASSERT_TRUE(WriteFileBytes(target, source.substr(0, c.file_bytes)));
        }
        RecordingObserver observer;
        ASSERT_TRUE(HttpDownloadFile(service.host(), FilePath("dl-gap"), target, &observer, 30000)) << c.what;
        EXPECT_EQ(1, observer.restarts) << c.what;
        EXPECT_EQ(50000, observer.received) << c.what;
        EXPECT_TRUE(Target() == source) << c.what;
    }
}

// A resume whose range starts at or past the end of the served file gets
// 416 from a real web server. The full length it gives decides: a local file
// of that length is already whole, any other is fetched again from byte 0,
// so neither a complete download nor one whose file shrank fails for ever.
TEST_F(HttpDownload, UnsatisfiableRangeCompletesAWholeFileAndRefetchesAStaleOne) {
    struct Case {
        const char* what;
        int old_size;        // bytes of the earlier release
        int local_bytes;     // of it, already in the local file
        int64_t offset;      // the resume offset asked for
        int served_size;     // bytes served now
        int served_release;  // 0: the same release as before
        bool complete;       // the local file is already whole
    } cases[] = {
        {"whole file, resumed at its end", 50000, 50000, 50000, 50000, 0, true},
        {"whole file of one chunk", 3000, 3000, 3000, 3000, 0, true},
        {"empty file, empty local file", 0, 0, 0, 0, 0, true},
        {"served file shrank below the offset", 80000, 60000, 60000, 30000, 2, false},
        {"served file shrank, local file complete and longer", 80000, 80000, 80000, 20000, 2, false},
        {"served file shrank to exactly the offset", 80000, 70000, 50000, 50000, 2, false},
        {"served file is now empty", 5000, 5000, 5000, 0, 2, false},
        {"local file longer than the served one, same release", 40000, 40000, 40000, 30000, 0, false},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string id = "dl-416-" + std::to_string(++n);
        const std::string old_source = Source(id, c.old_size);
        DeleteFileW(target.c_str());
        ASSERT_TRUE(WriteFileBytes(target, old_source.substr(0, c.local_bytes))) << c.what;
        const std::string source = Source(id, c.served_size, c.served_release);
        service.Fault("range416", "/files/", -1);

        RecordingObserver observer;
        EXPECT_TRUE(HttpDownloadFile(service.host(), FilePath(id), target, &observer, c.offset)) << c.what;
        EXPECT_TRUE(Target() == source) << c.what << ": size " << Target().size();
        EXPECT_EQ(1, observer.ends) << c.what;
        EXPECT_TRUE(!observer.steps.empty() && observer.steps.back() == 0) << c.what << ": ends with the end step";
        std::vector<std::string> ranges;
        for (const Json::Value& entry : service.Log()) {
            if (entry["path"].asString() != "/files/" + id + ".bin") continue;
            ranges.push_back(entry["range"].isString() ? entry["range"].asString() : "");
        }
        const std::string asked = "bytes=" + std::to_string(c.offset) + "-";
        if (c.complete) {
            EXPECT_EQ(std::vector<int>{0}, observer.steps) << c.what << ": nothing to fetch, only the end";
            EXPECT_EQ(0, observer.restarts) << c.what;
            EXPECT_EQ(std::vector<std::string>{asked}, ranges) << c.what;
        } else {
            EXPECT_EQ(c.offset > 0 ? 1 : 0, observer.restarts) << c.what;
            EXPECT_EQ(c.served_size, observer.received) << c.what;
            EXPECT_EQ((std::vector<std::string>{asked, ""}), ranges) << c.what << ": refetched without a range";
        }
        service.Reset();
    }
}

TEST_F(HttpDownload, UnsatisfiableRangeWithoutAUsableLengthFailsAndKeepsTheFile) {
    const std::string source = Source("dl-416-bad", 40000);
    const std::string partial = source.substr(0, 40000);
    for (const char* content_range : {"none", "bytes */", "bytes */abc", "bytes */-5", "bytes 0-1/40000",
                                      "bytes */40000/1", "*/40000"}) {
        ASSERT_TRUE(WriteFileBytes(target, partial));
        service.Fault("range416", "/files/", -1, content_range);
        RecordingObserver observer;
        EXPECT_FALSE(HttpDownloadFile(service.host(), FilePath("dl-416-bad"), target, &observer, 40000))
            << content_range;
        EXPECT_TRUE(Target() == partial) << content_range;
        EXPECT_TRUE(observer.steps.empty()) << content_range;
        EXPECT_EQ(0, observer.restarts) << content_range;
        service.Reset();
    }
}

TEST_F(HttpDownload, LocationGivenAsAPathIsOnTheSameHost) {
    const std::string source = Source("dl-relative", 20000);
    RecordingObserver observer;
    ASSERT_TRUE(HttpDownloadFile(service.host(), L"/file/dl-relative?relative=1", target, &observer, 0));
    EXPECT_TRUE(Target() == source);
}

TEST_F(HttpDownload, ErrorStatusFailsWithoutTouchingTheFile) {
    Source("dl-status", 30000);
    const std::string partial(12000, 'p');
    for (const char* mode : {"status404", "status500"}) {
        for (int64_t offset : {int64_t(0), int64_t(12000)}) {
            ASSERT_TRUE(WriteFileBytes(target, partial));
            service.Fault(mode, "/files/", 1);
            RecordingObserver observer;
            EXPECT_FALSE(HttpDownloadFile(service.host(), FilePath("dl-status"), target, &observer, offset))
                << mode << " at " << offset;
            EXPECT_TRUE(Target() == partial) << mode;
            EXPECT_TRUE(observer.steps.empty()) << "the file was never opened";
        }
    }
    // A missing Location fails at once too.
    RecordingObserver observer;
    EXPECT_FALSE(HttpDownloadFile(service.host(), L"/echo/no-location", target, &observer, 0));
    EXPECT_TRUE(observer.steps.empty());
}

TEST_F(HttpDownload, EveryFaultModeFailsCleanlyAndResumesToAnIdenticalFile) {
    const std::string source = Source("dl-faults", 120000);
    struct Case {
        const char* mode;
        const char* arg;
    } cases[] = {
        {"short_body", ""},   {"cut_at", "30000"},    {"disconnect", ""},
        {"stall_body", "0.3"}, {"stall_headers", "0.3"}, {"no_length", ""},
        {"status500", ""},    {"ignore_range", ""},   {"throttle", "600000"},
    };
    for (const Case& c : cases) {
        DeleteFileW(target.c_str());
        // First a clean partial transfer, then the faulty resume, then resumes
        // until the file is whole.
        RecordingObserver first(30000);
        ASSERT_TRUE(HttpDownloadFile(service.host(), FilePath("dl-faults"), target, &first, 0));
        service.Fault(c.mode, "/files/", 1, c.arg);
        int64_t have = first.received;
        for (int attempt = 0; attempt < 5 && have < 120000; ++attempt) {
            RecordingObserver next;
            bool ok = HttpDownloadFile(service.host(), FilePath("dl-faults"), target, &next, have);
            have = next.restarts ? next.received : have + next.received;
            if (ok) {
                EXPECT_EQ(120000, have) << c.mode;
            }
        }
        EXPECT_TRUE(Target() == source) << c.mode << ": size " << Target().size();
        service.Reset();
    }
}

}  // namespace
