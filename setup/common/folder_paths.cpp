#include "setup/common/folder_paths.h"

#include <vector>

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
    size_t skip = 0;
    while (skip < name.size() && (name[skip] == L'\\' || name[skip] == L'/')) ++skip;
    std::wstring tail = name.substr(skip);
    if (folder.empty()) return tail;
    const wchar_t last = folder.back();
    if (last == L'\\' || last == L'/') return folder + tail;
    return folder + L"\\" + tail;
}

std::wstring CutAfterLastBackslash(const std::wstring& path) {
    size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos) return std::wstring();
    return path.substr(0, slash + 1);
}

std::wstring OwnProgramFolder() {
    std::vector<wchar_t> path(MAX_PATH + 1, L'\0');
    DWORD n = GetModuleFileNameW(nullptr, path.data(), MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return std::wstring();
    return CutAfterLastBackslash(std::wstring(path.data(), n));
}

bool FolderExists(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CanBeFolder(const std::wstring& folder) {
    for (size_t end = 0; end != std::wstring::npos;) {
        end = folder.find(L'\\', end + 1);
        const std::wstring part = folder.substr(0, end);
        const DWORD attributes = GetFileAttributesW(part.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return false;
    }
    return true;
}
