#include "client/core/http/http_reader.h"
#include <stdio.h>
#include <functional>
#include <vector>
#include "client/core/startup/host_config.h"
#include "client/core/http/http_url.h"
#include "foundation/ke/critical_section.h"
#include "foundation/ke/task_mgr.h"
#include "foundation/ke/thread_single.h"

// The worker's loop, shared with its thread, so a reader can go at once even
// while its worker is still inside an abandoned WinINet call.
struct SimpleHttpReader::Worker {
    ke::thread_task_mgr loop;
    // Set by a step on the worker whenever it makes progress and when it
    // ends; the caller's time-out counts from the last signal.
    HANDLE signal;
    Worker() : loop(nullptr, "kthread_task_mgr"), signal(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}
    ~Worker() {
        if (signal) CloseHandle(signal);
    }
};

// One WinINet call made on the worker, shared with its task. The caller gives
// up on it after a time-out without progress; a call that finishes later
// writes only into the step's own memory. No step creates a handle
// (InternetConnectW runs on the caller), so a late step leaves nothing open.
struct SimpleHttpReader::Step {
    std::function<bool(Step*)> call;
    ke::critical_section lock;
    bool finished = false;
    bool ok = false;
    std::vector<char> data;
    DWORD count = 0;
    HANDLE signal = nullptr;  // the worker's progress signal
};

namespace {

bool Guarded(SimpleHttpReader::Step* step) {
    try {
        return step->call(step);
    } catch (...) {
        return false;
    }
}

}  // namespace

SimpleHttpReader::SimpleHttpReader(DWORD timeout_ms, DWORD extra_flags)
    : port_(INTERNET_DEFAULT_HTTP_PORT),
      extra_flags_(extra_flags),
      timeout_(timeout_ms),
      session_(nullptr),
      connection_(nullptr),
      request_(nullptr),
      ok_(true),
      broken_(false) {
    if (timeout_ == 0) return;
    std::shared_ptr<Worker> worker = std::make_shared<Worker>();
    if (!worker->signal) {
        broken_ = true;
        return;
    }
    ke::thread_single* thread = new ke::thread_single([worker]() { worker->loop.run(); });
    thread->set_auto_delete(nullptr);
    if (thread->create_threads(1) != 1) {
        delete thread;
        broken_ = true;  // no worker: every timed step fails
        return;
    }
    thread->resume_all();
    worker_ = worker;
}

SimpleHttpReader::~SimpleHttpReader() {
    // Closing the handles makes a call still running on the worker return.
    CloseRequest();
    if (connection_) InternetCloseHandle(connection_);
    if (session_) InternetCloseHandle(session_);
    if (worker_) {
        worker_->loop.stop();
        worker_->loop.loop().post(ke::task());  // wakes an idle wait at once
    }
}

bool SimpleHttpReader::RunStep(const std::shared_ptr<Step>& step) {
    if (!worker_) {
        step->ok = Guarded(step.get());
        return step->ok;
    }
    if (broken_) return false;
    std::shared_ptr<Worker> worker = worker_;
    step->signal = worker->signal;
    ResetEvent(worker->signal);
    bool queued = worker->loop.loop().post([step, worker]() {
        bool ok = Guarded(step.get());
        ke::scoped_lock guard(step->lock);
        step->ok = ok;
        step->finished = true;
        SetEvent(worker->signal);
    });
    // The step is given up only after a whole time-out without progress.
    for (;;) {
        DWORD waited = queued ? WaitForSingleObject(worker->signal, timeout_) : WAIT_FAILED;
        ke::scoped_lock guard(step->lock);
        if (step->finished) return step->ok;
        if (waited != WAIT_OBJECT_0) {
            broken_ = true;
            return false;
        }
    }
}

bool SimpleHttpReader::Connect(const std::wstring& host) {
    ok_ = false;
    // A second connect replaces the first rather than leaking its handles.
    CloseRequest();
    if (connection_) InternetCloseHandle(connection_);
    if (session_) InternetCloseHandle(session_);
    connection_ = session_ = nullptr;
    std::wstring name;
    if (!SplitHostPort(host, INTERNET_DEFAULT_HTTP_PORT, &name, &port_)) return false;
    session_ = InternetOpenW(L"Vantrel", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!session_) return false;
    if (timeout_ != 0) {
        DWORD value = timeout_;
        InternetSetOptionW(session_, INTERNET_OPTION_CONNECT_TIMEOUT, &value, sizeof value);
        InternetSetOptionW(session_, INTERNET_OPTION_SEND_TIMEOUT, &value, sizeof value);
        InternetSetOptionW(session_, INTERNET_OPTION_RECEIVE_TIMEOUT, &value, sizeof value);
    }
    // InternetConnectW only records the server (the connection is made at
    // the first send), so it needs no worker.
    connection_ = InternetConnectW(session_, name.c_str(), port_, nullptr, nullptr,
                                   INTERNET_SERVICE_HTTP, 0, 0);
    ok_ = connection_ != nullptr;
    if (!ok_) {
        InternetCloseHandle(session_);
        session_ = nullptr;
    }
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
    std::wstring header;
    if (offset >= 0) {
        wchar_t text[64];
        swprintf(text, 64, L"Range: bytes=%lld-\r\n", static_cast<long long>(offset));
        header = text;
    }
    HINTERNET request = request_;
    std::shared_ptr<Step> step = std::make_shared<Step>();
    step->call = [request, header](Step*) {
        return HttpSendRequestW(request, header.empty() ? nullptr : header.c_str(),
                                header.empty() ? 0 : static_cast<DWORD>(-1), nullptr, 0) != FALSE;
    };
    ok_ = RunStep(step);
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
    if (!worker_) {
        DWORD count = 0;
        ok_ = InternetReadFile(request, buffer, size, &count) != FALSE;
        if (ok_) *read = count;
        return ok_;
    }
    // The worker reads into memory of its own: after a time-out the caller's
    // buffer may be gone before the call returns.
    std::shared_ptr<Step> step = std::make_shared<Step>();
    // Read in pieces, signalling each, so a slow but live host is not taken
    // for a stalled one. The pieces grow while they arrive at once (each
    // WinINet read costs system calls) and shrink when one is slow.
    step->call = [request, size](Step* s) {
        const DWORD kFirstPiece = 16 * 1024;
        s->data.resize(size);
        DWORD total = 0;
        DWORD piece = kFirstPiece;
        while (total < size) {
            DWORD want = size - total < piece ? size - total : piece;
            DWORD count = 0;
            DWORD before = GetTickCount();
            if (!InternetReadFile(request, s->data.data() + total, want, &count)) return false;
            if (count == 0) break;
            DWORD took = GetTickCount() - before;
            total += count;
            s->count = total;
            SetEvent(s->signal);
            if (count == want && took < 30 && piece < (1u << 30)) {
                piece *= 2;
            } else if (took > 500 && piece > kFirstPiece) {
                piece /= 2;
            }
        }
        s->count = total;
        return true;
    };
    ok_ = RunStep(step);
    if (ok_) {
        DWORD count = step->count <= size ? step->count : size;
        if (count) memcpy(buffer, step->data.data(), count);
        *read = count;
    }
    return ok_;
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
