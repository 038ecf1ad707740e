#pragma once
#include <windows.h>
#include <wininet.h>
#include <stdint.h>
#include <memory>
#include <string>

// One GET request over WinINet, every step on the caller's thread. With a
// time-out, WinINet's own connect, send and receive time-outs are set to it:
// a step gives up when the time-out passes without progress (a read that
// keeps receiving goes on). No thread is started: a thread per request
// costs more than a small fetch on a loaded machine. One reader serves one
// request (or, through CloseRequest, a batch on one connection).
class SimpleHttpReader {
public:
    explicit SimpleHttpReader(DWORD timeout_ms, DWORD extra_flags = 0);
    ~SimpleHttpReader();
    SimpleHttpReader(const SimpleHttpReader&) = delete;
    SimpleHttpReader& operator=(const SimpleHttpReader&) = delete;

    // `host` is "host" or "host:port" (port 80 by default).
    bool Connect(const std::wstring& host);
    // Opens and sends a GET. An offset of 0 or more asks for the body from
    // that byte on ("Range: bytes=N-"); -1 sends no Range.
    bool OpenRequest(const std::wstring& path, int64_t offset = -1);
    // `length` in characters, or -1 for the whole text.
    bool OpenUrl(const std::wstring& url, int length = -1, int64_t offset = -1);
    bool Open(const std::wstring& host, const std::wstring& path, int64_t offset = -1);

    // Reads the next piece of the body; a successful read of 0 bytes marks
    // its end. A timed read fills the whole `size` unless the body ends
    // first; after a time-out `buffer` and `read` are left untouched.
    bool Read(void* buffer, DWORD size, DWORD* read);
    // The same for a caller that drops `buffer` when the read fails: a timed
    // read goes straight into it (a fresh block of memory for a copy costs
    // more under Wine than the transfer itself), so a failed read may have
    // written part of it.
    bool ReadInPlace(void* buffer, DWORD size, DWORD* read);

    bool GetLocation(std::wstring* out);
    // The status code; false when the answer has none.
    bool QueryStatus(DWORD* status);
    // The Content-Length as a 64-bit number; false when absent or not a
    // plain decimal number.
    bool QueryContentLength(int64_t* length);
    // Any header as text; false when absent.
    bool QueryHeader(DWORD query, std::wstring* out);

    // Closes the request handle so the next OpenRequest reuses the connection.
    void CloseRequest();
    HINTERNET request() const { return request_; }
    unsigned short port() const { return port_; }

private:
    // Fills `into` up to `size` bytes or the end of the body.
    bool ReadFill(char* into, DWORD size, DWORD* read);

    unsigned short port_;
    DWORD extra_flags_;
    DWORD timeout_;
    HINTERNET connection_;
    HINTERNET request_;
    bool ok_;
    bool broken_;  // a timed read failed: later reads fail too
    // A timed read's own memory, grown to the largest read, never zero-filled.
    std::unique_ptr<char[]> scratch_;
    DWORD scratch_size_;
};
