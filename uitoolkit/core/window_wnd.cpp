#include "uitoolkit/core/window_wnd.h"

#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

CWindowWnd::CWindowWnd() : m_hwnd(nullptr), m_savedProc(::DefWindowProcW) {}
CWindowWnd::~CWindowWnd() {}

const wchar_t* CWindowWnd::BaseClassName() const { return nullptr; }
UINT CWindowWnd::ClassStyle() const { return 0; }
void CWindowWnd::OnWindowGone(HWND) {}

LRESULT CWindowWnd::ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  return ::CallWindowProcW(m_savedProc, m_hwnd, msg, wParam, lParam);
}

bool CWindowWnd::RegisterOwnClass() {
  WNDCLASSW wc = {};
  wc.style = ClassStyle();
  wc.lpfnWndProc = &CWindowWnd::ClassWindowProc;
  wc.hInstance = CWindowManagerUI::GetInstance();
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = WindowClassName();
  return ::RegisterClassW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool CWindowWnd::RegisterAsSuperclass() {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  if (!::GetClassInfoExW(nullptr, BaseClassName(), &wc) &&
      !::GetClassInfoExW(CWindowManagerUI::GetInstance(), BaseClassName(), &wc))
    return false;
  m_savedProc = wc.lpfnWndProc;
  wc.lpfnWndProc = &CWindowWnd::SuperclassWindowProc;
  wc.hInstance = CWindowManagerUI::GetInstance();
  wc.lpszClassName = WindowClassName();
  return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CWindowWnd::Create(HWND parent, const wchar_t* title, DWORD style, DWORD ex_style, int x,
                        int y, int cx, int cy) {
  bool registered = BaseClassName() ? RegisterAsSuperclass() : RegisterOwnClass();
  if (!registered) return nullptr;
  m_hwnd = ::CreateWindowExW(ex_style, WindowClassName(), title, style, x, y, cx, cy, parent,
                             nullptr, CWindowManagerUI::GetInstance(), this);
  return m_hwnd;
}

LRESULT CALLBACK CWindowWnd::ClassWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  CWindowWnd* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<CWindowWnd*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->m_hwnd = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<CWindowWnd*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_NCDESTROY && self) {
      LRESULT result = ::CallWindowProcW(self->m_savedProc, hwnd, msg, wParam, lParam);
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      self->m_hwnd = nullptr;
      self->OnWindowGone(hwnd);
      return result;
    }
  }
  if (self) return self->ProcessMessage(msg, wParam, lParam);
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK CWindowWnd::SuperclassWindowProc(HWND hwnd, UINT msg, WPARAM wParam,
                                                  LPARAM lParam) {
  CWindowWnd* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<CWindowWnd*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->m_hwnd = hwnd;
    ::SetPropW(hwnd, L"WndX", self);
  } else {
    self = static_cast<CWindowWnd*>(::GetPropW(hwnd, L"WndX"));
    if (msg == WM_NCDESTROY && self) {
      LRESULT result = ::CallWindowProcW(self->m_savedProc, hwnd, msg, wParam, lParam);
      ::RemovePropW(hwnd, L"WndX");
      self->m_hwnd = nullptr;
      self->OnWindowGone(hwnd);
      return result;
    }
  }
  if (self) return self->ProcessMessage(msg, wParam, lParam);
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

void CWindowWnd::PostClose() {
  if (m_hwnd && ::IsWindow(m_hwnd)) ::PostMessageW(m_hwnd, WM_CLOSE, 1, 0);
}

POINT CenteredOrigin(const RECT& window, const RECT& centre, const RECT& work) {
  int w = window.right - window.left, h = window.bottom - window.top;
  POINT pt;
  pt.x = (centre.left + centre.right) / 2 - w / 2;
  pt.y = (centre.top + centre.bottom) / 2 - h / 2;
  if (pt.x < work.left)
    pt.x = work.left;
  else if (pt.x + w > work.right)
    pt.x = work.right - w;
  if (pt.y < work.top)
    pt.y = work.top;
  else if (pt.y + h > work.bottom)
    pt.y = work.bottom - h;
  return pt;
}

void CWindowWnd::CenterOnOwner() {
  if (!m_hwnd) return;
  RECT window;
  ::GetWindowRect(m_hwnd, &window);
  HWND owner = ::GetWindow(m_hwnd, GW_OWNER);
  MONITORINFO mi = {sizeof(mi)};
  ::GetMonitorInfoW(::MonitorFromWindow(owner ? owner : m_hwnd, MONITOR_DEFAULTTONEAREST), &mi);
  RECT centre = mi.rcWork;
  if (owner) ::GetWindowRect(owner, &centre);
  POINT pt = CenteredOrigin(window, centre, mi.rcWork);
  ::SetWindowPos(m_hwnd, nullptr, pt.x, pt.y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowWnd::SetAppIcons(UINT id) {
  int cx = (::GetSystemMetrics(SM_CXICON) + 15) & ~15;
  int cy = (::GetSystemMetrics(SM_CYICON) + 15) & ~15;
  HINSTANCE inst = CWindowManagerUI::GetInstance();
  HICON big = static_cast<HICON>(::LoadImageW(inst, MAKEINTRESOURCEW(id), IMAGE_ICON, cx, cy, 0));
  if (big) ::SendMessageW(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  HICON small = static_cast<HICON>(::LoadImageW(inst, MAKEINTRESOURCEW(id), IMAGE_ICON, cx, cy, 0));
  if (small) ::SendMessageW(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

namespace {

thread_local int g_openModals = 0;

// Counts a running modal loop for as long as it runs, whichever way it ends.
struct ModalCounter {
  ModalCounter() { ++g_openModals; }
  ~ModalCounter() { --g_openModals; }
};

}  // namespace

int CWindowWnd::OpenModalCount() { return g_openModals; }

int CWindowWnd::RunModal() {
  // The handle is kept locally: the loop must not touch this object once
  // the window is gone.
  HWND hwnd = m_hwnd;
  if (!hwnd) return 0;
  HWND owner = ::GetWindow(hwnd, GW_OWNER);
  ::ShowWindow(hwnd, SW_SHOWNORMAL);
  if (owner) ::EnableWindow(owner, FALSE);
  // The window takes the keyboard itself instead of relying on whatever
  // activation showing it brought: a dialog opened from the tray menu comes
  // after input that went to the shell, another program, and Escape must
  // reach the dialog.
  ::SetForegroundWindow(hwnd);
  ::SetActiveWindow(hwnd);
  ::SetFocus(hwnd);
  ModalCounter open;
  int result = 0;
  bool quit = false;
  WPARAM quit_code = 0;
  MSG msg;
  while (::IsWindow(hwnd)) {
    if (::GetMessageW(&msg, nullptr, 0, 0) <= 0) {
      quit = true;
      quit_code = msg.wParam;
      break;
    }
    if (msg.message == WM_CLOSE && msg.hwnd == hwnd) {
      result = static_cast<int>(msg.wParam);
      // Re-enabled before the close is processed, so the owner is active
      // when this window goes.
      if (owner) {
        ::EnableWindow(owner, TRUE);
        ::SetFocus(owner);
      }
    }
    if (!CWindowManagerUI::TranslateMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  if (owner) {
    ::EnableWindow(owner, TRUE);
    ::SetFocus(owner);
  }
  if (quit) ::PostQuitMessage(static_cast<int>(quit_code));
  return result;
}

}  // namespace UiToolkit
