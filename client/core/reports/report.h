#pragma once
#include <stdint.h>
#include <string>

// Fire-and-forget usage reports to the report host. Each carries the report
// MAC and the union id (the union file is read again for every report); the
// answer's content is ignored, a failure is logged and returned.
namespace Report {

bool SubmitInstall();    // the client's own installation ("report_install")
bool SubmitUninstall();  // its removal ("report_uninstall")
bool SubmitActive();     // every normal start
bool Submit(int32_t soft_id);  // a confirmed installation of a catalogue software

}  // namespace Report

// The MAC sent with reports: 12 hex digits of the preferred adapter, or
// "00000" when no adapter is known.
void GetReportMac(std::string* out);

// "http://" + host + "/VanTrelService.aspx?mod=" + mod + "&mac=" + mac
// [+ "&soft_id=" + id when soft_id is given] + "&union_id=" + union id.
std::wstring MakeReportUrl(const std::wstring& host, const wchar_t* mod, const std::string& mac,
                           const int32_t* soft_id, int32_t union_id);
