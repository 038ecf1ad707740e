#pragma once
// The one installed-software scan of a run: reads the uninstall list on a
// worker, matches it with the version database, keeps the catalogue
// programs found, and tells the views that wait for it.
#include <atomic>
#include <functional>
#include <vector>
#include "client/core/install_scan/install_version_match.h"
#include "client/core/install_scan/sys_install_soft.h"
#include "foundation/ke/critical_section.h"

class InstallScanMgr {
public:
    enum State { kNotStarted = 0, kScanning = 1, kDone = 2 };

    typedef std::function<bool(SysInstallSoftList* list)> Scanner;

    // The process-wide scan: the registry and the version database.
    static InstallScanMgr& Instance();

    // A scan with other sources (tests).
    InstallScanMgr(Scanner scanner, InstalledNameMatcher matcher);

    // Starts the worker once; later calls do nothing.
    void StartScan();
    int ScanState() const { return state_.load(); }

    // Registers a one-shot observer while the scan is not done; false once it
    // is, and the view asks FindInstalled instead.
    bool AddObserver(SysInstallSoftObserver* observer);
    // Unregisters; waits for a notification in progress. Safe from any thread
    // and for observers already told.
    void RemoveObserver(SysInstallSoftObserver* observer);

    // The first installed catalogue program with that soft id.
    bool FindInstalled(int32_t soft_id, InstalledSoft* out);

    // The worker's body (exposed so a test can run it on its own thread).
    void ScanThread();

private:
    // Marks the scan done and tells every waiting observer.
    void Finish(const SysInstallSoftList& list, bool scanned);

    InstallScanMgr(const InstallScanMgr&) = delete;
    InstallScanMgr& operator=(const InstallScanMgr&) = delete;

    Scanner scanner_;
    InstalledNameMatcher matcher_;
    std::atomic<int> state_{kNotStarted};

    ke::critical_section observer_lock_;
    std::vector<SysInstallSoftObserver*> observers_;

    ke::critical_section installed_lock_;
    std::vector<InstalledSoft> installed_;
};
