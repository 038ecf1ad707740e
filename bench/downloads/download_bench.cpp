// Four (or more) parallel installer downloads through the task registry and
// the download engine, timed from the first start to the last completion.
//   download_bench.exe <host:port> <folder> <size> <soft id>...
// Prints "name: value" lines.
#include <windows.h>
#include <stdio.h>
#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include "client/core/download_sources.h"
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
