#include "client/windows/update/update_download.h"

#include "client/core/http/http_reader.h"
#include "foundation/ke/thread_single.h"
#include "foundation/log/log.h"

namespace {

const char kWho[] = "UpdateTipWnd::Download";

class HttpUpdateSource : public UpdateSource {
public:
    bool Open(const std::wstring& url) override {
        // Made here, on the worker: its own worker thread starts with it.
        reader_.reset(new SimpleHttpReader(kUpdateStallTimeoutMs));
        return reader_->OpenUrl(url);
    }
    bool QueryStatus(DWORD* status) override { return reader_ && reader_->QueryStatus(status); }
    bool QueryLength(int64_t* length) override { return reader_ && reader_->QueryContentLength(length); }
    bool Read(void* buffer, DWORD size, DWORD* read) override {
        return reader_ && reader_->Read(buffer, size, read);
    }

private:
    std::unique_ptr<SimpleHttpReader> reader_;
};

uint64_t WriteLimitForTests() {
    wchar_t text[32] = {0};
    if (!::GetEnvironmentVariableW(L"VANTREL_TEST_UPDATE_WRITE_LIMIT", text, 32)) return UINT64_MAX;
    return _wcstoui64(text, nullptr, 10);
}

}  // namespace

std::unique_ptr<UpdateSource> MakeHttpUpdateSource() {
    return std::unique_ptr<UpdateSource>(new HttpUpdateSource);
}

UpdateDownload::UpdateDownload(HWND window, const std::wstring& url, const std::wstring& path,
                               SourceFactory factory)
    : window_(window),
      url_(url),
      path_(path),
      factory_(std::move(factory)),
      loop_([this]() { return ReadStep(); }, "kthread_task_mgr"),
      write_limit_(WriteLimitForTests()) {}

UpdateDownload::~UpdateDownload() {
    // Only a download that never got its worker still holds the file here.
    ke::scoped_lock hold(lock_);
    DropFileLocked();
}

bool UpdateDownload::Stopped() const {
    ke::scoped_lock hold(lock_);
    return stopped_;
}

bool UpdateDownload::CreateLocalFile() {
    // CREATE_ALWAYS leaves nothing of an older file.
    HANDLE file = ::CreateFileW(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        log_error("%s: cannot create %ls (%lu)", kWho, path_.c_str(), ::GetLastError());
        return false;
    }
    ke::scoped_lock hold(lock_);
    file_ = file;
    return true;
}

UpdateDownload::StartResult UpdateDownload::Start() {
    if (!CreateLocalFile()) return kFileFailed;
    std::shared_ptr<UpdateDownload> self = shared_from_this();
    if (!ke::run_detached([self]() { self->Run(); })) {
        log_error("%s: no worker for the download", kWho);
        ke::scoped_lock hold(lock_);
        DropFileLocked();
        return kNoWorker;
    }
    log_trace("%s: downloading %ls to %ls", kWho, url_.c_str(), path_.c_str());
    return kStarted;
}

void UpdateDownload::Run() {
    source_ = factory_ ? factory_() : nullptr;
    outcome_ = source_ ? Connect() : kNetFailed;
    // The loop's idle step reads one piece a pass until the download ends.
    if (outcome_ == kGoOn) loop_.run();
    Finish(outcome_);
    source_.reset();
}

UpdateDownload::Outcome UpdateDownload::Connect() {
    if (Stopped()) return kStoppedOutcome;
    if (!source_->Open(url_)) {
        log_error("%s: no answer from %ls", kWho, url_.c_str());
        return kNetFailed;
    }
    DWORD status = 0;
    if (!source_->QueryStatus(&status) || status != 200) {
        log_error("%s: %ls answered status %lu", kWho, url_.c_str(), status);
        return kNetFailed;
    }
    int64_t length = 0;
    if (!source_->QueryLength(&length) || length <= 0) {
        log_error("%s: %ls announced no usable length", kWho, url_.c_str());
        return kNetFailed;
    }
    total_ = static_cast<uint64_t>(length);
    return Stopped() ? kStoppedOutcome : kGoOn;
}

