#pragma once
// Command-line options shared by the fake installer and uninstaller.
#include <windows.h>
#include <map>
#include <string>
#include <vector>

namespace fake_setup {

// "/name value" pairs and bare "/flag" switches, in the order given. A value
// that itself begins with "/" must be written after "=": "/uninstall=/x".
struct Args {
    std::map<std::wstring, std::wstring> values;
    std::vector<std::wstring> flags;
    std::vector<std::wstring> raw_values;  // every "/value" option, in order

    bool Has(const std::wstring& name) const;
    std::wstring Get(const std::wstring& name, const std::wstring& fallback = L"") const;
};

Args ParseArgs(int argc, wchar_t** argv);

// The uninstall key under HKLM, and the registry view asked for ("/view64" or
// "/view32"; neither means the process's own view).
const wchar_t* UninstallRoot();
REGSAM ViewFlag(const Args& args);

// The key name: "/key", else the display name.
std::wstring KeyName(const Args& args);

}  // namespace fake_setup
