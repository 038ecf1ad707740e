// Parallel installer downloads through the task registry and the download
// engine, timed from the first start to the last completion.
//   download_bench.exe <host:port> <folder> <size> <soft id>...
// Prints "name: value" lines. Two other modes measure peers in the same
// process setting:
//   DOWNLOAD_BENCH_DIRECT=1     the HTTP download alone on plain threads
//                               (what the engine and registry add)
//   DOWNLOAD_BENCH_RAW=<bytes>  plain WinINet reads of that size (what
//                               Wine's HTTP stack allows per read size)
#include <windows.h>
#include <wininet.h>
#include <stdio.h>
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>
#include "client/core/http/download_observer.h"
#include "client/core/downloads/download_sources.h"
#include "client/core/downloads/download_task_registry.h"
#include "client/core/http/http_fetch.h"
#include "client/core/catalogue/software.h"

namespace {

// Counts completions and failures; it answers as a view that installs what
// it watches, which keeps finished downloads from being opened.
class CountingView final : public DownloadTaskObserver {
public:
    std::atomic<int> completed{0}, failed{0};
    bool InstallsOnComplete() const override { return true; }
    void OnPrepare() override {}
    void OnProgress(const std::shared_ptr<DownloadTask>& task) override {
        if (task->state() == DownloadTask::kFailed) ++failed;
    }
    void OnComplete(const std::shared_ptr<DownloadTask>&) override { ++completed; }
    void OnDelete() override {}
    void OnRestart() override {}
    void OnStop() override {}
};

double Seconds(const LARGE_INTEGER& from) {
    LARGE_INTEGER freq, now;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - from.QuadPart) / freq.QuadPart;
}

// Runs every job on its own thread; the seconds until all have returned.
double TimeOnThreads(const std::vector<std::function<void()>>& jobs) {
    LARGE_INTEGER t0;
    QueryPerformanceCounter(&t0);
    std::vector<std::thread> threads;
    for (const auto& job : jobs) threads.emplace_back(job);
    for (auto& t : threads) t.join();
    return Seconds(t0);
}

void ReadWithWinInet(const std::wstring& url, const std::wstring& file, DWORD chunk) {
    HINTERNET net = InternetOpenW(L"Vantrel", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    HINTERNET req = InternetOpenUrlW(net, url.c_str(), nullptr, 0, INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_UI, 0);
    HANDLE out = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    std::vector<char> buf(chunk);
    DWORD n = 0, written = 0;
    while (req && InternetReadFile(req, buf.data(), chunk, &n) && n > 0) WriteFile(out, buf.data(), n, &written, nullptr);
    CloseHandle(out);
    if (req) InternetCloseHandle(req);
    InternetCloseHandle(net);
}

void PrintRate(const char* name, double seconds, long long bytes) {
    printf("%s: %.1f\n", name, static_cast<double>(bytes) / 1048576.0 / seconds);
    fflush(stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 5) {
        fprintf(stderr, "usage: download_bench <host:port> <folder> <size> <soft id>...\n");
        return 2;
    }
    const std::wstring host = argv[1], folder = argv[2];
    const long long size = _wtoi64(argv[3]);
    std::map<int, SoftwarePtr> records;
    for (int i = 4; i < argc; ++i) {
        auto soft = std::make_shared<Software>();
        soft->soft_id = _wtoi(argv[i]);
        soft->soft_size = size;
        records[soft->soft_id] = soft;
    }
    auto file_of = [&folder](int id) { return folder + L"\\" + std::to_wstring(id) + L".bin"; };
    const long long total = size * static_cast<long long>(records.size());

    if (const wchar_t* raw = _wgetenv(L"DOWNLOAD_BENCH_RAW")) {
        std::vector<std::function<void()>> jobs;
        DWORD chunk = static_cast<DWORD>(_wtoi(raw));
        for (const auto& r : records) {
            std::wstring url = L"http://" + host + L"/files/" + std::to_wstring(r.first) + L".bin";
            std::wstring file = file_of(r.first);
            jobs.push_back([url, file, chunk] { ReadWithWinInet(url, file, chunk); });
        }
        PrintRate("raw_aggregate_mib_s", TimeOnThreads(jobs), total);
        ExitProcess(0);
    }
    if (_wgetenv(L"DOWNLOAD_BENCH_DIRECT")) {
        std::vector<std::function<void()>> jobs;
        for (const auto& r : records) {
            std::wstring path = L"/file/" + std::to_wstring(r.first), file = file_of(r.first);
            jobs.push_back([host, path, file] {
                DownloadObserver sink;
                HttpDownloadFile(host, path, file, &sink, 0);
            });
        }
        PrintRate("direct_aggregate_mib_s", TimeOnThreads(jobs), total);
        ExitProcess(0);
    }

    DownloadSources& sources = CurrentDownloadSources();
    sources.get_soft = [&records](int id) {
        auto it = records.find(id);
        return it == records.end() ? SoftwarePtr() : it->second;
    };
    sources.download_file_path = [file_of](const Software& soft, std::wstring* path) {
        *path = file_of(soft.soft_id);
        return true;
    };
    sources.catalogue_host = [host] { return host; };

    CountingView view;
    for (const auto& r : records) DownloadTaskRegistry::AddObserver(r.first, &view);
    LARGE_INTEGER t0;
    QueryPerformanceCounter(&t0);
    for (const auto& r : records) {
        if (!DownloadTaskRegistry::Start(r.first)) {
            fprintf(stderr, "start of %d failed\n", r.first);
            return 1;
        }
    }
    const int n = static_cast<int>(records.size());
    while (view.completed + view.failed < n) Sleep(2);
    double seconds = Seconds(t0);
    printf("vantrel_downloads: %d\n", n);
    printf("vantrel_failed: %d\n", view.failed.load());
    printf("vantrel_seconds: %.3f\n", seconds);
    PrintRate("vantrel_aggregate_mib_s", seconds, total);
    // Pool threads may still be ending: leave without tearing anything down.
    ExitProcess(view.failed.load() == 0 ? 0 : 1);
}
