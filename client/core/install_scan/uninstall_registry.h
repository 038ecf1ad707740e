#pragma once
// Reads the system's uninstall list from the registry.
#include <windows.h>
#include <string>
#include "client/core/install_scan/sys_install_soft.h"
#include "client/core/install_scan/uninstall_views.h"
#include "client/core/utilities/wow64.h"

// Where the uninstall list and the Windows Installer product icons live, and
// how its registry views are read. Tests point it at keys of their own and
// try either flavour's rule.
struct UninstallRegistry {
    HKEY root = HKEY_LOCAL_MACHINE;
    std::wstring uninstall_key = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
    HKEY products_root = HKEY_CLASSES_ROOT;
    std::wstring products_key = L"Installer\\Products\\";
    UninstallViewRule view_rule = ThisBuildsViewRule();
    bool wow64 = IsWow64();
};

// Appends every listed program to `list`: the Windows Installer entries of
// the registry views first (which views: uninstall_views.h), then the other
// entries. False when neither pass could read the uninstall key.
bool ScanInstalledSoft(SysInstallSoftList* list, const UninstallRegistry& where = UninstallRegistry());

// One uninstall entry; false when the entry is filtered out or incomplete.
bool ReadUninstallEntry(HKEY entry, bool msi_pass, SysInstallSoftPtr* out);
