#include "client/windows/menus/menu_wnd.h"

#include "client/windows/menus/menu_placement.h"
#include "foundation/log/log.h"
#include "uitoolkit/core/control.h"
#include "uitoolkit/skin/skin_builder.h"

MenuWnd::MenuWnd(const wchar_t* skin_file, const wchar_t* class_name)
    : anchor_{0, 0}, parent_(nullptr), skin_file_(skin_file), class_name_(class_name),
      built_(false) {}

MenuWnd::~MenuWnd() {}

const wchar_t* MenuWnd::WindowClassName() const { return class_name_; }

void MenuWnd::Notify(UiToolkit::TUiNotify&) {}

void MenuWnd::AdjustPosition() {}

void MenuWnd::OnWindowGone(HWND) { delete this; }

void MenuWnd::Popup(HWND parent, int x, int y) {
    anchor_.x = x;
    anchor_.y = y;
    parent_ = parent;
    if (!Create(parent, L"", WS_POPUP, WS_EX_TOOLWINDOW)) {
        // No window was made, so nothing will delete this object.
        log_error("%s: menu %ls could not be created", "MenuWnd::Popup", skin_file_.GetData());
        delete this;
        return;
    }
    // A menu whose skin failed closes at its next message; it is not shown.
    if (!built_) return;
    HWND top = m_hwnd;
    while (HWND up = ::GetParent(top)) top = up;
    ::ShowWindow(m_hwnd, SW_SHOW);
    // The window the menu belongs to keeps its active look while the menu
    // has the focus.
    ::SendMessageW(top, WM_NCACTIVATE, TRUE, 0);
}

SIZE MenuWnd::WindowSize() const {
    RECT rc = {0, 0, 0, 0};
    ::GetWindowRect(m_hwnd, &rc);
    SIZE size = {rc.right - rc.left, rc.bottom - rc.top};
    return size;
}

void MenuWnd::PlaceAtAnchor() {
    SIZE size = WindowSize();
    POINT origin = KeepMenuInWorkArea(anchor_, size, WorkAreaNear(anchor_));
    ::SetWindowPos(m_hwnd, HWND_TOPMOST, origin.x, origin.y, size.cx, size.cy, 0);
}

void MenuWnd::OnCreate() {
    m_manager.AttachWindow(m_hwnd);
    UiToolkit::CSkinBuilder builder;
    UiToolkit::CControlUI* root = builder.BuildSkin(skin_file_, nullptr, nullptr, &m_manager);
    if (!root) {
        log_error("%s: the menu skin %ls did not load", "MenuWnd::OnCreate", skin_file_.GetData());
        ::PostMessageW(m_hwnd, WM_CLOSE, 0, 0);
        return;
    }
    m_manager.AttachRoot(root);
    m_manager.AddNotifyReceiver(this);
    SIZE corner = {3, 3};
    m_manager.SetRoundCorner(corner);
    built_ = true;
    AdjustPosition();
}

void MenuWnd::OnSize() {
    SIZE corner = m_manager.GetRoundCorner();
    if (::IsIconic(m_hwnd) || (corner.cx == 0 && corner.cy == 0)) return;
    SIZE size = WindowSize();
    HRGN region = ::CreateRoundRectRgn(0, 0, size.cx + 1, size.cy + 1, corner.cx, corner.cy);
    // The window owns a region it accepted.
    if (region && !::SetWindowRgn(m_hwnd, region, TRUE)) ::DeleteObject(region);
}

LRESULT MenuWnd::ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_SIZE:
        OnSize();
        break;  // the manager sees it too
    case WM_KILLFOCUS:
        if (reinterpret_cast<HWND>(wParam) != m_hwnd) ::PostMessageW(m_hwnd, WM_CLOSE, 0, 0);
        return 0;
    case WM_MOUSEWHEEL:
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) PostClose();
        return 0;
    }
    LRESULT result = 0;
    if (m_manager.HandleWindowMessage(msg, wParam, lParam, result)) return result;
    return ::CallWindowProcW(m_savedProc, m_hwnd, msg, wParam, lParam);
}
