#include "client/core/downloads/download_task.h"

DownloadTask::DownloadTask(int soft_id, SoftwarePtr software)
    : soft_id_(soft_id), software_(std::move(software)) {}

void DownloadTask::SetProgress(int percent, int speed) {
    ke::scoped_lock guard(lock_);
    percent_ = percent;
    speed_ = speed;
    state_ = percent == 100 ? kComplete : percent == -1 ? kFailed : kRunning;
}

void DownloadTask::GetProgress(int* state, int* percent, int* speed) const {
    ke::scoped_lock guard(lock_);
    if (state) *state = state_;
    if (percent) *percent = percent_;
    if (speed) *speed = speed_;
}

int DownloadTask::state() const {
    ke::scoped_lock guard(lock_);
    return state_;
}

unsigned DownloadTask::received() const {
    ke::scoped_lock guard(lock_);
    return received_;
}

unsigned DownloadTask::AddReceived(unsigned bytes) {
    ke::scoped_lock guard(lock_);
    received_ += bytes;
    return received_;
}

void DownloadTask::ResetReceived() {
    ke::scoped_lock guard(lock_);
    received_ = 0;
}

int RunningPercent(unsigned received, long long soft_size) {
    if (soft_size <= 0) return 0;
    double percent = static_cast<double>(received) / static_cast<double>(soft_size) * 100.0;
    if (percent >= 99.0) return 99;
    return static_cast<int>(percent);
}
