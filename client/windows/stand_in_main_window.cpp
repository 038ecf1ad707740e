#include "client/windows/stand_in_main_window.h"
#include "client/windows/main_frame_messages.h"

namespace {

const wchar_t kClassName[] = L"MainFrameWnd_Vantrel_QARVO";

void CenterOnWorkArea(HWND hwnd) {
    RECT rc;
    GetWindowRect(hwnd, &rc);
    MONITORINFO mi = {sizeof mi};
    GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &mi);
    const RECT& wa = mi.rcWork;
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    int x = wa.left + (wa.right - wa.left - w) / 2;
    int y = wa.top + (wa.bottom - wa.top - h) / 2;
    if (x < wa.left) x = wa.left;
    if (y < wa.top) y = wa.top;
    SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_MENU_COMMAND:
        if (lp == kMenuCommandTrayExit) {
            DestroyWindow(hwnd);
            return 0;
        }
        break;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT rc;
        GetClientRect(hwnd, &rc);
        HBRUSH band = CreateSolidBrush(RGB(0x1e, 0x7a, 0xd6));
        RECT top = {0, 0, rc.right, 64};
        FillRect(dc, &top, band);
        DeleteObject(band);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        TextOutW(dc, 20, 22, L"Kelvora", 7);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_CLOSE:
        // Without a tray icon yet, closing is the only way out: quit.
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

HWND CreateStandInMainWindow(HINSTANCE instance) {
    WNDCLASSEXW wc = {sizeof wc};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
    HWND hwnd = CreateWindowExW(0, kClassName, L"Kelvora",
                                WS_OVERLAPPEDWINDOW & ~(WS_MAXIMIZEBOX | WS_THICKFRAME), 0, 0, 890,
                                635, nullptr, nullptr, instance, nullptr);
    if (hwnd) CenterOnWorkArea(hwnd);
    return hwnd;
}

int RunStandInMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
