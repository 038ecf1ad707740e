#include "client/core/reports/report.h"
#include <vector>
#include "client/core/startup/host_config.h"
#include "client/core/http/http_fetch.h"
#include "client/core/utilities/mac_address.h"
#include "client/core/utilities/text_encoding.h"
#include "client/core/reports/union_id.h"
#include "foundation/log/log.h"

namespace {

bool SendReport(const char* function, const wchar_t* mod, const int32_t* soft_id) {
    std::string mac;
    GetReportMac(&mac);
    std::wstring url =
        MakeReportUrl(ServiceHostName(ServiceHost::Report), mod, mac, soft_id, ReadUnionId());
    std::string body;
    if (HttpDownloadMem(url, &body)) return true;
    log_error("%s: submit intall information failed", function);
    return false;
}

}  // namespace

void GetReportMac(std::string* out) {
    std::vector<AdapterInfo> adapters;
    if (!GetMacList(&adapters)) adapters.clear();
    *out = ChooseReportMac(adapters);
}

std::wstring MakeReportUrl(const std::wstring& host, const wchar_t* mod, const std::string& mac,
                           const int32_t* soft_id, int32_t union_id) {
    std::wstring wide_mac;
    AnsiToWide(mac, &wide_mac);
    std::wstring url = L"http://" + host + L"/VanTrelService.aspx?mod=" + mod + L"&mac=" + wide_mac;
    if (soft_id) url += L"&soft_id=" + std::to_wstring(*soft_id);
    url += L"&union_id=" + std::to_wstring(union_id);
    return url;
}

namespace Report {

bool SubmitInstall() { return SendReport("Report::SubmitInstall", L"installpro", nullptr); }

bool SubmitUninstall() { return SendReport("Report::SubmitUninstall", L"uninstallpro", nullptr); }

bool SubmitActive() { return SendReport("Report::SubmitActive", L"activepro", nullptr); }

bool Submit(int32_t soft_id) { return SendReport("Report::Submit", L"installsoft", &soft_id); }

}  // namespace Report
