#pragma once
// Which software and category icons are already on disk, below the skin
// folder: "skin\temp\<id>.png" and "skin\class\<id>.png". Paths are handed
// out relative to the skin folder ("temp\<id>.png"), which the toolkit
// resolves against its resource folder.
#include <stdint.h>
#include <map>
#include <string>
#include "foundation/ke/critical_section.h"
#include "foundation/ke/nocopy_assign.h"

enum IconKind { kSoftIcon = 0, kClassIcon = 1 };

// The skin folder with its trailing backslash: program folder + "skin\".
std::wstring IconSkinFolder();
// Test seam: another folder stands in for the skin folder.
void SetIconSkinFolderForTests(const std::wstring& folder);

// "temp\<id>.png" or "class\<id>.png".
std::wstring IconRelativePath(IconKind kind, int32_t id);
// The full path of that file; its folder is created when missing.
std::wstring IconFilePath(IconKind kind, int32_t id);

class LocalIconMgr : public ke::nocopy_assign {
public:
    explicit LocalIconMgr(IconKind kind) : kind_(kind) {}
    virtual ~LocalIconMgr() {}

    // The relative path when the icon file is on disk (learned lazily).
    bool GetIconPath(int32_t id, std::wstring* relative_path);
    void SetIconPath(int32_t id, const std::wstring& relative_path);

private:
    ke::critical_section lock_;
    std::map<int32_t, std::wstring> paths_;
    IconKind kind_;
};

class SoftIcon : public LocalIconMgr {
public:
    static SoftIcon& Instance();

private:
    SoftIcon() : LocalIconMgr(kSoftIcon) {}
};

class TypeIcon : public LocalIconMgr {
public:
    static TypeIcon& Instance();

private:
    TypeIcon() : LocalIconMgr(kClassIcon) {}
};
