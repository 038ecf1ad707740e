#include "setup/installer/install_folder.h"

#include <windows.h>
#include <shlwapi.h>

#include <vector>

#include "setup/common/folder_paths.h"
#include "setup/common/setup_constants.h"

namespace {

bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

bool StartsWithDrive(const std::wstring& text) {
    return text.size() >= 2 && IsDriveLetter(text[0]) && text[1] == L':';
}

// Characters that no folder path holds; a colon only after the drive letter.
bool HasBadCharacter(const std::wstring& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c < 32 || wcschr(L"<>\"|?*", c)) return true;
        if (c == L':' && i != 1) return true;
    }
    return false;
}

bool FullPath(const std::wstring& path, std::wstring* full) {
    DWORD need = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (need == 0) return false;
    std::vector<wchar_t> buffer(need + 1, L'\0');
    DWORD got = GetFullPathNameW(path.c_str(), need + 1, buffer.data(), nullptr);
    if (got == 0 || got > need) return false;
    *full = std::wstring(buffer.data(), got);
    return true;
}

}  // namespace

bool PathExistsOnDisk(const std::wstring& path) {
    // PathFileExistsW reads at most MAX_PATH characters.
    return path.size() < MAX_PATH && PathFileExistsW(path.c_str()) != FALSE;
}

bool ResolveInstallFolder(const std::wstring& text, const PathExistsFn& exists,
                          std::wstring* absolute) {
    if (text.empty() || HasBadCharacter(text)) return false;
    const bool drive = StartsWithDrive(text);
    if (!drive && !exists(text)) return false;
    std::wstring full;
    if (!FullPath(text.size() == 2 && drive ? text + L"\\" : text, &full)) return false;
    if (!FitsMaxPath(VersionTarget(full))) return false;
    *absolute = full;
    return true;
}

std::wstring VersionTarget(const std::wstring& folder) { return JoinPath(folder, kProductVersion); }
