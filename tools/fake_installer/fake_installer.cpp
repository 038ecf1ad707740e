// Writes one uninstall entry under HKLM ...\Uninstall\<key>, as a real
// installer would. Options (all optional except /name):
//   /name N /version V /publisher P /size KB /date yyyymmdd /key K
//   /dir D        create D, copy the uninstaller into it, InstallLocation=D
//   /location L   InstallLocation (overrides the one from /dir)
//   /uninstall U  UninstallString (default: the uninstaller with /key K)
//   /uninstaller P  the uninstaller program that default names (default:
//                 fake_uninstaller.exe beside this program; a downloaded copy
//                 of this program has none beside it)
//   /icon I       DisplayIcon       /release R   ReleaseType
//   /msi          WindowsInstaller=1   /system   SystemComponent=1
//   /value Name=kind:data   any value; kind is sz, expand, dword, qword,
//                 hex (REG_BINARY), or rawsz (text without its NUL)
//   /view64 /view32   registry view   /wait MS   sleep before exiting
//   /record F     append one line to F for every run (UTF-8): "ran <name>"
//   /list F       instead of one entry, one per line of the UTF-8 file F:
//                 key|name|version|date|size[|uninstall] (blank lines and
//                 lines starting with # are skipped; empty fields are not
//                 written; the uninstall command defaults as above)
// Run without arguments (as a catalogue download is), it takes its options
// from text appended to its own file after "#kelvora-fake-setup#".
// Exit code 0 on success, 2 when a key could not be written.
#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <stdio.h>
#include <string>
#include <vector>
#include "tools/fake_installer/fake_setup_args.h"

using fake_setup::Args;

namespace {

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {0};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    PathRemoveFileSpecW(path);
    return path;
}

bool SetText(HKEY key, const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ) {
    return RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool SetDword(HKEY key, const wchar_t* name, DWORD v) {
    return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v) ==
           ERROR_SUCCESS;
}

std::string HexBytes(const std::wstring& hex) {
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out.push_back(static_cast<char>(wcstoul(hex.substr(i, 2).c_str(), nullptr, 16)));
    return out;
}

