#include <gtest/gtest.h>
#include <windows.h>
#include <stdlib.h>
#include <random>
#include <set>
#include "client/core/http/download_observer.h"
#include "client/core/http/http_fetch.h"
#include "tests/support/private_service.h"
#include "tests/support/test_support.h"

namespace {

// Counts what a transfer delivered, the way the download engine does, and
// stops it at a chosen byte count (never when negative).
class CountingObserver : public DownloadObserver {
public:
    explicit CountingObserver(int64_t stop_at) : stop_at_(stop_at) {}
    bool OnProgress(int bytes, int) override {
        if (bytes == 0) {
            ++ends;
            return true;
        }
        received += bytes;
        return stop_at_ < 0 || received < stop_at_;
    }
    void OnRestartFromZero() override {
        restarted = true;
        received = 0;
    }
    int64_t received = 0;
    bool restarted = false;
    int ends = 0;

private:
    int64_t stop_at_;
};

int EnvInt(const char* name, int fallback) {
    std::string v = test_support::Env(name);
    return v.empty() ? fallback : atoi(v.c_str());
}

// Every file below `dir`, relative names.
void ListTree(const std::wstring& dir, const std::wstring& prefix, std::set<std::wstring>* out) {
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            ListTree(dir + L"\\" + name, prefix + name + L"\\", out);
        } else {
            out->insert(prefix + name);
        }
    } while (FindNextFileW(h, &found));
    FindClose(h);
}

TEST(DownloadReliability, InterruptedDownloadsResumeToIdenticalFiles) {
    PrivateService service;
    ASSERT_TRUE(service.ok()) << "local services not running";
    const int downloads = EnvInt("VANTREL_RELIABILITY_DOWNLOADS", 100);
    const unsigned seed = static_cast<unsigned>(EnvInt("VANTREL_RELIABILITY_SEED", 20261210));
    std::mt19937 random(seed);
    std::wstring sandbox = test_support::MakeTempDir(L"reliability");
    std::set<std::wstring> expected_files;

    const char* modes[] = {"short_body", "cut_at",     "disconnect", "stall_body", "stall_headers",
                           "no_length",  "status500",  "status404",  "ignore_range", "throttle",
                           "observer_stop"};
    const int mode_count = sizeof modes / sizeof modes[0];
    int attempts_total = 0;
    DWORD began = GetTickCount();
    for (int n = 0; n < downloads; ++n) {
        const std::string id = "rel" + std::to_string(seed) + "-" + std::to_string(n);
        const int size = 1 + static_cast<int>(random() % 300000);
        PlainGet(service.port(), "/_files/" + id + "?size=" + std::to_string(size));
        const std::string source = PlainGet(service.port(), "/files/" + id + ".bin");
        ASSERT_EQ(static_cast<size_t>(size), source.size());
        // Each download has a folder of its own; only its target may appear.
        const std::wstring folder = sandbox + L"\\" + std::to_wstring(n);
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
        const std::wstring target = folder + L"\\setup.exe";
        expected_files.insert(std::to_wstring(n) + L"\\setup.exe");

        int64_t have = 0;
        bool done = false;
        int attempt = 0;
        for (; attempt < 30 && !done; ++attempt) {
            int64_t stop_at = -1;
            // Mostly a random fault; every few attempts a clean one, so each
            // download ends.
            if (attempt % 4 != 3) {
                const char* mode = modes[random() % mode_count];
                std::string arg;
                int64_t left = size - have;
                if (!strcmp(mode, "cut_at")) arg = std::to_string(left > 1 ? random() % left : 0);
                if (!strcmp(mode, "stall_body") || !strcmp(mode, "stall_headers")) arg = "0.2";
                if (!strcmp(mode, "throttle")) arg = "2000000";
                if (!strcmp(mode, "observer_stop")) {
                    stop_at = 1 + static_cast<int64_t>(random() % (left > 0 ? left : 1));
                } else {
                    service.Fault(mode, "/files/" + id + ".bin", 1, arg);
                }
            }
            CountingObserver observer(stop_at);
            bool ok = HttpDownloadFile(service.host(), L"/file/" + std::wstring(id.begin(), id.end()),
                                       target, &observer, have);
            EXPECT_LE(observer.ends, 1);
            have = observer.restarted ? observer.received : have + observer.received;
            ASSERT_LE(have, size) << id;
            done = ok && have == size;
            service.Control("reset");
        }
        attempts_total += attempt;
        ASSERT_TRUE(done) << id << " did not complete";
        std::string bytes;
        ASSERT_TRUE(test_support::ReadFileBytes(target, &bytes));
        ASSERT_TRUE(bytes == source) << id << ": " << bytes.size() << " of " << size << " bytes";
    }
    std::set<std::wstring> found;
    ListTree(sandbox, L"", &found);
    EXPECT_EQ(expected_files, found) << "a file appeared outside its target";
    printf("reliability: %d downloads, %d attempts, %lu ms (seed %u)\n", downloads, attempts_total,
           static_cast<unsigned long>(GetTickCount() - began), seed);
    test_support::RemoveTree(sandbox);
}

}  // namespace
