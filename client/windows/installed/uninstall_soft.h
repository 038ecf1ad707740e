#pragma once
// Tab 2 of the main window: the programs installed on the machine, read
// fresh from the registry's uninstall list each time the tab is shown,
// newest installation first, 20 rows a page with a pager, and a "卸载"
// button on each row that starts the program's own uninstall command.
//
// The scans run behind a loading window; rows are built on the UI thread
// from "uninstall_soft_item.xml". A started uninstaller is not waited for:
// the list is rescanned at once and reloaded when the uninstaller ends.
#include <functional>

#include "client/core/install_scan/sys_install_soft.h"
#include "client/windows/pages/page_switch.h"
#include "uitoolkit/controls/button.h"
#include "uitoolkit/controls/container.h"
#include "uitoolkit/controls/list.h"

class UninstallSoft : public UiToolkit::CContainerUI, public GUISpecHandler {
public:
    // Reads the installed programs (the registry's uninstall list unless a
    // test gives another source); false when nothing could be read.
    typedef std::function<bool(SysInstallSoftList* list)> Scanner;

    UninstallSoft();
    explicit UninstallSoft(Scanner scanner);
    ~UninstallSoft() override;

    const wchar_t* ClassName() const override;
    LPVOID FindInterface(const wchar_t* name) override;

    void Notify(UiToolkit::TUiNotify& msg) override;
    void OnPageChanged(int page) override;

    // Test seam: scans run on the UI thread, without a loading window (a
    // window takes seconds to go under Wine without a window manager).
    static void SetScanInPlaceForTests(bool in_place);

    // What is shown, for tests.
    const SysInstallSoftList& Records() const { return records_; }
    int CurrentPage() const { return current_page_; }
    int ShownRows() const { return shown_rows_; }
    UiToolkit::CListUI* List() const { return list_; }
    UiToolkit::CButtonUI* Caption() const { return caption_; }
    PageSwitch* Pager() const { return pager_; }

private:
    bool BindSkin();
    void Reload();
    // Rescans behind a loading window; false when a quit ended the wait.
    bool Rescan(SysInstallSoftList* fresh);
    void ShowPage(int page, bool new_result);
    void CreatePager();
    void Uninstall(const std::wstring& command);
    void LogShownNames() const;

    Scanner scanner_;
    UiToolkit::CListUI* list_ = nullptr;
    UiToolkit::CButtonUI* caption_ = nullptr;
    UiToolkit::CButtonUI* back_btn_ = nullptr;
    PageSwitch* pager_ = nullptr;
    bool pager_plane_missing_ = false;

    SysInstallSoftList records_;
    int current_page_ = 1;
    size_t first_index_ = 0;
    int shown_rows_ = 0;

    // A loading window runs a nested message loop: a reload asked for
    // meanwhile (an uninstaller that ended) waits for the scan in progress.
    bool scanning_ = false;
    bool reload_pending_ = false;
};
