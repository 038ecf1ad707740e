#include "client/windows/settings/free_space.h"

#include <windows.h>
#include <stdio.h>

namespace {

bool DiskFreeSpace(const std::wstring& root, uint64_t* free_bytes) {
    ULARGE_INTEGER available;
    if (!::GetDiskFreeSpaceExW(root.c_str(), &available, nullptr, nullptr)) return false;
    *free_bytes = available.QuadPart;
    return true;
}

FreeSpaceQuery g_query = DiskFreeSpace;

}  // namespace

std::wstring DriveRootOf(const std::wstring& folder) {
    const size_t slash = folder.find(L'\\');
    return slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash + 1);
}

std::wstring FreeSpaceText(uint64_t free_bytes) {
    const float gb = static_cast<float>(free_bytes / 1024.0 / 1024.0 / 1024.0);
    wchar_t text[96];
    swprintf(text, sizeof(text) / sizeof(text[0]), L"| 当前目录所在硬盘可用空间：%.2fGB", gb);
    return text;
}

bool QueryFreeSpace(const std::wstring& root, uint64_t* free_bytes) {
    if (root.empty()) return false;
    return g_query(root, free_bytes);
}

void SetFreeSpaceQueryForTests(FreeSpaceQuery query) { g_query = query ? query : DiskFreeSpace; }
