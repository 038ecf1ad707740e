#include "client/core/install_scan/install_scan_mgr.h"
#include <algorithm>
#include "client/core/install_scan/uninstall_registry.h"
#include "client/core/version/version_mgr.h"
#include "foundation/ke/thread_single.h"
#include "foundation/log/log.h"

InstallScanMgr& InstallScanMgr::Instance() {
    static InstallScanMgr* instance = new InstallScanMgr(
        [](SysInstallSoftList* list) { return ScanInstalledSoft(list); },
        [](const std::vector<std::wstring>& names, std::vector<VersionMatch>* results) {
            return VersionMgr::MatchInstalled(names, results);
        });
    return *instance;
}

InstallScanMgr::InstallScanMgr(Scanner scanner, InstalledNameMatcher matcher)
    : scanner_(std::move(scanner)), matcher_(std::move(matcher)) {}

void InstallScanMgr::StartScan() {
    int expected = kNotStarted;
    if (!state_.compare_exchange_strong(expected, kScanning)) return;
    if (!ke::run_detached([this] { ScanThread(); })) {
        // Scanning here would block the start-up until the version database
        // is refreshed, which only the main window starts. End the scan
        // empty instead, so no view waits for ever.
        log_error("%s: cannot start the scan thread", "InstallScanMgr::StartScan");
        Finish(SysInstallSoftList(), false);
    }
}

bool InstallScanMgr::AddObserver(SysInstallSoftObserver* observer) {
    ke::scoped_lock lock(observer_lock_);
    if (state_.load() == kDone) return false;
    observers_.push_back(observer);
    return true;
}

void InstallScanMgr::RemoveObserver(SysInstallSoftObserver* observer) {
    ke::scoped_lock lock(observer_lock_);
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

bool InstallScanMgr::FindInstalled(int32_t soft_id, InstalledSoft* out) {
    ke::scoped_lock lock(installed_lock_);
    for (const auto& soft : installed_) {
        if (soft.soft_id != soft_id) continue;
        *out = soft;
        return true;
    }
    return false;
}

void InstallScanMgr::ScanThread() {
    SysInstallSoftList list;
    bool scanned = scanner_ && scanner_(&list);
    bool matched = scanned && MatchVersionDb(list, matcher_);
    if (scanned && matched) {
        ke::scoped_lock lock(installed_lock_);
        for (const auto& soft : list) {
            if (soft->soft_id <= 0) continue;
            InstalledSoft entry;
            entry.display_name = soft->display_name;
            entry.soft_id = soft->soft_id;
            entry.update = soft->update;
            installed_.push_back(entry);
        }
    }
    Finish(list, scanned);
}

void InstallScanMgr::Finish(const SysInstallSoftList& list, bool scanned) {
    ke::scoped_lock lock(observer_lock_);
    state_.store(kDone);
    // An observer may remove itself from inside its own call: walk a copy
    // and skip those gone meanwhile.
    std::vector<SysInstallSoftObserver*> waiting(observers_);
    for (SysInstallSoftObserver* observer : waiting) {
        if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end()) continue;
        if (scanned) {
            for (const auto& soft : list)
                if (observer->OnSoft(soft)) break;
        }
        // Also after a failed registry read: the views would wait for ever.
        observer->OnScanFinished();
    }
    observers_.clear();
}
