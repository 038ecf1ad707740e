#include "tests/client/core/downloads/fake_catalogue.h"
#include <stdlib.h>
#include <atomic>
#include "client/core/downloads/complete_queue.h"

namespace download_test {

FakeCatalogue::FakeCatalogue() {
    DownloadSources& s = CurrentDownloadSources();
    saved_ = s;
    s.get_soft = [this](int id) {
        std::lock_guard<std::mutex> guard(lock_);
        auto it = records_.find(id);
        return it == records_.end() ? SoftwarePtr() : it->second;
    };
    s.download_file_path = [this](const Software& soft, std::wstring* path) {
        std::lock_guard<std::mutex> guard(lock_);
        *path = paths_[soft.soft_id];
        return true;
    };
    s.download_file = [this](const std::wstring& host, const std::wstring& path, const std::wstring& file,
                             DownloadObserver* observer, int64_t offset) {
        return Transfer(host, path, file, observer, offset);
    };
}

FakeCatalogue::~FakeCatalogue() { CurrentDownloadSources() = saved_; }

SoftwarePtr FakeCatalogue::Add(int soft_id, long long size, const std::wstring& path) {
    std::lock_guard<std::mutex> guard(lock_);
    auto soft = std::make_shared<Software>();
    soft->soft_id = soft_id;
    soft->soft_size = size;
    records_[soft_id] = soft;
    paths_[soft_id] = path.empty() ? L"C:\\nowhere\\" + std::to_wstring(soft_id) + L".exe" : path;
    return soft;
}

void FakeCatalogue::Forget(int soft_id) {
    std::lock_guard<std::mutex> guard(lock_);
    records_.erase(soft_id);
}

void FakeCatalogue::SetScripts(int soft_id, std::vector<Script> scripts) {
    std::lock_guard<std::mutex> guard(lock_);
    scripts_[soft_id] = std::move(scripts);
    used_[soft_id] = 0;
}

std::vector<TransferCall> FakeCatalogue::Calls() {
    std::lock_guard<std::mutex> guard(lock_);
    return calls_;
}

int FakeCatalogue::Running() {
    std::lock_guard<std::mutex> guard(lock_);
    return running_;
}

int FakeCatalogue::MaxRunning() {
    std::lock_guard<std::mutex> guard(lock_);
    return max_running_;
}

bool FakeCatalogue::Transfer(const std::wstring& host, const std::wstring& path, const std::wstring& file,
                             DownloadObserver* observer, int64_t offset) {
    int soft_id = _wtoi(path.substr(path.rfind(L'/') + 1).c_str());
    Script script;
    {
        std::lock_guard<std::mutex> guard(lock_);
        calls_.push_back(TransferCall{soft_id, host, path, file, offset});
        std::vector<Script>& list = scripts_[soft_id];
        if (!list.empty()) {
            size_t& n = used_[soft_id];
            script = list[n < list.size() ? n : list.size() - 1];
            ++n;
        }
        ++running_;
        if (running_ > max_running_) max_running_ = running_;
    }
    bool ok = script.ok;
    for (size_t i = 0; i < script.chunks.size(); ++i) {
        if (static_cast<int>(i) == script.hold_after) WaitForSingleObject(script.hold, INFINITE);
        if (!observer->OnProgress(script.chunks[i], 1000)) break;
    }
    if (script.hold_after == static_cast<int>(script.chunks.size())) WaitForSingleObject(script.hold, INFINITE);
    observer->OnProgress(0, 0);
    {
        std::lock_guard<std::mutex> guard(lock_);
        --running_;
    }
    return ok;
}

void RecordOpens(const std::wstring& record) {
    CompleteQueue& queue = CompleteQueue::Instance();
    queue.Start();
    auto drained = std::make_shared<std::atomic<bool>>(false);
    queue.Post([drained] { *drained = true; });
    WaitUntil([&] { return drained->load(); });
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring program = path;
    program = program.substr(0, program.rfind(L'\\') + 1) + L"open_recorder.exe";
    queue.SetOpenProgram(program);
    SetEnvironmentVariableW(L"VANTREL_OPEN_RECORD", record.empty() ? nullptr : record.c_str());
}

bool WaitUntil(const std::function<bool()>& done, DWORD ms) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms) return false;
        Sleep(5);
    }
    return true;
}

}  // namespace download_test
