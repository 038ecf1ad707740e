#include "client/windows/schemes/scheme_rules.h"

#include <wchar.h>

#include <algorithm>
#include <map>

#include "client/core/catalogue/soft_info_mgr.h"

void SortSchemesById(std::vector<SchemeInfo>* schemes) {
    if (!schemes) return;
    std::stable_sort(schemes->begin(), schemes->end(),
                     [](const SchemeInfo& a, const SchemeInfo& b) { return a.scheme_id < b.scheme_id; });
}

bool SchemeTextsChanged(const std::wstring& name, const std::wstring& desc,
                        const std::wstring& new_name, const std::wstring& new_desc) {
    return _wcsicmp(name.c_str(), new_name.c_str()) != 0 ||
           _wcsicmp(desc.c_str(), new_desc.c_str()) != 0;
}

bool FetchSchemeSoftRecords(int32_t scheme_id, std::vector<SoftwarePtr>* softs) {
    std::vector<int32_t> ids;
    if (!SchemeMgr::Instance().GetSchemeSoftIds(scheme_id, &ids)) return false;
    SoftMap records;
    for (int32_t id : ids) records[id];
    if (!records.empty()) SoftInfoMgr::Instance().FetchSofts(&records, false);
    // The map is ordered by id; only ids with a record are left in it.
    for (const auto& entry : records) {
        if (entry.second) softs->push_back(entry.second);
    }
    return true;
}

bool ProgressThrottle::Report(int32_t speed, DWORD now, int32_t* mean) {
    sum_ += speed;
    ++count_;
    if (posted_ && now - last_post_ <= kInterval) return false;
    *mean = static_cast<int32_t>(sum_ / count_);
    sum_ = 0;
    count_ = 0;
    last_post_ = now;
    posted_ = true;
    return true;
}
