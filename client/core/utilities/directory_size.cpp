#include "client/core/utilities/directory_size.h"
#include <windows.h>
#include <shlwapi.h>

bool DirectorySize(const std::wstring& folder, uint64_t* out) {
    wchar_t pattern[MAX_PATH];
    if (folder.size() >= MAX_PATH) return false;
    lstrcpynW(pattern, folder.c_str(), MAX_PATH);
    if (!PathAppendW(pattern, L"*")) return false;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(pattern, &found);
    if (find == INVALID_HANDLE_VALUE) return false;
    uint64_t total = 0;
    do {
        if (lstrcmpW(found.cFileName, L".") == 0 || lstrcmpW(found.cFileName, L"..") == 0) continue;
        // Junctions and links point at data counted elsewhere (or at a parent,
        // which would recurse until the path limit).
        if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            wchar_t sub[MAX_PATH];
            lstrcpynW(sub, folder.c_str(), MAX_PATH);
            uint64_t size = 0;
            if (PathAppendW(sub, found.cFileName) && DirectorySize(sub, &size)) total += size;
        } else {
            total += static_cast<uint64_t>(found.nFileSizeHigh) << 32 | found.nFileSizeLow;
        }
    } while (FindNextFileW(find, &found));
    FindClose(find);
    *out = total;
    return true;
}
