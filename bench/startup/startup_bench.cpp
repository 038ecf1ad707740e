// Times the start of a program until its main window is painted: the
// process is created, and the screen is watched until a visible window of
// that process shows its expected colour at a known point. The client and a
// bare Win32 window program are measured the same way, alternately, in the
// same run; the medians, their ratio and both working sets are printed.
//
// Usage: startup_bench <client exe> <bare exe> [starts]
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart * 1000.0 / frequency.QuadPart;
}

struct Target {
    const char* name;
    std::wstring exe;
    POINT probe;     // a point of the window, in its own coordinates
    COLORREF color;  // what the painted window shows there
    int tolerance;
};

struct Found {
    DWORD pid;
    HWND hwnd;
};

BOOL CALLBACK FindVisible(HWND hwnd, LPARAM data) {
    Found* f = reinterpret_cast<Found*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    RECT rc;
    if (pid == f->pid && IsWindowVisible(hwnd) && GetWindowRect(hwnd, &rc) &&
        rc.right - rc.left >= 800) {
        f->hwnd = hwnd;
        return FALSE;
    }
    return TRUE;
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
    return abs(GetRValue(a) - GetRValue(b)) <= tolerance && abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// Each start split by stage: the process created, its window found shown,
// the window showing its painted colour (the total).
struct Sample {
    double ms;
    double created_ms;
    double shown_ms;
    SIZE_T working_set;
    // What the working set is made of, counted with it.
    SIZE_T private_bytes;
    int threads;
    int modules;
    std::vector<std::wstring> module_names;  // base names, lower case
};

int CountThreads(DWORD pid) {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snap == INVALID_HANDLE_VALUE) return -1;
    int n = 0;
    THREADENTRY32 te = {sizeof(te)};
    for (BOOL ok = Thread32First(snap, &te); ok; ok = Thread32Next(snap, &te))
        if (te.th32OwnerProcessID == pid) ++n;
    CloseHandle(snap);
    return n;
}

int CountModules(HANDLE process, std::vector<std::wstring>* names) {
    HMODULE modules[512];
    DWORD needed = 0;
    if (!EnumProcessModules(process, modules, sizeof(modules), &needed)) return -1;
    const int n = static_cast<int>(std::min<DWORD>(needed, sizeof(modules)) / sizeof(HMODULE));
    for (int i = 0; i < n; ++i) {
        wchar_t name[MAX_PATH];
        if (!GetModuleBaseNameW(process, modules[i], name, MAX_PATH)) continue;
        CharLowerW(name);
        names->push_back(name);
    }
    return static_cast<int>(needed / sizeof(HMODULE));
}

// The modules of `a` that `b` does not have, sorted.
std::wstring ModulesBeyond(const std::vector<std::wstring>& a, const std::vector<std::wstring>& b) {
    std::vector<std::wstring> extra;
    for (const std::wstring& m : a)
        if (std::find(b.begin(), b.end(), m) == b.end()) extra.push_back(m);
    std::sort(extra.begin(), extra.end());
    std::wstring text;
    for (const std::wstring& m : extra) text += (text.empty() ? L"" : L" ") + m;
    return text;
}

