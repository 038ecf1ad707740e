#pragma once
// The schemes pages' rules that need no window: list order, when a rename
// is worth a request, how an opened scheme's programs are gathered, and the
// throttle of a row's download reports.
#include <stdint.h>
#include <windows.h>

#include <string>
#include <vector>

#include "client/core/catalogue/software.h"
#include "client/core/user_services/scheme_mgr.h"

// Ascending scheme id, whatever order the service answered in.
void SortSchemesById(std::vector<SchemeInfo>* schemes);

// Whether the dialog's answer differs from what the scheme has: name or
// description, each compared without regard to letter case.
bool SchemeTextsChanged(const std::wstring& name, const std::wstring& desc,
                        const std::wstring& new_name, const std::wstring& new_desc);

// The records of a scheme's programs, in ascending soft id; ids the
// catalogue has no record for are left out. False (nothing added) when the
// scheme's ids could not be fetched. Runs on a loading window's worker.
bool FetchSchemeSoftRecords(int32_t scheme_id, std::vector<SoftwarePtr>* softs);

// A download row's progress reports: at most one post per 300 ms, carrying
// the mean speed of the reports since the last post (the first report is
// posted at once). Used by one reporting thread at a time.
class ProgressThrottle {
public:
    static const DWORD kInterval = 300;

    // One report at tick `now`: true when it is to be posted, with the mean
    // speed in `mean`; the sum then starts again.
    bool Report(int32_t speed, DWORD now, int32_t* mean);

private:
    int64_t sum_ = 0;  // many fast reports overflow 32 bits
    int64_t count_ = 0;
    DWORD last_post_ = 0;
    bool posted_ = false;
};
