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

// Options appended to a copy of the program: the last line after the
// marker "#kelvora-fake-setup#", UTF-8, split like a command line (double
// quotes group). False when the file holds no such line.
extern const char kEmbeddedArgsMarker[];
bool ReadEmbeddedArgs(const std::wstring& program, Args* out);

// Splits a command line's text into its arguments (double quotes group).
std::vector<std::wstring> SplitCommandLine(const std::wstring& text);

// The uninstall key under HKLM, and the registry view asked for ("/view64" or
// "/view32"; neither means the process's own view).
const wchar_t* UninstallRoot();
REGSAM ViewFlag(const Args& args);

// The key name: "/key", else the display name.
std::wstring KeyName(const Args& args);

}  // namespace fake_setup