// One start: the time to the painted window (negative when it never came)
// and the working set a second later. The program is ended afterwards.
Sample StartOnce(const Target& t) {
    Sample s = {-1, -1, -1, 0, 0, 0, 0, {}};
    STARTUPINFOW si = {sizeof(si)};
    PROCESS_INFORMATION pi = {};
    std::wstring command = L"\"" + t.exe + L"\"";
    double t0 = NowMs();
    if (!CreateProcessW(t.exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        fprintf(stderr, "%s: cannot start (%lu)\n", t.name, GetLastError());
        return s;
    }
    s.created_ms = NowMs() - t0;
    HDC screen = GetDC(nullptr);
    Found f = {pi.dwProcessId, nullptr};
    while (NowMs() - t0 < 60000) {
        if (!f.hwnd) {
            EnumWindows(&FindVisible, reinterpret_cast<LPARAM>(&f));
            if (f.hwnd) s.shown_ms = NowMs() - t0;
        }
        if (f.hwnd) {
            RECT rc;
            GetWindowRect(f.hwnd, &rc);
            if (Near(GetPixel(screen, rc.left + t.probe.x, rc.top + t.probe.y), t.color, t.tolerance)) {
                s.ms = NowMs() - t0;
                break;
            }
        }
        Sleep(1);
    }
    ReleaseDC(nullptr, screen);
    Sleep(1000);
    PROCESS_MEMORY_COUNTERS pmc = {sizeof(pmc)};
    if (GetProcessMemoryInfo(pi.hProcess, &pmc, sizeof(pmc))) {
        s.working_set = pmc.WorkingSetSize;
        s.private_bytes = pmc.PagefileUsage;
    }
    s.threads = CountThreads(pi.dwProcessId);
    s.modules = CountModules(pi.hProcess, &s.module_names);
    // The client's tray exit (WM_USER + 102, command 3); a close for the peer.
    if (f.hwnd) PostMessageW(f.hwnd, t.name[0] == 'c' ? WM_USER + 102 : WM_CLOSE, 0, 3);
    if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return s;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: startup_bench <client exe> <bare exe> [starts]\n");
        return 2;
    }
    const int starts = argc > 3 ? _wtoi(argv[3]) : 7;
    // The client's title band, and the peer's one colour.
    Target client = {"client", argv[1], {30, 80}, RGB(0x1a, 0x5c, 0xb1), 40};
    Target bare = {"bare", argv[2], {30, 80}, RGB(0x1e, 0x78, 0xd2), 4};
    std::vector<double> client_ms, bare_ms, client_created, client_shown, bare_created, bare_shown;
    SIZE_T client_ws = 0, bare_ws = 0;
    Sample client_top = {}, bare_top = {};  // the starts with the largest working sets
    // One start of each first, not counted: Wine warms its caches.
    StartOnce(client);
    StartOnce(bare);
    for (int i = 0; i < starts; ++i) {
        Sample c = StartOnce(client);
        Sample b = StartOnce(bare);
        if (c.ms < 0 || b.ms < 0) {
            fprintf(stderr, "start %d: a window was never painted\n", i);
            return 1;
        }
        client_ms.push_back(c.ms);
        bare_ms.push_back(b.ms);
        client_created.push_back(c.created_ms);
        client_shown.push_back(c.shown_ms);
        bare_created.push_back(b.created_ms);
        bare_shown.push_back(b.shown_ms);
        if (c.working_set > client_ws) client_top = c;
        if (b.working_set > bare_ws) bare_top = b;
        client_ws = std::max(client_ws, c.working_set);
        bare_ws = std::max(bare_ws, b.working_set);
    }
    double c = Median(client_ms), b = Median(bare_ms);
    printf("startup_client_ms: %.1f\n", c);
    printf("startup_bare_window_ms: %.1f\n", b);
    // Stages (medians of each): process created; its window found shown;
    // shown to painted is the rest of the total.
    printf("startup_client_stages_ms: created %.1f, window shown %.1f, painted %.1f\n",
           Median(client_created), Median(client_shown), c);
    printf("startup_bare_window_stages_ms: created %.1f, window shown %.1f, painted %.1f\n",
           Median(bare_created), Median(bare_shown), b);
    printf("startup_ratio_client_to_bare: %.2f (aim <= 1.5)\n", c / b);
    printf("working_set_client_mb: %.1f (aim <= 30)\n", client_ws / 1048576.0);
    printf("working_set_bare_window_mb: %.1f\n", bare_ws / 1048576.0);
    printf("working_set_client_parts: private %.1f MB, %d threads, %d modules\n",
           client_top.private_bytes / 1048576.0, client_top.threads, client_top.modules);
    printf("working_set_bare_window_parts: private %.1f MB, %d threads, %d modules\n",
           bare_top.private_bytes / 1048576.0, bare_top.threads, bare_top.modules);
    // What the client loads beyond the bare window: each module is a cost
    // of its own (its mapped pages, often its own dependencies).
    printf("working_set_client_modules_beyond_bare: %ls\n",
           ModulesBeyond(client_top.module_names, bare_top.module_names).c_str());
    printf("working_set_ratio_client_to_bare: %.2f (aim <= 2)\n",
           bare_ws ? static_cast<double>(client_ws) / bare_ws : 0.0);
    printf("starts: %d (medians)\n", starts);
    return 0;
}
