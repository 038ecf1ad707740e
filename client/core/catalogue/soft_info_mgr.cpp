#include "client/core/catalogue/soft_info_mgr.h"
#include <windows.h>
#include <shlwapi.h>
#include "client/core/startup/host_config.h"
#include "client/core/http/http_fetch.h"
#include "client/core/icons/local_icon_mgr.h"
#include "client/core/catalogue/software_parse.h"
#include "foundation/log/log.h"

namespace {

// The icon store knows which icons are on disk below the skin folder.
bool IconFileLookup(int soft_id, std::wstring* relative_path) {
    return SoftIcon::Instance().GetIconPath(soft_id, relative_path);
}

}  // namespace

SoftInfoMgr& SoftInfoMgr::Instance() {
    // Thread-safe first use: two threads asking at once get the same object.
    static SoftInfoMgr* instance = new SoftInfoMgr();
    return *instance;
}

SoftInfoMgr::SoftInfoMgr() : icon_lookup_(IconFileLookup) {}

SoftwarePtr SoftInfoMgr::GetSoft(int soft_id) {
    ke::scoped_lock hold(cache_lock_);
    auto it = cache_.find(soft_id);
    return it == cache_.end() ? SoftwarePtr() : it->second;
}

void SoftInfoMgr::SetIconPath(int soft_id, const std::wstring& path) {
    ke::scoped_lock hold(cache_lock_);
    auto it = cache_.find(soft_id);
    if (it != cache_.end() && it->second) it->second->icon_path = path;
}

std::wstring SoftInfoMgr::GetIconPath(const Software& soft) {
    ke::scoped_lock hold(cache_lock_);
    return soft.icon_path;
}

void SoftInfoMgr::SetSoftScore(int soft_id, int score) {
    ke::scoped_lock hold(cache_lock_);
    auto it = cache_.find(soft_id);
    if (it != cache_.end() && it->second) it->second->soft_score = score;
}

int SoftInfoMgr::GetSoftScore(const Software& soft) {
    ke::scoped_lock hold(cache_lock_);
    return soft.soft_score;
}

void SoftInfoMgr::SetCollected(int soft_id, bool collected) {
    ke::scoped_lock hold(collected_lock_);
    collected_[soft_id] = collected;
}

void SoftInfoMgr::ClearCollected() {
    ke::scoped_lock hold(collected_lock_);
    collected_.clear();
}

bool SoftInfoMgr::IsCollected(int soft_id) {
    ke::scoped_lock hold(collected_lock_);
    auto it = collected_.find(soft_id);
    return it != collected_.end() && it->second;
}

void SoftInfoMgr::SetLocalIconLookup(IconLookup lookup) {
    ke::scoped_lock hold(cache_lock_);
    icon_lookup_ = lookup ? lookup : IconLookup(IconFileLookup);
}

void SoftInfoMgr::ClearForTest() {
    {
        ke::scoped_lock hold(cache_lock_);
        cache_.clear();
    }
    ke::scoped_lock hold(collected_lock_);
    collected_.clear();
}

bool SoftInfoMgr::FetchSofts(SoftMap* ids, bool refresh) {
    SoftMap work;
    if (refresh) {
        for (auto& entry : *ids) work[entry.first] = SoftwarePtr();
    } else {
        for (auto& entry : *ids) {
            ke::scoped_lock hold(cache_lock_);
            auto it = cache_.find(entry.first);
            if (it != cache_.end())
                entry.second = it->second;
            else
                work[entry.first] = SoftwarePtr();
        }
    }
    if (work.empty()) return true;

    bool ok = DownloadSofts(&work);
    if (ok) Merge(work);
    FillLocalIcons(work, ids);
    for (auto it = ids->begin(); it != ids->end();) {
        if (it->second)
            ++it;
        else
            it = ids->erase(it);
    }
    return ok;
}

bool SoftInfoMgr::DownloadSofts(SoftMap* work) {
    HttpBatch batch;
    for (auto& entry : *work) {
        if (entry.second) continue;
        wchar_t path[32];
        swprintf(path, 32, L"/soft/%d", entry.first);
        batch[entry.first].path = path;
    }
    bool ok = HttpDownloadMemBatch(ServiceHostName(ServiceHost::Catalogue), &batch);
    if (!ok) log_error("%s: the catalogue host could not be reached", "SoftInfoMgr::DownloadSofts");
    for (auto& entry : batch) {
        const std::shared_ptr<std::string>& body = entry.second.body;
        if (!body || body->empty()) continue;
        SoftwarePtr soft = std::make_shared<Software>();
        if (ParseSoftware(soft.get(), *body)) {
            (*work)[entry.first] = soft;
        } else {
            log_error("%s: the record of soft id %d is not a JSON object", "SoftInfoMgr::DownloadSofts",
                      entry.first);
            (*work)[entry.first] = SoftwarePtr();
            ok = false;
        }
    }
    return ok;
}

void SoftInfoMgr::Merge(const SoftMap& work) {
    ke::scoped_lock hold(cache_lock_);
    for (const auto& entry : work) {
        if (!entry.second) continue;
        auto it = cache_.find(entry.first);
        if (it != cache_.end()) {
            if (it->second) entry.second->icon_path = it->second->icon_path;
            it->second = entry.second;
        } else {
            cache_[entry.first] = entry.second;
        }
    }
}

void SoftInfoMgr::FillLocalIcons(const SoftMap& work, SoftMap* ids) {
    IconLookup lookup;
    {
        ke::scoped_lock hold(cache_lock_);
        lookup = icon_lookup_;
    }
    for (const auto& entry : work) {
        if (!entry.second) continue;
        (*ids)[entry.first] = entry.second;
        if (!GetIconPath(*entry.second).empty()) continue;
        std::wstring relative;
        if (lookup(entry.first, &relative)) {
            ke::scoped_lock hold(cache_lock_);
            entry.second->icon_path = relative;
        }
    }
}
