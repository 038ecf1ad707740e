#pragma once
// Fetches missing software and category icons on a pool of its own, retries
// a failed fetch up to five times in all, and hands the relative path to
// every caller that asked for the icon meanwhile. A fetched picture that no
// icon may be (icon_file_check.h) is removed at once, without a retry, and
// the callers get no path.
#include <stdint.h>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include "client/core/icons/local_icon_mgr.h"
#include "foundation/ke/critical_section.h"

namespace ke {
class thread_pool;
}

class IconDownloader {
public:
    // (id, relative path or null when the icon could not be fetched). Called
    // with a lock held: record or post, never request icons from here.
    typedef std::function<void(int32_t id, const wchar_t* relative_path)> Callback;

    static IconDownloader& Instance();

    // A cached icon is answered before the call returns; otherwise the
    // callback waits for the one download of that id. False when the
    // download could not be queued; the waiters are then told with a null path.
    bool RequestSoftIcon(int32_t id, Callback callback);
    bool RequestClassIcon(int32_t id, Callback callback);

    // Asks for the software icons of `ids` that are not on disk yet, in that
    // order and with no one waiting, from one job on the pool, then runs
    // `then` there (everything on the calling thread when the job cannot be
    // posted). The threads the pool grows for those downloads start on the
    // pool, not on the caller's thread.
    void RequestSoftIconsThen(const std::vector<int32_t>& ids, std::function<void()> then);

    // The pool job: one fetch attempt.
    void Work(int32_t id, IconKind kind, int attempt);

    static const int kMaxAttempts = 5;

    // A downloader whose jobs go to `post` (tests); the real one posts to its
    // own pool of 4 to 8 threads.
    typedef std::function<bool(std::function<void()>)> Poster;
    explicit IconDownloader(Poster post);

private:
    struct Maps {
        ke::critical_section cache_lock;
        std::map<int32_t, std::wstring> cache;
        ke::critical_section waiters_lock;
        std::map<int32_t, std::vector<Callback>> waiters;
    };

    bool Request(int32_t id, IconKind kind, Callback callback);
    Maps& MapsOf(IconKind kind) { return kind == kSoftIcon ? soft_ : class_; }
    void Finish(int32_t id, IconKind kind, const wchar_t* relative_path);

    Poster post_;
    Maps soft_, class_;
};
