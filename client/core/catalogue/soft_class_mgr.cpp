#include "client/core/catalogue/soft_class_mgr.h"
#include <windows.h>
#include "client/core/startup/host_config.h"
#include "client/core/http/http_fetch.h"
#include "client/core/utilities/json_read.h"
#include "foundation/log/log.h"

SoftClassMgr& SoftClassMgr::Instance() {
    static SoftClassMgr* instance = new SoftClassMgr();
    return *instance;
}

bool SoftClassMgr::Parse(const std::string& body, SoftClassMap* classes) {
    Json::Value root;
    if (!json_read::Parse(body, json_read::Root::Array, &root)) return false;
    for (Json::ArrayIndex i = 0; i < root.size(); ++i) {
        const Json::Value& element = root[i];
        SoftClassInfo info;
        info.class_name = json_read::WideText(element, "class_name", "0");
        info.class_id = json_read::Decimal(element, "class_id", "0");
        info.pclass_id = json_read::Decimal(element, "pclass_id", "0");
        info.rank = json_read::Decimal(element, "rank", "0");
        (*classes)[info.class_id] = info;
    }
    return true;
}

bool SoftClassMgr::Load(bool refresh) {
    ke::scoped_lock loading(load_lock_);
    if (!refresh && TopClassId() != 0) return true;

    std::string body;
    std::wstring url = L"http://" + ServiceHostName(ServiceHost::Catalogue) + L"/class";
    if (!HttpDownloadMemWithoutCookies(url, &body)) {
        log_error("%s: the category list could not be fetched", "SoftClassMgr::Load");
        return false;
    }
    SoftClassMap work;
    if (!Parse(body, &work)) {
        log_error("%s: the category list is not a JSON array", "SoftClassMgr::Load");
        return false;
    }
    MergeLoaded(std::move(work));
    return true;
}

void SoftClassMgr::MergeLoaded(SoftClassMap work) {
    ke::scoped_lock hold(data_lock_);
    for (auto it = work.begin(); it != work.end();) {
        if (it->second.pclass_id == -1) {
            top_[it->first] = it->second;
            subs_[it->first].clear();
            it = work.erase(it);
        } else {
            ++it;
        }
    }
    for (const auto& entry : work) {
        if (top_.count(entry.second.pclass_id) == 0) continue;  // no known parent: dropped
        subs_[entry.second.pclass_id].emplace(entry.first, entry.second);  // existing entry stays
    }
    int32_t best_rank = -1;
    int32_t best_id = top_class_id_;
    bool chosen = false;
    for (const auto& entry : top_) {
        if (entry.second.rank > best_rank) {
            best_rank = entry.second.rank;
            best_id = entry.first;
            chosen = true;
        }
    }
    if (chosen) top_class_id_ = best_id;
}

bool SoftClassMgr::FindTopClass(const std::wstring& title, SoftClassInfo* found) {
    ke::scoped_lock hold(data_lock_);
    for (const auto& entry : top_) {
        if (CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, entry.second.class_name.c_str(),
                           static_cast<int>(entry.second.class_name.size()), title.c_str(),
                           static_cast<int>(title.size())) == CSTR_EQUAL) {
            *found = entry.second;
            return true;
        }
    }
    return false;
}

SoftClassMap SoftClassMgr::SubClasses(int32_t parent_id) {
    ke::scoped_lock hold(data_lock_);
    auto it = subs_.find(parent_id);
    return it == subs_.end() ? SoftClassMap() : it->second;
}

bool SoftClassMgr::HasSubClasses() {
    ke::scoped_lock hold(data_lock_);
    for (const auto& entry : subs_)
        if (!entry.second.empty()) return true;
    return false;
}

SoftClassMap SoftClassMgr::TopClasses() {
    ke::scoped_lock hold(data_lock_);
    return top_;
}

int32_t SoftClassMgr::TopClassId() {
    ke::scoped_lock hold(data_lock_);
    return top_class_id_;
}

void SoftClassMgr::ClearForTest() {
    ke::scoped_lock loading(load_lock_);
    ke::scoped_lock hold(data_lock_);
    top_class_id_ = 0;
    top_.clear();
    subs_.clear();
}
