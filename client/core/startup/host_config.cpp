#include "client/core/startup/host_config.h"
#include <windows.h>
#include "client/core/build_config.h"

namespace {

struct HostRole {
    const wchar_t* variable;
    const wchar_t* fallback;
};

const HostRole kRoles[] = {
    {L"VANTREL_CATALOGUE_HOST", VANTREL_CATALOGUE_HOST_DEFAULT},
    {L"VANTREL_LOGIN_HOST", VANTREL_LOGIN_HOST_DEFAULT},
    {L"VANTREL_USER_HOST", VANTREL_USER_HOST_DEFAULT},
    {L"VANTREL_REPORT_HOST", VANTREL_REPORT_HOST_DEFAULT},
};

}  // namespace

const wchar_t* ServiceHostVariable(ServiceHost role) {
    return kRoles[static_cast<int>(role)].variable;
}

std::wstring ServiceHostName(ServiceHost role) {
    const HostRole& r = kRoles[static_cast<int>(role)];
    wchar_t value[512];
    DWORD n = GetEnvironmentVariableW(r.variable, value, ARRAYSIZE(value));
    if (n > 0 && n < ARRAYSIZE(value)) return std::wstring(value, n);
    return r.fallback;
}

bool SplitHostPort(const std::wstring& value, unsigned short default_port, std::wstring* host,
                   unsigned short* port) {
    size_t colon = value.rfind(L':');
    std::wstring name = colon == std::wstring::npos ? value : value.substr(0, colon);
    if (name.empty()) return false;
    unsigned long number = 0;
    bool valid = colon != std::wstring::npos && colon + 1 < value.size() &&
                 value.size() - colon - 1 <= 5;
    for (size_t i = colon + 1; valid && i < value.size(); ++i) {
        if (value[i] < L'0' || value[i] > L'9') valid = false;
        else number = number * 10 + (value[i] - L'0');
    }
    if (!valid || number == 0 || number > 65535) number = default_port;
    *host = name;
    *port = static_cast<unsigned short>(number);
    return true;
}
