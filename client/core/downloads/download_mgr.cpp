#include "client/core/downloads/download_mgr.h"
#include <stdio.h>
#include "client/core/downloads/download_sources.h"
#include "foundation/log/log.h"

// The registry's progress entry (download_task_registry.cpp).
void DownloadRegistryProgress(void* user_data, int soft_id, int bytes, int speed);

namespace {

// Tokens are unique across every observer of the process, so a transfer of
// a dropped observer can never match a newer observer's token.
volatile LONG g_last_token = 0;

unsigned NextToken() { return static_cast<unsigned>(InterlockedIncrement(&g_last_token)); }

// The transfer's view of its observer: forwards chunks under its token,
// remembers a refusal, and keeps the transfer's own end step back (the engine reports the end once it knows the result).
class TransferSink : public DownloadObserver {
public:
    TransferSink(std::shared_ptr<Observer> observer, unsigned token)
        : observer_(std::move(observer)), token_(token) {}

    bool OnProgress(int bytes, int speed) override {
        if (refused_) return false;
        if (bytes == 0 && speed == 0) return observer_->IsCurrent(token_);
        if (!observer_->Deliver(token_, bytes, speed)) refused_ = true;
        return !refused_;
    }
    void OnRestartFromZero() override {
        if (!refused_ && !observer_->Deliver(token_, kStepRestartedFromZero, kStepRestartedFromZero)) {
            refused_ = true;
        }
    }
    bool refused() const { return refused_; }

private:
    std::shared_ptr<Observer> observer_;
    unsigned token_;
    bool refused_ = false;
};

}  // namespace

Observer::Observer(int soft_id, DownloadProgressCallback callback, void* user_data)
    : soft_id_(soft_id),
      callback_(callback),
      user_data_(user_data),
      segment_(L"file"),
      offset_(0),
      in_callback_(false),
      enabled_(false),
      token_(0) {}

bool Observer::Deliver(unsigned token, int bytes, int speed) {
    ke::scoped_lock guard(lock_);
    if (!enabled_ || token != token_ || in_callback_) return false;
    in_callback_ = true;
    if (callback_) callback_(user_data_, soft_id_, bytes, speed);
    in_callback_ = false;
    return true;
}

bool Observer::IsCurrent(unsigned token) {
    ke::scoped_lock guard(lock_);
    return enabled_ && token == token_;
}

unsigned Observer::Enable(int offset) {
    ke::scoped_lock guard(lock_);
    offset_ = offset;
    enabled_ = true;
    token_ = NextToken();
    return token_;
}

void Observer::Disable() {
    // Waits for a callback in flight on another thread. From inside this
    // observer's own callback the lock is already ours, and the transfer
    // ends at its next step.
    ke::scoped_lock guard(lock_);
    enabled_ = false;
    token_ = NextToken();
}

int Observer::offset() {
    ke::scoped_lock guard(lock_);
    return offset_;
}

DownloadMgr& DownloadMgr::Instance() {
    // Never destroyed: at exit pool threads may still be inside a transfer,
    // and the process must not wait for them.
    static DownloadMgr* mgr = new DownloadMgr();
    return *mgr;
}

DownloadMgr::DownloadMgr()
    : callback_(DownloadRegistryProgress), user_data_(nullptr), pool_(0, kMaxTransfers) {
    pool_.start();
}

void DownloadMgr::SetCallback(DownloadProgressCallback callback, void* user_data) {
    ke::scoped_lock guard(lock_);
    callback_ = callback;
    user_data_ = user_data;
}

std::shared_ptr<Observer> DownloadMgr::FindObserver(int soft_id) {
    ke::scoped_lock guard(lock_);
    for (const auto& o : observers_) {
        if (o->soft_id() == soft_id) return o;
    }
    return nullptr;
}

