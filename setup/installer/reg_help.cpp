#include "setup/installer/reg_help.h"

#include <wctype.h>

#include "client/core/install_scan/registry_value.h"
#include "setup/common/folder_paths.h"
#include "setup/common/setup_constants.h"

RegHelp::~RegHelp() {
    if (m_key) RegCloseKey(m_key);
}

bool RegHelp::Open(HKEY root, const wchar_t* path, REGSAM access) {
    if (m_key) RegCloseKey(m_key);
    m_key = nullptr;
    return RegOpenKeyExW(root, path, 0, access, &m_key) == ERROR_SUCCESS;
}

namespace {
// "X:\..." or "\\server\share\...": a folder that names where it is.
bool IsFullPath(const std::wstring& path) {
    if (path.size() >= 3 && iswalpha(path[0]) && path[1] == L':' && path[2] == L'\\') return true;
    return path.size() >= 3 && path[0] == L'\\' && path[1] == L'\\';
}
}  // namespace

bool RegHelp::QueryInstallDir(std::wstring* out) const {
    if (!m_key) return false;
    std::wstring text;
    if (!ReadRegText(m_key, L"Install_Dir", &text)) return false;
    if (!FitsMaxPath(text) || !IsFullPath(text)) return false;
    *out = text;
    return true;
}

bool ReadInstallDir(std::wstring* out) {
    RegHelp key;
    if (!key.Open(HKEY_LOCAL_MACHINE, kProductKeyPath, KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY))
        return false;
    return key.QueryInstallDir(out);
}
