// Looks at a Windows session from the outside, for the setup programs'
// process tests (one command per run, answers on stdout in UTF-8):
//   windows                      every top-level window: handle, process,
//                                visible, enabled, class, rectangle, title
//   edittext <hwnd>              the text of the native edit box inside a
//                                window (present while the box has focus)
//   sysclose <hwnd>              the system menu's Close for a window
//   lnk <file>                   the target of a shortcut
//   regsz-raw <key> <name> <text>  writes a REG_SZ under HKEY_LOCAL_MACHINE
//                                without its terminating NUL
//   regvalues <key>              the values of a key under
//                                HKEY_LOCAL_MACHINE: name, type, data
//   watchkey <key> <ms>          waits (at most <ms>) until the key under
//                                HKEY_LOCAL_MACHINE is gone and prints the
//                                Unix time it was first seen gone
//   programfiles                 the program files folder a program of this
//                                flavour is given (a 32-bit one under WOW64
//                                gets "Program Files (x86)")
//   regview                      the registry view a program of this flavour
//                                writes without asking for one: 32 or 64
//                                (as reg.exe's /reg:32 or /reg:64)
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <string>
#include <vector>

namespace {

void Print(const std::wstring& text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string bytes(n > 0 ? n : 0, '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &bytes[0], n,
                            nullptr, nullptr);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()),
              &written, nullptr);
}

std::wstring WindowText(HWND hwnd) {
    int n = GetWindowTextLengthW(hwnd);
    std::vector<wchar_t> text(n + 2, L'\0');
    GetWindowTextW(hwnd, text.data(), n + 1);
    return text.data();
}

BOOL CALLBACK ListWindow(HWND hwnd, LPARAM) {
    wchar_t class_name[256] = {};
    GetClassNameW(hwnd, class_name, 255);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    RECT rc;
    GetWindowRect(hwnd, &rc);
    wchar_t line[600];
    swprintf(line, 600, L"%llx\t%lu\t%d\t%d\t%ls\t%ld,%ld,%ld,%ld\t", 
             static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)),
             static_cast<unsigned long>(pid), IsWindowVisible(hwnd) ? 1 : 0,
             IsWindowEnabled(hwnd) ? 1 : 0, class_name, rc.left, rc.top, rc.right, rc.bottom);
    Print(std::wstring(line) + WindowText(hwnd) + L"\n");
    return TRUE;
}

BOOL CALLBACK FindEdit(HWND hwnd, LPARAM found) {
    wchar_t class_name[64] = {};
    GetClassNameW(hwnd, class_name, 63);
    if (_wcsicmp(class_name, L"Edit") == 0 || _wcsicmp(class_name, L"EditWnd") == 0) {
        *reinterpret_cast<HWND*>(found) = hwnd;
        return FALSE;
    }
    return TRUE;
}

int EditText(const wchar_t* handle) {
    HWND window = reinterpret_cast<HWND>(static_cast<UINT_PTR>(wcstoull(handle, nullptr, 16)));
    HWND edit = nullptr;
    EnumChildWindows(window, FindEdit, reinterpret_cast<LPARAM>(&edit));
    if (!edit) return 2;
    LRESULT n = SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0);
    std::vector<wchar_t> text(n + 2, L'\0');
    SendMessageW(edit, WM_GETTEXT, n + 1, reinterpret_cast<LPARAM>(text.data()));
    Print(text.data());
    return 0;
}

int ShortcutTarget(const wchar_t* file) {
    if (FAILED(CoInitialize(nullptr))) return 3;
    IShellLinkW* link = nullptr;
    int result = 2;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* persist = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
            wchar_t target[MAX_PATH] = {};
            if (SUCCEEDED(persist->Load(file, STGM_READ)) &&
                SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, 0))) {
                Print(target);
                result = 0;
            }
            persist->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return result;
}

