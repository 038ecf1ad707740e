#include "uitoolkit/window/window_impl_base.h"

#include <stdlib.h>
#include <wchar.h>
#include <windowsx.h>

#include "foundation/log/log.h"
#include "uitoolkit/core/control.h"
#include "uitoolkit/skin/skin_builder.h"

namespace UiToolkit {

UI_BEGIN_MESSAGE_MAP(WindowImplBase, CNotifyPump)
UI_ON_NOTIFY(UI_NOTIFY_CLICK, L"", OnClickNotify)
UI_END_MESSAGE_MAP()

bool IsCaptionClickThroughClass(const wchar_t* class_name) {
  if (!class_name) return false;
  return _wcsicmp(class_name, L"ButtonUI") == 0 || _wcsicmp(class_name, L"OptionUI") == 0 ||
         _wcsicmp(class_name, L"TextUI") == 0;
}

LRESULT SkinHitTest(POINT pt, const RECT& client, const RECT& sizebox, const RECT& caption,
                    bool maximized, const wchar_t* control_class) {
  if (!maximized) {
    const bool left = pt.x < client.left + sizebox.left;
    const bool right = pt.x > client.right - sizebox.right;
    if (pt.y < client.top + sizebox.top) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
    if (pt.y > client.bottom - sizebox.bottom)
      return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
    if (left) return HTLEFT;
    if (right) return HTRIGHT;
  }
  if (pt.x < client.left + caption.left || pt.x >= client.right - caption.right) return HTCLIENT;
  // The band's bottom is an offset from the top, not a height.
  if (pt.y >= caption.top && pt.y < caption.bottom && control_class &&
      !IsCaptionClickThroughClass(control_class))
    return HTCAPTION;
  return HTCLIENT;
}

WindowImplBase::WindowImplBase() { m_savedProc = ::DefWindowProcW; }

WindowImplBase::~WindowImplBase() {}

const wchar_t* WindowImplBase::BaseClassName() const { return nullptr; }
UINT WindowImplBase::ClassStyle() const { return CS_DBLCLKS; }
void WindowImplBase::OnSkinReady() {}
bool WindowImplBase::OnDialogKey(WPARAM key) {
  if (key != VK_ESCAPE) return false;
  if (m_hwnd && ::IsWindow(m_hwnd)) ::PostMessageW(m_hwnd, WM_CLOSE, 1, 0);
  return true;
}
int WindowImplBase::SkinSourceKind() const { return UISKIN_FILE; }
const wchar_t* WindowImplBase::SkinZipName() const { return L""; }
const wchar_t* WindowImplBase::SkinResourceName() const { return L""; }
CControlUI* WindowImplBase::CreateCustomControl(const wchar_t*) { return nullptr; }

DWORD WindowImplBase::WindowStyle() const {
  return static_cast<DWORD>(::GetWindowLongW(m_hwnd, GWL_STYLE)) & ~WS_CAPTION;
}

void WindowImplBase::Notify(TUiNotify& msg) { DispatchNotify(msg); }

LRESULT WindowImplBase::FilterMessage(UINT msg, WPARAM wParam, LPARAM, bool&) {
  if (msg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE))
    return OnDialogKey(wParam) ? 1 : 0;
  return 0;
}

