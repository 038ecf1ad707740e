#include "client/core/icons/local_icon_mgr.h"
#include <windows.h>
#include <stdio.h>
#include "client/core/icons/icon_file_check.h"
#include "client/core/startup/program_folder.h"

namespace {
ke::critical_section g_folder_lock;
std::wstring g_folder_override;
}  // namespace

std::wstring IconSkinFolder() {
    ke::scoped_lock lock(g_folder_lock);
    if (!g_folder_override.empty()) return g_folder_override;
    return ProgramFolder() + L"skin\\";
}

void SetIconSkinFolderForTests(const std::wstring& folder) {
    ke::scoped_lock lock(g_folder_lock);
    g_folder_override = folder;
    if (!g_folder_override.empty() && g_folder_override.back() != L'\\') g_folder_override += L'\\';
}

std::wstring IconRelativePath(IconKind kind, int32_t id) {
    wchar_t name[32];
    swprintf(name, 32, L"%d.png", static_cast<int>(id));
    return std::wstring(kind == kSoftIcon ? L"temp\\" : L"class\\") + name;
}

std::wstring IconFilePath(IconKind kind, int32_t id) {
    std::wstring folder = IconSkinFolder() + (kind == kSoftIcon ? L"temp\\" : L"class\\");
    CreateDirectoryW(folder.c_str(), nullptr);  // fails harmlessly when it exists
    return IconSkinFolder() + IconRelativePath(kind, id);
}

bool LocalIconMgr::GetIconPath(int32_t id, std::wstring* relative_path) {
    ke::scoped_lock lock(lock_);
    auto it = paths_.find(id);
    if (it != paths_.end()) {
        *relative_path = it->second;
        return true;
    }
    const std::wstring file = IconFilePath(kind_, id);
    if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    // A file left by an earlier run is checked as a fresh download is; a
    // refused one goes, so the icon is fetched (and judged) again.
    if (!IconFileAcceptable(file, "LocalIconMgr::GetIconPath", id)) {
        DeleteFileW(file.c_str());
        return false;
    }
    paths_[id] = IconRelativePath(kind_, id);
    *relative_path = paths_[id];
    return true;
}

void LocalIconMgr::SetIconPath(int32_t id, const std::wstring& relative_path) {
    ke::scoped_lock lock(lock_);
    paths_[id] = relative_path;
}

SoftIcon& SoftIcon::Instance() {
    static SoftIcon* instance = new SoftIcon();
    return *instance;
}

TypeIcon& TypeIcon::Instance() {
    static TypeIcon* instance = new TypeIcon();
    return *instance;
}
