#pragma once
#include <stdint.h>
#include <functional>
#include <map>
#include <memory>
#include <string>

class DownloadObserver;

// The client's network exchanges. None logs; callers log their own failures.

// Largest answer body kept in memory (service answers, records, reports).
const int64_t kMaxMemoryBody = 64LL * 1024 * 1024;

// Fetches a URL into a file with a 5000 ms time-out per step. Status 200 and
// a Content-Length are required. The body goes to a temporary file beside the
// target, which replaces the target only when the whole body arrived, so a
// failed refresh keeps the last good file. No cookie goes with it: files
// come from the catalogue host.
bool HttpFetchFile(const std::wstring& url, const std::wstring& file_path);
// The same, with a look at the body before anything is written: `check`
// gets the first piece (the whole body, or its first MiB) and the announced
// length; when it says no, nothing is written and the fetch fails.
typedef std::function<bool(const char* head, size_t size, int64_t length)> FetchedHeadCheck;
bool HttpFetchFile(const std::wstring& url, const std::wstring& file_path, const FetchedHeadCheck& check);

// The Location header of `path` on `host`, without following a redirect.
bool HttpGetLocation(const std::wstring& host, const std::wstring& path, std::wstring* location);

// Resumable download: looks up the Location of `path`, then fetches it from
// `offset` on into `file_path`, writing at that offset. At offset 0 the
// answer must be 200 or 206; above 0 a 206 continues at the offset and a 200
// (the server ignored Range) rewrites the file from byte 0; so does an offset
// beyond the file's end. A 416 (the range starts at or past the end of what
// the server serves) is judged by the full length its "Content-Range:
// bytes */N" gives: a file of exactly N bytes is already whole (success,
// with the (0, 0) end step); any other file is emptied and fetched again from
// byte 0; without a usable length the call fails. Any other status fails
// without touching the file. Progress goes to `observer` after each chunk
// and, once the file was opened, (0, 0) at the end; a rewrite from byte 0 of
// a transfer that had an offset is announced by OnRestartFromZero first. On
// success the file ends at the last byte written.
bool HttpDownloadFile(const std::wstring& host, const std::wstring& path,
                      const std::wstring& file_path, DownloadObserver* observer, int64_t offset);

// A whole answer in memory: status 200 and a Content-Length (at most
// kMaxMemoryBody) whose bytes all arrived. A length of 0 succeeds with `body`
// untouched.
bool HttpDownloadMem(const std::wstring& url, std::string* body);
// The same with a time-out for every step, for requests whose callers must
// not wait without end on a stalled host.
bool HttpDownloadMem(const std::wstring& url, std::string* body, unsigned long timeout_ms);
bool HttpDownloadMem(const std::wstring& host, const std::wstring& path, std::string* body);
// The same for answers that need no cookie (the catalogue's): none is looked
// up or sent, which saves a few milliseconds per request under Wine and the
// process-wide lock its WinINet takes for cookies.
bool HttpDownloadMemWithoutCookies(const std::wstring& url, std::string* body);

struct HttpBatchEntry {
    std::wstring path;
    std::shared_ptr<std::string> body;  // empty until fetched
};
typedef std::map<int, HttpBatchEntry> HttpBatch;

// One request per entry, in ascending id order, on one connection. Entries
// whose whole body arrived receive it. False only when the host could not be
// reached (no request went out).
bool HttpDownloadMemBatch(const std::wstring& host, HttpBatch* batch);
