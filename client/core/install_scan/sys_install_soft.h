#pragma once
// One installed program as the uninstall list in the registry describes it,
// and the interface of the views that wait for the installed-software scan.
#include <stdint.h>
#include <memory>
#include <string>
#include <vector>

struct SysInstallSoft {
    int32_t soft_id = -1;           // catalogue soft id once matched
    std::wstring display_name;
    std::wstring display_version;
    std::wstring icon;
    std::wstring install_location;
    std::wstring publisher;
    std::wstring uninstall_command;
    std::wstring install_date_text;  // "yyyy/m/d"
    int32_t install_date = 0;        // yyyymmdd
    uint32_t size_kb = 0;
    bool msi = false;
    bool update = false;             // the catalogue has a newer version
    std::wstring catalogue_version;
};

typedef std::shared_ptr<SysInstallSoft> SysInstallSoftPtr;
typedef std::vector<SysInstallSoftPtr> SysInstallSoftList;

// An installed program the catalogue knows.
struct InstalledSoft {
    std::wstring display_name;
    int32_t soft_id = 0;
    bool update = false;
};

// A view waiting for the scan. Called on the scan's worker with the
// observer lock held; implementations only post messages.
class SysInstallSoftObserver {
public:
    // One scanned program; true when the observer found what it waits for
    // and wants no more entries.
    virtual bool OnSoft(const SysInstallSoftPtr& soft) = 0;
    // The scan is over for this observer (also when it failed).
    virtual void OnScanFinished() = 0;

protected:
    ~SysInstallSoftObserver() = default;
};
