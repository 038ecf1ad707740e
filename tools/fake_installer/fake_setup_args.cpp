#include "tools/fake_installer/fake_setup_args.h"

#include <string.h>

namespace fake_setup {

namespace {
// Options that take the next argument as their value.
bool TakesValue(const std::wstring& name) {
    static const wchar_t* const kWithValue[] = {
        L"name", L"version", L"publisher", L"size", L"date", L"key", L"dir",
        L"icon", L"location", L"uninstall", L"uninstaller", L"release", L"value", L"wait", L"record", L"list", L"prefix"};
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

const char kEmbeddedArgsMarker[] = "#kelvora-fake-setup#";

std::vector<std::wstring> SplitCommandLine(const std::wstring& text) {
    std::vector<std::wstring> out;
    std::wstring current;
    bool quoted = false, any = false;
    for (wchar_t c : text) {
        if (c == L'"') {
            quoted = !quoted;
            any = true;
        } else if (!quoted && (c == L' ' || c == L'\t' || c == L'\r' || c == L'\n')) {
            if (any) out.push_back(current);
            current.clear();
            any = false;
        } else {
            current.push_back(c);
            any = true;
        }
    }
    if (any) out.push_back(current);
    return out;
}

bool ReadEmbeddedArgs(const std::wstring& program, Args* out) {
    HANDLE file = CreateFileW(program.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    // The options sit at the very end: the last few kilobytes hold them.
    LARGE_INTEGER size = {};
    GetFileSizeEx(file, &size);
    const LONGLONG tail = size.QuadPart < 8192 ? size.QuadPart : 8192;
    LARGE_INTEGER at;
    at.QuadPart = size.QuadPart - tail;
    std::string bytes(static_cast<size_t>(tail), '\0');
    DWORD got = 0;
    bool read = SetFilePointerEx(file, at, nullptr, FILE_BEGIN) &&
                ReadFile(file, &bytes[0], static_cast<DWORD>(tail), &got, nullptr);
    CloseHandle(file);
    if (!read) return false;
    bytes.resize(got);
    size_t marker = bytes.rfind(kEmbeddedArgsMarker);
    if (marker == std::string::npos) return false;
    std::string line = bytes.substr(marker + strlen(kEmbeddedArgsMarker));
    int n = MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0);
    std::wstring wide(n, L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), &wide[0], n);
    std::vector<std::wstring> parts = SplitCommandLine(wide);
    std::vector<wchar_t*> argv;
    std::wstring self = program;
    argv.push_back(&self[0]);
    for (auto& p : parts) argv.push_back(&p[0]);
    *out = ParseArgs(static_cast<int>(argv.size()), argv.data());
    return true;
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
