// Stands in for the client's setup program when the client updates itself:
// writes the command line it was started with (UTF-8) to the file named by
// VANTREL_FAKE_SETUP_RECORD, or else to its own path plus ".cmdline", and
// ends with exit code 0. A GUI program, so no console opens.
#include <windows.h>
#include <stdio.h>
#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t target[MAX_PATH * 2] = {0};
    if (!GetEnvironmentVariableW(L"VANTREL_FAKE_SETUP_RECORD", target, MAX_PATH * 2)) {
        GetModuleFileNameW(nullptr, target, MAX_PATH);
        wcscat(target, L".cmdline");
    }
    std::wstring line = GetCommandLineW();
    int size = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(size > 0 ? size - 1 : 0, '\0');
    if (size > 1) WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, &utf8[0], size, nullptr, nullptr);
    FILE* f = _wfopen(target, L"wb");
    if (!f) return 2;
    fwrite(utf8.data(), 1, utf8.size(), f);
    fclose(f);
    return 0;
}
