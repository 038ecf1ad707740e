#include "client/core/catalogue/rank_page.h"
#include <map>
#include "client/core/startup/host_config.h"
#include "client/core/http/http_fetch.h"
#include "client/core/utilities/json_read.h"
#include "foundation/ke/critical_section.h"
#include "foundation/log/log.h"

namespace {

struct CachedPage {
    std::vector<RankEntry> entries;
    int32_t total = 0;
    int32_t count = 0;
};

struct RankCache {
    ke::critical_section lock;  // held only to read or write the map
    std::map<std::pair<int32_t, int32_t>, CachedPage> pages;
};

RankCache& Cache() {
    static RankCache* cache = new RankCache();
    return *cache;
}

}  // namespace

bool LoadFromJson(const std::string& answer, std::vector<RankEntry>* entries, int32_t* total,
                  int32_t* count) {
    Json::Value root;
    if (!json_read::Parse(answer, json_read::Root::Object, &root)) {
        log_error("%s: the ranking answer is not a JSON object", "LoadFromJson");
        return false;
    }
    *total = json_read::Integer(root, "total_num", 0);
    if (*total == 0) {
        log_error("%s: get total software number(0)", "LoadFromJson");
        return false;
    }
    const Json::Value& list = json_read::Array(root, "soft_info");
    *count = static_cast<int32_t>(list.size());
    entries->clear();
    entries->reserve(list.size());
    for (Json::ArrayIndex i = 0; i < list.size(); ++i) {
        int32_t soft_id = json_read::Decimal(list[i], "soft_id", "-1");
        int32_t rank = json_read::Decimal(list[i], "rank", "-1");
        if (soft_id < 0 || rank < 0) {
            log_error("%s: get rank soft id(%d), rank(%d)", "LoadFromJson", soft_id, rank);
            continue;
        }
        entries->emplace_back(soft_id, rank);
    }
    return !entries->empty();
}

bool GetRankPage(int32_t type_id, int32_t page, bool refresh, std::vector<RankEntry>* entries,
                 int32_t* total, int32_t* count) {
    const std::pair<int32_t, int32_t> key(type_id, page);
    RankCache& cache = Cache();
    if (!refresh) {
        ke::scoped_lock hold(cache.lock);
        auto it = cache.pages.find(key);
        if (it != cache.pages.end()) {
            *entries = it->second.entries;
            *total = it->second.total;
            *count = it->second.count;
            return true;
        }
    }
    // A refresh leaves the cached page in place until a good answer replaces
    // it: a failed refresh must not turn it into an empty page.
    wchar_t path[64];
    swprintf(path, 64, L"/rank/%d_%d_%d", type_id, page, 20);
    std::wstring url = L"http://" + ServiceHostName(ServiceHost::Catalogue) + path;
    std::string body;
    if (!HttpDownloadMemWithoutCookies(url, &body)) {
        log_error("%s: ranking page %d of type %d could not be fetched", "GetRankPage", page, type_id);
        return false;
    }
    CachedPage fresh;
    if (!LoadFromJson(body, &fresh.entries, &fresh.total, &fresh.count)) return false;
    {
        ke::scoped_lock hold(cache.lock);
        cache.pages[key] = fresh;
    }
    *entries = fresh.entries;
    *total = fresh.total;
    *count = fresh.count;
    return true;
}

void ClearRankCacheForTest() {
    ke::scoped_lock hold(Cache().lock);
    Cache().pages.clear();
}
