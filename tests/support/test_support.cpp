#include "tests/support/test_support.h"
#include <wininet.h>
#include <shellapi.h>
#include <stdio.h>
#include <stdlib.h>

namespace test_support {

std::wstring WinePath(const std::string& unix_path) {
    std::wstring out = L"Z:";
    for (char c : unix_path) out += (c == '/') ? L'\\' : static_cast<wchar_t>(c);
    return out;
}

std::string Env(const char* name) {
    const char* v = getenv(name);
    return v ? v : "";
}

int ServicePort() {
    std::string dir = Env("VANTREL_TEST_SERVICES");
    if (dir.empty()) return 0;
    std::string text;
    if (!ReadFileBytes(WinePath(dir + "/port"), &text)) return 0;
    return atoi(text.c_str());
}

std::wstring ServiceHost() {
    wchar_t buf[64];
    swprintf(buf, 64, L"127.0.0.1:%d", ServicePort());
    return buf;
}

std::string ServiceGet(const std::string& path) { return PortGet(ServicePort(), path); }

std::string PortGet(int port, const std::string& path) {
    std::string body;
    HINTERNET net = InternetOpenW(L"KelvoraTest", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    if (!net) return body;
    HINTERNET conn = InternetConnectW(net, L"127.0.0.1", static_cast<INTERNET_PORT>(port),
                                      nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    if (conn) {
        std::wstring wpath(path.begin(), path.end());
        HINTERNET req = HttpOpenRequestW(conn, L"GET", wpath.c_str(), nullptr, nullptr, nullptr,
                                         INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
        if (req && HttpSendRequestW(req, nullptr, 0, nullptr, 0)) {
            char buf[8192];
            DWORD n = 0;
            while (InternetReadFile(req, buf, sizeof buf, &n) && n > 0) body.append(buf, n);
        }
        if (req) InternetCloseHandle(req);
        InternetCloseHandle(conn);
    }
    InternetCloseHandle(net);
    return body;
}

std::wstring MakeTempDir(const wchar_t* tag) {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    static LONG counter = 0;
    for (;;) {
        wchar_t name[MAX_PATH];
        swprintf(name, MAX_PATH, L"%lskelvora-%ls-%lu-%ld", base, tag, GetCurrentProcessId(),
                 InterlockedIncrement(&counter));
        if (CreateDirectoryW(name, nullptr)) return name;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return name;
    }
}

void RemoveTree(const std::wstring& dir) {
    std::wstring from = dir;
    from.push_back(L'\0');  // double-NUL terminated list
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationW(&op);
}

bool ReadFileBytes(const std::wstring& path, std::string* out) {
    FILE* f = _wfopen(path.c_str(), L"rb");
    if (!f) return false;
    out->clear();
    char buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) out->append(buf, n);
    fclose(f);
    return true;
}

bool WriteFileBytes(const std::wstring& path, const std::string& data) {
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (!f) return false;
    bool ok = fwrite(data.data(), 1, data.size(), f) == data.size();
    return fclose(f) == 0 && ok;
}

int OpenHandleCount() {
    int open = 0;
    DWORD flags = 0;
    for (uintptr_t value = 4; value < 0x10000; value += 4) {
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++open;
    }
    return open;
}

namespace {
DWORD WINAPI RunCall(LPVOID p) {
    (*static_cast<const std::function<void()>*>(p))();
    return 0;
}
}  // namespace

bool BackBeforeTheStallEnds(const std::function<void()>& call) {
    HANDLE thread = ::CreateThread(nullptr, 0, RunCall, const_cast<std::function<void()>*>(&call), 0, nullptr);
    if (!thread) return false;
    const bool back = ::WaitForSingleObject(thread, kBackWithinMs) == WAIT_OBJECT_0;
    ::WaitForSingleObject(thread, INFINITE);
    ::CloseHandle(thread);
    return back;
}

}  // namespace test_support
