// Life cycle, process-wide state and the message loops of the manager.
#include "uitoolkit/core/window_manager.h"

#include "uitoolkit/core/control.h"

namespace UiToolkit {

namespace {

HINSTANCE g_instance = nullptr;
CUiPtrArray g_managers;
// Destroyed just before the list at exit: a receiver destroyed later (a
// static one) finds no list to leave.
bool g_managersGone = false;
struct ManagersEnd {
  ~ManagersEnd() { g_managersGone = true; }
} g_managersEnd;

}  // namespace

HPEN g_redPen = nullptr;

void CWindowManagerUI::SetInstance(HINSTANCE instance) { g_instance = instance; }
HINSTANCE CWindowManagerUI::GetInstance() { return g_instance; }
int CWindowManagerUI::ManagerCount() { return g_managers.GetSize(); }

void CWindowManagerUI::ForgetReceiver(INotifyUI* receiver) {
  if (g_managersGone) return;
  for (int i = 0; i < g_managers.GetSize(); ++i)
    while (static_cast<CWindowManagerUI*>(g_managers.GetAt(i))->m_receivers.Remove(receiver)) {
    }
}

CWindowManagerUI::CWindowManagerUI()
    : m_hwnd(nullptr),
      m_alpha(255),
      m_hdcWindow(nullptr),
      m_hdcOffscreen(nullptr),
      m_hdcBackground(nullptr),
      m_bmpOffscreen(nullptr),
      m_bmpBackground(nullptr),
      m_tooltip(nullptr),
      m_showDirty(false),
      m_root(nullptr),
      m_focus(nullptr),
      m_hover(nullptr),
      m_capture(nullptr),
      m_keyControl(nullptr),
      m_timerCounter(4096),
      m_firstPaint(true),
      m_updateNeeded(false),
      m_focusNeeded(false),
      m_backgroundSnapshot(false),
      m_mouseTracking(false),
      m_mouseCaptured(false),
      m_virtualWindowsUsed(false),
      m_resourceParent(nullptr),
      m_colorDisabled(0xFFA7A6AA),
      m_colorText(0xFF000000),
      m_colorLink(0xFF0000FF),
      m_colorLinkHover(0xFFD3215F),
      m_colorSelected(0xFFBAE4FF) {
  ZeroMemory(&m_toolInfo, sizeof(m_toolInfo));
  m_pendingCount = 0;
  m_toolInfo.cbSize = TTTOOLINFOW_V2_SIZE;
  m_lastMouse.x = m_lastMouse.y = -1;
  m_minInfo.cx = m_minInfo.cy = m_maxInfo.cx = m_maxInfo.cy = 0;
  m_initSize.cx = m_initSize.cy = 0;
  SetRectEmpty(&m_sizeBox);
  SetRectEmpty(&m_caption);
  m_roundCorner.cx = m_roundCorner.cy = 0;

  LOGFONTW lf = {};
  ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
  lf.lfCharSet = DEFAULT_CHARSET;
  m_defaultFont.hFont = ::CreateFontIndirectW(&lf);
  m_defaultFont.sFontName = lf.lfFaceName;
  m_defaultFont.iSize = -lf.lfHeight;
  m_defaultFont.bBold = lf.lfWeight >= FW_BOLD;
  m_defaultFont.bUnderline = lf.lfUnderline != 0;
  m_defaultFont.bItalic = lf.lfItalic != 0;

  if (!g_redPen) {
    g_redPen = ::CreatePen(PS_SOLID, 1, RGB(220, 0, 0));
    ::InitCommonControls();
    ::LoadLibraryW(L"msimg32.dll");
  }
}

CWindowManagerUI::~CWindowManagerUI() {
  DeletePendingControls();
  for (int i = 0; i < m_queuedNotifies.GetSize(); ++i)
    delete static_cast<TUiNotify*>(m_queuedNotifies.GetAt(i));
  m_queuedNotifies.Empty();
  m_names.Rehash(0);
  CControlUI* root = m_root;
  m_root = nullptr;
  delete root;
  // Deleting the tree may have handed more controls over.
  DeletePendingControls();
  if (m_defaultFont.hFont) ::DeleteObject(m_defaultFont.hFont);
  ClearFonts();
  ClearImages();
  ClearDefaultAttributes();
  ClearOptionGroups();
  ClearTimers();
  if (m_tooltip) ::DestroyWindow(m_tooltip);
  DeleteOffscreen();
  if (m_hdcWindow) ::ReleaseDC(m_hwnd, m_hdcWindow);
  g_managers.Remove(this);
}

void CWindowManagerUI::AttachWindow(HWND hwnd) {
  m_hwnd = hwnd;
  m_hdcWindow = ::GetDC(hwnd);
  if (g_managers.Find(this) < 0) g_managers.Add(this);
}

bool CWindowManagerUI::AttachRoot(CControlUI* root) {
  SetFocusControl(nullptr);
  m_keyControl = m_hover = m_capture = nullptr;
  if (m_root) {
    m_postPainters.Empty();
    DeleteLater(m_root);
  }
  m_root = root;
  m_firstPaint = m_updateNeeded = m_focusNeeded = true;
  if (!root) return false;
  root->AttachManager(this, nullptr, true);
  RegisterNames(root);
  return true;
}

void CWindowManagerUI::RegisterNames(CControlUI* subtree) {
  if (subtree) subtree->Search(&FindVisitRegisterName, this, UIFIND_ALL);
}

CControlUI* CWindowManagerUI::FindControl(const wchar_t* name) const {
  return static_cast<CControlUI*>(m_names.Lookup(name, true));
}

CControlUI* CWindowManagerUI::ControlAt(POINT pt) const {
  // A manager whose skin failed has no root: nothing is under any point.
  if (!m_root) return nullptr;
  return m_root->Search(&FindVisitPointHit, &pt, UIFIND_VISIBLE | UIFIND_HITTEST | UIFIND_TOP_FIRST);
}

void CWindowManagerUI::SetWindowAlpha(int alpha) {
  // The raw value decides whether the window stays layered; only the stored
  // value is clamped.
  bool layered = alpha >= 0 && alpha <= 255;
  m_alpha = alpha < 0 ? 0 : alpha > 255 ? 255 : alpha;
  if (!m_hwnd) return;
  typedef BOOL(WINAPI * SetLayeredFn)(HWND, COLORREF, BYTE, DWORD);
  SetLayeredFn set_layered = reinterpret_cast<SetLayeredFn>(
      ::GetProcAddress(::GetModuleHandleW(L"User32.dll"), "SetLayeredWindowAttributes"));
  if (!set_layered) return;
  LONG ex = ::GetWindowLongW(m_hwnd, GWL_EXSTYLE);
  ex = layered ? (ex | WS_EX_LAYERED) : (ex & ~WS_EX_LAYERED);
  ::SetWindowLongW(m_hwnd, GWL_EXSTYLE, ex);
  set_layered(m_hwnd, 0, static_cast<BYTE>(m_alpha), LWA_ALPHA);
}

void CWindowManagerUI::Invalidate(const RECT& rc) {
  // Never InvalidateRect(NULL): that repaints the whole desktop.
  if (!m_hwnd) return;
  // The window keeps nothing outside its client area, so neither does the
  // record of what is pending.
  RECT client, area;
  ::GetClientRect(m_hwnd, &client);
  if (!::IntersectRect(&area, &rc, &client)) return;
  RECT inside;
  if (m_moving && ::IntersectRect(&inside, &area, &m_moveArea) && ::EqualRect(&inside, &area)) return;
  if (m_drawnAhead) {
    // What changes must be drawn, even where a scroll moved pixels to.
    HRGN changed = ::CreateRectRgnIndirect(&area);
    ::CombineRgn(m_drawnAhead, m_drawnAhead, changed, RGN_DIFF);
    ::DeleteObject(changed);
  }
  // A layout pass moves every control of a subtree, and a container's own
  // area usually covers all of its children: only it goes out.
  for (int i = 0; i < m_pendingCount; ++i) {
    if (::IntersectRect(&inside, &area, &m_pendingInvalid[i]) && ::EqualRect(&inside, &area)) return;
  }
  ::InvalidateRect(m_hwnd, &area, FALSE);
  RecordPendingInvalid(area);
}

void CWindowManagerUI::RecordPendingInvalid(const RECT& rc) {
  for (int i = 0; i < m_pendingCount; ++i) {
    RECT& p = m_pendingInvalid[i];
    // Rows one below the other (or cells side by side) make one rectangle.
    bool columns = p.left == rc.left && p.right == rc.right && rc.top <= p.bottom && p.top <= rc.bottom;
    bool rows = p.top == rc.top && p.bottom == rc.bottom && rc.left <= p.right && p.left <= rc.right;
    RECT both;
    ::UnionRect(&both, &p, &rc);
    if (columns || rows || ::EqualRect(&both, &rc)) {
      p = both;
      return;
    }
  }
  if (m_pendingCount < kPendingRects) {
    m_pendingInvalid[m_pendingCount++] = rc;
    return;
  }
  // Full: the newest replaces the smallest, when larger.
  int smallest = 0;
  for (int i = 1; i < m_pendingCount; ++i) {
    const RECT& a = m_pendingInvalid[i];
    const RECT& b = m_pendingInvalid[smallest];
    if ((a.right - a.left) * (a.bottom - a.top) < (b.right - b.left) * (b.bottom - b.top)) smallest = i;
  }
  const RECT& s = m_pendingInvalid[smallest];
  if ((rc.right - rc.left) * (rc.bottom - rc.top) > (s.right - s.left) * (s.bottom - s.top))
    m_pendingInvalid[smallest] = rc;
}

void CWindowManagerUI::InvalidateAll() {
  if (!m_hwnd) return;
  ForgetDrawnAhead();
  ::InvalidateRect(m_hwnd, nullptr, FALSE);
  m_pendingCount = 0;
  RECT client;
  ::GetClientRect(m_hwnd, &client);
  if (!::IsRectEmpty(&client)) RecordPendingInvalid(client);
}

WORD CWindowManagerUI::KeyState() {
  WORD state = 0;
  if (::GetKeyState(VK_RBUTTON) < 0) state |= 0x01;
  if (::GetKeyState(VK_LBUTTON) < 0) state |= 0x02;
  if (::GetKeyState(VK_SHIFT) < 0) state |= 0x04;
  if (::GetKeyState(VK_CONTROL) < 0) state |= 0x08;
  if (::GetKeyState(VK_MENU) < 0) state |= 0x20;
  return state;
}

bool CWindowManagerUI::TranslateMessage(const MSG* msg) {
  bool child = (::GetWindowLongW(msg->hwnd, GWL_STYLE) & WS_CHILD) != 0;
  for (int i = 0; i < g_managers.GetSize(); ++i) {
    CWindowManagerUI* manager = static_cast<CWindowManagerUI*>(g_managers.GetAt(i));
    bool takes = manager->m_hwnd == msg->hwnd;
    if (!takes && child) {
      for (HWND parent = ::GetParent(msg->hwnd); parent; parent = ::GetParent(parent)) {
        if (parent == manager->m_hwnd) {
          takes = true;
          break;
        }
      }
    }
    if (!takes) continue;
    MSG copy = *msg;
    for (int t = 0; t < manager->m_translators.GetSize();) {
      ITranslateAccelerator* translator =
          static_cast<ITranslateAccelerator*>(manager->m_translators.GetAt(t));
      if (translator->TranslateKeyMessage(&copy) == 0) return true;
      if (manager->m_translators.GetAt(t) == translator) ++t;
    }
    return manager->PreTranslate(&copy);
  }
  return false;
}

void CWindowManagerUI::RunMessageLoop() {
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!TranslateMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
}

}  // namespace UiToolkit
