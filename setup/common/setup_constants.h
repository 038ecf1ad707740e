#pragma once
#include <windows.h>

// What a setup program's worker posts to its window when the work is over
// (both parameters 0).
const UINT WM_SETUP_DONE = WM_USER + 100;
const UINT WM_SETUP_FAILED = WM_USER + 101;

// The version both setup programs carry, and the subfolder a fresh install
// goes to.
extern const wchar_t kProductVersion[];
// The folder name joined to a chosen folder, and the program names inside an
// installation.
extern const wchar_t kProductFolderName[];
extern const wchar_t kClientProgramName[];
extern const wchar_t kPackageUninstallerName[];
extern const wchar_t kRemovalProgramName[];

// The keys the install package writes (HKEY_LOCAL_MACHINE).
extern const wchar_t kProductKeyPath[];
extern const wchar_t kUninstallKeyPath[];
