#include "tests/client/core/user_services/user_service_fixture.h"
#include <windows.h>
#include "client/core/reports/login_session.h"

void UserServiceTest::SetUp() {
    ASSERT_TRUE(service_.ok());
    for (const wchar_t* role : {L"VANTREL_CATALOGUE_HOST", L"VANTREL_USER_HOST", L"VANTREL_REPORT_HOST",
                                L"VANTREL_LOGIN_HOST"})
        SetEnvironmentVariableW(role, service_.host().c_str());
    LoginSession& session = LoginSession::Instance();
    std::string cookie = "sess501";
    session.SwapCookie(&cookie);
    session.set_user_id(501);
    session.set_scheme_id(600);
    session.set_favourites_id(601);
    session.set_state(LoginSession::kLoggedIn);
    Get("/_user/reset");
    service_.Reset();
}

void UserServiceTest::TearDown() {}

std::string UserServiceTest::Get(const std::string& path) { return PlainGet(service_.port(), path); }

std::vector<std::string> UserServiceTest::Requests() {
    std::vector<std::string> out;
    for (const auto& entry : service_.Log()) {
        std::string line = entry["path"].asString();
        if (!entry["raw_query"].asString().empty()) line += "?" + entry["raw_query"].asString();
        out.push_back(line);
    }
    return out;
}

std::vector<std::string> UserServiceTest::Cookies() {
    std::vector<std::string> out;
    for (const auto& entry : service_.Log()) out.push_back(entry["cookie"].isString() ? entry["cookie"].asString() : "");
    return out;
}