int WriteUnterminated(const wchar_t* path, const wchar_t* name, const wchar_t* text) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return 2;
    LONG rc = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                             static_cast<DWORD>(wcslen(text) * sizeof(wchar_t)));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? 0 : 2;
}

int ListValues(const wchar_t* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return 1;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD name_size = 256, type = 0, size = 0;
        if (RegEnumValueW(key, i, name, &name_size, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            break;
        std::vector<BYTE> data(size + 4, 0);
        name_size = 256;
        RegEnumValueW(key, i, name, &name_size, nullptr, &type, data.data(), &size);
        std::wstring text;
        if (type == REG_SZ || type == REG_EXPAND_SZ) {
            text = reinterpret_cast<const wchar_t*>(data.data());
        } else if (type == REG_DWORD) {
            text = std::to_wstring(*reinterpret_cast<const DWORD*>(data.data()));
        }
        Print(std::wstring(name) + L"\t" + std::to_wstring(type) + L"\t" + text + L"\n");
    }
    RegCloseKey(key);
    return 0;
}

double UnixNow() {
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    ULONGLONG t = (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return (static_cast<double>(t) - 116444736000000000.0) / 1e7;
}

int WatchKey(const wchar_t* path, DWORD timeout_ms) {
    const ULONGLONG end = GetTickCount64() + timeout_ms;
    for (;;) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
            wchar_t line[64];
            swprintf(line, 64, L"%.3f\n", UnixNow());
            Print(line);
            return 0;
        }
        RegCloseKey(key);
        if (GetTickCount64() >= end) return 1;
        Sleep(10);
    }
}

int ProgramFiles() {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, folder))) return 2;
    Print(folder);
    return 0;
}

// Seen, not assumed: a key written without a view, then looked for in each.
int RegistryView() {
    const std::wstring path = L"SOFTWARE\\KelvoraViewProbe" + std::to_wstring(GetCurrentProcessId());
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_WRITE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return 2;
    RegCloseKey(key);
    auto seen_in = [&](REGSAM view) {
        HKEY found = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, &found) != ERROR_SUCCESS)
            return false;
        RegCloseKey(found);
        return true;
    };
    const bool in64 = seen_in(KEY_WOW64_64KEY), in32 = seen_in(KEY_WOW64_32KEY);
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, path.c_str());
    if (!in64 && !in32) return 2;
    // Seen in both: a system with one view, which reg.exe calls /reg:32.
    Print(in64 && !in32 ? L"64" : L"32");
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 2 && wcscmp(argv[1], L"windows") == 0) {
        EnumWindows(ListWindow, 0);
        return 0;
    }
    if (argc == 3 && wcscmp(argv[1], L"edittext") == 0) return EditText(argv[2]);
    if (argc == 3 && wcscmp(argv[1], L"sysclose") == 0) {
        HWND window = reinterpret_cast<HWND>(static_cast<UINT_PTR>(wcstoull(argv[2], nullptr, 16)));
        return PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0) ? 0 : 2;
    }
    if (argc == 3 && wcscmp(argv[1], L"lnk") == 0) return ShortcutTarget(argv[2]);
    if (argc == 5 && wcscmp(argv[1], L"regsz-raw") == 0)
        return WriteUnterminated(argv[2], argv[3], argv[4]);
    if (argc == 3 && wcscmp(argv[1], L"regvalues") == 0) return ListValues(argv[2]);
    if (argc == 4 && wcscmp(argv[1], L"watchkey") == 0)
        return WatchKey(argv[2], static_cast<DWORD>(_wtoi(argv[3])));
    if (argc == 2 && wcscmp(argv[1], L"programfiles") == 0) return ProgramFiles();
    if (argc == 2 && wcscmp(argv[1], L"regview") == 0) return RegistryView();
    Print(L"usage: setup_probe windows | edittext <hwnd> | sysclose <hwnd> | lnk <file> | "
          L"regsz-raw <key> <name> <text> | regvalues <key> | watchkey <key> <ms> | "
          L"programfiles | regview\n");
    return 2;
}
