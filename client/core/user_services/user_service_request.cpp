#include "client/core/user_services/user_service_request.h"
#include <stdio.h>
#include "client/core/startup/host_config.h"
#include "client/core/http/http_fetch.h"
#include "client/core/user_services/user_service_cookie.h"

std::wstring UserServiceUrl(const std::wstring& path_and_query) {
    return L"http://" + ServiceHostName(ServiceHost::User) + path_and_query;
}

bool UserServiceGet(const std::wstring& path_and_query, std::string* body) {
    std::wstring url = UserServiceUrl(path_and_query);
    SetUserServiceCookie(url);
    return HttpDownloadMem(url, body, kUserServiceTimeoutMs);
}

std::wstring DecimalText(long value) {
    wchar_t text[16];
    swprintf(text, 16, L"%ld", value);
    return text;
}
