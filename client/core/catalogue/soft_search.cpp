#include "client/core/catalogue/soft_search.h"
#include "client/core/startup/host_config.h"
#include "client/core/http/http_fetch.h"
#include "client/core/utilities/json_read.h"
#include "client/core/utilities/text_encoding.h"
#include "foundation/log/log.h"

bool ParseSearchResults(const std::string& body, std::vector<int32_t>* ids) {
    Json::Value root;
    if (!json_read::Parse(body, json_read::Root::Object, &root)) return false;
    const Json::Value& results = json_read::Array(root, "results");
    for (Json::ArrayIndex i = 0; i < results.size(); ++i)
        ids->push_back(json_read::Decimal(results[i], "soft_id", "0"));
    return true;
}

bool SearchSoft(const std::wstring& keyword, std::vector<int32_t>* ids) {
    std::string utf8;
    WideToUtf8(keyword, &utf8);
    std::wstring encoded;
    PercentEncode(utf8, &encoded);
    std::wstring url = L"http://" + ServiceHostName(ServiceHost::Catalogue) + L"/search/" + encoded;
    std::string body;
    if (!HttpDownloadMemWithoutCookies(url, &body)) {
        log_error("%s: the search request failed", "SearchSoft");
        return false;
    }
    if (!ParseSearchResults(body, ids)) {
        log_error("%s: the search answer is not a JSON object", "SearchSoft");
        return false;
    }
    return true;
}
