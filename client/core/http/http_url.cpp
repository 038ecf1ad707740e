#include "client/core/http/http_url.h"
#include <wchar.h>

bool SplitHttpUrl(const std::wstring& url, std::wstring* host, unsigned short* port,
                  std::wstring* path) {
    static const wchar_t kScheme[] = L"http://";
    const size_t scheme_length = 7;
    if (url.size() < scheme_length || _wcsnicmp(url.c_str(), kScheme, scheme_length) != 0) {
        return false;
    }
    size_t authority_end = url.find_first_of(L"/?#", scheme_length);
    if (authority_end == std::wstring::npos) authority_end = url.size();
    std::wstring authority = url.substr(scheme_length, authority_end - scheme_length);
    if (authority.empty() || authority.find(L'@') != std::wstring::npos) return false;

    std::wstring name = authority;
    unsigned long number = 80;
    size_t colon = authority.rfind(L':');
    if (colon != std::wstring::npos) {
        name = authority.substr(0, colon);
        std::wstring digits = authority.substr(colon + 1);
        if (!digits.empty()) {
            if (digits.size() > 5 || digits.find_first_not_of(L"0123456789") != std::wstring::npos) {
                return false;
            }
            number = wcstoul(digits.c_str(), nullptr, 10);
            if (number == 0 || number > 65535) return false;
        }
    }
    if (name.empty()) return false;

    std::wstring rest = url.substr(authority_end);
    size_t hash = rest.find(L'#');
    if (hash != std::wstring::npos) rest.resize(hash);
    if (rest.empty() || rest[0] != L'/') rest.insert(0, L"/");
    *host = name;
    *port = static_cast<unsigned short>(number);
    *path = rest;
    return true;
}
