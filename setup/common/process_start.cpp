#include "setup/common/process_start.h"

#include <vector>

namespace {

// Starts `program`; the caller owns the returned handles.
bool Start(const std::wstring& program, const std::wstring& arguments, PROCESS_INFORMATION* info) {
    const std::wstring line = QuotedCommandLine(program, arguments);
    if (line.empty()) return false;
    // CreateProcessW may write into the command line it is given.
    std::vector<wchar_t> buffer(line.begin(), line.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    ZeroMemory(info, sizeof *info);
    return CreateProcessW(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, info) != FALSE;
}

void CloseBoth(PROCESS_INFORMATION& info) {
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

}  // namespace

std::wstring QuotedCommandLine(const std::wstring& program, const std::wstring& arguments) {
    if (program.empty() || program.find(L'"') != std::wstring::npos) return std::wstring();
    std::wstring line = L"\"" + program + L"\"";
    if (!arguments.empty()) line += L" " + arguments;
    return line;
}

bool StartProgram(const std::wstring& program, const std::wstring& arguments) {
    PROCESS_INFORMATION info;
    if (!Start(program, arguments, &info)) return false;
    CloseBoth(info);
    return true;
}

bool RunProgramAndWait(const std::wstring& program, const std::wstring& arguments,
                       DWORD* exit_code) {
    PROCESS_INFORMATION info;
    if (!Start(program, arguments, &info)) return false;
    WaitForSingleObject(info.hProcess, INFINITE);
    DWORD code = 0;
    if (!GetExitCodeProcess(info.hProcess, &code)) code = static_cast<DWORD>(-1);
    if (exit_code) *exit_code = code;
    CloseBoth(info);
    return true;
}

bool RunProgramAndWaitAtMost(const std::wstring& program, const std::wstring& arguments,
                             DWORD timeout_ms) {
    PROCESS_INFORMATION info;
    if (!Start(program, arguments, &info)) return false;
    WaitForSingleObject(info.hProcess, timeout_ms);
    CloseBoth(info);
    return true;
}

void HoldForTests(const wchar_t* name) {
    wchar_t value[16];
    DWORD n = GetEnvironmentVariableW(name, value, 16);
    if (n > 0 && n < 16) Sleep(static_cast<DWORD>(_wtoi(value)));
}
