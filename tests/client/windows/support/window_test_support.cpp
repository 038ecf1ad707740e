#include "tests/client/windows/support/window_test_support.h"

#include <wchar.h>

#include <map>

#include <gtest/gtest.h>

#include "client/windows/pages/page_receiver.h"
#include "tests/support/test_support.h"
#include "uitoolkit/core/window_manager.h"

namespace wintest {

std::wstring DistSkinFolder() {
    return test_support::WinePath(test_support::Env("VANTREL_TEST_DIST")) + L"\\skin";
}

void UseDistSkin() {
    UiToolkit::CWindowManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    UiToolkit::CWindowManagerUI::SetResourceFolder(DistSkinFolder().c_str());
}

namespace {
void PumpOnce() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // A quit belongs to the test's own checks: put it back and stop.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (!UiToolkit::CWindowManagerUI::TranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}
}  // namespace

void Pump(DWORD ms) {
    DWORD start = ::GetTickCount();
    do {
        PumpOnce();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (::GetTickCount() - start < ms);
    PumpOnce();
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeout_ms) {
    DWORD start = ::GetTickCount();
    for (;;) {
        PumpOnce();
        if (done()) return true;
        if (::GetTickCount() - start >= timeout_ms) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void ClickAt(HWND hwnd, POINT pt) {
    LPARAM at = MAKELPARAM(pt.x, pt.y);
    ::PostMessageW(hwnd, WM_MOUSEMOVE, 0, at);
    ::PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(hwnd, WM_LBUTTONUP, 0, at);
}

void ClickControl(HWND hwnd, UiToolkit::CControlUI* control) {
    const RECT& rc = control->GetBounds();
    ClickAt(hwnd, POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
}

void PressKey(HWND hwnd, WPARAM key) {
    ::PostMessageW(hwnd, WM_KEYDOWN, key, 1);
    ::PostMessageW(hwnd, WM_KEYUP, key, 0xC0000001);
}

SIZE TextExtent(UiToolkit::CLabelUI* label, const wchar_t* text) {
    SIZE size = {0, 0};
    UiToolkit::CWindowManagerUI* manager = label->GetManager();
    HDC dc = manager ? manager->GetWindowDC() : nullptr;
    UiToolkit::TUiFontInfo* font = manager ? manager->FontAt(label->GetFont()) : nullptr;
    if (!dc || !font) return size;
    HGDIOBJ old = ::SelectObject(dc, font->hFont);
    ::GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
    ::SelectObject(dc, old);
    return size;
}

int TextOverrun(UiToolkit::CLabelUI* label, LONG limit) {
    const RECT& box = label->GetBounds();
    const RECT pad = label->GetTextPadding();
    const LONG right = box.right - pad.right < limit ? box.right - pad.right : limit;
    const SIZE text = TextExtent(label, label->GetText());
    return static_cast<int>(box.left + pad.left + text.cx - right);
}

bool SaveWindowShot(HWND hwnd, const char* path) {
    RECT rc;
    ::GetWindowRect(hwnd, &rc);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(mem, dib);
    ::BitBlt(mem, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY);
    ::SelectObject(mem, old);
    const DWORD stride = (w * 3 + 3) & ~3u, size = stride * h;
    BITMAPFILEHEADER fh = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(bi.bmiHeader);
    fh.bfSize = fh.bfOffBits + size;
    std::string data(reinterpret_cast<const char*>(&fh), sizeof fh);
    data.append(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof bi.bmiHeader);
    data.append(static_cast<const char*>(bits), size);
    ::DeleteObject(dib);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
    return test_support::WriteFileBytes(test_support::WinePath(path), data);
}

namespace {
std::map<UINT_PTR, std::function<void()>>& Steps() {
    static std::map<UINT_PTR, std::function<void()>> steps;
    return steps;
}
void CALLBACK StepTimer(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    auto it = Steps().find(id);
    if (it == Steps().end()) return;
    std::function<void()> step = std::move(it->second);
    Steps().erase(it);
    step();
}
}  // namespace

void RunSoon(DWORD delay_ms, std::function<void()> step) {
    UINT_PTR id = ::SetTimer(nullptr, 0, delay_ms, &StepTimer);
    Steps()[id] = std::move(step);
}

namespace {
struct FindState {
    const wchar_t* cls;
    HWND found;
    int count;
    bool all;  // count every match instead of stopping at the first
};
BOOL CALLBACK FindOwn(HWND hwnd, LPARAM data) {
    FindState* s = reinterpret_cast<FindState*>(data);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    wchar_t name[128];
    if (pid == ::GetCurrentProcessId() && ::IsWindowVisible(hwnd) &&
        ::GetClassNameW(hwnd, name, 128) && wcscmp(name, s->cls) == 0) {
        if (!s->found) s->found = hwnd;
        ++s->count;
        return s->all ? TRUE : FALSE;
    }
    return TRUE;
}
}  // namespace

HWND FindOwnWindow(const wchar_t* class_name) {
    FindState s = {class_name, nullptr, 0, false};
    ::EnumWindows(&FindOwn, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

int CountOwnWindows(const wchar_t* class_name) {
    FindState s = {class_name, nullptr, 0, true};
    ::EnumWindows(&FindOwn, reinterpret_cast<LPARAM>(&s));
    return s.count;
}

namespace {
void PollForWindow(std::wstring cls, std::function<void(HWND, UiToolkit::WindowImplBase*)> act,
                   DWORD deadline) {
    HWND found = FindOwnWindow(cls.c_str());
    if (found) {
        auto* wnd = reinterpret_cast<UiToolkit::CWindowWnd*>(::GetWindowLongPtrW(found, GWLP_USERDATA));
        act(found, dynamic_cast<UiToolkit::WindowImplBase*>(wnd));
        return;
    }
    if (static_cast<LONG>(::GetTickCount() - deadline) >= 0) {
        ADD_FAILURE() << "no window of class " << std::string(cls.begin(), cls.end());
        return;
    }
    RunSoon(30, [cls, act, deadline] { PollForWindow(cls, act, deadline); });
}
}  // namespace

void WhenWindowAppears(const wchar_t* class_name,
                       std::function<void(HWND, UiToolkit::WindowImplBase*)> act, DWORD timeout_ms) {
    PollForWindow(class_name, std::move(act), ::GetTickCount() + timeout_ms);
}

std::wstring ControlText(UiToolkit::WindowImplBase* wnd, const wchar_t* name) {
    UiToolkit::CControlUI* c = wnd ? wnd->Manager().FindControl(name) : nullptr;
    return c ? std::wstring(c->GetText().GetData()) : L"<missing>";
}

void ClickNamed(UiToolkit::WindowImplBase* wnd, const wchar_t* name) {
    UiToolkit::CControlUI* c = wnd ? wnd->Manager().FindControl(name) : nullptr;
    if (!c) {
        ADD_FAILURE() << "no control to click";
        return;
    }
    ClickControl(wnd->GetHWND(), c);
}

namespace {
class OwnerWindow : public UiToolkit::CWindowWnd {
protected:
    const wchar_t* WindowClassName() const override { return L"DialogTestOwner"; }
};
OwnerWindow* g_owner = nullptr;
}  // namespace

void DialogOwnerTest::SetUpTestSuite() {
    UseDistSkin();
    g_owner = new OwnerWindow;
    g_owner->Create(nullptr, L"owner", WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW, 200, 150, 600, 400);
}

void DialogOwnerTest::TearDownTestSuite() {
    ::DestroyWindow(g_owner->GetHWND());
    delete g_owner;
    g_owner = nullptr;
}

HWND DialogOwnerTest::owner() { return g_owner ? g_owner->GetHWND() : nullptr; }

LPVOID RecordingPage::FindInterface(const wchar_t* name) {
    if (name && wcscmp(name, kPageReceiverInterface) == 0)
        return static_cast<UiToolkit::INotifyUI*>(this);
    return CContainerUI::FindInterface(name);
}

void RecordingPage::Notify(UiToolkit::TUiNotify& msg) {
    log.push_back(Delivery{msg.sType.GetData(), msg.pSender, msg.wParam, msg.lParam, msg.dwTimestamp});
    if (on_notify) on_notify(msg);
}

const Delivery* RecordingPage::Last(const wchar_t* type) const {
    for (auto it = log.rbegin(); it != log.rend(); ++it) {
        if (it->type == type) return &*it;
    }
    return nullptr;
}

int RecordingPage::Count(const wchar_t* type) const {
    int n = 0;
    for (const Delivery& d : log) n += d.type == type;
    return n;
}

RecordingTarget::RecordingTarget(TargetClass cls, bool* destroyed) : destroyed_(destroyed) {
    LiveTarget target;
    target.cls = cls;
    target.control = this;
    target.receiver = this;
    target.icon = this;
    registration_.Set(this, target);
}

RecordingTarget::~RecordingTarget() {
    if (destroyed_) *destroyed_ = true;
}

int RecordingTarget::total_deliveries = 0;

void RecordingTarget::Notify(UiToolkit::TUiNotify& msg) {
    ++total_deliveries;
    log.push_back(Delivery{msg.sType.GetData(), msg.pSender, msg.wParam, msg.lParam, msg.dwTimestamp});
}

}  // namespace wintest
