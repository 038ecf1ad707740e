#include "client/core/user_services/user_service_cookie.h"
#include <windows.h>
#include <wininet.h>
#include "client/core/reports/login_session.h"
#include "client/core/utilities/text_encoding.h"

bool SetUserServiceCookie(const std::wstring& url) {
    std::wstring value;
    AnsiToWide(LoginSession::Instance().cookie(), &value);
    return InternetSetCookieW(url.c_str(), L"_VANTREL_USER", value.c_str()) != FALSE;
}
