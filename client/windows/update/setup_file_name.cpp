#include "client/windows/update/setup_file_name.h"

#include <windows.h>

#include "client/core/reports/installer_file_name.h"

bool SetupFileNameOf(const std::wstring& address, std::wstring* name) {
    const size_t slash = address.find_last_of(L"/\\");
    const std::wstring last = slash == std::wstring::npos ? address : address.substr(slash + 1);
    if (last.empty() || last == L"." || last == L"..") return false;
    // A name the file-name rules would change is not one to write under.
    if (SafeFileNameComponent(last) != last) return false;
    *name = last;
    return true;
}

bool SetupFilePath(const std::wstring& folder, const std::wstring& address, std::wstring* path) {
    std::wstring name;
    if (folder.empty() || !SetupFileNameOf(address, &name)) return false;
    std::wstring joined = folder;
    if (joined.back() != L'\\' && joined.back() != L'/') joined += L'\\';
    joined += name;
    if (joined.size() >= MAX_PATH) return false;
    *path = joined;
    return true;
}
