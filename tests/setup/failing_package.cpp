// Stands in for the install package in a test build of the setup program:
// it places a client in the "/D=" folder as the real package would, and
// then ends with exit code 2, as a package that could not write everything
// does. The setup program must take that as a failure.
#include <windows.h>
#include <shlobj.h>

#include <string>

int wmain() {
    std::wstring line = GetCommandLineW();
    size_t at = line.find(L"/D=");
    if (at == std::wstring::npos) return 3;
    std::wstring folder = line.substr(at + 3);
    if (SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr) != ERROR_SUCCESS &&
        GetLastError() != ERROR_ALREADY_EXISTS)
        return 3;
    std::wstring client = folder + L"\\vantrel.exe";
    HANDLE file = CreateFileW(client.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return 2;
}
