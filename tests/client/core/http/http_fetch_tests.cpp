#include <gtest/gtest.h>
#include <windows.h>
#include "client/core/http/http_fetch.h"
#include "client/core/http/http_reader.h"
#include "tests/support/private_service.h"
#include "tests/support/test_support.h"

// Every thread this process starts, counted as it starts (a TLS callback
// sees each thread attach), so a test can tell a thread made per fetch from
// one kept for the next.
volatile LONG g_threads_started = 0;
void NTAPI CountThreadStarts(PVOID, DWORD reason, PVOID) {
    if (reason == DLL_THREAD_ATTACH) InterlockedIncrement(&g_threads_started);
}
extern "C" __attribute__((section(".CRT$XLB"), used)) const PIMAGE_TLS_CALLBACK kCountThreadStarts =
    CountThreadStarts;

namespace {

using test_support::ReadFileBytes;
using test_support::WriteFileBytes;

class HttpFetch : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(service.ok()) << "local services not running";
        dir = test_support::MakeTempDir(L"fetch");
    }
    void TearDown() override { test_support::RemoveTree(dir); }

    // The file the service serves for /files/<stem>.bin?size=<size>, read
    // with a plain client.
    std::string Expected(const std::string& stem, int size) {
        std::string bytes =
            PlainGet(service.port(), "/files/" + stem + ".bin?size=" + std::to_string(size));
        service.Reset();
        return bytes;
    }
    std::vector<std::wstring> FilesInDir() {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found;
        HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &found);
        if (h == INVALID_HANDLE_VALUE) return names;
        do {
            if (found.cFileName[0] != L'.') names.push_back(found.cFileName);
        } while (FindNextFileW(h, &found));
        FindClose(h);
        return names;
    }

    PrivateService service;
    std::wstring dir;
};

TEST_F(HttpFetch, MemoryDownloadSucceedsOnlyOnAWholeAnswerWith200AndLength) {
    const std::string expected = Expected("mem", 20000);
    ASSERT_EQ(20000u, expected.size());
    struct Case {
        const char* fault;  // "" for none
        const char* arg;
        bool ok;
    } cases[] = {
        {"", "", true},
        {"no_length", "", false},
        {"status404", "", false},
        {"status500", "", false},
        {"short_body", "", false},
        {"cut_at", "19999", false},
        {"disconnect", "", false},
        {"stall_body", "0.3", false},
        {"stall_headers", "0.3", false},
        {"length", "999999999999", false},  // beyond the in-memory cap: no allocation
        {"throttle", "400000", true},
    };
    // Faults hold until reset: WinINet may resend a request once when a
    // reused connection drops, and that resend must meet the fault too.
    for (const Case& c : cases) {
        service.Reset();
        if (*c.fault) service.Fault(c.fault, "/files/", -1, c.arg);
        for (int form = 0; form < 2; ++form) {
            std::string body = "untouched";
            bool ok = form == 0 ? HttpDownloadMem(service.url(L"/files/mem.bin?size=20000"), &body)
                                : HttpDownloadMem(service.host(), L"/files/mem.bin?size=20000", &body);
            EXPECT_EQ(c.ok, ok) << c.fault << " form " << form;
            if (c.ok) {
                EXPECT_TRUE(body == expected) << c.fault;
            } else {
                // Never a partial body: untouched before the body, emptied after.
                EXPECT_TRUE(body == "untouched" || body.empty()) << c.fault << ": " << body.size();
            }
        }
    }
}

TEST_F(HttpFetch, MemoryDownloadOfAnEmptyAnswerSucceedsWithTheOutputUntouched) {
    std::string body = "untouched";
    EXPECT_TRUE(HttpDownloadMem(service.url(L"/files/empty.bin?size=0"), &body));
    EXPECT_EQ("untouched", body);
    // A host where nothing listens fails.
    EXPECT_FALSE(HttpDownloadMem(L"http://127.0.0.1:9/x", &body));
    EXPECT_FALSE(HttpDownloadMem(L"not a url", &body));
}

