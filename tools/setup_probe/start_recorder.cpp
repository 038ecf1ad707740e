// Planted where a program must never start (for example "C:\dir.exe" when a
// path "C:\dir with blank\..." is started unquoted): every start appends its
// command line to "<own path>.starts".
#include <windows.h>

#include <string>

int wmain() {
    wchar_t own[MAX_PATH + 1] = {};
    DWORD n = GetModuleFileNameW(nullptr, own, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return 1;
    std::wstring log = std::wstring(own) + L".starts";
    HANDLE file = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    std::wstring line = std::wstring(GetCommandLineW()) + L"\n";
    int size = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, &bytes[0], size, nullptr, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size() - 1), &written, nullptr);
    CloseHandle(file);
    return 0;
}