void WindowImplBase::OnClickNotify(TUiNotify& msg) {
  if (!msg.pSender) return;
  CUiString name = msg.pSender->GetName();
  if (name == L"closebtn") {
    if (m_hwnd && ::IsWindow(m_hwnd)) ::PostMessageW(m_hwnd, WM_CLOSE, 1, 0);
  } else if (name == L"minbtn") {
    ::SendMessageW(m_hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  } else if (name == L"maxbtn") {
    ::SendMessageW(m_hwnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  } else if (name == L"restorebtn") {
    ::SendMessageW(m_hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
  }
}

void WindowImplBase::OnWindowGone(HWND) {
  m_manager.RemovePreFilter(this);
  m_manager.RemoveNotifyReceiver(this);
}

LRESULT WindowImplBase::ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  bool handled = true;
  LRESULT result = 0;
  switch (msg) {
    case WM_CREATE: result = OnCreate(msg, wParam, lParam, handled); break;
    case WM_CLOSE: result = OnClose(msg, wParam, lParam, handled); break;
    case WM_DESTROY: result = OnDestroy(msg, wParam, lParam, handled); break;
    case WM_NCACTIVATE: result = OnNcActivate(msg, wParam, lParam, handled); break;
    case WM_NCCALCSIZE: result = OnNcCalcSize(msg, wParam, lParam, handled); break;
    case WM_NCPAINT: result = OnNcPaint(msg, wParam, lParam, handled); break;
    case WM_NCHITTEST: result = OnNcHitTest(msg, wParam, lParam, handled); break;
    case WM_GETMINMAXINFO: result = OnGetMinMaxInfo(msg, wParam, lParam, handled); break;
    case WM_MOUSEWHEEL: result = OnMouseWheel(msg, wParam, lParam, handled); break;
    case WM_MOUSEHOVER: result = OnMouseHover(msg, wParam, lParam, handled); break;
    case WM_SIZE: result = OnSize(msg, wParam, lParam, handled); break;
    case WM_CHAR: result = OnChar(msg, wParam, lParam, handled); break;
    case WM_SYSCOMMAND: result = OnSysCommand(msg, wParam, lParam, handled); break;
    case WM_KEYDOWN: result = OnKeyDown(msg, wParam, lParam, handled); break;
    case WM_KILLFOCUS: result = OnKillFocus(msg, wParam, lParam, handled); break;
    case WM_SETFOCUS: result = OnSetFocus(msg, wParam, lParam, handled); break;
    case WM_LBUTTONDOWN: result = OnLButtonDown(msg, wParam, lParam, handled); break;
    case WM_LBUTTONUP: result = OnLButtonUp(msg, wParam, lParam, handled); break;
    case WM_MOUSEMOVE: result = OnMouseMove(msg, wParam, lParam, handled); break;
    default: handled = false; break;
  }
  if (handled) return result;
  handled = false;
  result = OnOtherMessage(msg, wParam, lParam, handled);
  if (handled) return result;
  if (m_manager.HandleWindowMessage(msg, wParam, lParam, result)) return result;
  return ::CallWindowProcW(m_savedProc, m_hwnd, msg, wParam, lParam);
}

#define UI_NOT_HANDLED(Name)                                          \
  LRESULT WindowImplBase::Name(UINT, WPARAM, LPARAM, bool& handled) { \
    handled = false;                                                  \
    return 0;                                                         \
  }
UI_NOT_HANDLED(OnClose)
UI_NOT_HANDLED(OnDestroy)
UI_NOT_HANDLED(OnMouseWheel)
UI_NOT_HANDLED(OnMouseHover)
UI_NOT_HANDLED(OnChar)
UI_NOT_HANDLED(OnKeyDown)
UI_NOT_HANDLED(OnKillFocus)
UI_NOT_HANDLED(OnSetFocus)
UI_NOT_HANDLED(OnLButtonDown)
UI_NOT_HANDLED(OnLButtonUp)
UI_NOT_HANDLED(OnMouseMove)
UI_NOT_HANDLED(OnOtherMessage)
#undef UI_NOT_HANDLED

LRESULT WindowImplBase::OnNcActivate(UINT, WPARAM wParam, LPARAM, bool& handled) {
  if (::IsIconic(m_hwnd)) {
    handled = false;
    return 0;
  }
  return wParam == FALSE ? 1 : 0;
}

LRESULT WindowImplBase::OnNcCalcSize(UINT, WPARAM wParam, LPARAM lParam, bool&) {
  if (!::IsZoomed(m_hwnd) || !wParam) return 0;
  NCCALCSIZE_PARAMS* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
  MONITORINFO info = {sizeof(info)};
  if (!::GetMonitorInfoW(::MonitorFromWindow(m_hwnd, MONITOR_DEFAULTTONEAREST), &info)) return 0;
  RECT& rc = params->rgrc[0];
  rc.right = rc.left + (info.rcWork.right - info.rcWork.left);
  rc.bottom = rc.top + (info.rcWork.bottom - info.rcWork.top);
  return WVR_REDRAW;
}

LRESULT WindowImplBase::OnNcPaint(UINT, WPARAM, LPARAM, bool&) { return 0; }

LRESULT WindowImplBase::OnNcHitTest(UINT, WPARAM, LPARAM lParam, bool&) {
  POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ::ScreenToClient(m_hwnd, &pt);
  RECT client;
  ::GetClientRect(m_hwnd, &client);
  CControlUI* control = m_manager.ControlAt(pt);
  return SkinHitTest(pt, client, m_manager.GetSizeBox(), m_manager.GetCaption(),
                     ::IsZoomed(m_hwnd) != 0, control ? control->ClassName() : nullptr);
}

LRESULT WindowImplBase::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, bool& handled) {
  MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
  MONITORINFO monitor = {sizeof(monitor)};
  if (::GetMonitorInfoW(::MonitorFromWindow(m_hwnd, MONITOR_DEFAULTTONEAREST), &monitor)) {
    info->ptMaxPosition.x = monitor.rcWork.left - monitor.rcMonitor.left;
    info->ptMaxPosition.y = monitor.rcWork.top - monitor.rcMonitor.top;
    info->ptMaxTrackSize.x = monitor.rcWork.right - monitor.rcWork.left;
    info->ptMaxTrackSize.y = monitor.rcWork.bottom - monitor.rcWork.top;
  }
  SIZE min = m_manager.GetMinInfo();
  info->ptMinTrackSize.x = min.cx;
  info->ptMinTrackSize.y = min.cy;
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnSize(UINT, WPARAM wParam, LPARAM, bool& handled) {
  SIZE corner = m_manager.GetRoundCorner();
  if (wParam != SIZE_MINIMIZED && (corner.cx != 0 || corner.cy != 0)) {
    RECT rc;
    ::GetWindowRect(m_hwnd, &rc);
    HRGN region = ::CreateRoundRectRgn(0, 0, rc.right - rc.left + 1, rc.bottom - rc.top + 1,
                                       corner.cx, corner.cy);
    // The window owns the region once it is set; a refused one is ours.
    if (region && !::SetWindowRgn(m_hwnd, region, TRUE)) ::DeleteObject(region);
  }
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnSysCommand(UINT msg, WPARAM wParam, LPARAM lParam, bool&) {
  if (wParam == SC_CLOSE) {
    ::SendMessageW(m_hwnd, WM_CLOSE, 0, 0);
    return 0;
  }
  return ::CallWindowProcW(m_savedProc, m_hwnd, msg, wParam, lParam);
}

bool WindowImplBase::OpenSkinZip(int kind) {
  if (kind == UISKIN_ZIP_FILE) return CWindowManagerUI::UseSkinZipFile(SkinZipName());
  if (kind != UISKIN_ZIP_RESOURCE) return true;
  HMODULE module = CWindowManagerUI::ResourceModule();
  HRSRC found = ::FindResourceW(module, SkinResourceName(), L"ZIPRES");
  HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
  DWORD size = found ? ::SizeofResource(module, found) : 0;
  const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
  if (!bytes || size == 0) {
    log_error("%s: skin zip resource %ls not found", __FUNCTION__, SkinResourceName());
    return false;
  }
  return CWindowManagerUI::UseSkinZipInMemory(bytes, size);
}

void WindowImplBase::OnSkinLoadFailed() {
  ::MessageBoxW(nullptr, L"\x52a0\x8f7d\x8d44\x6e90\x6587\x4ef6\x5931\x8d25", L"UiToolkit",
                MB_ICONERROR);
  ::ExitProcess(1);
}

void WindowImplBase::FailSkin() { OnSkinLoadFailed(); }

LRESULT WindowImplBase::OnCreate(UINT, WPARAM, LPARAM, bool&) {
  LONG style = ::GetWindowLongW(m_hwnd, GWL_STYLE);
  style = (style & ~WS_CAPTION) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  ::SetWindowLongW(m_hwnd, GWL_STYLE, style);
  RECT rc;
  ::GetClientRect(m_hwnd, &rc);
  ::SetWindowPos(m_hwnd, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_FRAMECHANGED);

  m_manager.AttachWindow(m_hwnd);
  m_manager.AddPreFilter(this);
  if (CWindowManagerUI::GetResourceFolder().IsEmpty()) {
    CUiString folder = CWindowManagerUI::ProgramFolder();
    folder += SkinFolder();
    CWindowManagerUI::SetResourceFolder(folder);
  }
  const int kind = SkinSourceKind();
  CControlUI* root = nullptr;
  // A zip that cannot be opened leaves no skin to build: the same end as a
  // document that does not load, never a window without content.
  if (OpenSkinZip(kind)) {
    CSkinBuilder builder;
    if (kind == UISKIN_RESOURCE) {
      UINT id = static_cast<UINT>(_wtoi(SkinFile())) & 0xFFFF;
      root = builder.BuildSkin(MAKEINTRESOURCEW(id), L"xml", this, &m_manager, nullptr);
    } else {
      root = builder.BuildSkin(SkinFile(), nullptr, this, &m_manager, nullptr);
    }
  }
  if (!root) {
    log_error("%s: the skin %ls of window class %ls did not load", __FUNCTION__, SkinFile(),
              WindowClassName());
    OnSkinLoadFailed();
    return 0;
  }
  m_manager.AttachRoot(root);
  m_manager.AddNotifyReceiver(this);
  m_manager.SetBackgroundSnapshot(true);
  OnSkinReady();
  return 0;
}

}  // namespace UiToolkit
