#include "client/core/http_fetch.h"
#include <windows.h>
#include <shlwapi.h>
#include <stdio.h>
#include <vector>
#include "client/core/download_observer.h"
#include "client/core/http_reader.h"

namespace {

const DWORD kChunk = 8192;
const DWORD kFetchTimeoutMs = 5000;

// Reads exactly `length` body bytes into a new string; false when the body
// ends early or a read fails.
bool ReadWholeBody(SimpleHttpReader* reader, int64_t length, std::string* out) {
    if (length < 0 || length > kMaxMemoryBody) return false;
    std::string body(static_cast<size_t>(length), '\0');
    size_t filled = 0;
    while (filled < body.size()) {
        DWORD want = static_cast<DWORD>(body.size() - filled);
        DWORD got = 0;
        if (!reader->Read(&body[filled], want, &got) || got == 0) return false;
        filled += got;
    }
    out->swap(body);
    return true;
}

bool ReadAnswer(SimpleHttpReader* reader, std::string* body) {
    DWORD status = 0;
    int64_t length = 0;
    if (!reader->QueryStatus(&status) || status != 200) return false;
    if (!reader->QueryContentLength(&length)) return false;
    if (length == 0) return true;
    return ReadWholeBody(reader, length, body);
}

// "bytes N-M/T": the first byte N; false when the header is not of that form.
bool ContentRangeStart(const std::wstring& header, int64_t* start) {
    if (header.compare(0, 6, L"bytes ") != 0) return false;
    size_t dash = header.find(L'-', 6);
    if (dash == std::wstring::npos || dash == 6) return false;
    std::wstring digits = header.substr(6, dash - 6);
    if (digits.find_first_not_of(L"0123456789") != std::wstring::npos || digits.size() > 18) return false;
    *start = static_cast<int64_t>(_wcstoui64(digits.c_str(), nullptr, 10));
    return true;
}

bool WriteAll(HANDLE file, const char* data, DWORD size) {
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

// A temporary file in the target's folder, so the final rename stays on one
// volume. Empty when none can be created.
std::wstring TempFileBeside(const std::wstring& target) {
    wchar_t folder[MAX_PATH];
    if (target.size() >= MAX_PATH) return L"";
    lstrcpynW(folder, target.c_str(), MAX_PATH);
    if (!PathRemoveFileSpecW(folder) || folder[0] == L'\0') lstrcpyW(folder, L".");
    wchar_t temp[MAX_PATH];
    if (!GetTempFileNameW(folder, L"vtl", 0, temp)) return L"";
    return temp;
}

}  // namespace

bool HttpFetchFile(const std::wstring& url, const std::wstring& file_path) {
    SimpleHttpReader reader(kFetchTimeoutMs);
    if (!reader.OpenUrl(url)) return false;
    DWORD status = 0;
    int64_t length = 0;
    if (!reader.QueryStatus(&status) || status != 200) return false;
    if (!reader.QueryContentLength(&length)) return false;

    std::wstring temp = TempFileBeside(file_path);
    if (temp.empty()) return false;
    HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DeleteFileW(temp.c_str());
        return false;
    }
    std::vector<char> buffer(kChunk);
    int64_t count = 0;
    bool written = true;
    for (;;) {
        DWORD got = 0;
        if (!reader.Read(buffer.data(), kChunk, &got) || got == 0) break;
        if (!WriteAll(file, buffer.data(), got)) {
            written = false;
            break;
        }
        count += got;
    }
    CloseHandle(file);
    bool ok = written && count == length &&
              MoveFileExW(temp.c_str(), file_path.c_str(), MOVEFILE_REPLACE_EXISTING);
    if (!ok) DeleteFileW(temp.c_str());
    return ok;
}

bool HttpGetLocation(const std::wstring& host, const std::wstring& path, std::wstring* location) {
    SimpleHttpReader reader(0, INTERNET_FLAG_NO_AUTO_REDIRECT);
    if (!reader.Open(host, path)) return false;
    return reader.GetLocation(location);
}

bool HttpDownloadFile(const std::wstring& host, const std::wstring& path,
                      const std::wstring& file_path, DownloadObserver* observer, int64_t offset) {
    if (offset < 0) offset = 0;
    std::wstring location;
    if (!HttpGetLocation(host, path, &location) || location.empty()) return false;
    SimpleHttpReader reader(0);
    if (!reader.OpenUrl(location, -1, offset)) return false;

    DWORD status = 0;
    int64_t remaining = 0;
    if (!reader.QueryStatus(&status)) return false;
    if (!reader.QueryContentLength(&remaining)) return false;
    int64_t start = offset;
    if (status == 206) {
        // A partial answer must start where we asked, or the bytes land at
        // the wrong place.
        std::wstring range;
        int64_t first = 0;
        if (reader.QueryHeader(HTTP_QUERY_CONTENT_RANGE, &range) &&
            (!ContentRangeStart(range, &first) || first != offset)) {
            return false;
        }
    } else if (status == 200) {
        start = 0;  // whole file: at an offset, the server ignored Range
    } else {
        return false;
    }

    HANDLE file = CreateFileW(file_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER position;
    position.QuadPart = start;
    if (!SetFilePointerEx(file, position, nullptr, FILE_BEGIN)) {
        CloseHandle(file);
        return false;
    }
    if (start != offset && observer) observer->OnRestartFromZero();

    std::vector<char> buffer(kChunk);
    int64_t received = 0;
    bool ok = true;
    DWORD tick = GetTickCount();
    for (;;) {
        DWORD got = 0;
        if (!reader.Read(buffer.data(), kChunk, &got) || got == 0) {
            ok = received == remaining;
            break;
        }
        if (!WriteAll(file, buffer.data(), got)) {
            ok = false;
            break;
        }
        received += got;
        DWORD now = GetTickCount();
        DWORD elapsed = now - tick;
        tick = now;
        int speed = elapsed == 0 ? 0 : static_cast<int>(got / (elapsed / 1000.0));
        if (observer && !observer->OnProgress(static_cast<int>(got), speed)) break;
    }
    if (observer) observer->OnProgress(0, 0);
    // Whatever an older, longer file held beyond what was written goes.
    if (ok) SetEndOfFile(file);
    CloseHandle(file);
    return ok;
}

bool HttpDownloadMem(const std::wstring& url, std::string* body) {
    return HttpDownloadMem(url, body, 0);
}

bool HttpDownloadMem(const std::wstring& url, std::string* body, unsigned long timeout_ms) {
    SimpleHttpReader reader(timeout_ms);
    if (!reader.OpenUrl(url)) return false;
    return ReadAnswer(&reader, body);
}

bool HttpDownloadMem(const std::wstring& host, const std::wstring& path, std::string* body) {
    SimpleHttpReader reader(0);
    if (!reader.Open(host, path)) return false;
    return ReadAnswer(&reader, body);
}

bool HttpDownloadMemBatch(const std::wstring& host, HttpBatch* batch) {
    SimpleHttpReader reader(0);
    if (!reader.Connect(host)) return false;
    // WinINet connects lazily, at the first send: a host that cannot be
    // reached shows as no request going out at all.
    bool any_sent = batch->empty();
    for (auto& item : *batch) {
        HttpBatchEntry& entry = item.second;
        int64_t length = 0;
        bool sent = reader.OpenRequest(entry.path);
        any_sent |= sent;
        if (sent && reader.QueryContentLength(&length) && length > 0) {
            std::shared_ptr<std::string> body = std::make_shared<std::string>();
            if (ReadWholeBody(&reader, length, body.get())) entry.body = body;
        }
        reader.CloseRequest();
    }
    return any_sent;
}
