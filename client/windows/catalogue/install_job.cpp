#include "client/windows/catalogue/install_job.h"

#include <shellapi.h>

#include <map>
#include <vector>

#include "client/core/catalogue/soft_info_mgr.h"
#include "client/core/downloads/complete_queue.h"
#include "client/core/downloads/download_task.h"
#include "client/core/install_scan/uninstall_entry_rules.h"
#include "client/core/install_scan/uninstall_registry.h"
#include "client/core/reports/report.h"
#include "client/core/settings/conf_mgr.h"
#include "client/core/startup/main_window_handle.h"
#include "client/windows/main_frame_messages.h"
#include "foundation/ke/critical_section.h"
#include "foundation/log/log.h"

namespace {

ke::critical_section& TimingsLock() {
    static ke::critical_section* lock = new ke::critical_section;
    return *lock;
}
InstallTimings& Timings() {
    static InstallTimings* timings = new InstallTimings;
    return *timings;
}
InstallTimings CurrentTimings() {
    ke::scoped_lock guard(TimingsLock());
    return Timings();
}

bool IsInstallerExtension(const std::wstring& ext) {
    const std::wstring lower = LowerCopy(ext);
    return lower == L".exe" || lower == L".msi";
}

// One fresh look at the registry's uninstall list.
bool ScanFinds(const std::wstring& wanted) {
    SysInstallSoftList list;
    ScanInstalledSoft(&list);
    for (const SysInstallSoftPtr& soft : list) {
        if (soft && InstallNameMatches(LowerCopy(soft->display_name), wanted)) return true;
    }
    return false;
}

// Runs the installer and waits for it; false when it could not be started.
bool RunAndWait(const std::wstring& file) {
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.nShow = SW_SHOW;
    if (!::ShellExecuteExW(&info) || !info.hProcess) {
        log_error("%s: cannot start %ls (%lu)", "InstallThreadProc", file.c_str(), ::GetLastError());
        return false;
    }
    ::WaitForSingleObject(info.hProcess, INFINITE);
    ::CloseHandle(info.hProcess);
    return true;
}

struct Job {
    std::shared_ptr<DownloadTask> task;  // keeps the key's address unique while the job lives
    int soft_id = 0;
    std::vector<std::pair<uint64_t, LPARAM>> rows;
};

struct Jobs {
    ke::critical_section lock;
    std::map<const DownloadTask*, Job> jobs;
};

Jobs& TheJobs() {
    static Jobs* jobs = new Jobs;
    return *jobs;
}

// Tells every row still joined, then forgets the job.
void FinishJob(const DownloadTask* key, int installed) {
    Jobs& j = TheJobs();
    ke::scoped_lock guard(j.lock);
    auto it = j.jobs.find(key);
    if (it == j.jobs.end()) return;
    if (installed >= 0) {
        HWND main = MainWindowHandle();
        for (const auto& row : it->second.rows)
            ::PostMessageW(main, WM_INSTALL_PROC_EXIT, installed ? 1 : 0, row.second);
    }
    j.jobs.erase(it);
}

}  // namespace

void SetInstallTimingsForTests(const InstallTimings& timings) {
    ke::scoped_lock guard(TimingsLock());
    Timings() = timings;
}

bool InstallNameMatches(const std::wstring& display_lower, const std::wstring& wanted_lower) {
    if (display_lower.empty() || wanted_lower.empty()) return false;
    return display_lower.find(wanted_lower) != std::wstring::npos ||
           wanted_lower.find(display_lower) != std::wstring::npos;
}

std::wstring InstallLookupName(const Software& soft) {
    return LowerCopy(soft.install_name.empty() ? soft.soft_name : soft.install_name);
}

int RunInstall(int soft_id) {
    SoftwarePtr soft = SoftInfoMgr::Instance().GetSoft(soft_id);
    if (!soft) {
        log_error("%s: soft=%d doesn't exist", "InstallThreadProc", soft_id);
        return -1;
    }
    std::wstring file;
    if (!ConfMgr::GetDownloadFilePath(&file, *soft) || file.empty()) {
        log_error("%s: soft=%d get download file failed", "InstallThreadProc", soft_id);
        return -1;
    }
    if (!IsInstallerExtension(soft->file_ext)) {
        // Not a program: the shell opens it, and that counts as installed.
        HINSTANCE result = ::ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, nullptr, SW_SHOW);
        if (reinterpret_cast<INT_PTR>(result) <= 32) return 0;
        Report::Submit(soft_id);
        return 1;
    }
    if (!RunAndWait(file)) return 0;
    const InstallTimings timings = CurrentTimings();
    ::Sleep(timings.settle_ms);
    const std::wstring wanted = InstallLookupName(*soft);
    bool found = false;
    for (int scan = 0; scan < timings.scans && !found; ++scan) {
        found = ScanFinds(wanted);
        if (!found && scan + 1 < timings.scans) ::Sleep(timings.scan_pause_ms);
    }
    if (!found) {
        log_trace("%s: soft=%d not found among the installed programs", "InstallThreadProc", soft_id);
        return 0;
    }
    Report::Submit(soft_id);
    return 1;
}

namespace InstallJobs {

void Join(const std::shared_ptr<DownloadTask>& task, uint64_t row_identity, LPARAM row) {
    if (!task) return;
    Jobs& j = TheJobs();
    ke::scoped_lock guard(j.lock);
    auto it = j.jobs.find(task.get());
    if (it != j.jobs.end()) {
        it->second.rows.emplace_back(row_identity, row);
        return;
    }
    Job& job = j.jobs[task.get()];
    job.task = task;
    job.soft_id = task->soft_id();
    job.rows.emplace_back(row_identity, row);
    const DownloadTask* key = task.get();
    const int soft_id = job.soft_id;
    if (!CompleteQueue::Instance().Post([key, soft_id] { FinishJob(key, RunInstall(soft_id)); })) {
        // Nothing will run it: the rows go back to what they showed.
        log_error("%s: soft=%d install job not queued", "InstallJobs::Join", soft_id);
        HWND main = MainWindowHandle();
        ::PostMessageW(main, WM_INSTALL_PROC_EXIT, 0, row);
        j.jobs.erase(task.get());
    }
}

void Leave(uint64_t row_identity) {
    Jobs& j = TheJobs();
    ke::scoped_lock guard(j.lock);
    for (auto& entry : j.jobs) {
        auto& rows = entry.second.rows;
        for (size_t i = 0; i < rows.size();) {
            if (rows[i].first == row_identity)
                rows.erase(rows.begin() + i);
            else
                ++i;
        }
    }
}

size_t PendingCount() {
    Jobs& j = TheJobs();
    ke::scoped_lock guard(j.lock);
    return j.jobs.size();
}

}  // namespace InstallJobs
