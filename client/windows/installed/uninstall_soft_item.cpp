#include "client/windows/installed/uninstall_soft_item.h"

#include <shellapi.h>

#include "client/windows/installed/installed_rows.h"
#include "client/windows/installed/skin_control_file.h"
#include "foundation/log/log.h"

namespace {

const wchar_t kSkin[] = L"uninstall_soft_item.xml";

HICON ShellFileIcon(const wchar_t* path) {
    SHFILEINFOW info = {};
    // The return value is the system image list (not ours); the icon is.
    if (!::SHGetFileInfoW(path, 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SYSICONINDEX)) return nullptr;
    return info.hIcon;
}

InstalledIconLoader g_icon_loader = ShellFileIcon;

// A label does not own the icon it shows: the row's icon label gives its
// icon back when it is destroyed.
bool DestroyLabelIcon(void* control) {
    HICON icon = static_cast<UiToolkit::CControlUI*>(control)->GetIcon();
    if (icon) ::DestroyIcon(icon);
    return true;
}

}  // namespace

void SetInstalledIconLoaderForTests(InstalledIconLoader loader) {
    g_icon_loader = loader ? loader : ShellFileIcon;
}

UninstallSoftItem::UninstallSoftItem(const SysInstallSoftPtr& soft) {
    UiToolkit::CControlUI* root = CreateControlFromSkinFile(kSkin);
    if (!root) return;
    row_ = static_cast<UiToolkit::CListContainerElementUI*>(root->FindInterface(L"ListContainerElement"));
    if (!row_) {
        log_error("%s: skin %ls: the root is a %ls, not a ListContainerElement", "UninstallSoftItem",
                  kSkin, root->ClassName());
        delete root;
        return;
    }
    // A row that lacks a control is still listed, as built.
    if (Bind() && soft) Fill(*soft);
}

bool UninstallSoftItem::Bind() {
    return BindSkinControlInTree(icon_, row_, kSkin, L"sys_soft_display_icon", L"Label") &&
           BindSkinControlInTree(name_, row_, kSkin, L"sys_soft_display_name", L"Label") &&
           BindSkinControlInTree(date_, row_, kSkin, L"sys_soft_install_date", L"Label") &&
           BindSkinControlInTree(size_, row_, kSkin, L"sys_soft_disk_size", L"Label") &&
           BindSkinControlInTree(uninstall_, row_, kSkin, L"sys_soft_uninstall", L"Button");
}

void UninstallSoftItem::Fill(const SysInstallSoft& soft) {
    if (!soft.icon.empty()) {
        if (HICON icon = g_icon_loader(soft.icon.c_str())) {
            icon_->SetIcon(icon);
            icon_->OnDestroyDelegates += UiToolkit::MakeDelegate(DestroyLabelIcon);
        }
    }
    name_->SetText(soft.display_name.c_str());
    name_->SetToolTip(soft.display_name.c_str());
    if (!soft.install_date_text.empty()) date_->SetText(soft.install_date_text.c_str());
    size_->SetText(InstalledSizeText(soft.size_kb).c_str());
    uninstall_->SetUserData(soft.uninstall_command.c_str());
}
