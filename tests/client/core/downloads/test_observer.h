#pragma once
#include <memory>
#include <mutex>
#include <string>
#include <vector>
#include "client/core/downloads/download_task_registry.h"

namespace download_test {

// A view that records every slot call: "prepare", "progress 60", "complete
// 100", "failed", "delete", "restart", "stop". It installs finished
// downloads itself when made with `installs` (as a catalogue row does).
class RecordingView final : public DownloadTaskObserver {
public:
    explicit RecordingView(bool installs = false) : installs_(installs) {}
    bool InstallsOnComplete() const override { return installs_; }
    void OnPrepare() override { Add("prepare"); }
    void OnProgress(const std::shared_ptr<DownloadTask>& task) override {
        int state = 0, percent = 0, speed = 0;
        task->GetProgress(&state, &percent, &speed);
        Add(state == DownloadTask::kFailed ? "failed " + std::to_string(percent)
                                           : "progress " + std::to_string(percent));
    }
    void OnComplete(const std::shared_ptr<DownloadTask>& task) override {
        int state = 0, percent = 0, speed = 0;
        task->GetProgress(&state, &percent, &speed);
        Add("complete " + std::to_string(percent));
    }
    void OnDelete() override { Add("delete"); }
    void OnRestart() override { Add("restart"); }
    void OnStop() override { Add("stop"); }

    std::vector<std::string> Events() {
        std::lock_guard<std::mutex> guard(lock_);
        return events_;
    }
    size_t Count(const std::string& prefix) {
        std::lock_guard<std::mutex> guard(lock_);
        size_t n = 0;
        for (const auto& e : events_) n += e.compare(0, prefix.size(), prefix) == 0;
        return n;
    }
    std::string Last() {
        std::lock_guard<std::mutex> guard(lock_);
        return events_.empty() ? "" : events_.back();
    }

private:
    void Add(const std::string& e) {
        std::lock_guard<std::mutex> guard(lock_);
        events_.push_back(e);
    }
    const bool installs_;
    std::mutex lock_;
    std::vector<std::string> events_;
};

}  // namespace download_test
