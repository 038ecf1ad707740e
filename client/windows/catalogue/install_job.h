#pragma once
// What follows a catalogue row's completed download: its installer is run
// once, waited for, and the installation confirmed from the registry and
// reported; then every row that showed that download hears the outcome
// ("install_proc_exit").
//
// One job per completed download. The rows watching the download join it
// from their completion callback; the first to join queues it on the
// completion queue. A row leaves when it is destroyed, and a row that has
// left is never posted to.
#include <windows.h>
#include <stdint.h>

#include <memory>
#include <string>

#include "client/core/catalogue/software.h"

class DownloadTask;

// The job's waits. Tests shorten them.
struct InstallTimings {
    DWORD settle_ms = 5000;      // after the installer has ended
    DWORD scan_pause_ms = 1000;  // after a scan that did not find the program
    int scans = 10;
};
void SetInstallTimingsForTests(const InstallTimings& timings);

// Whether an installed program's display name and the name looked for
// (both lower case) name one program: either holds the other. An empty
// name on either side never matches.
bool InstallNameMatches(const std::wstring& display_lower, const std::wstring& wanted_lower);
// The name a software is looked for under: its install name, else its
// name, lower-cased.
std::wstring InstallLookupName(const Software& soft);

// The job's work on the completion loop: 1 installed (and reported), 0 not
// confirmed or the installer did not start, -1 when the record or its file
// is unknown (logged; the rows are not told).
int RunInstall(int soft_id);

namespace InstallJobs {

// From a row's download-completion callback: `row` (the row's address, the
// lParam of WM_INSTALL_PROC_EXIT) joins the job of `task`.
void Join(const std::shared_ptr<DownloadTask>& task, uint64_t row_identity, LPARAM row);
// From the row's destructor.
void Leave(uint64_t row_identity);
// Jobs queued or running (tests).
size_t PendingCount();

}  // namespace InstallJobs