std::vector<std::shared_ptr<Observer>> DownloadMgr::Unlist(int soft_id) {
    std::vector<std::shared_ptr<Observer>> taken;
    ke::scoped_lock guard(lock_);
    for (size_t i = 0; i < observers_.size();) {
        if (observers_[i]->soft_id() == soft_id) {
            taken.push_back(observers_[i]);
            observers_.erase(observers_.begin() + i);
        } else {
            ++i;
        }
    }
    return taken;
}

bool DownloadMgr::Post(int soft_id, const std::shared_ptr<Observer>& observer, unsigned token, int offset) {
    return pool_.post([this, soft_id, observer, token, offset] { Transfer(soft_id, observer, token, offset); });
}

bool DownloadMgr::Start(int soft_id, int offset) {
    if (offset != 0) {
        std::shared_ptr<Observer> observer = FindObserver(soft_id);
        if (!observer) return false;
        unsigned token = observer->Enable(offset);
        if (Post(soft_id, observer, token, offset)) return true;
        observer->Disable();
        return false;
    }
    // Disabled outside the list lock: disabling may wait for a callback.
    for (const auto& old : Unlist(soft_id)) old->Disable();
    std::shared_ptr<Observer> observer;
    {
        ke::scoped_lock guard(lock_);
        observer = std::make_shared<Observer>(soft_id, callback_, user_data_);
        observers_.push_back(observer);
    }
    unsigned token = observer->Enable(0);
    if (Post(soft_id, observer, token, 0)) return true;
    {
        ke::scoped_lock guard(lock_);
        for (size_t i = 0; i < observers_.size(); ++i) {
            if (observers_[i] == observer) {
                observers_.erase(observers_.begin() + i);
                break;
            }
        }
    }
    observer->Disable();
    return false;
}

void DownloadMgr::Pause(int soft_id) {
    std::shared_ptr<Observer> observer = FindObserver(soft_id);
    if (observer) observer->Disable();
}

void DownloadMgr::Remove(int soft_id) {
    for (const auto& o : Unlist(soft_id)) o->Disable();
}

void DownloadMgr::Drop(int soft_id) {
    for (const auto& o : Unlist(soft_id)) o->Disable();
}

bool DownloadMgr::AcquireFile(int soft_id, const std::shared_ptr<Observer>& observer, unsigned token) {
    for (;;) {
        {
            ke::scoped_lock guard(lock_);
            bool& busy = file_busy_[soft_id];
            if (!busy) {
                busy = true;
                return true;
            }
        }
        if (!observer->IsCurrent(token)) return false;
        Sleep(20);
    }
}

void DownloadMgr::ReleaseFile(int soft_id) {
    ke::scoped_lock guard(lock_);
    file_busy_.erase(soft_id);
}

void DownloadMgr::Transfer(int soft_id, std::shared_ptr<Observer> observer, unsigned token, int offset) {
    std::shared_ptr<Observer> listed = FindObserver(soft_id);
    if (!listed) {
        log_error("%s: DowndloadTask -> FindObserver(%d) failed", "DowndloadTask", soft_id);
        return;
    }
    // A job overtaken by a pause, a resume or a new start reports nothing.
    if (listed != observer || !observer->IsCurrent(token)) return;

    DownloadSources& sources = CurrentDownloadSources();
    std::wstring path;
    SoftwarePtr soft = sources.get_soft(soft_id);
    bool ok = soft && sources.download_file_path(*soft, &path) && !path.empty();
    if (ok) {
        if (!AcquireFile(soft_id, observer, token)) return;
        wchar_t url_path[64];
        swprintf(url_path, 64, L"/%ls/%d", observer->segment().c_str(), soft_id);
        TransferSink sink(observer, token);
        ok = sources.download_file(sources.catalogue_host(), url_path, path, &sink, offset);
        ReleaseFile(soft_id);
        if (ok) {
            // Stopped through its observer: not a failure, and not an end.
            if (!sink.refused()) observer->Deliver(token, 0, 0);
            return;
        }
    }
    observer->Deliver(token, kStepFailed, kStepFailed);
    log_error("%s: DowndloadTask -> HttpDownloadFile failed", "DowndloadTask");
}
