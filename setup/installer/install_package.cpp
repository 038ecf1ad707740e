#include "setup/installer/install_package.h"

#include <shlobj.h>

#include <vector>

#include "foundation/log/log.h"
#include "setup/common/folder_paths.h"
#include "setup/common/process_start.h"
#include "setup/common/setup_constants.h"
#include "setup/installer/install_folder.h"

namespace {

const wchar_t kPackageFileName[] = L"8EA66DFE-BDEF-4BD5-9F8C-7E4398E307CB_bin.exe";
const int kPackageResourceId = 104;

std::wstring TemporaryFolder() {
    std::vector<wchar_t> path(MAX_PATH + 1, L'\0');
    DWORD n = GetTempPathW(MAX_PATH, path.data());
    if (n == 0 || n > MAX_PATH) return OwnProgramFolder();
    return std::wstring(path.data(), n);
}

}  // namespace

bool WriteResourceToFile(HMODULE module, HRSRC resource, const std::wstring& file) {
    DWORD size = SizeofResource(module, resource);
    HGLOBAL loaded = LoadResource(module, resource);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return false;
    DeleteFileW(file.c_str());
    HANDLE out = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(out, bytes, size, &written, nullptr);
    // An older, longer file that could not be deleted must not keep its tail.
    ok = ok && written == size && SetEndOfFile(out);
    CloseHandle(out);
    return ok != FALSE;
}

bool RunInstallPackage(const std::wstring& folder) {
    const std::wstring target = VersionTarget(folder);
    // The package quietly installs elsewhere (its default folder, or the
    // recorded one) when it cannot use the folder it is given.
    if (!FitsMaxPath(target) || !CanBeFolder(target)) {
        log_error("%s: cannot install into %ls", __FUNCTION__, target.c_str());
        return false;
    }
    const std::wstring package = JoinPath(TemporaryFolder(), kPackageFileName);
    HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(kPackageResourceId), L"BIN_ZIP");
    if (!resource) {
        log_error("%s: no package resource", __FUNCTION__);
        return false;
    }
    if (!WriteResourceToFile(nullptr, resource, package)) {
        log_error("%s: package not written to %ls", __FUNCTION__, package.c_str());
        return false;
    }
    HoldForTests(L"VANTREL_TEST_INSTALL_DELAY_MS");
    // "/D=" must stay last and unquoted: the package takes the rest of the
    // line as the folder.
    DWORD code = 0;
    if (!RunProgramAndWait(package, L"/S /D=" + target, &code)) return false;
    if (code != 0) {
        log_error("%s: the package ended with %lu", __FUNCTION__, static_cast<unsigned long>(code));
        return false;
    }
    return PathExistsOnDisk(JoinPath(target, kClientProgramName));
}

bool RunSilentInstall(const std::wstring* folder) {
    std::wstring base;
    if (folder) {
        if (!ResolveInstallFolder(*folder, &PathExistsOnDisk, &base)) return false;
    } else {
        wchar_t program_files[MAX_PATH] = {};
        if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, program_files)))
            return false;
        base = program_files;
    }
    return RunInstallPackage(JoinPath(base, kProductFolderName));
}