bool UpdateDownload::ReadStep() {
    if (Stopped()) {
        outcome_ = kStoppedOutcome;
        return false;
    }
    DWORD got = 0;
    if (!source_->Read(buffer_, kPieceSize, &got)) {
        log_error("%s: a read failed after %llu of %llu bytes", kWho,
                  static_cast<unsigned long long>(received_), static_cast<unsigned long long>(total_));
        outcome_ = kNetFailed;
        return false;
    }
    if (got == 0 || got > total_ - received_) {
        log_error("%s: the body does not have the announced %llu bytes (%llu, then %lu more)", kWho,
                  static_cast<unsigned long long>(total_), static_cast<unsigned long long>(received_), got);
        outcome_ = kNetFailed;
        return false;
    }
    {
        // Writes happen under the lock, so a stop (which closes and removes
        // the file at once) waits at most for one piece to reach the disk.
        ke::scoped_lock hold(lock_);
        if (stopped_) {
            outcome_ = kStoppedOutcome;
            return false;
        }
        if (!WriteAll(buffer_, got)) {
            log_error("%s: writing %ls failed (%lu)", kWho, path_.c_str(), ::GetLastError());
            outcome_ = kWriteFailed;
            return false;
        }
        received_ += got;
        PostLocked(WM_UPDATE_PROGRESS, static_cast<WPARAM>(received_ * 100 / total_));
    }
    if (received_ == total_) {
        outcome_ = kDone;
        return false;
    }
    return true;
}

bool UpdateDownload::WriteAll(const char* data, DWORD size) {
    if (size > write_limit_ || received_ > write_limit_ - size) {
        ::SetLastError(ERROR_DISK_FULL);
        return false;
    }
    while (size > 0) {
        DWORD written = 0;
        if (!::WriteFile(file_, data, size, &written, nullptr) || written == 0) return false;
        data += written;
        size -= written;
    }
    return true;
}

void UpdateDownload::Finish(Outcome outcome) {
    ke::scoped_lock hold(lock_);
    // A stop has closed and removed the file already.
    if (stopped_) return;
    if (outcome == kDone) {
        const bool closed = ::CloseHandle(file_) != FALSE;
        file_ = INVALID_HANDLE_VALUE;
        if (closed) {
            completed_ = true;
            log_trace("%s: %ls is complete (%llu bytes)", kWho, path_.c_str(),
                      static_cast<unsigned long long>(received_));
            PostLocked(WM_UPDATE_DOWNLOADED, 0);
            return;
        }
        // A close that fails may not have flushed the file: not one to start.
        log_error("%s: closing %ls failed (%lu)", kWho, path_.c_str(), ::GetLastError());
        outcome = kWriteFailed;
        ::DeleteFileW(path_.c_str());
    } else {
        DropFileLocked();
    }
    if (outcome == kNetFailed) PostLocked(WM_UPDATE_NET_FAILED, 0);
    if (outcome == kWriteFailed) PostLocked(WM_UPDATE_FILE_FAILED, 0);
}

void UpdateDownload::PostLocked(UINT message, WPARAM wParam) {
    if (stopped_) return;
    ::PostMessageW(window_, message, wParam, 0);
}

void UpdateDownload::DropFileLocked() {
    if (file_ == INVALID_HANDLE_VALUE) return;
    ::CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    if (!::DeleteFileW(path_.c_str()))
        log_error("%s: the partial %ls cannot be removed (%lu)", kWho, path_.c_str(), ::GetLastError());
}

void UpdateDownload::Stop() {
    ke::scoped_lock hold(lock_);
    if (stopped_) return;
    stopped_ = true;
    loop_.stop();
    if (file_ != INVALID_HANDLE_VALUE) {
        // The worker writes only under the lock and checks for a stop first.
        DropFileLocked();
    } else if (completed_ && !handed_over_) {
        ::DeleteFileW(path_.c_str());
    }
}

void UpdateDownload::HandOver() {
    ke::scoped_lock hold(lock_);
    handed_over_ = true;
}

void UpdateDownload::DiscardFile() {
    ke::scoped_lock hold(lock_);
    if (completed_ && !handed_over_) ::DeleteFileW(path_.c_str());
}
