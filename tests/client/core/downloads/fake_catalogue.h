#pragma once
// Catalogue records and transfers that the download tests control.
#include <windows.h>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>
#include "client/core/http/download_observer.h"
#include "client/core/downloads/download_sources.h"

namespace download_test {

// One call of the transfer, as the engine made it.
struct TransferCall {
    int soft_id;
    std::wstring host, path, file;
    int64_t offset;
};

// A scripted transfer: delivers `chunks` in order, then ends with `ok`. When
// `hold_after` >= 0 it waits on `hold` after delivering that many chunks, as
// a read blocked on a slow network would.
struct Script {
    std::vector<int> chunks;
    bool ok = true;
    int hold_after = -1;
    HANDLE hold = nullptr;
};

class FakeCatalogue {
public:
    FakeCatalogue();
    ~FakeCatalogue();

    SoftwarePtr Add(int soft_id, long long size, const std::wstring& path = L"");
    void Forget(int soft_id);
    // Scripts for the next transfers of a soft id, used in order; the last
    // one is reused.
    void SetScripts(int soft_id, std::vector<Script> scripts);
    std::vector<TransferCall> Calls();
    // Transfers running right now, and the most that ever ran at once.
    int Running();
    int MaxRunning();

private:
    bool Transfer(const std::wstring& host, const std::wstring& path, const std::wstring& file,
                  DownloadObserver* observer, int64_t offset);

    std::mutex lock_;
    std::map<int, SoftwarePtr> records_;
    std::map<int, std::wstring> paths_;
    std::map<int, std::vector<Script>> scripts_;
    std::map<int, size_t> used_;
    std::vector<TransferCall> calls_;
    int running_ = 0, max_running_ = 0;
    DownloadSources saved_;
};

// Points the completion queue's opens at the recorder program beside the
// test program (recording into `record`, or nowhere when it is empty), after
// every open queued so far has been made. Starts the queue.
void RecordOpens(const std::wstring& record);

// Polls until `done` or 20 s pass (a guard against hanging, not a timing
// assertion).
bool WaitUntil(const std::function<bool()>& done, DWORD ms = 20000);

}  // namespace download_test
