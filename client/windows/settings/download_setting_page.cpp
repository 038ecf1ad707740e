#include "client/windows/settings/download_setting_page.h"

#include <shlobj.h>
#include <wchar.h>

#include "client/core/settings/conf_mgr.h"
#include "client/windows/settings/free_space.h"
#include "client/windows/skin_binding.h"
#include "foundation/log/log.h"
#include "uitoolkit/skin/skin_builder.h"

namespace {

const wchar_t kSkin[] = L"down_page_setting.xml";

bool ShellPickFolder(HWND owner, std::wstring* folder) {
    BROWSEINFOW info = {};
    info.hwndOwner = owner;
    info.lpszTitle = L"请选择目录";
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
    PIDLIST_ABSOLUTE items = ::SHBrowseForFolderW(&info);
    if (!items) return false;
    wchar_t path[MAX_PATH] = {0};
    const bool ok = ::SHGetPathFromIDListW(items, path) != FALSE;
    // The picker's item list is the caller's to free.
    ::CoTaskMemFree(items);
    if (!ok) {
        log_error("%s: the picked item has no file-system path", "DownloadSettingPage::Notify");
        return false;
    }
    *folder = path;
    return true;
}

FolderPicker g_picker = ShellPickFolder;

// Wide text reaches the log whole (the file is UTF-8).
void LogFolderUnreadable() {
    log_error("%s: %ls", "DownloadSettingPage::InitControls", L"获取配置中下载路径失败");
}

}  // namespace

void SetFolderPickerForTests(FolderPicker picker) { g_picker = picker ? picker : ShellPickFolder; }

DownloadSettingPage::DownloadSettingPage() {
    UiToolkit::CSkinBuilder builder;
    UiToolkit::CControlUI* root = builder.BuildSkin(kSkin, nullptr, nullptr, nullptr, nullptr);
    if (root && root->FindInterface(L"IContainer")) {
        Add(root);
    } else {
        if (root) log_error("%s: skin %ls: the root is not a container", "DownloadSettingPage", kSkin);
        delete root;
    }
}

const wchar_t* DownloadSettingPage::ClassName() const { return L"DownloadSettingPageUI"; }

LPVOID DownloadSettingPage::FindInterface(const wchar_t* name) {
    if (name && wcscmp(name, L"DownloadSettingPage") == 0) return this;
    return CContainerUI::FindInterface(name);
}

void DownloadSettingPage::InitControls(UiToolkit::CWindowManagerUI* manager, HWND owner) {
    owner_ = owner;
    // A skin that lacks a control leaves the page without it; the others work.
    BindSkinControl(edit_, *manager, kSkin, L"download_path_edit", L"Edit");
    BindSkinControl(browse_btn_, *manager, kSkin, L"download_path_set_btn", L"Button");
    BindSkinControl(restore_btn_, *manager, kSkin, L"recover_default_path_btn", L"Button");
    BindSkinControl(space_tips_, *manager, kSkin, L"disk_space_tips", L"Label");
    std::wstring folder;
    if (ConfMgr::GetDownloadPath(&folder))
        ShowFolder(folder);
    else
        LogFolderUnreadable();
}

void DownloadSettingPage::Notify(UiToolkit::TUiNotify& msg) {
    if (msg.sType != UI_NOTIFY_CLICK || !msg.pSender) return;
    if (browse_btn_ && msg.pSender == browse_btn_)
        Browse();
    else if (restore_btn_ && msg.pSender == restore_btn_)
        RestoreDefault();
}

void DownloadSettingPage::Browse() {
    std::wstring folder;
    if (g_picker(owner_, &folder)) ShowFolder(folder);
}

void DownloadSettingPage::RestoreDefault() {
    std::wstring folder;
    ConfMgr::GetDefaultDownloadPath(&folder);
    ShowFolder(folder);
}

void DownloadSettingPage::ShowFolder(const std::wstring& folder) {
    if (!edit_) return;
    edit_->SetText(folder.c_str());
    UpdateFreeSpace();
}

std::wstring DownloadSettingPage::FolderText() const {
    return edit_ ? std::wstring(edit_->GetText().GetData()) : std::wstring();
}

void DownloadSettingPage::UpdateFreeSpace() {
    if (!space_tips_) return;
    const std::wstring root = DriveRootOf(FolderText());
    uint64_t free_bytes = 0;
    if (!QueryFreeSpace(root, &free_bytes)) {
        // The line keeps what it said before.
        log_trace("%s: no free space for \"%ls\"", "DownloadSettingPage::UpdateFreeSpace",
                  FolderText().c_str());
        return;
    }
    space_tips_->SetText(FreeSpaceText(free_bytes).c_str());
}