TEST_F(HttpFetch, FileFetchReplacesTheTargetOnlyWhenTheWholeBodyArrived) {
    const std::wstring target = dir + L"\\icon.png";
    const std::string stale(50000, 's');  // an older, longer file
    ASSERT_TRUE(WriteFileBytes(target, stale));
    const std::string expected = Expected("icon", 30000);

    struct Case {
        const char* fault;
        const char* arg;
        bool ok;
    } cases[] = {
        {"short_body", "", false},
        {"status404", "", false},
        {"no_length", "", false},
        {"cut_at", "100", false},
        {"disconnect", "", false},
        {"stall_body", "0.5", false},
        {"", "", true},
    };
    for (const Case& c : cases) {
        service.Reset();
        if (*c.fault) service.Fault(c.fault, "/files/", -1, c.arg);
        EXPECT_EQ(c.ok, HttpFetchFile(service.url(L"/files/icon.bin?size=30000"), target)) << c.fault;
        std::string now;
        ASSERT_TRUE(ReadFileBytes(target, &now));
        // A failure keeps the last good file whole; success replaces it, tail included.
        EXPECT_TRUE(now == (c.ok ? expected : stale)) << c.fault << " size " << now.size();
        EXPECT_EQ(1u, FilesInDir().size()) << "no temporary file may stay behind (" << c.fault << ")";
    }
    // A new target appears only on success.
    const std::wstring fresh = dir + L"\\fresh.png";
    service.Fault("short_body", "/files/", -1);
    EXPECT_FALSE(HttpFetchFile(service.url(L"/files/icon.bin?size=30000"), fresh));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(fresh.c_str()));
}

TEST_F(HttpFetch, FileFetchGivesUpOnAStalledHost) {
    const std::wstring target = dir + L"\\stalled.png";
    for (const char* mode : {"stall_headers", "stall_body"}) {
        service.Reset();
        service.Fault(mode, "/files/", -1, std::to_string(test_support::kLongStallSeconds));
        bool fetched = true;
        EXPECT_TRUE(test_support::BackBeforeTheStallEnds(
            [&] { fetched = HttpFetchFile(service.url(L"/files/s.bin?size=30000"), target); }))
            << "the time-out fired: " << mode;
        EXPECT_FALSE(fetched) << mode;
        EXPECT_TRUE(FilesInDir().empty()) << mode;
    }
}

// The check sees the head of the body in memory, and the announced length,
// before anything is written: the whole of a small body, the first MiB of a
// large one. A refusal writes nothing and leaves the last good file.
TEST_F(HttpFetch, FileFetchShowsTheHeadToItsCheckBeforeWriting) {
    const std::wstring target = dir + L"\\checked.png";
    const int kMiB = 1024 * 1024;
    for (int size : {0, 300, kMiB, kMiB + 5000}) {
        const std::string expected = Expected("head", size);
        ASSERT_EQ(static_cast<size_t>(size), expected.size());
        const std::wstring url = service.url(L"/files/head.bin?size=" + std::to_wstring(size));
        for (bool accept : {true, false}) {
            ASSERT_TRUE(WriteFileBytes(target, "last good"));
            std::string seen;
            int64_t announced = -1;
            bool ok = HttpFetchFile(url, target, [&](const char* head, size_t got, int64_t length) {
                seen.assign(head, got);
                announced = length;
                return accept;
            });
            EXPECT_EQ(accept, ok) << size;
            EXPECT_EQ(size, announced) << size;
            EXPECT_TRUE(seen == expected.substr(0, kMiB)) << size << ": saw " << seen.size() << " bytes";
            std::string now;
            ASSERT_TRUE(ReadFileBytes(target, &now));
            EXPECT_TRUE(now == (accept ? expected : std::string("last good"))) << size;
            EXPECT_EQ(1u, FilesInDir().size()) << "no temporary file may stay behind";
        }
    }
}

