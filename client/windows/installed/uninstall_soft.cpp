#include "client/windows/installed/uninstall_soft.h"

#include <stdlib.h>
#include <wchar.h>

#include <string>

#include "client/core/install_scan/uninstall_registry.h"
#include "client/core/startup/main_window_handle.h"
#include "client/windows/dialogs/loading_wnd.h"
#include "client/windows/installed/installed_rows.h"
#include "client/windows/installed/skin_control_file.h"
#include "client/windows/installed/uninstall_launcher.h"
#include "client/windows/installed/uninstall_soft_item.h"
#include "client/windows/pages/page_receiver.h"
#include "client/windows/skin_binding.h"
#include "foundation/log/log.h"
#include "uitoolkit/controls/label.h"
#include "uitoolkit/controls/option.h"
#include "uitoolkit/layouts/horizontal_layout.h"

namespace {

const wchar_t kSkin[] = L"uninstall_soft.xml";
const wchar_t kUninstallText[] = L"卸载";
// The option group of every pager's number buttons.
const wchar_t kPagerGroup[] = L"page_switch";

bool ScanRegistry(SysInstallSoftList* list) { return ScanInstalledSoft(list); }

bool g_scan_in_place = false;

// Another pager's number button (a catalogue page that loads while this
// tab is shown) is no reason to rescan.
bool IsPagerNumber(UiToolkit::CControlUI* sender) {
    auto* option = sender ? static_cast<UiToolkit::COptionUI*>(sender->FindInterface(L"Option")) : nullptr;
    return option && option->GetGroup() == kPagerGroup;
}

// Test seam: the names shown on each page go to the log.
bool LogNamesWanted() {
    static const bool wanted = _wgetenv(L"VANTREL_TEST_LOG_INSTALLED_ROWS") != nullptr;
    return wanted;
}

}  // namespace

UninstallSoft::UninstallSoft() : UninstallSoft(ScanRegistry) {}

UninstallSoft::UninstallSoft(Scanner scanner) : scanner_(std::move(scanner)) {
    if (!scanner_) scanner_ = ScanRegistry;
    UiToolkit::CControlUI* root = CreateControlFromSkinFile(kSkin);
    if (!root) return;
    if (!root->FindInterface(L"IContainer")) {
        log_error("%s: skin %ls: the root is a %ls, not a container", "UninstallSoft", kSkin,
                  root->ClassName());
        delete root;
        return;
    }
    Add(root);
    // A skin that lacks a control leaves the page empty.
    if (!BindSkin()) list_ = nullptr;
}

UninstallSoft::~UninstallSoft() {}

const wchar_t* UninstallSoft::ClassName() const { return L"UninstallSoftUI"; }

LPVOID UninstallSoft::FindInterface(const wchar_t* name) {
    if (name && wcscmp(name, kPageReceiverInterface) == 0) return static_cast<UiToolkit::INotifyUI*>(this);
    return CContainerUI::FindInterface(name);
}

bool UninstallSoft::BindSkin() {
    return BindSkinControlInTree(list_, this, kSkin, L"uninstall_soft_list", L"List") &&
           BindSkinControlInTree(caption_, this, kSkin, L"uninstall_soft_bar", L"Button") &&
           BindSkinControlInTree(back_btn_, this, kSkin, L"uninstall_back_btn", L"Button");
}

void UninstallSoft::Notify(UiToolkit::TUiNotify& msg) {
    if (pager_ && pager_->HandleNotify(msg)) return;
    if (msg.sType == UI_NOTIFY_WINDOWINIT ||
        (msg.sType == UI_NOTIFY_SELECTCHANGED && !IsPagerNumber(msg.pSender))) {
        Reload();
        if (pager_) pager_->SelectCurrent();
    } else if (msg.sType == UI_NOTIFY_CLICK) {
        UiToolkit::CControlUI* sender = msg.pSender;
        if (sender && sender->GetText() == kUninstallText && !sender->GetUserData().IsEmpty() &&
            wcscmp(sender->ClassName(), L"ButtonUI") == 0) {
            // A copy: the rows may be rebuilt before the command is done with.
            Uninstall(std::wstring(sender->GetUserData().GetData()));
        }
    } else if (msg.sType == L"refresh_content" || msg.sType == kUninstallerExitedNotify) {
        Reload();
    }
}

void UninstallSoft::OnPageChanged(int page) {
    if (page != current_page_) ShowPage(page, false);
}

