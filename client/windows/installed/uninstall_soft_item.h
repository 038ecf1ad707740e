#pragma once
// One row of the installed-programs page, built from
// "uninstall_soft_item.xml" and filled from a scanned program. The binder
// lives only while the row is made: the row belongs to the list once added,
// and its icon label destroys its icon when it goes.
#include "client/core/install_scan/sys_install_soft.h"
#include "uitoolkit/controls/button.h"
#include "uitoolkit/controls/label.h"
#include "uitoolkit/controls/list_container_element.h"

class UninstallSoftItem {
public:
    explicit UninstallSoftItem(const SysInstallSoftPtr& soft);
    virtual ~UninstallSoftItem() {}

    // The row, or none when the skin gives no row. The caller adds it to
    // the list (or deletes it).
    UiToolkit::CListContainerElementUI* Row() const { return row_; }

private:
    UninstallSoftItem(const UninstallSoftItem&) = delete;
    UninstallSoftItem& operator=(const UninstallSoftItem&) = delete;

    bool Bind();
    void Fill(const SysInstallSoft& soft);

    UiToolkit::CListContainerElementUI* row_ = nullptr;
    UiToolkit::CLabelUI* icon_ = nullptr;
    UiToolkit::CLabelUI* name_ = nullptr;
    UiToolkit::CLabelUI* date_ = nullptr;
    UiToolkit::CLabelUI* size_ = nullptr;
    UiToolkit::CButtonUI* uninstall_ = nullptr;
};

// Test seam: how icons are had from a file (SHGetFileInfoW by default).
// The icon returned belongs to the row that takes it.
typedef HICON (*InstalledIconLoader)(const wchar_t* path);
void SetInstalledIconLoaderForTests(InstalledIconLoader loader);
