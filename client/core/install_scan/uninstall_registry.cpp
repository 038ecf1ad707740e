#include "client/core/install_scan/uninstall_registry.h"
#include <stdlib.h>
#include "client/core/utilities/directory_size.h"
#include "client/core/utilities/local_date.h"
#include "client/core/install_scan/registry_value.h"
#include "client/core/install_scan/uninstall_entry_rules.h"
#include "client/core/install_scan/uninstall_views.h"
#include "foundation/log/log.h"

namespace {

bool FileExists(const std::wstring& path) {
    if (path.empty()) return false;
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES;
}

// The creation date (UTC) of a folder as yyyymmdd; empty when it cannot be read.
std::wstring FolderCreationDigits(const std::wstring& folder) {
    HANDLE dir = CreateFileW(folder.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (dir == INVALID_HANDLE_VALUE) return std::wstring();
    FILETIME created;
    SYSTEMTIME st;
    std::wstring digits;
    if (GetFileTime(dir, &created, nullptr, nullptr) && FileTimeToSystemTime(&created, &st))
        digits = DateDigits(st);
    CloseHandle(dir);
    return digits;
}

void SetInstallDate(SysInstallSoft* soft, const std::wstring& digits) {
    soft->install_date = static_cast<int32_t>(wcstol(digits.c_str(), nullptr, 10));
    ParseInstallDate(digits, &soft->install_date_text);
}

// One pass over the uninstall key in one registry view. A subkey that cannot
// be opened is skipped, so one protected entry does not hide the rest.
bool ScanPass(const UninstallRegistry& where, REGSAM view, bool msi_pass, SysInstallSoftList* list) {
    HKEY uninstall = nullptr;
    if (RegOpenKeyExW(where.root, where.uninstall_key.c_str(), 0,
                      KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | view, &uninstall) != ERROR_SUCCESS)
        return false;
    LONG rc = ERROR_SUCCESS;
    for (DWORD index = 0;; ++index) {
        wchar_t name[261];
        DWORD length = 261;
        rc = RegEnumKeyExW(uninstall, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_MORE_DATA) continue;  // a name too long to open: skip it
        if (rc != ERROR_SUCCESS) break;
        HKEY entry = nullptr;
        if (RegOpenKeyExW(uninstall, name, 0, KEY_QUERY_VALUE | view, &entry) != ERROR_SUCCESS) {
            log_error("%s: cannot open uninstall entry %ls", "ScanInstalledSoft", name);
            continue;
        }
        SysInstallSoftPtr soft;
        if (ReadUninstallEntry(entry, msi_pass, &soft)) list->push_back(soft);
        RegCloseKey(entry);
    }
    RegCloseKey(uninstall);
    return rc == ERROR_NO_MORE_ITEMS;
}

// The views the program's flavour reads (uninstall_views.h).
bool ScanViews(const UninstallRegistry& where, bool msi_pass, SysInstallSoftList* list) {
    return ReadUninstallViews(where.view_rule, where.wow64, [&](REGSAM view) {
        return ScanPass(where, view, msi_pass, list);
    });
}

// Windows Installer keeps product icons apart from the uninstall entries.
void ApplyProductIcons(const UninstallRegistry& where, SysInstallSoftList* list) {
    HKEY products = nullptr;
    if (RegOpenKeyExW(where.products_root, where.products_key.c_str(), 0,
                      KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS, &products) != ERROR_SUCCESS)
        return;
    for (DWORD index = 0;; ++index) {
        wchar_t name[261];
        DWORD length = 261;
        LONG rc = RegEnumKeyExW(products, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_MORE_DATA) continue;
        if (rc != ERROR_SUCCESS) break;
        HKEY product = nullptr;
        if (RegOpenKeyExW(products, name, 0, KEY_QUERY_VALUE, &product) != ERROR_SUCCESS) continue;
        std::wstring icon, product_name;
        if (ReadRegText(product, L"ProductIcon", &icon) &&
            ReadRegText(product, L"ProductName", &product_name)) {
            for (auto& soft : *list) {
                if (soft->display_name != product_name) continue;
                if (soft->msi) soft->icon = icon;
                break;
            }
        }
        RegCloseKey(product);
    }
    RegCloseKey(products);
}

}  // namespace

bool ReadUninstallEntry(HKEY entry, bool msi_pass, SysInstallSoftPtr* out) {
    if (ReadRegFlag(entry, L"NoRemove") || ReadRegFlag(entry, L"SystemComponent") ||
        ReadRegFlag(entry, L"TSAware"))
        return false;
    bool msi = ReadRegFlag(entry, L"WindowsInstaller") != 0;
    if (msi != msi_pass) return false;
    std::wstring release_type;
    if (ReadRegText(entry, L"ReleaseType", &release_type) && IsPatchReleaseType(release_type))
        return false;

    auto soft = std::make_shared<SysInstallSoft>();
    soft->msi = msi;
    if (!ReadRegText(entry, L"DisplayName", &soft->display_name) ||
        !ReadRegText(entry, L"UninstallString", &soft->uninstall_command))
        return false;

    std::wstring icon;
    if (ReadRegText(entry, L"DisplayIcon", &icon)) soft->icon = ResolveDisplayIcon(icon, FileExists);
    ReadRegText(entry, L"InstallLocation", &soft->install_location);
    ReadRegText(entry, L"Publisher", &soft->publisher);
    ReadRegText(entry, L"DisplayVersion", &soft->display_version);
    if (IsMicrosoftPatch(soft->publisher, soft->display_name)) return false;

    std::wstring date;
    if (ReadRegText(entry, L"InstallDate", &date)) SetInstallDate(soft.get(), date);
    if (soft->install_location.empty())
        soft->install_location = LocationFromCommand(soft->uninstall_command);
    if (soft->install_date_text.empty() && !soft->install_location.empty()) {
        std::wstring digits = FolderCreationDigits(soft->install_location);
        if (!digits.empty()) SetInstallDate(soft.get(), digits);
    }

    DWORD size_kb = 0;
    if (ReadRegDword(entry, L"EstimatedSize", &size_kb)) {
        soft->size_kb = size_kb;
    } else if (!soft->install_location.empty()) {
        uint64_t bytes = 0;
        if (DirectorySize(soft->install_location, &bytes))
            soft->size_kb = static_cast<uint32_t>(bytes / 1024);
    }

    if (soft->icon.empty() || !FileExists(soft->icon))
        soft->icon = IconFromUninstallString(soft->uninstall_command, soft->icon, FileExists);
    *out = soft;
    return true;
}

bool ScanInstalledSoft(SysInstallSoftList* list, const UninstallRegistry& where) {
    bool msi_ok = ScanViews(where, true, list);
    ApplyProductIcons(where, list);
    bool other_ok = ScanViews(where, false, list);
    return msi_ok || other_ok;
}
