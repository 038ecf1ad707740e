#include "client/core/user_services/soft_score_mgr.h"
#include <stdio.h>
#include <stdlib.h>
#include <algorithm>
#include "client/core/startup/host_config.h"
#include "client/core/http/http_fetch.h"
#include "client/core/utilities/json_read.h"
#include "foundation/ke/critical_section.h"
#include "foundation/log/log.h"

namespace {

// Static storage: the lock exists before any thread can register.
ke::critical_section g_score_lock;
std::map<int32_t, std::vector<SoftScoreMgr::Observer*>> g_observers;

std::wstring ScoreUrl(const wchar_t* format, int32_t a, int32_t b = 0) {
    wchar_t query[128];
    swprintf(query, 128, format, static_cast<int>(a), static_cast<int>(b));
    return L"http://" + ServiceHostName(ServiceHost::Report) + query;
}

}  // namespace

bool SoftScoreMgr::SetScore(int32_t soft_id, int32_t score) {
    std::string body;
    if (!HttpDownloadMem(ScoreUrl(L"/UserService.aspx?mod=score&soft_id=%d&score=%d", soft_id, score),
                         &body)) {
        log_error("%s: upload socre failed", "SoftScoreMgr::SetScore");
        return false;
    }
    return true;
}

bool SoftScoreMgr::ParseScore(const std::string& body, int32_t* nums, int32_t* score) {
    Json::Value root;
    if (!json_read::Parse(body, json_read::Root::Object, &root) ||
        json_read::Text(root, "error", "0") != "noerror")
        return false;
    *nums = atoi(json_read::Text(root, "nums", "0").c_str());
    *score = atoi(json_read::Text(root, "score", "0").c_str());
    return true;
}

bool SoftScoreMgr::GetScore(int32_t* nums, int32_t* score, int32_t soft_id) {
    std::string body;
    if (!HttpDownloadMem(ScoreUrl(L"/UserService.aspx?mod=getscorenum&soft_id=%d", soft_id), &body)) {
        log_error("%s: upload socre failed", "SoftScoreMgr::GetScore");
        return false;
    }
    if (!ParseScore(body, nums, score)) return false;
    NotifyObservers(soft_id, *score);
    return true;
}

void SoftScoreMgr::AddObserver(int32_t soft_id, Observer* observer) {
    ke::scoped_lock lock(g_score_lock);
    auto& list = g_observers[soft_id];
    if (std::find(list.begin(), list.end(), observer) == list.end()) list.push_back(observer);
}

void SoftScoreMgr::RemoveObserver(int32_t soft_id, Observer* observer) {
    ke::scoped_lock lock(g_score_lock);
    auto it = g_observers.find(soft_id);
    if (it == g_observers.end()) return;
    auto& list = it->second;
    list.erase(std::remove(list.begin(), list.end(), observer), list.end());
    if (list.empty()) g_observers.erase(it);
}

void SoftScoreMgr::NotifyObservers(int32_t soft_id, int32_t score) {
    ke::scoped_lock lock(g_score_lock);
    auto it = g_observers.find(soft_id);
    if (it == g_observers.end()) return;
    std::vector<Observer*> copy(it->second);
    for (Observer* observer : copy) observer->OnScore(soft_id, score);
}