DWORD WINAPI ProbeThread(LPVOID) { return 0; }

// A timed fetch runs on its caller's thread: a run of fetches (icons on the
// icon pool) starts no thread each. A read that timed out leaves nothing
// behind that the next fetch would meet.
TEST_F(HttpFetch, TimedFetchesStartNoThread) {
    const std::wstring target = dir + L"\\kept.png";
    const std::wstring url = service.url(L"/files/kept.bin?size=3000");
    ASSERT_TRUE(HttpFetchFile(url, target));
    // The count sees a thread start at all.
    const LONG counted = g_threads_started;
    HANDLE probe = CreateThread(nullptr, 0, ProbeThread, nullptr, 0, nullptr);
    ASSERT_TRUE(probe != nullptr);
    WaitForSingleObject(probe, INFINITE);
    CloseHandle(probe);
    ASSERT_LT(counted, g_threads_started) << "thread starts are not counted";
    const LONG before = g_threads_started;
    for (int i = 0; i < 20; ++i) ASSERT_TRUE(HttpFetchFile(url, target)) << i;
    // Room for a thread or two of WinINet's own.
    EXPECT_LE(g_threads_started - before, 2) << "threads started by 20 fetches";

    service.Fault("stall_body", "/files/stall", 1, "30");
    {
        SimpleHttpReader reader(700);
        ASSERT_TRUE(reader.OpenUrl(service.url(L"/files/stall.bin?size=65536")));
        std::string buffer(65536, '#');
        DWORD got = 0;
        EXPECT_FALSE(reader.Read(&buffer[0], 65536, &got));  // half the body, then nothing
    }
    EXPECT_TRUE(HttpFetchFile(url, target));
}

TEST_F(HttpFetch, BatchRunsOnOneConnectionInIdOrder) {
    HttpBatch batch;
    batch[30].path = L"/echo/third";
    batch[10].path = L"/echo/first";
    batch[20].path = L"/echo/second";
    batch[25].path = L"/files/empty.bin?size=0";  // no body: stays empty
    ASSERT_TRUE(HttpDownloadMemBatch(service.host(), &batch));
    ASSERT_TRUE(batch[10].body && batch[20].body && batch[30].body);
    EXPECT_NE(std::string::npos, batch[10].body->find("/echo/first"));
    EXPECT_NE(std::string::npos, batch[20].body->find("/echo/second"));
    EXPECT_NE(std::string::npos, batch[30].body->find("/echo/third"));
    EXPECT_FALSE(batch[25].body);
    Json::Value log = service.Log();
    ASSERT_EQ(4u, log.size());
    const char* order[] = {"/echo/first", "/echo/second", "/files/empty.bin", "/echo/third"};
    for (unsigned i = 0; i < 4; ++i) {
        EXPECT_EQ(order[i], log[i]["path"].asString());
        EXPECT_EQ(log[0]["connection_id"], log[i]["connection_id"]) << "request " << i;
    }
}

TEST_F(HttpFetch, BatchKeepsWhatArrivedWholeAndFailsOnlyForAnUnreachableHost) {
    service.Fault("short_body", "/echo/2", 1);
    service.Fault("no_length", "/echo/3", 1);
    HttpBatch batch;
    for (int id = 1; id <= 4; ++id) batch[id].path = L"/echo/" + std::to_wstring(id);
    ASSERT_TRUE(HttpDownloadMemBatch(service.host(), &batch));
    EXPECT_TRUE(batch[1].body);
    EXPECT_FALSE(batch[2].body);
    EXPECT_FALSE(batch[3].body);
    ASSERT_TRUE(batch[4].body);
    EXPECT_NE(std::string::npos, batch[4].body->find("/echo/4"));

    HttpBatch unreachable;
    unreachable[1].path = L"/soft/1";
    EXPECT_FALSE(HttpDownloadMemBatch(L"127.0.0.1:9", &unreachable));
    EXPECT_FALSE(unreachable[1].body);
}

}  // namespace
