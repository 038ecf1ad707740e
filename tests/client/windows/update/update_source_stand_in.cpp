#include "tests/client/windows/update/update_source_stand_in.h"

#include <string.h>

std::atomic<int> StandInSource::opens{0};

std::string SetupBytes(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 8192) % 251);
    return bytes;
}

StandInSource::StandInSource(const SourceScript& script)
    : script_(script), bytes_(SetupBytes(static_cast<size_t>(script.length > 0 ? script.length : 0) + 65536)) {}

StandInSource::~StandInSource() {
    if (script_.gone) ::SetEvent(script_.gone);
}

bool StandInSource::Open(const std::wstring&) {
    ++opens;
    if (script_.hold_open) ::WaitForSingleObject(script_.hold_open, 10000);
    return script_.opens;
}

bool StandInSource::QueryStatus(DWORD* status) {
    *status = script_.status;
    return true;
}

bool StandInSource::QueryLength(int64_t* length) {
    if (!script_.has_length) return false;
    *length = script_.length;
    return true;
}

bool StandInSource::Read(void* buffer, DWORD size, DWORD* read) {
    const size_t index = read_index_++;
    if (static_cast<int>(index) == script_.hold_read && script_.hold) ::WaitForSingleObject(script_.hold, 10000);
    int piece = index < script_.pieces.size() ? script_.pieces[index] : 0;
    if (piece < 0) return false;
    DWORD n = static_cast<DWORD>(piece) < size ? static_cast<DWORD>(piece) : size;
    memcpy(buffer, bytes_.data() + at_, n);
    at_ += n;
    *read = n;
    return true;
}

UpdateDownload::SourceFactory StandIn(const SourceScript& script) {
    return [script]() { return std::unique_ptr<UpdateSource>(new StandInSource(script)); };
}

PostBox::PostBox()
    : hwnd_(::CreateWindowExW(0, L"STATIC", L"posts", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {}

PostBox::~PostBox() { ::DestroyWindow(hwnd_); }

std::vector<std::string> PostBox::Take() {
    std::vector<std::string> seen;
    MSG msg;
    while (::PeekMessageW(&msg, hwnd_, WM_UPDATE_PROGRESS, WM_UPDATE_NET_FAILED, PM_REMOVE)) {
        switch (msg.message) {
        case WM_UPDATE_PROGRESS:
            seen.push_back("p" + std::to_string(msg.wParam));
            break;
        case WM_UPDATE_DOWNLOADED:
            seen.push_back("done");
            break;
        case WM_UPDATE_FILE_FAILED:
            seen.push_back("file");
            break;
        case WM_UPDATE_NET_FAILED:
            seen.push_back("net");
            break;
        }
    }
    return seen;
}
