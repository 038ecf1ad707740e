#include "client/core/icons/icon_downloader.h"
#include <windows.h>
#include <stdio.h>
#include "client/core/startup/host_config.h"
#include "client/core/http/http_fetch.h"
#include "client/core/catalogue/soft_info_mgr.h"
#include "client/core/icons/icon_file_check.h"
#include "foundation/ke/thread_pool.h"
#include "foundation/log/log.h"

namespace {

ke::thread_pool& IconPool() {
    static ke::thread_pool* pool = [] {
        auto* p = new ke::thread_pool(4, 8);
        p->start();
        return p;
    }();
    return *pool;
}

std::wstring IconUrl(IconKind kind, int32_t id) {
    wchar_t path[48];
    swprintf(path, 48, kind == kSoftIcon ? L"/icon/%d" : L"/class_icon/%d", static_cast<int>(id));
    return L"http://" + ServiceHostName(ServiceHost::Catalogue) + path;
}

}  // namespace

IconDownloader& IconDownloader::Instance() {
    static IconDownloader* instance =
        new IconDownloader([](std::function<void()> job) { return IconPool().post(job); });
    return *instance;
}

IconDownloader::IconDownloader(Poster post) : post_(std::move(post)) {}

bool IconDownloader::RequestSoftIcon(int32_t id, Callback callback) {
    return Request(id, kSoftIcon, std::move(callback));
}

bool IconDownloader::RequestClassIcon(int32_t id, Callback callback) {
    return Request(id, kClassIcon, std::move(callback));
}

void IconDownloader::RequestSoftIconsThen(const std::vector<int32_t>& ids, std::function<void()> then) {
    auto ask = [this, ids, then] {
        for (int32_t id : ids) {
            std::wstring known;
            if (SoftIcon::Instance().GetIconPath(id, &known)) continue;
            RequestSoftIcon(id, [](int32_t, const wchar_t*) {});
        }
        if (then) then();
    };
    if (!post_(ask)) ask();
}

bool IconDownloader::Request(int32_t id, IconKind kind, Callback callback) {
    Maps& maps = MapsOf(kind);
    {
        ke::scoped_lock lock(maps.cache_lock);
        auto it = maps.cache.find(id);
        if (it != maps.cache.end()) {
            callback(id, it->second.c_str());
            return true;
        }
    }
    bool first = false;
    {
        ke::scoped_lock lock(maps.waiters_lock);
        auto& list = maps.waiters[id];
        first = list.empty();
        list.push_back(std::move(callback));
    }
    if (!first) return true;  // a download of this id is under way
    if (post_([this, id, kind] { Work(id, kind, 1); })) return true;
    Finish(id, kind, nullptr);
    return false;
}

void IconDownloader::Finish(int32_t id, IconKind kind, const wchar_t* relative_path) {
    Maps& maps = MapsOf(kind);
    ke::scoped_lock lock(maps.waiters_lock);
    auto it = maps.waiters.find(id);
    if (it == maps.waiters.end()) return;
    for (const auto& callback : it->second) callback(id, relative_path);
    maps.waiters.erase(it);
}

void IconDownloader::Work(int32_t id, IconKind kind, int attempt) {
    std::wstring relative = IconRelativePath(kind, id);
    // The folder is created before the fetch: a first run has no skin\temp.
    std::wstring file = IconFilePath(kind, id);
    // The picture's header is judged on the bytes in memory, before the
    // file is written.
    bool refused = false;
    bool fetched = HttpFetchFile(IconUrl(kind, id), file, [&](const char* head, size_t size, int64_t length) {
        refused = !IconBytesAcceptable(head, size, length, "IconDownloader::Work", id);
        return !refused;
    });
    if (refused) {
        // The service answered, with a picture no row may decode: asking
        // again would bring the same. The waiters fall back as for a
        // missing icon, and an older file of that id goes too.
        DeleteFileW(file.c_str());
        Finish(id, kind, nullptr);
        return;
    }
    if (fetched) {
        Maps& maps = MapsOf(kind);
        {
            ke::scoped_lock lock(maps.cache_lock);
            maps.cache.emplace(id, relative);
        }
        if (kind == kSoftIcon) {
            SoftInfoMgr::Instance().SetIconPath(id, relative);
            SoftIcon::Instance().SetIconPath(id, relative);
        } else {
            TypeIcon::Instance().SetIconPath(id, relative);
        }
        Finish(id, kind, relative.c_str());
        return;
    }
    if (attempt >= kMaxAttempts) {
        log_error("%s: download icon failed, we have try max times", "IconDownloader::Work");
        Finish(id, kind, nullptr);
        return;
    }
    log_error("%s: download icon failed, retry times=%d", "IconDownloader::Work", attempt);
    if (!post_([this, id, kind, attempt] { Work(id, kind, attempt + 1); })) Finish(id, kind, nullptr);
}
