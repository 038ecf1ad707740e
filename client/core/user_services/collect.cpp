#include "client/core/user_services/collect.h"
#include "client/core/utilities/json_read.h"
#include "client/core/reports/login_session.h"
#include "client/core/user_services/observer_registry.h"
#include "client/core/catalogue/soft_info_mgr.h"
#include "client/core/user_services/user_service_request.h"

namespace {

ObserverRegistry<Collect::Observer>& Favourites() {
    static ObserverRegistry<Collect::Observer>* registry = new ObserverRegistry<Collect::Observer>();
    return *registry;
}

ObserverRegistry<InstallObserable::Observer>& Installed() {
    static ObserverRegistry<InstallObserable::Observer>* registry =
        new ObserverRegistry<InstallObserable::Observer>();
    return *registry;
}

bool ChangeSoft(const wchar_t* mod, int32_t soft_id) {
    LoginSession& session = LoginSession::Instance();
    std::wstring query = std::wstring(L"/userservice.aspx?mod=") + mod +
                         L"&uid=" + DecimalText(session.user_id()) +
                         L"&soft_id=" + DecimalText(soft_id) +
                         L"&scheme_id=" + DecimalText(session.favourites_id());
    std::string body;
    return UserServiceGet(query, &body) && Collect::ParseStatus(body);
}

}  // namespace

void Collect::Register(int32_t soft_id, Observer* observer) { Favourites().Register(soft_id, observer); }

void Collect::Unregister(int32_t soft_id, Observer* observer) { Favourites().Unregister(soft_id, observer); }

bool Collect::Notify(int32_t soft_id, int which) {
    // Under the registry lock: a row unregistering on the UI thread waits for
    // this call instead of being called after it is gone.
    Favourites().ForEach(soft_id, [which](Observer* observer) {
        if (which == kCollected) {
            observer->OnCollected();
        } else {
            observer->OnUncollected();
        }
    });
    return true;
}

bool Collect::ParseStatus(const std::string& body) {
    Json::Value root;
    return json_read::Parse(body, json_read::Root::Object, &root) &&
           json_read::Text(root, "error", "0") == "noerror";
}

bool Collect::ParseCollectList(const std::string& body, std::vector<int32_t>* soft_ids) {
    soft_ids->clear();
    Json::Value root;
    if (!json_read::Parse(body, json_read::Root::Object, &root)) return false;
    const Json::Value& list = json_read::Array(root, "list");
    for (Json::ArrayIndex i = 0; i < list.size(); ++i) {
        if (!list[i].isObject() || !list[i].isMember("soft_id")) continue;
        int32_t id = json_read::Decimal(list[i], "soft_id", "0");
        if (id >= 1) soft_ids->push_back(id);
    }
    return !soft_ids->empty();
}

bool Collect::FetchCollectList(std::vector<int32_t>* soft_ids) {
    std::string body;
    if (!UserServiceGet(L"/userservice.aspx?mod=collect&uid=" +
                            DecimalText(LoginSession::Instance().user_id()),
                        &body))
        return false;
    if (!ParseCollectList(body, soft_ids)) return false;
    for (int32_t id : *soft_ids) {
        SoftInfoMgr::Instance().SetCollected(id, true);
        Notify(id, kCollected);
    }
    return true;
}

bool Collect::AddSoft(int32_t soft_id) {
    if (!ChangeSoft(L"addschemesoft", soft_id)) return false;
    SoftInfoMgr::Instance().SetCollected(soft_id, true);
    Notify(soft_id, kCollected);
    return true;
}

bool Collect::RemoveSoft(int32_t soft_id) {
    if (!ChangeSoft(L"delschemesoft", soft_id)) return false;
    SoftInfoMgr::Instance().SetCollected(soft_id, false);
    Notify(soft_id, kUncollected);
    return true;
}

void Collect::ClearAll() {
    // Every flag, not only those of shown rows: the next user must not see
    // this user's favourites.
    SoftInfoMgr::Instance().ClearCollected();
    for (int32_t id : Favourites().Ids()) Notify(id, kUncollected);
}

void InstallObserable::Register(int32_t soft_id, Observer* observer) {
    Installed().Register(soft_id, observer);
}

void InstallObserable::Unregister(int32_t soft_id, Observer* observer) {
    Installed().Unregister(soft_id, observer);
}
