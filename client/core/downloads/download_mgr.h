#pragma once
#include <windows.h>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include "client/core/http/download_observer.h"
#include "foundation/ke/critical_section.h"
#include "foundation/ke/thread_pool.h"

// The progress entry the engine forwards every step to: (user data, soft id,
// bytes, speed). Steps: (n, speed) a chunk of n bytes; (0, 0) the transfer
// ended with the whole file; (-1, -1) the transfer failed; (-2, -2) the
// server ignored the resume and the file is being rewritten from byte 0.
typedef void (*DownloadProgressCallback)(void* user_data, int soft_id, int bytes, int speed);
const int kStepFailed = -1;
const int kStepRestartedFromZero = -2;

// The per-download progress gate. Each transfer carries the generation token
// it was started with; only a transfer whose token is current may deliver.
// Disabling takes the lock that delivery holds across the callback, so it
// returns only after a callback in flight has finished, and none follows.
class Observer : public DownloadObserver {
public:
    Observer(int soft_id, DownloadProgressCallback callback, void* user_data);
    Observer(const Observer&) = delete;
    Observer& operator=(const Observer&) = delete;

    // A step of the transfer with `token`: false (nothing delivered) when
    // the observer is disabled or the token is stale.
    bool Deliver(unsigned token, int bytes, int speed);
    bool IsCurrent(unsigned token);

    // Enables delivery for a new transfer from `offset`; returns its token.
    unsigned Enable(int offset);
    // Stops delivery; every token issued so far becomes stale.
    void Disable();

    int soft_id() const { return soft_id_; }
    int offset();
    const std::wstring& segment() const { return segment_; }

private:
    int soft_id_;
    DownloadProgressCallback callback_;
    void* user_data_;
    std::wstring segment_;
    int offset_;
    bool in_callback_;
    bool enabled_;
    unsigned token_;
    ke::critical_section lock_;
};

// Moves installer files from the catalogue host to the download folder on a
// pool of at most 4 threads. Knows downloads only by soft id; driven by the
// task registry on the UI thread.
class DownloadMgr {
public:
    static DownloadMgr& Instance();

    // Offset 0 starts anew (any observer left for the id is dropped); any
    // other offset resumes the listed observer from that byte.
    bool Start(int soft_id, int offset);
    // Stops delivery and the transfer; the observer stays listed.
    void Pause(int soft_id);
    // Stops delivery and the transfer and unlists the observer.
    void Remove(int soft_id);
    // Disables and unlists the observer.
    void Drop(int soft_id);
    std::shared_ptr<Observer> FindObserver(int soft_id);

    // Where progress goes: the task registry unless a test says otherwise.
    void SetCallback(DownloadProgressCallback callback, void* user_data);
    // Threads of the pool now (for tests).
    LONG PoolThreads() const { return pool_.thread_count(); }

    static const int kMaxTransfers = 4;

private:
    DownloadMgr();
    bool Post(int soft_id, const std::shared_ptr<Observer>& observer, unsigned token, int offset);
    std::vector<std::shared_ptr<Observer>> Unlist(int soft_id);
    void Transfer(int soft_id, std::shared_ptr<Observer> observer, unsigned token, int offset);
    // One transfer at a time writes a soft id's file: a restart waits here
    // until a stale transfer still blocked in a read has let go of it.
    bool AcquireFile(int soft_id, const std::shared_ptr<Observer>& observer, unsigned token);
    void ReleaseFile(int soft_id);

    ke::critical_section lock_;
    std::vector<std::shared_ptr<Observer>> observers_;
    std::map<int, bool> file_busy_;
    DownloadProgressCallback callback_;
    void* user_data_;
    ke::thread_pool pool_;
};
