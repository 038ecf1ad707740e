#include "tools/fake_installer/fake_setup_args.h"

namespace fake_setup {

namespace {
// Options that take the next argument as their value.
bool TakesValue(const std::wstring& name) {
    static const wchar_t* const kWithValue[] = {
        L"name", L"version", L"publisher", L"size", L"date", L"key", L"dir",
        L"icon", L"location", L"uninstall", L"release", L"value", L"wait", L"list", L"prefix"};
    for (const wchar_t* n : kWithValue)
        if (name == n) return true;
    return false;
}
}  // namespace

bool Args::Has(const std::wstring& name) const {
    if (values.count(name)) return true;
    for (const auto& f : flags)
        if (f == name) return true;
    return false;
}

std::wstring Args::Get(const std::wstring& name, const std::wstring& fallback) const {
    auto it = values.find(name);
    return it == values.end() ? fallback : it->second;
}

Args ParseArgs(int argc, wchar_t** argv) {
    Args args;
    for (int i = 1; i < argc; ++i) {
        std::wstring a = argv[i];
        if (a.size() < 2 || a[0] != L'/') continue;
        std::wstring name = a.substr(1);
        std::wstring value;
        size_t eq = name.find(L'=');
        bool has_value = false;
        if (eq != std::wstring::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            has_value = true;
        } else if (TakesValue(name) && i + 1 < argc) {
            value = argv[++i];
            has_value = true;
        }
        if (!has_value) {
            args.flags.push_back(name);
        } else if (name == L"value") {
            args.raw_values.push_back(value);
        } else {
            args.values[name] = value;
        }
    }
    return args;
}

const wchar_t* UninstallRoot() {
    return L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
}

REGSAM ViewFlag(const Args& args) {
    if (args.Has(L"view64")) return KEY_WOW64_64KEY;
    if (args.Has(L"view32")) return KEY_WOW64_32KEY;
    return 0;
}

std::wstring KeyName(const Args& args) {
    std::wstring key = args.Get(L"key");
    return key.empty() ? args.Get(L"name") : key;
}

}  // namespace fake_setup
