#pragma once
// The self-update's download: the new setup file fetched into the download
// folder off the UI thread, reported to the window with its own messages.
//
// The window and the worker share this object by reference count, so the
// window may go at any moment: any close stops the download, after which
// nothing is posted and the partial file is gone. The UI thread never waits
// for the network: at most for one piece being written. The download ends at the first failure with exactly one
// failure message.
#include <windows.h>
#include <stdint.h>

#include <functional>
#include <memory>
#include <string>

#include "foundation/ke/critical_section.h"
#include "foundation/ke/task_mgr.h"

// The window's own messages, posted by the worker to the window.
const UINT WM_UPDATE_PROGRESS = WM_USER + 200;    // wParam: percent received
const UINT WM_UPDATE_DOWNLOADED = WM_USER + 201;  // the whole file is written and closed
const UINT WM_UPDATE_FILE_FAILED = WM_USER + 202; // the local file cannot be created or written
const UINT WM_UPDATE_NET_FAILED = WM_USER + 203;  // no answer, not 200, no or 0 length, a failed read, a body of another length

// Where the bytes come from: an HTTP GET unless a test gives another.
class UpdateSource {
public:
    virtual ~UpdateSource() {}
    virtual bool Open(const std::wstring& url) = 0;
    virtual bool QueryStatus(DWORD* status) = 0;
    // The announced length; false when there is none.
    virtual bool QueryLength(int64_t* length) = 0;
    // The next piece; a successful read of 0 bytes is the end of the body.
    virtual bool Read(void* buffer, DWORD size, DWORD* read) = 0;
};

// A stalled host fails a step after this long without progress.
const DWORD kUpdateStallTimeoutMs = 30000;
std::unique_ptr<UpdateSource> MakeHttpUpdateSource();

class UpdateDownload : public std::enable_shared_from_this<UpdateDownload> {
public:
    typedef std::function<std::unique_ptr<UpdateSource>()> SourceFactory;
    enum StartResult { kStarted, kFileFailed, kNoWorker };

    static const DWORD kPieceSize = 8192;

    // Reports go to `window`. The source is made on the worker.
    UpdateDownload(HWND window, const std::wstring& url, const std::wstring& path,
                   SourceFactory factory = MakeHttpUpdateSource);
    ~UpdateDownload();

    // UI thread: creates the local file (an older one of that name is
    // replaced whole) and starts the worker. Nothing runs unless kStarted.
    StartResult Start();
    // UI thread: ends the download. Nothing is posted afterwards; the file
    // goes unless it was handed over.
    void Stop();
    // UI thread, on WM_UPDATE_DOWNLOADED, once the setup has started: the
    // file is the setup's now and stays.
    void HandOver();
    // UI thread, on WM_UPDATE_DOWNLOADED when the setup did not start.
    void DiscardFile();

    const std::wstring& Path() const { return path_; }
    bool Stopped() const;

    // The worker's body (Start runs it on its own thread; tests may call
    // it directly after creating the file through Start's first half).
    void Run();
    // Start's first half: the file alone.
    bool CreateLocalFile();

private:
    enum Outcome { kGoOn, kDone, kNetFailed, kWriteFailed, kStoppedOutcome };

    Outcome Connect();
    bool ReadStep();
    bool WriteAll(const char* data, DWORD size);
    void Finish(Outcome outcome);
    // Under the lock: posts unless stopped.
    void PostLocked(UINT message, WPARAM wParam);
    // Under the lock: closes and removes the unfinished file.
    void DropFileLocked();

    const HWND window_;
    const std::wstring url_;
    const std::wstring path_;
    SourceFactory factory_;

    mutable ke::critical_section lock_;
    bool stopped_ = false;
    bool completed_ = false;   // written whole and closed
    bool handed_over_ = false;
    HANDLE file_ = INVALID_HANDLE_VALUE;  // closed only under the lock

    // Worker-side state.
    std::unique_ptr<UpdateSource> source_;
    ke::thread_task_mgr loop_;
    Outcome outcome_ = kGoOn;
    uint64_t received_ = 0;
    uint64_t total_ = 0;
    // Test seam (VANTREL_TEST_UPDATE_WRITE_LIMIT): writes beyond this many
    // bytes fail as on a full disk.
    uint64_t write_limit_;
    char buffer_[kPieceSize];
};
