#pragma once
#include <memory>
#include "client/core/catalogue/software.h"
#include "foundation/ke/critical_section.h"

// One download as the views see it. Percent, speed, state and the received
// count are guarded by the task's own lock (innermost: nothing is taken
// while it is held).
class DownloadTask {
public:
    enum State { kCreated = 0, kRunning = 1, kComplete = 2, kFailed = 3 };

    DownloadTask() = default;  // the empty task: every field 0, no record
    DownloadTask(int soft_id, SoftwarePtr software);
    DownloadTask(const DownloadTask&) = delete;
    DownloadTask& operator=(const DownloadTask&) = delete;

    // Stores both; state 2 when percent is exactly 100, 3 when it is -1,
    // else 1.
    void SetProgress(int percent, int speed);
    void GetProgress(int* state, int* percent, int* speed) const;
    int state() const;

    unsigned received() const;
    // Adds a chunk and returns the new count.
    unsigned AddReceived(unsigned bytes);
    // The transfer rewrites the file from byte 0: nothing counted holds.
    void ResetReceived();

    int soft_id() const { return soft_id_; }
    // The catalogue's size (0 for the empty task); may be 0 or wrong.
    long long soft_size() const { return software_ ? software_->soft_size : 0; }
    const SoftwarePtr& software() const { return software_; }

private:
    int percent_ = 0;
    int speed_ = 0;
    int state_ = kCreated;
    unsigned received_ = 0;
    int soft_id_ = 0;
    SoftwarePtr software_;
    mutable ke::critical_section lock_;
};

// The displayed percentage of `received` bytes of a `soft_size` download that
// has not ended yet: truncated, 0 for an unknown size, and at most 99 (only a
// transfer that ended well makes a download 100 percent).
int RunningPercent(unsigned received, long long soft_size);
