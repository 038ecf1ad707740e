// Four (or more) parallel installer downloads through the task registry and
// the download engine, timed from the first start to the last completion.
//   download_bench.exe <host:port> <folder> <size> <soft id>...
// Prints "name: value" lines.
#include <windows.h>
#include <wininet.h>
#include <stdio.h>
#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include "client/core/download_observer.h"
#include "client/core/download_sources.h"
#include "client/core/http_fetch.h"
#include "client/core/download_task_registry.h"
#include "client/core/software.h"

namespace {

// Counts completions and failures; being an observer also keeps finished
// downloads from being opened.
class CountingView final : public DownloadTaskObserver {
public:
    std::atomic<int> completed{0}, failed{0};
    void OnPrepare() override {}
    void OnProgress(const std::shared_ptr<DownloadTask>& task) override {
        if (task->state() == DownloadTask::kFailed) ++failed;
    }
    void OnComplete(const std::shared_ptr<DownloadTask>&) override { ++completed; }
    void OnDelete() override {}
    void OnRestart() override {}
    void OnStop() override {}
};

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
    DownloadSources& sources = CurrentDownloadSources();
    sources.get_soft = [&records](int id) {
        auto it = records.find(id);
        return it == records.end() ? SoftwarePtr() : it->second;
    };
    sources.download_file_path = [folder](const Software& soft, std::wstring* path) {
        *path = folder + L"\\" + std::to_wstring(soft.soft_id) + L".bin";
        return true;
    };
    sources.catalogue_host = [host] { return host; };

    // DOWNLOAD_BENCH_RAW=<bytes>: plain WinINet reads of that size into the
    // files, on plain threads: the platform's own cost per read.
    if (const wchar_t* raw = _wgetenv(L"DOWNLOAD_BENCH_RAW")) {
        struct RawJob {
            std::wstring url, file;
            DWORD chunk;
        };
        std::vector<RawJob> jobs;
        for (const auto& r : records) {
            jobs.push_back(RawJob{L"http://" + host + L"/files/" + std::to_wstring(r.first) + L".bin",
                                  folder + L"\\raw-" + std::to_wstring(r.first) + L".bin",
                                  static_cast<DWORD>(_wtoi(raw))});
        }
        LARGE_INTEGER f, a, b;
        QueryPerformanceFrequency(&f);
        QueryPerformanceCounter(&a);
        std::vector<HANDLE> threads;
        for (RawJob& j : jobs) {
            threads.push_back(CreateThread(
                nullptr, 0,
                [](void* p) -> DWORD WINAPI {
                    RawJob* job = static_cast<RawJob*>(p);
                    HINTERNET net = InternetOpenW(L"Vantrel", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
                    HINTERNET req = InternetOpenUrlW(net, job->url.c_str(), nullptr, 0,
                                                     INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_UI, 0);
                    HANDLE out = CreateFileW(job->file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
                    std::vector<char> buf(job->chunk);
                    DWORD n = 0, written = 0;
                    while (req && InternetReadFile(req, buf.data(), job->chunk, &n) && n > 0) {
                        WriteFile(out, buf.data(), n, &written, nullptr);
                    }
                    CloseHandle(out);
                    if (req) InternetCloseHandle(req);
                    InternetCloseHandle(net);
                    return 0;
                },
                &j, 0, nullptr));
        }
        WaitForMultipleObjects(static_cast<DWORD>(threads.size()), threads.data(), TRUE, INFINITE);
        QueryPerformanceCounter(&b);
        double s = static_cast<double>(b.QuadPart - a.QuadPart) / f.QuadPart;
        printf("raw_read_bytes: %ls\n", raw);
        printf("raw_aggregate_mib_s: %.1f\n", static_cast<double>(size) * jobs.size() / 1048576.0 / s);
        fflush(stdout);
        ExitProcess(0);
    }

    // DOWNLOAD_BENCH_DIRECT=1: the HTTP transfers alone on plain threads,
    // without engine and registry, to show what the engine itself costs.
    if (_wgetenv(L"DOWNLOAD_BENCH_DIRECT")) {
        LARGE_INTEGER f, a, b;
        QueryPerformanceFrequency(&f);
        QueryPerformanceCounter(&a);
        std::vector<HANDLE> threads;
        struct Job {
            std::wstring host, path, file;
        };
        std::vector<Job> jobs;
        for (const auto& r : records) {
            jobs.push_back(Job{host, L"/file/" + std::to_wstring(r.first),
                               folder + L"\\" + std::to_wstring(r.first) + L".bin"});
        }
        for (Job& j : jobs) {
            threads.push_back(CreateThread(
                nullptr, 0,
                [](void* p) -> DWORD WINAPI {
                    Job* job = static_cast<Job*>(p);
                    DownloadObserver sink;
                    return HttpDownloadFile(job->host, job->path, job->file, &sink, 0) ? 0 : 1;
                },
                &j, 0, nullptr));
        }
        WaitForMultipleObjects(static_cast<DWORD>(threads.size()), threads.data(), TRUE, INFINITE);
        QueryPerformanceCounter(&b);
        double s = static_cast<double>(b.QuadPart - a.QuadPart) / f.QuadPart;
        printf("direct_seconds: %.3f\n", s);
        printf("vantrel_aggregate_mib_s: %.1f\n", static_cast<double>(size) * jobs.size() / 1048576.0 / s);
        fflush(stdout);
        ExitProcess(0);
    }

    CountingView view;
    for (const auto& r : records) DownloadTaskRegistry::AddObserver(r.first, &view);
    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t0);
    for (const auto& r : records) {
        if (!DownloadTaskRegistry::Start(r.first)) {
            fprintf(stderr, "start of %d failed\n", r.first);
            return 1;
        }
    }
    const int n = static_cast<int>(records.size());
    while (view.completed + view.failed < n) Sleep(2);
    QueryPerformanceCounter(&t1);
    double seconds = static_cast<double>(t1.QuadPart - t0.QuadPart) / freq.QuadPart;
    double mib = static_cast<double>(size) * n / (1024.0 * 1024.0);
    printf("vantrel_downloads: %d\n", n);
    printf("vantrel_failed: %d\n", view.failed.load());
    printf("vantrel_seconds: %.3f\n", seconds);
    printf("vantrel_aggregate_mib_s: %.1f\n", mib / seconds);
    fflush(stdout);
    // Pool threads may still be ending: leave without tearing anything down.
    ExitProcess(view.failed.load() == 0 ? 0 : 1);
}
