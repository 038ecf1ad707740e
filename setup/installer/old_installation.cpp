#include "setup/installer/old_installation.h"

#include <windows.h>

#include "setup/common/folder_paths.h"
#include "setup/common/process_start.h"
#include "setup/common/setup_constants.h"
#include "setup/installer/reg_help.h"

namespace {

// The package uninstaller hands its work to a copy of itself and returns at
// once; the copy removes the keys first and the folder last, after the
// running client has quit. The new copy may go into that very folder, so
// the wait lasts until both are gone (or long enough that something is
// plainly stuck).
const DWORD kOldCopyGoneTimeoutMs = 60000;

bool ProductKeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kProductKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

}  // namespace

std::wstring OldFolderParent(const std::wstring& old_folder) {
    std::wstring folder = old_folder;
    // A root keeps its backslash ("C:\").
    while (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
    return CutAfterLastBackslash(folder);
}

std::wstring RemoveOldInstallation() {
    std::wstring old_folder;
    if (!ReadInstallDir(&old_folder)) return std::wstring();
    if (RunProgramAndWait(JoinPath(old_folder, kPackageUninstallerName), L"/S")) {
        WaitUntil([&] { return !ProductKeyExists() && !FolderExists(old_folder); },
                  kOldCopyGoneTimeoutMs, 250);
    }
    return OldFolderParent(old_folder);
}
