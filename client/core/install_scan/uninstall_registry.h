#pragma once
// Reads the system's uninstall list from the registry.
#include <windows.h>
#include <string>
#include "client/core/install_scan/sys_install_soft.h"

// Where the uninstall list and the Windows Installer product icons live.
// Tests point it at keys of their own.
struct UninstallRegistry {
    HKEY root = HKEY_LOCAL_MACHINE;
    std::wstring uninstall_key = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
    HKEY products_root = HKEY_CLASSES_ROOT;
    std::wstring products_key = L"Installer\\Products\\";
};

// Appends every listed program to `list`: the Windows Installer entries of
// both registry views first (the 64-bit view only under WOW64), then the
// other entries. False when neither pass could read the uninstall key.
bool ScanInstalledSoft(SysInstallSoftList* list, const UninstallRegistry& where = UninstallRegistry());

// One uninstall entry; false when the entry is filtered out or incomplete.
bool ReadUninstallEntry(HKEY entry, bool msi_pass, SysInstallSoftPtr* out);
