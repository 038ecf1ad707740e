#include "setup/common/setup_constants.h"

const wchar_t kProductVersion[] = L"1.0.2.7";
const wchar_t kProductFolderName[] = L"Kelvora";
const wchar_t kClientProgramName[] = L"vantrel.exe";
const wchar_t kPackageUninstallerName[] = L"slient.exe";
const wchar_t kRemovalProgramName[] = L"uninstaller.exe";

const wchar_t kProductKeyPath[] = L"SOFTWARE\\Kelvora";
const wchar_t kUninstallKeyPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kelvora";
