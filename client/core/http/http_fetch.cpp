#include "client/core/http/http_fetch.h"
#include <windows.h>
#include <shlwapi.h>
#include <stdio.h>
#include <new>
#include <vector>
#include "client/core/http/download_observer.h"
#include "client/core/http/http_reader.h"

namespace {

// Progress goes out per 8192-byte chunk. The network is read in pieces that
// grow while reads come back at once and shrink when one takes long: small
// reads would cap a fast link (every read is a round of system calls), and a
// large read on a slow link would hold back progress and stop requests
// (WinINet fills the whole piece).
const DWORD kChunk = 8192;
const DWORD kMaxPiece = 1024 * 1024;
const DWORD kFetchTimeoutMs = 5000;

class PieceSize {
public:
    explicit PieceSize(DWORD largest) : size_(kChunk), largest_(largest) {}
    DWORD size() const { return size_; }
    void Update(DWORD got, DWORD elapsed_ms) {
        if (got == size_ && elapsed_ms < 30 && size_ < largest_) {
            size_ *= 2;
        } else if (elapsed_ms > 200 && size_ > kChunk) {
            size_ /= 2;
        }
    }

private:
    DWORD size_;
    DWORD largest_;
};

// Reads exactly `length` body bytes into `out`; when the body ends early or a
// read fails, `out` is emptied and the result is false.
bool ReadWholeBody(SimpleHttpReader* reader, int64_t length, std::string* out) {
    if (length < 0 || length > kMaxMemoryBody) return false;
    std::string body(static_cast<size_t>(length), '\0');
    size_t filled = 0;
    while (filled < body.size()) {
        DWORD want = static_cast<DWORD>(body.size() - filled);
        DWORD got = 0;
        if (!reader->Read(&body[filled], want, &got) || got == 0) {
            out->clear();
            return false;
        }
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

// "bytes */N", as a 416 answer gives the full length N; false when the
// header is not of that form.
bool ContentRangeTotal(const std::wstring& header, int64_t* total) {
    const std::wstring prefix = L"bytes */";
    if (header.compare(0, prefix.size(), prefix) != 0) return false;
    std::wstring digits = header.substr(prefix.size());
    while (!digits.empty() && digits.back() == L' ') digits.pop_back();
    if (digits.empty() || digits.find_first_not_of(L"0123456789") != std::wstring::npos || digits.size() > 18) {
        return false;
    }
    *total = static_cast<int64_t>(_wcstoui64(digits.c_str(), nullptr, 10));
    return true;
}

// The size of a file, -1 when it does not exist.
int64_t FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return static_cast<int64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

// Empties a file (a missing one stays missing); false when it cannot be.
bool TruncateFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, TRUNCATE_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    CloseHandle(file);
    return true;
}

bool WriteAll(HANDLE file, const char* data, DWORD size) {
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

// Creates a new temporary file beside the target (same folder, so the final
// rename stays on one volume): the target's name with a unique ".part"
// suffix. INVALID_HANDLE_VALUE when none can be created.
HANDLE CreateTempBeside(const std::wstring& target, std::wstring* temp) {
    static LONG counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        wchar_t suffix[64];
        swprintf(suffix, 64, L".%lu-%ld.part", GetCurrentProcessId(), InterlockedIncrement(&counter));
        *temp = target + suffix;
        HANDLE file = CreateFileW(temp->c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return INVALID_HANDLE_VALUE;
}

}  // namespace

bool HttpFetchFile(const std::wstring& url, const std::wstring& file_path) {
    return HttpFetchFile(url, file_path, FetchedHeadCheck());
}

bool HttpFetchFile(const std::wstring& url, const std::wstring& file_path, const FetchedHeadCheck& check) {
    // Files come from the catalogue host (icons, the version database),
    // whose answers carry no cookie. Wine's WinINet handles cookies under
    // one lock for the whole process: with them, the icon pool's fetches
    // went out one after another instead of side by side.
    SimpleHttpReader reader(kFetchTimeoutMs, INTERNET_FLAG_NO_COOKIES);
    if (!reader.OpenUrl(url)) return false;
    DWORD status = 0;
    int64_t length = 0;
    if (!reader.QueryStatus(&status) || status != 200) return false;
    if (!reader.QueryContentLength(&length)) return false;

    // Sized by the announced length (an icon is a few hundred bytes), and
    // not zero-filled: each read overwrites what it hands on.
    const DWORD piece = length < static_cast<int64_t>(kMaxPiece) ? static_cast<DWORD>(length) : kMaxPiece;
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[piece ? piece : 1]);
    if (!buffer) return false;
    // The first piece is filled whole before anything is written, so the
    // check sees the head of the body in memory; the timed reader gives up
    // only on a pause in the data, so large pieces are safe here.
    auto fill = [&](DWORD want, DWORD* filled) {
        *filled = 0;
        while (*filled < want) {
            DWORD got = 0;
            if (!reader.ReadInPlace(buffer.get() + *filled, want - *filled, &got) || got == 0) return false;
            *filled += got;
        }
        return true;
    };
    DWORD first = 0;
    if (!fill(piece, &first)) return false;
    if (check && !check(buffer.get(), first, length)) return false;

    std::wstring temp;
    HANDLE file = CreateTempBeside(file_path, &temp);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = WriteAll(file, buffer.get(), first);
    int64_t count = first;
    // Stops at the announced length: no read waits for the end of the body.
    while (ok && count < length) {
        DWORD want = length - count < piece ? static_cast<DWORD>(length - count) : piece;
        DWORD got = 0;
        ok = reader.ReadInPlace(buffer.get(), want, &got) && got != 0 && WriteAll(file, buffer.get(), got);
        count += got;
    }
    CloseHandle(file);
    ok = ok && count == length && MoveFileExW(temp.c_str(), file_path.c_str(), MOVEFILE_REPLACE_EXISTING);
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
    // A Location given as a path is on the same host.
    if (location[0] == L'/') location = L"http://" + host + location;
    // Resuming past the end of what the file holds (it was deleted or cut
    // meanwhile) would leave a gap of zeros in the installer: start over.
    const int64_t have = FileSize(file_path);
    if (offset > 0 && have < offset) {
        offset = 0;
        if (observer) observer->OnRestartFromZero();
    }
    std::unique_ptr<SimpleHttpReader> reader(new SimpleHttpReader(0));
    if (!reader->OpenUrl(location, -1, offset)) return false;

    DWORD status = 0;
    if (!reader->QueryStatus(&status)) return false;
    if (status == 416) {
        // The range starts at or past the end of what the server serves. Its
        // full length decides: a file of exactly that length is already
        // whole (the end of an earlier transfer was never recorded); any
        // other file is stale (the served file became shorter) and is
        // fetched again from byte 0, or every retry would meet 416 again.
        std::wstring range;
        int64_t total = 0;
        if (!reader->QueryHeader(HTTP_QUERY_CONTENT_RANGE, &range) || !ContentRangeTotal(range, &total)) {
            return false;
        }
        if (have == total) {
            if (observer) observer->OnProgress(0, 0);
            return true;
        }
        if (!TruncateFile(file_path)) return false;
        if (offset > 0 && observer) observer->OnRestartFromZero();
        offset = 0;
        // Without a Range header: an empty file has no satisfiable range.
        reader.reset(new SimpleHttpReader(0));
        if (!reader->OpenUrl(location, -1, -1) || !reader->QueryStatus(&status)) return false;
    }
    int64_t remaining = 0;
    if (!reader->QueryContentLength(&remaining)) return false;
    int64_t start = offset;
    if (status == 206) {
        // A partial answer must start where we asked, or the bytes land at
        // the wrong place.
        std::wstring range;
        int64_t first = 0;
        if (reader->QueryHeader(HTTP_QUERY_CONTENT_RANGE, &range) &&
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
    if (start != offset) {
        // Rewritten from byte 0: nothing of the old file may stay behind.
        SetEndOfFile(file);
        if (observer) observer->OnRestartFromZero();
    }

    std::unique_ptr<char[]> buffer(new (std::nothrow) char[kMaxPiece]);  // not zero-filled
    if (!buffer) {
        CloseHandle(file);
        return false;
    }
    PieceSize piece(kMaxPiece);
    int64_t received = 0;  // bytes written and reported
    bool ok = true;
    bool stopped = false;
    DWORD tick = GetTickCount();
    while (!stopped) {
        DWORD got = 0;
        if (!reader->Read(buffer.get(), piece.size(), &got) || got == 0) {
            ok = received == remaining;
            break;
        }
        piece.Update(got, GetTickCount() - tick);
        if (!WriteAll(file, buffer.get(), got)) {
            ok = false;
            break;
        }
        DWORD now = GetTickCount();
        DWORD elapsed = now - tick;
        tick = now;
        int speed = elapsed == 0 ? 0 : static_cast<int>(got / (elapsed / 1000.0));
        for (DWORD done = 0; done < got;) {
            DWORD chunk = got - done < kChunk ? got - done : kChunk;
            done += chunk;
            received += chunk;
            if (observer && !observer->OnProgress(static_cast<int>(chunk), speed)) {
                stopped = true;
                break;
            }
        }
    }
    if (stopped) {
        // The file ends where the reported bytes end, so the next resume
        // offset and the file agree.
        position.QuadPart = start + received;
        SetFilePointerEx(file, position, nullptr, FILE_BEGIN);
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

bool HttpDownloadMemWithoutCookies(const std::wstring& url, std::string* body) {
    SimpleHttpReader reader(0, INTERNET_FLAG_NO_COOKIES);
    if (!reader.OpenUrl(url)) return false;
    return ReadAnswer(&reader, body);
}

bool HttpDownloadMem(const std::wstring& host, const std::wstring& path, std::string* body) {
    SimpleHttpReader reader(0);
    if (!reader.Open(host, path)) return false;
    return ReadAnswer(&reader, body);
}

bool HttpDownloadMemBatch(const std::wstring& host, HttpBatch* batch) {
    // Catalogue records carry no cookie, and Wine's WinINet pays a few
    // milliseconds per request for its cookie handling: a page's 20 records
    // took three times as long with it.
    SimpleHttpReader reader(0, INTERNET_FLAG_NO_COOKIES);
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
