#include "client/windows/login/login_request.h"

#include "client/core/http/http_fetch.h"
#include "client/core/reports/login_session.h"
#include "client/core/startup/host_config.h"
#include "client/core/utilities/json_read.h"
#include "client/core/utilities/md5.h"
#include "client/core/utilities/text_encoding.h"
#include "foundation/log/log.h"

std::wstring LoginRequestUrl(const std::wstring& host, const std::wstring& account,
                             const std::string& password_utf8) {
    std::string account_utf8;
    WideToUtf8(account, &account_utf8);
    std::wstring url = L"http://" + host + L"/Userlogin.aspx?user_account=";
    PercentEncodeQueryValue(account_utf8, &url);
    url += L"&user_psw=";
    const std::string digest = Md5Hex(password_utf8);
    url.append(digest.begin(), digest.end());
    return url;
}

bool LoadFromJson(const std::string& answer, LoginAnswer* out) {
    Json::Value root;
    if (!json_read::Parse(answer, json_read::Root::Object, &root)) {
        log_error("%s: the login answer is not a JSON object", "LoadFromJson");
        return false;
    }
    const std::string error = json_read::Text(root, "error", "0");
    if (error != "noerror") {
        log_error("%s: login error: %s", "LoadFromJson", error.c_str());
        return false;
    }
    LoginAnswer read;
    read.cookie = json_read::Text(root, "cookie", "0");
    if (read.cookie == "0") {
        log_error("%s: the login answer has no cookie", "LoadFromJson");
        return false;
    }
    const struct {
        const char* member;
        int32_t* id;
    } ids[] = {{"userid", &read.user_id}, {"solu_id", &read.scheme_id}, {"collect_id", &read.favourites_id}};
    for (const auto& id : ids) {
        *id.id = json_read::Decimal(root, id.member, "0");
        if (*id.id == 0) {
            log_error("%s: the login answer's %s is 0", "LoadFromJson", id.member);
            return false;
        }
    }
    *out = read;
    return true;
}

LoginResult RequestLogin(const std::wstring& account, const std::string& password_utf8) {
    const std::wstring url = LoginRequestUrl(ServiceHostName(ServiceHost::Login), account, password_utf8);
    std::string body;
    if (!HttpDownloadMem(url, &body, kLoginTimeoutMs)) return LoginResult::kFailed;
    LoginAnswer answer;
    if (!LoadFromJson(body, &answer)) return LoginResult::kRefused;
    LoginSession& session = LoginSession::Instance();
    session.SwapCookie(&answer.cookie);
    session.set_user_id(answer.user_id);
    session.set_favourites_id(answer.favourites_id);
    session.set_scheme_id(answer.scheme_id);
    std::wstring name = account;
    session.SwapAccount(&name);
    return LoginResult::kAccepted;
}
