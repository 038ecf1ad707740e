// Holds a piece of the setup programs' work open for a process test, so the
// test acts while the work runs instead of racing it. Planted in place of a
// program (the install package inside a copy of the setup program, or the
// package's uninstaller in an installed folder), it
//   - creates "<hold file>.held", so the test knows the work has reached it,
//   - waits while the file named by VANTREL_HOLD_FILE exists (the test
//     removes it to release the work; at most ten minutes),
//   - then runs the program named by VANTREL_HOLD_THEN with its own
//     arguments and ends with that program's exit code.
#include <windows.h>

#include <string>

namespace {

std::wstring Env(const wchar_t* name) {
    wchar_t value[1024] = {};
    DWORD n = GetEnvironmentVariableW(name, value, 1024);
    return n > 0 && n < 1024 ? std::wstring(value) : std::wstring();
}

// The command line less its first word (the program, quoted or not).
std::wstring Arguments() {
    const wchar_t* p = GetCommandLineW();
    if (*p == L'"') {
        ++p;
        while (*p && *p != L'"') ++p;
        if (*p) ++p;
    } else {
        while (*p && *p != L' ' && *p != L'\t') ++p;
    }
    while (*p == L' ' || *p == L'\t') ++p;
    return p;
}

}  // namespace

int wmain() {
    const std::wstring hold = Env(L"VANTREL_HOLD_FILE");
    const std::wstring then = Env(L"VANTREL_HOLD_THEN");
    if (then.empty()) return 90;
    if (!hold.empty()) {
        HANDLE held = CreateFileW((hold + L".held").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        const ULONGLONG end = GetTickCount64() + 10 * 60 * 1000;
        while (GetFileAttributesW(hold.c_str()) != INVALID_FILE_ATTRIBUTES && GetTickCount64() < end)
            Sleep(50);
    }
    std::wstring line = L"\"" + then + L"\" " + Arguments();
    STARTUPINFOW si = {sizeof(si)};
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(then.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return 91;
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 92;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}
