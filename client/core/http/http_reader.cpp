#include "client/core/http/http_reader.h"
#include <stdio.h>
#include <new>
#include <vector>
#include "client/core/startup/host_config.h"
#include "client/core/http/http_url.h"
#include "foundation/ke/critical_section.h"

namespace {

// One WinINet session for the whole process: opening one reads the proxy
// settings from the registry, a few milliseconds per request under Wine.
// Sessions are safe to share between threads; every setting a reader needs
// (flags, time-outs) goes on its own request handle. Never closed.
HINTERNET SharedSession() {
    static ke::critical_section* lock = new ke::critical_section;
    static HINTERNET session = nullptr;
    ke::scoped_lock guard(*lock);
    if (!session) session = InternetOpenW(L"Vantrel", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    return session;
}

}  // namespace

SimpleHttpReader::SimpleHttpReader(DWORD timeout_ms, DWORD extra_flags)
    : port_(INTERNET_DEFAULT_HTTP_PORT),
      extra_flags_(extra_flags),
      timeout_(timeout_ms),
      connection_(nullptr),
      request_(nullptr),
      ok_(true),
      broken_(false),
      scratch_size_(0) {}

SimpleHttpReader::~SimpleHttpReader() {
    CloseRequest();
    if (connection_) InternetCloseHandle(connection_);
}

bool SimpleHttpReader::Connect(const std::wstring& host) {
    ok_ = false;
    // A second connect replaces the first rather than leaking its handles.
    CloseRequest();
    if (connection_) InternetCloseHandle(connection_);
    connection_ = nullptr;
    std::wstring name;
    if (!SplitHostPort(host, INTERNET_DEFAULT_HTTP_PORT, &name, &port_)) return false;
    HINTERNET session = SharedSession();
    if (!session) return false;
    // InternetConnectW only records the server (the connection is made at
    // the first send, and kept-alive sockets are pooled per server).
    connection_ = InternetConnectW(session, name.c_str(), port_, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    ok_ = connection_ != nullptr;
    return ok_;
}

bool SimpleHttpReader::OpenRequest(const std::wstring& path, int64_t offset) {
    if (!connection_) return false;
    const wchar_t* accept[] = {L"*/*", nullptr};
    request_ = HttpOpenRequestW(connection_, L"GET", path.c_str(), L"HTTP/1.1", nullptr, accept,
                                // Never from the cache, and never into it either:
                                // answers include cookie-authenticated user data,
                                // and the cache write costs a few ms per request.
                                extra_flags_ | INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                    INTERNET_FLAG_EXISTING_CONNECT | INTERNET_FLAG_NO_UI,
                                0);
    if (!request_) return false;
    if (timeout_ != 0) {
        // WinINet's own time-outs bound the send, which runs on this thread:
        // connecting, sending and waiting for the headers each give up after
        // the time-out without progress.
        DWORD value = timeout_;
        InternetSetOptionW(request_, INTERNET_OPTION_CONNECT_TIMEOUT, &value, sizeof value);
        InternetSetOptionW(request_, INTERNET_OPTION_SEND_TIMEOUT, &value, sizeof value);
        InternetSetOptionW(request_, INTERNET_OPTION_RECEIVE_TIMEOUT, &value, sizeof value);
    }
    wchar_t header[64] = L"";
    if (offset >= 0) swprintf(header, 64, L"Range: bytes=%lld-\r\n", static_cast<long long>(offset));
    ok_ = HttpSendRequestW(request_, *header ? header : nullptr, *header ? static_cast<DWORD>(-1) : 0,
                           nullptr, 0) != FALSE;
    if (!ok_) CloseRequest();
    return ok_;
}

bool SimpleHttpReader::OpenUrl(const std::wstring& url, int length, int64_t offset) {
    std::wstring text = url;
    if (length >= 0 && static_cast<size_t>(length) < text.size()) text.resize(length);
    std::wstring host, path;
    unsigned short port = 0;
    if (!SplitHttpUrl(text, &host, &port, &path)) return false;
    wchar_t with_port[16];
    swprintf(with_port, 16, L":%u", static_cast<unsigned>(port));
    if (!Connect(host + with_port)) return false;
    return OpenRequest(path, offset);
}

bool SimpleHttpReader::Open(const std::wstring& host, const std::wstring& path, int64_t offset) {
    return Connect(host) && OpenRequest(path, offset);
}

bool SimpleHttpReader::Read(void* buffer, DWORD size, DWORD* read) {
    if (!request_) return false;
    HINTERNET request = request_;
    if (timeout_ == 0) {
        DWORD count = 0;
        ok_ = InternetReadFile(request, buffer, size, &count) != FALSE;
        if (ok_) *read = count;
        return ok_;
    }
    // Timed: WinINet's receive time-out (set on the request) ends any wait
    // for data that passes it without a byte; a host that keeps sending,
    // however slowly, goes on. The body goes into memory of the reader's own
    // first, so a read that fails half-way leaves the caller's buffer as it
    // was. Not zero-filled: every byte handed on was read into it first.
    if (broken_) return false;
    if (scratch_size_ < size) {
        scratch_.reset(new (std::nothrow) char[size]);
        scratch_size_ = scratch_ ? size : 0;
        if (!scratch_) return false;
    }
    DWORD total = 0;
    if (!ReadFill(scratch_.get(), size, &total)) return false;
    if (total) memcpy(buffer, scratch_.get(), total);
    *read = total;
    return true;
}

bool SimpleHttpReader::ReadInPlace(void* buffer, DWORD size, DWORD* read) {
    if (timeout_ == 0) return Read(buffer, size, read);
    if (!request_ || broken_) return false;
    return ReadFill(static_cast<char*>(buffer), size, read);
}

bool SimpleHttpReader::ReadFill(char* into, DWORD size, DWORD* read) {
    DWORD total = 0;
    while (total < size) {
        DWORD count = 0;
        if (!InternetReadFile(request_, into + total, size - total, &count)) {
            broken_ = true;  // the time-out passed: the answer is not trusted further
            return ok_ = false;
        }
        if (count == 0) break;
        total += count;
    }
    *read = total;
    return ok_ = true;
}

bool SimpleHttpReader::QueryHeader(DWORD query, std::wstring* out) {
    if (!request_) return false;
    DWORD size = 0;
    HttpQueryInfoW(request_, query, nullptr, &size, nullptr);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) return false;
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
    DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (!HttpQueryInfoW(request_, query, buffer.data(), &bytes, nullptr)) return false;
    out->assign(buffer.data(), bytes / sizeof(wchar_t));
    return true;
}

bool SimpleHttpReader::GetLocation(std::wstring* out) {
    return QueryHeader(HTTP_QUERY_LOCATION, out);
}

bool SimpleHttpReader::QueryStatus(DWORD* status) {
    if (!request_) return false;
    DWORD value = 0, size = sizeof value;
    if (!HttpQueryInfoW(request_, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &value, &size,
                        nullptr)) {
        return false;
    }
    *status = value;
    return true;
}

bool SimpleHttpReader::QueryContentLength(int64_t* length) {
    std::wstring text;
    if (!QueryHeader(HTTP_QUERY_CONTENT_LENGTH, &text)) return false;
    size_t begin = text.find_first_not_of(L" \t");
    size_t end = text.find_last_not_of(L" \t");
    if (begin == std::wstring::npos) return false;
    text = text.substr(begin, end - begin + 1);
    if (text.size() > 18 || text.find_first_not_of(L"0123456789") != std::wstring::npos) return false;
    *length = static_cast<int64_t>(_wcstoui64(text.c_str(), nullptr, 10));
    return true;
}

void SimpleHttpReader::CloseRequest() {
    if (request_) {
        InternetCloseHandle(request_);
        request_ = nullptr;
    }
}