// "/value Name=kind:data"
bool SetRawValue(HKEY key, const std::wstring& spec) {
    size_t eq = spec.find(L'=');
    size_t colon = spec.find(L':', eq == std::wstring::npos ? 0 : eq);
    if (eq == std::wstring::npos || colon == std::wstring::npos) return false;
    std::wstring name = spec.substr(0, eq);
    std::wstring kind = spec.substr(eq + 1, colon - eq - 1);
    std::wstring data = spec.substr(colon + 1);
    if (kind == L"sz") return SetText(key, name.c_str(), data);
    if (kind == L"expand") return SetText(key, name.c_str(), data, REG_EXPAND_SZ);
    if (kind == L"dword") return SetDword(key, name.c_str(), wcstoul(data.c_str(), nullptr, 0));
    if (kind == L"qword") {
        unsigned long long v = wcstoull(data.c_str(), nullptr, 0);
        return RegSetValueExW(key, name.c_str(), 0, REG_QWORD, reinterpret_cast<const BYTE*>(&v),
                              sizeof v) == ERROR_SUCCESS;
    }
    if (kind == L"hex") {
        std::string bytes = HexBytes(data);
        return RegSetValueExW(key, name.c_str(), 0, REG_BINARY,
                              reinterpret_cast<const BYTE*>(bytes.data()),
                              static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
    }
    if (kind == L"rawsz") {  // a REG_SZ whose bytes end without a NUL
        return RegSetValueExW(key, name.c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(data.data()),
                              static_cast<DWORD>(data.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
    }
    return false;
}

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

void RecordRun(const std::wstring& record, const std::wstring& name) {
    HANDLE file = CreateFileW(record.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    std::wstring line = L"ran " + name + L"\n";
    int n = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string bytes(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), &bytes[0], n, nullptr,
                        nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::wstring ViewArgument(REGSAM view) {
    return view == KEY_WOW64_64KEY ? L" /view64" : view == KEY_WOW64_32KEY ? L" /view32" : L"";
}

std::vector<std::wstring> SplitFields(const std::wstring& line) {
    std::vector<std::wstring> fields;
    size_t start = 0;
    for (;;) {
        size_t bar = line.find(L'|', start);
        fields.push_back(line.substr(start, bar == std::wstring::npos ? std::wstring::npos : bar - start));
        if (bar == std::wstring::npos) break;
        start = bar + 1;
    }
    return fields;
}

// "/list F": many entries in one run (a Windows process start costs a
// second under Wine).
int WriteListedEntries(const std::wstring& list_path, REGSAM view, const std::wstring& uninstaller) {
    FILE* f = _wfopen(list_path.c_str(), L"rb");
    if (!f) {
        fwprintf(stderr, L"fake_installer: cannot read %ls\n", list_path.c_str());
        return 1;
    }
    std::string bytes;
    char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0) bytes.append(chunk, n);
    fclose(f);
    int chars = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(chars, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0], chars);

    bool ok = true;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        std::wstring line = text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        start = end == std::wstring::npos ? text.size() : end + 1;
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        if (line.empty() || line[0] == L'#') continue;
        std::vector<std::wstring> fields = SplitFields(line);
        fields.resize(6);
        const std::wstring& key_name = fields[0];
        if (key_name.empty()) continue;
        std::wstring path = std::wstring(fake_setup::UninstallRoot()) + L"\\" + key_name;
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE | view, nullptr, &key,
                            nullptr) != ERROR_SUCCESS) {
            fwprintf(stderr, L"fake_installer: cannot create %ls\n", path.c_str());
            ok = false;
            continue;
        }
        if (!fields[1].empty()) ok &= SetText(key, L"DisplayName", fields[1]);
        if (!fields[2].empty()) ok &= SetText(key, L"DisplayVersion", fields[2]);
        if (!fields[3].empty()) ok &= SetText(key, L"InstallDate", fields[3]);
        if (!fields[4].empty()) ok &= SetDword(key, L"EstimatedSize", wcstoul(fields[4].c_str(), nullptr, 10));
        std::wstring uninstall = fields[5].empty()
                                     ? Quoted(uninstaller) + L" /key " + Quoted(key_name) + ViewArgument(view)
                                     : fields[5];
        ok &= SetText(key, L"UninstallString", uninstall);
        RegCloseKey(key);
    }
    return ok ? 0 : 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Args args = fake_setup::ParseArgs(argc, argv);
    if (args.Has(L"list"))
        return WriteListedEntries(args.Get(L"list"), fake_setup::ViewFlag(args),
                                  ProgramFolder() + L"\\fake_uninstaller.exe");
    if (argc == 1) {
        wchar_t self[MAX_PATH] = {0};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        fake_setup::ReadEmbeddedArgs(self, &args);
    }
    if (args.Has(L"record")) RecordRun(args.Get(L"record"), args.Get(L"name"));
    std::wstring key_name = fake_setup::KeyName(args);
    if (key_name.empty()) {
        fwprintf(stderr, L"fake_installer: /name or /key is required\n");
        return 1;
    }
    REGSAM view = fake_setup::ViewFlag(args);

    std::wstring uninstaller = args.Get(L"uninstaller", ProgramFolder() + L"\\fake_uninstaller.exe");
    std::wstring dir = args.Get(L"dir");
    if (!dir.empty()) {
        SHCreateDirectoryExW(nullptr, dir.c_str(), nullptr);
        std::wstring copy = dir + L"\\fake_uninstaller.exe";
        if (CopyFileW(uninstaller.c_str(), copy.c_str(), FALSE)) uninstaller = copy;
    }

    std::wstring path = std::wstring(fake_setup::UninstallRoot()) + L"\\" + key_name;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE | view, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        fwprintf(stderr, L"fake_installer: cannot create %ls\n", path.c_str());
        return 2;
    }
    bool ok = true;
    if (args.Has(L"name")) ok &= SetText(key, L"DisplayName", args.Get(L"name"));
    if (args.Has(L"version")) ok &= SetText(key, L"DisplayVersion", args.Get(L"version"));
    if (args.Has(L"publisher")) ok &= SetText(key, L"Publisher", args.Get(L"publisher"));
    if (args.Has(L"size"))
        ok &= SetDword(key, L"EstimatedSize", wcstoul(args.Get(L"size").c_str(), nullptr, 10));
    if (args.Has(L"date")) ok &= SetText(key, L"InstallDate", args.Get(L"date"));
    if (args.Has(L"icon")) ok &= SetText(key, L"DisplayIcon", args.Get(L"icon"));
    if (args.Has(L"release")) ok &= SetText(key, L"ReleaseType", args.Get(L"release"));
    if (args.Has(L"msi")) ok &= SetDword(key, L"WindowsInstaller", 1);
    if (args.Has(L"system")) ok &= SetDword(key, L"SystemComponent", 1);

    std::wstring location = args.Get(L"location", dir);
    if (!location.empty()) ok &= SetText(key, L"InstallLocation", location);

    std::wstring uninstall = Quoted(uninstaller) + L" /key " + Quoted(key_name) + ViewArgument(view);
    ok &= SetText(key, L"UninstallString", args.Get(L"uninstall", uninstall));

    for (const auto& spec : args.raw_values) ok &= SetRawValue(key, spec);
    RegCloseKey(key);

    if (args.Has(L"wait")) Sleep(wcstoul(args.Get(L"wait").c_str(), nullptr, 10));
    return ok ? 0 : 2;
}
