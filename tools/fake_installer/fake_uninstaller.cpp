// Removes the uninstall entry that the fake installer wrote:
//   fake_uninstaller /key K [/view64 | /view32] [/wait MS]
//   fake_uninstaller /prefix P [/view64 | /view32]   every entry whose key
//                                                   name begins with P
// Exit code 0 when the entries are gone (also when they were never there),
// 2 when one could not be deleted.
#include <windows.h>
#include <stdio.h>
#include <string>
#include <vector>
#include "tools/fake_installer/fake_setup_args.h"

namespace {

int RemoveByPrefix(const std::wstring& prefix, REGSAM view) {
    HKEY root = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, fake_setup::UninstallRoot(), 0, KEY_ALL_ACCESS | view, &root) !=
        ERROR_SUCCESS)
        return 0;
    std::vector<std::wstring> names;
    for (DWORD index = 0;; ++index) {
        wchar_t name[512];
        DWORD length = 512;
        if (RegEnumKeyExW(root, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        if (wcsncmp(name, prefix.c_str(), prefix.size()) == 0) names.push_back(name);
    }
    bool ok = true;
    for (const auto& name : names) ok &= RegDeleteKeyExW(root, name.c_str(), view, 0) == ERROR_SUCCESS;
    RegCloseKey(root);
    return ok ? 0 : 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    fake_setup::Args args = fake_setup::ParseArgs(argc, argv);
    if (args.Has(L"prefix") && !args.Get(L"prefix").empty())
        return RemoveByPrefix(args.Get(L"prefix"), fake_setup::ViewFlag(args));
    std::wstring key_name = fake_setup::KeyName(args);
    if (key_name.empty()) {
        fwprintf(stderr, L"fake_uninstaller: /key is required\n");
        return 1;
    }
    if (args.Has(L"wait")) Sleep(wcstoul(args.Get(L"wait").c_str(), nullptr, 10));
    HKEY root = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, fake_setup::UninstallRoot(), 0,
                      KEY_ALL_ACCESS | fake_setup::ViewFlag(args), &root) != ERROR_SUCCESS)
        return 0;
    LONG rc = RegDeleteKeyExW(root, key_name.c_str(), fake_setup::ViewFlag(args), 0);
    RegCloseKey(root);
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND ? 0 : 2;
}
