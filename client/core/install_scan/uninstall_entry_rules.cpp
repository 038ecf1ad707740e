#include "client/core/install_scan/uninstall_entry_rules.h"
#include <wctype.h>
#include <stdio.h>
#include <shellapi.h>
#include <shlwapi.h>
#include "client/core/utilities/text_split.h"

const wchar_t kMsiexecIconPath[] = L"C:\\Windows\\system32\\msiexec.exe";

std::wstring LowerCopy(const std::wstring& text) {
    std::wstring out(text);
    for (auto& c : out) c = static_cast<wchar_t>(towlower(c));
    return out;
}

bool IsPatchReleaseType(const std::wstring& release_type) {
    static const wchar_t* const kPatchTypes[] = {L"hotfix", L"Service Pack", L"Security Update",
                                                 L"Update"};
    for (const wchar_t* t : kPatchTypes)
        if (_wcsicmp(release_type.c_str(), t) == 0) return true;
    return false;
}

bool IsMicrosoftPatch(const std::wstring& publisher, const std::wstring& display_name) {
    if (_wcsicmp(publisher.c_str(), L"Microsoft") != 0 &&
        _wcsicmp(publisher.c_str(), L"Microsoft Corporation") != 0)
        return false;
    std::wstring name = LowerCopy(display_name);
    static const wchar_t* const kPatchWords[] = {L"service pack", L"update for", L"update kb",
                                                 L"hotfix"};
    for (const wchar_t* w : kPatchWords)
        if (name.find(w) != std::wstring::npos) return true;
    return false;
}

std::wstring ProgramPathOfCommand(const std::wstring& command) {
    if (!command.empty() && command[0] == L'"') {
        // Up to the quote that closes the path: arguments may be quoted too.
        size_t close = command.find(L'"', 1);
        if (close == std::wstring::npos) return command.substr(1);
        return command.substr(1, close - 1);
    }
    return command;
}

std::wstring FolderOfCommand(const std::wstring& command) {
    std::wstring path = ProgramPathOfCommand(command);
    size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos) return std::wstring();
    return path.substr(0, slash + 1);
}

std::wstring LocationFromCommand(const std::wstring& command) {
    if (LowerCopy(command).find(L"msiexec.exe") != std::wstring::npos) return std::wstring();
    return FolderOfCommand(command);
}

std::wstring ResolveDisplayIcon(const std::wstring& value, const FileExistsFn& exists) {
    std::wstring icon = value;
    if (!icon.empty() && icon[0] == L'"') {
        size_t close = icon.find(L'"', 1);
        icon = close == std::wstring::npos ? icon.substr(1) : icon.substr(1, close - 1);
    }
    if (exists(icon)) {
        CollapseBackslashes(&icon);
        return icon;
    }
    if (_wcsicmp(icon.c_str(), L"msiexec.exe") == 0) return kMsiexecIconPath;
    size_t dot = icon.rfind(L'.');
    if (dot == std::wstring::npos) return icon;
    size_t comma = icon.find(L',', dot);
    if (comma == std::wstring::npos) return icon;
    std::wstring cut = icon.substr(0, comma);
    if (_wcsicmp(cut.c_str() + dot, L".exe") == 0 && exists(cut)) return cut;
    return icon;
}

std::wstring IconFromUninstallString(const std::wstring& command, const std::wstring& current,
                                     const FileExistsFn& exists) {
    std::wstring path = ProgramPathOfCommand(command);
    size_t slash = path.rfind(L'\\');
    std::wstring folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
    std::wstring rest = slash == std::wstring::npos ? path : path.substr(slash + 1);
    // CommandLineToArgvW("") answers the program's own path, which would turn
    // an empty command into this client's icon.
    std::wstring first;
    if (!rest.empty()) {
        int argc = 0;
        LPWSTR* argv = CommandLineToArgvW(rest.c_str(), &argc);
        if (argv) {
            if (argc > 0) first = argv[0];
            LocalFree(argv);
        }
    }
    if (!first.empty()) {
        wchar_t joined[MAX_PATH] = {0};
        if (folder.size() < MAX_PATH) lstrcpynW(joined, folder.c_str(), MAX_PATH);
        if (PathAppendW(joined, first.c_str())) {
            if (_wcsicmp(joined, L"msiexec.exe") == 0) return kMsiexecIconPath;
            if (exists(joined)) return joined;
        }
    }
    return current.empty() ? std::wstring(kMsiexecIconPath) : current;
}

std::wstring DateDigits(const SYSTEMTIME& st) {
    wchar_t text[16];
    swprintf(text, 16, L"%04u%02u%02u", static_cast<unsigned>(st.wYear),
             static_cast<unsigned>(st.wMonth), static_cast<unsigned>(st.wDay));
    return text;
}
