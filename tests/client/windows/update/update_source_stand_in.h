#pragma once
// A scripted source of the self-update's bytes, and a window that collects
// what the download posts.
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "client/windows/update/update_download.h"

// The bytes of the file: a pattern that shows a shifted or lost piece.
std::string SetupBytes(size_t size);

struct SourceScript {
    bool opens = true;
    DWORD status = 200;
    bool has_length = true;
    int64_t length = 20000;
    // Sizes of the successive reads: a size, 0 (end of body) or -1 (the
    // read fails). After the last, reads end the body.
    std::vector<int> pieces;
    // Set: Open, or the read of that index, waits for it first.
    HANDLE hold_open = nullptr;
    int hold_read = -1;
    HANDLE hold = nullptr;
    // Signalled when the source is destroyed (the worker is done with it).
    HANDLE gone = nullptr;
};

class StandInSource : public UpdateSource {
public:
    explicit StandInSource(const SourceScript& script);
    ~StandInSource() override;
    bool Open(const std::wstring& url) override;
    bool QueryStatus(DWORD* status) override;
    bool QueryLength(int64_t* length) override;
    bool Read(void* buffer, DWORD size, DWORD* read) override;

    static std::atomic<int> opens;

private:
    SourceScript script_;
    std::string bytes_;
    size_t at_ = 0;
    size_t read_index_ = 0;
};

UpdateDownload::SourceFactory StandIn(const SourceScript& script);

// A message-only window whose queue the download posts to.
class PostBox {
public:
    PostBox();
    ~PostBox();
    HWND hwnd() const { return hwnd_; }
    // Every update message waiting, in order: "p40", "done", "file", "net".
    std::vector<std::string> Take();

private:
    HWND hwnd_;
};