void UninstallSoft::Reload() {
    if (!list_) return;
    if (scanning_) {
        reload_pending_ = true;
        return;
    }
    do {
        reload_pending_ = false;
        SysInstallSoftList fresh;
        if (!Rescan(&fresh)) return;  // the client is quitting
        records_.swap(fresh);
        // A new result: the pager learns its total and starts at page 1.
        ShowPage(1, true);
    } while (reload_pending_);
}

void UninstallSoft::SetScanInPlaceForTests(bool in_place) { g_scan_in_place = in_place; }

bool UninstallSoft::Rescan(SysInstallSoftList* fresh) {
    scanning_ = true;
    Scanner scanner = scanner_;
    bool read = false;
    if (g_scan_in_place) {
        read = scanner(fresh);
        SortNewestFirst(fresh);
        scanning_ = false;
        return true;
    }
    UiToolkit::CWindowManagerUI* manager = GetManager();
    HWND owner = manager && manager->GetWindow() ? manager->GetWindow() : MainWindowHandle();
    const bool closed = RunInLoadingWnd(owner, [scanner, fresh, &read]() {
        read = scanner(fresh);
        SortNewestFirst(fresh);
    });
    scanning_ = false;
    if (closed && !read) log_error("%s: the installed programs could not be read", "UninstallSoft::Reload");
    return closed;
}

void UninstallSoft::CreatePager() {
    if (pager_plane_missing_) return;
    UiToolkit::CWindowManagerUI* manager = MainManager() ? MainManager() : GetManager();
    UiToolkit::CHorizontalLayoutUI* plane = nullptr;
    if (!manager ||
        !BindSkinControl(plane, *manager, kSkin, L"uninstall_page_button_plane", L"HorizontalLayout")) {
        pager_plane_missing_ = true;  // said once; the list shows its first page
        return;
    }
    // Centred between two stretching spaces.
    plane->Add(new UiToolkit::CControlUI);
    pager_ = new PageSwitch(this);
    plane->Add(pager_);
    plane->Add(new UiToolkit::CControlUI);
}

void UninstallSoft::ShowPage(int page, bool new_result) {
    if (!list_) return;
    caption_->SetText(InstalledCaption(records_.size()).c_str());
    if (!pager_) CreatePager();
    if (pager_ && new_result) pager_->SetTotal(static_cast<int>(records_.size()));
    list_->RemoveAll();
    list_->SetScrollPos(SIZE{0, 0});
    const InstalledPageSlice slice = SliceOfPage(records_.size(), page);
    int shown = 0;
    for (size_t i = slice.first; i < slice.first + slice.count; ++i) {
        UninstallSoftItem item(records_[i]);
        UiToolkit::CListContainerElementUI* row = item.Row();
        if (!row) continue;
        if (list_->Add(row))
            ++shown;
        else
            delete row;
    }
    current_page_ = page;
    first_index_ = slice.first;
    shown_rows_ = shown;
    if (LogNamesWanted()) LogShownNames();
}

void UninstallSoft::LogShownNames() const {
    // What the rows show, cell by cell: "name|date|size; ...".
    static const wchar_t* const kCells[] = {L"sys_soft_display_name", L"sys_soft_install_date",
                                            L"sys_soft_disk_size"};
    std::wstring rows;
    for (int i = 0; i < list_->GetCount(); ++i) {
        if (i) rows += L"; ";
        for (int cell = 0; cell < 3; ++cell) {
            if (cell) rows += L"|";
            auto* label = static_cast<UiToolkit::CLabelUI*>(
                FindSkinControlInTree(list_->GetItemAt(i), L"uninstall_soft_item.xml", kCells[cell], L"Label"));
            if (label) rows += label->GetText().GetData();
        }
    }
    log_trace("%s: page %d of %d records: %ls", "UninstallSoft::ShowPage", current_page_,
              static_cast<int>(records_.size()), rows.c_str());
}

void UninstallSoft::Uninstall(const std::wstring& command) {
    if (scanning_) return;
    UiToolkit::CWindowManagerUI* manager = GetManager();
    HWND window = manager && manager->GetWindow() ? manager->GetWindow() : MainWindowHandle();
    if (!StartUninstallCommand(command, window)) return;
    // The rows on screen stay while the uninstaller runs; the records are
    // read again in display order, and the whole page is reloaded when the
    // uninstaller has ended.
    SysInstallSoftList fresh;
    if (!Rescan(&fresh)) return;
    records_.swap(fresh);
    if (reload_pending_) Reload();
}
