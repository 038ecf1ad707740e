#include "client/core/user_services/scheme_mgr.h"
#include <algorithm>
#include "client/core/utilities/json_read.h"
#include "client/core/reports/login_session.h"
#include "client/core/utilities/text_encoding.h"
#include "client/core/user_services/user_service_request.h"

namespace {

std::wstring Uid() { return DecimalText(LoginSession::Instance().user_id()); }

// UTF-8, every byte percent-encoded; nothing for an empty text.
std::wstring Encoded(const std::wstring& text) {
    std::string utf8;
    WideToUtf8(text, &utf8);
    std::wstring out;
    PercentEncode(utf8, &out);
    return out;
}

bool StatusRequest(const std::wstring& query) {
    std::string body;
    return UserServiceGet(query, &body) && SchemeMgr::ParseStatus(body);
}

bool ParseOk(const std::string& body, Json::Value* root) {
    return json_read::Parse(body, json_read::Root::Object, root) &&
           json_read::Text(*root, "error", "0") == "noerror";
}

}  // namespace

SchemeMgr& SchemeMgr::Instance() {
    static SchemeMgr* instance = new SchemeMgr();
    return *instance;
}

bool SchemeMgr::ParseStatus(const std::string& body) {
    Json::Value root;
    return ParseOk(body, &root);
}

bool SchemeMgr::ParseSchemes(const std::string& body, std::vector<SchemeInfo>* schemes) {
    Json::Value root;
    if (!ParseOk(body, &root)) return false;
    const Json::Value& list = json_read::Array(root, "list");
    size_t before = schemes->size();
    for (Json::ArrayIndex i = 0; i < list.size(); ++i) {
        SchemeInfo info;
        info.scheme_name = json_read::WideText(list[i], "scheme_name", "noname");
        info.scheme_id = json_read::Decimal(list[i], "scheme_id", "0");
        info.soft_num = json_read::Decimal(list[i], "soft_num", "0");
        info.scheme_desc = json_read::WideText(list[i], "scheme_desc", "");
        schemes->push_back(info);
    }
    return schemes->size() > before;
}

bool SchemeMgr::ParseAddScheme(const std::string& body, int32_t* new_id) {
    Json::Value root;
    if (!ParseOk(body, &root)) return false;
    *new_id = json_read::Decimal(root, "id", "0");
    return true;
}

bool SchemeMgr::ParseSchemeSoftIds(const std::string& body, std::vector<int32_t>* soft_ids) {
    Json::Value root;
    if (!ParseOk(body, &root) || !json_read::Member(root, "list").isArray()) return false;
    const Json::Value& list = json_read::Member(root, "list");
    for (Json::ArrayIndex i = 0; i < list.size(); ++i)
        soft_ids->push_back(json_read::Decimal(list[i], "soft_id", "0"));
    return true;
}

bool SchemeMgr::GetSchemes(std::vector<SchemeInfo>* schemes, bool refresh) {
    {
        ke::scoped_lock lock(scheme_lock_);
        if (refresh) {
            schemes_.clear();
        } else if (!schemes_.empty()) {
            *schemes = schemes_;
            return true;
        }
    }
    std::string body;
    std::vector<SchemeInfo> fetched;
    if (!UserServiceGet(L"/userservice.aspx?mod=scheme&uid=" + Uid(), &body) ||
        !ParseSchemes(body, &fetched))
        return false;
    *schemes = fetched;
    ke::scoped_lock lock(scheme_lock_);
    schemes_ = fetched;
    return true;
}

bool SchemeMgr::AddScheme(const std::wstring& name, const std::wstring& desc, int32_t* new_id) {
    std::wstring query = L"/userservice.aspx?mod=addscheme&uid=" + Uid() +
                         L"&pscheme_id=" + DecimalText(LoginSession::Instance().scheme_id()) +
                         L"&scheme_name=" + Encoded(name) + L"&scheme_desc=" + Encoded(desc);
    std::string body;
    int32_t id = 0;
    if (!UserServiceGet(query, &body) || !ParseAddScheme(body, &id)) return false;
    *new_id = id;
    SchemeInfo info;
    info.scheme_id = id;
    info.scheme_name = name;
    ke::scoped_lock lock(scheme_lock_);
    schemes_.push_back(info);
    return true;
}

bool SchemeMgr::DeleteScheme(int32_t scheme_id) {
    if (!StatusRequest(L"/userservice.aspx?mod=delscheme&uid=" + Uid() + L"&scheme_id=" +
                       DecimalText(scheme_id)))
        return false;
    ke::scoped_lock lock(scheme_lock_);
    auto it = std::find_if(schemes_.begin(), schemes_.end(),
                           [scheme_id](const SchemeInfo& s) { return s.scheme_id == scheme_id; });
    if (it != schemes_.end()) schemes_.erase(it);
    return true;
}

bool SchemeMgr::ModifyScheme(int32_t scheme_id, const std::wstring& name, const std::wstring& desc) {
    return StatusRequest(L"/userservice.aspx?mod=schememodify&uid=" + Uid() + L"&scheme_id=" +
                         DecimalText(scheme_id) + L"&scheme_name=" + Encoded(name) +
                         L"&scheme_desc=" + Encoded(desc));
}

bool SchemeMgr::GetSchemeSoftIds(int32_t scheme_id, std::vector<int32_t>* soft_ids) {
    {
        ke::scoped_lock lock(soft_lock_);
        auto it = soft_ids_.find(scheme_id);
        if (it != soft_ids_.end()) {
            *soft_ids = it->second;
            return true;
        }
    }
    std::string body;
    std::vector<int32_t> fetched;
    if (!UserServiceGet(L"/userservice.aspx?mod=schemesoft&scheme_id=" + DecimalText(scheme_id) +
                            L"&uid=" + Uid(),
                        &body) ||
        !ParseSchemeSoftIds(body, &fetched))
        return false;
    *soft_ids = fetched;
    ke::scoped_lock lock(soft_lock_);
    soft_ids_[scheme_id] = fetched;
    return true;
}

bool SchemeMgr::AddSoftToScheme(int32_t scheme_id, int32_t soft_id) {
    if (!StatusRequest(L"/userservice.aspx?mod=addschemesoft&scheme_id=" + DecimalText(scheme_id) +
                       L"&soft_id=" + DecimalText(soft_id)))
        return false;
    ke::scoped_lock lock(soft_lock_);
    auto it = soft_ids_.find(scheme_id);
    if (it != soft_ids_.end()) it->second.push_back(soft_id);
    return true;
}

bool SchemeMgr::RemoveSoftFromScheme(int32_t scheme_id, int32_t soft_id) {
    if (!StatusRequest(L"/userservice.aspx?mod=delschemesoft&scheme_id=" + DecimalText(scheme_id) +
                       L"&soft_id=" + DecimalText(soft_id)))
        return false;
    ke::scoped_lock lock(soft_lock_);
    auto it = soft_ids_.find(scheme_id);
    if (it != soft_ids_.end()) {
        auto found = std::find(it->second.begin(), it->second.end(), soft_id);
        if (found != it->second.end()) it->second.erase(found);
    }
    return true;
}

void SchemeMgr::ClearCache() {
    {
        ke::scoped_lock lock(scheme_lock_);
        schemes_.clear();
    }
    ke::scoped_lock lock(soft_lock_);
    soft_ids_.clear();
}
