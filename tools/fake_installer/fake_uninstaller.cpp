// Removes the uninstall entry that the fake installer wrote:
//   fake_uninstaller /key K [/view64 | /view32] [/wait MS]
// Exit code 0 when the entry is gone (also when it was never there), 2 when
// it could not be deleted.
#include <windows.h>
#include <stdio.h>
#include <string>
#include "tools/fake_installer/fake_setup_args.h"

int wmain(int argc, wchar_t** argv) {
    fake_setup::Args args = fake_setup::ParseArgs(argc, argv);
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
