#include "uitoolkit/controls/combo_wnd.h"

#include <wchar.h>

#include "foundation/log/log.h"
#include "uitoolkit/controls/combo.h"
#include "uitoolkit/controls/combo_geometry.h"
#include "uitoolkit/controls/control_state.h"
#include "uitoolkit/controls/scroll_bar.h"
#include "uitoolkit/layouts/vertical_layout.h"

namespace UiToolkit {

namespace {

CControlUI* CALLBACK ForgetVisit(CControlUI* control, LPVOID data) {
  static_cast<CWindowManagerUI*>(data)->ForgetControl(control);
  return nullptr;
}

}  // namespace

CComboWnd::CComboWnd()
    : m_owner(nullptr),
      m_layout(nullptr),
      m_openedSelection(-1),
      m_lent(false),
      m_busy(0),
      m_gone(false) {}

CComboWnd::~CComboWnd() {}

const wchar_t* CComboWnd::WindowClassName() const { return L"ComboWnd"; }
UINT CComboWnd::ClassStyle() const { return CS_DBLCLKS; }

bool CComboWnd::Init(CComboUI* owner) {
  m_owner = owner;
  m_openedSelection = owner ? owner->GetSelectedIndex() : -1;
  CWindowManagerUI* manager = owner ? owner->GetManager() : nullptr;
  HWND parent = manager ? manager->GetWindow() : nullptr;
  if (!parent) {
    log_error("%s: a combo without a window cannot drop down", __FUNCTION__);
    delete this;
    return false;
  }
  const RECT combo = owner->GetBounds();
  const SIZE drop = owner->GetDropBoxSize();
  const SIZE measure = {ComboDropWidth(combo, drop), drop.cy};
  int items = 0;
  for (int i = 0; i < owner->GetCount(); ++i) {
    CControlUI* item = owner->GetItemAt(i);
    if (item->IsVisible()) items += item->MeasureSize(measure).cy;
  }
  RECT screen = combo;
  ::MapWindowPoints(parent, HWND_DESKTOP, reinterpret_cast<POINT*>(&screen), 2);
  MONITORINFO monitor = {sizeof(monitor)};
  ::GetMonitorInfoW(::MonitorFromWindow(parent, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT rc = ComboDropRect(screen, drop, items, monitor.rcWork);

  ++m_busy;
  HWND hwnd = Create(parent, nullptr, WS_POPUP, WS_EX_TOOLWINDOW, rc.left, rc.top,
                     rc.right - rc.left, rc.bottom - rc.top);
  --m_busy;
  if (!hwnd) {
    log_error("%s: the drop-down window could not be made (error %lu)", __FUNCTION__,
              ::GetLastError());
    // A window that was half made has given the items back already.
    delete this;
    return false;
  }
  ::ShowWindow(hwnd, SW_SHOW);
  // The window the combo lives in keeps its active title bar.
  ::SendMessageW(::GetAncestor(parent, GA_ROOT), WM_NCACTIVATE, TRUE, 0);
  return true;
}

void CComboWnd::Detach() {
  GiveItemsBack(false);
  m_owner = nullptr;
}

void CComboWnd::LendItems() {
  CWindowManagerUI* owner_manager = m_owner ? m_owner->GetManager() : nullptr;
  m_manager.AttachWindow(m_hwnd);
  // Fonts, colours and default attributes come from the combo's window.
  if (owner_manager) m_manager.SetResourceParent(owner_manager);
  m_layout = new CVerticalLayoutUI;
  if (owner_manager) {
    if (const wchar_t* defaults = owner_manager->DefaultAttributes(L"VerticalLayout"))
      m_layout->ApplyAttributeList(defaults);
  }
  m_layout->SetInset(RECT{1, 1, 1, 1});
  m_layout->SetBkColor(0xFFFFFFFF);
  m_layout->SetBorderColor(0xFFC6C7D2);
  m_layout->SetBorderSize(1);
  m_layout->EnableScrollBars(true, false);
  if (m_owner) m_layout->ApplyAttributeList(m_owner->GetDropBoxAttributes());
  // The items stay the combo's: the column never deletes them.
  m_layout->SetAutoDestroy(false);
  if (m_owner) {
    for (int i = 0; i < m_owner->GetCount(); ++i) m_layout->Add(m_owner->GetItemAt(i));
  }
  m_lent = m_owner != nullptr;
  m_manager.AttachRoot(m_layout);
}

void CComboWnd::Forget(CControlUI* item) {
  if (item) item->Search(&ForgetVisit, &m_manager, UIFIND_ALL);
}

void CComboWnd::GiveItemsBack(bool take_focus) {
  if (!m_lent) return;
  m_lent = false;
  for (int i = 0; i < m_layout->GetCount(); ++i) Forget(m_layout->GetItemAt(i));
  m_layout->RemoveAll();
  CComboUI* owner = m_owner;
  if (!owner) return;
  owner->AttachManager(owner->GetManager(), owner->GetParent(), false);
  // Placed again at its own bounds, which puts every item back out of
  // sight.
  owner->SetBounds(owner->GetBounds());
  if (take_focus) owner->SetFocus();
}

void CComboWnd::ScrollSelectionIntoView() {
  if (!m_owner || !m_lent) return;
  CControlUI* item = m_owner->GetItemAt(m_owner->GetSelectedIndex());
  if (!item) return;
  const RECT& r = item->GetBounds();
  RECT b = m_layout->GetBounds();
  CScrollBarUI* hbar = m_layout->GetHorizontalScrollBar();
  if (hbar && hbar->IsVisible()) b.bottom -= hbar->GetFixedHeight();
  if (r.top >= b.top && r.bottom < b.bottom) return;
  SIZE pos = m_layout->GetScrollPos();
  pos.cy += r.bottom > b.bottom ? r.bottom - b.bottom : r.top - b.top;
  m_layout->SetScrollPos(pos);
}

void CComboWnd::ItemAdded(CControlUI* item, int index) {
  if (m_lent) m_layout->AddAt(item, index);
}

void CComboWnd::ItemRemoved(CControlUI* item) {
  if (!m_lent) return;
  Forget(item);
  m_layout->Remove(item);
}

void CComboWnd::AllItemsRemoved() {
  if (!m_lent) return;
  for (int i = 0; i < m_layout->GetCount(); ++i) Forget(m_layout->GetItemAt(i));
  m_layout->RemoveAll();
}

void CComboWnd::ItemMoved(CControlUI* item, int index) {
  if (m_lent) m_layout->MoveItemTo(item, index);
}

LRESULT CComboWnd::ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  ++m_busy;
  const LRESULT result = Handle(msg, wParam, lParam);
  if (--m_busy == 0 && m_gone) delete this;
  return result;
}

LRESULT CComboWnd::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE:
      LendItems();
      break;
    case WM_CLOSE:
      GiveItemsBack(true);
      break;
    case WM_DESTROY:
      // Also when the window goes without WM_CLOSE (its owner closed while
      // the list was down): the items must not stay with this manager.
      GiveItemsBack(false);
      break;
    case WM_LBUTTONUP: {
      POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      CControlUI* hit = m_manager.ControlAt(pt);
      if (!hit || wcscmp(hit->ClassName(), L"ScrollBarUI") != 0)
        ::PostMessageW(m_hwnd, WM_KILLFOCUS, 0, 0);
      break;
    }
    case WM_KEYDOWN: {
      // Handled here alone: the items would hand the key to the combo a
      // second time.
      if (wParam == VK_RETURN) {
        ::PostMessageW(m_hwnd, WM_KILLFOCUS, 0, 0);
        return 0;
      }
      if (!m_owner) return 0;
      if (wParam == VK_ESCAPE) {
        m_owner->SelectItem(m_openedSelection, true);
        if (m_hwnd) ScrollSelectionIntoView();
        if (m_hwnd) ::PostMessageW(m_hwnd, WM_KILLFOCUS, 0, 0);
        return 0;
      }
      TUiEvent event = {};
      event.Type = UIEVENT_KEYDOWN;
      event.pSender = m_owner;
      event.chKey = static_cast<WCHAR>(wParam);
      event.wParam = wParam;
      event.lParam = lParam;
      event.wKeyState = CWindowManagerUI::KeyState();
      event.dwTimestamp = ::GetTickCount();
      m_owner->OnEvent(event);
      if (m_hwnd) ScrollSelectionIntoView();
      return 0;
    }
    case WM_MOUSEWHEEL: {
      if (!m_owner) return 0;
      TUiEvent event = {};
      event.Type = UIEVENT_SCROLLWHEEL;
      event.pSender = m_owner;
      event.wParam = GET_WHEEL_DELTA_WPARAM(wParam) < 0 ? 1 : 0;
      event.lParam = lParam;
      event.dwTimestamp = ::GetTickCount();
      m_owner->OnEvent(event);
      if (m_hwnd) ScrollSelectionIntoView();
      return 0;
    }
    case WM_KILLFOCUS:
      if (reinterpret_cast<HWND>(wParam) != m_hwnd) ::PostMessageW(m_hwnd, WM_CLOSE, 0, 0);
      break;
    default:
      break;
  }
  // Whatever the combo's code above did, the window may be gone now.
  if (!m_hwnd) return 0;
  LRESULT result = 0;
  if (m_manager.HandleWindowMessage(msg, wParam, lParam, result)) return result;
  return CWindowWnd::ProcessMessage(msg, wParam, lParam);
}

void CComboWnd::OnWindowGone(HWND) {
  GiveItemsBack(false);
  if (CComboUI* owner = m_owner) {
    m_owner = nullptr;
    owner->m_window = nullptr;
    owner->m_state &= ~UISTATE_PUSHED;
    owner->Invalidate();
  }
  m_gone = true;
  if (m_busy == 0) delete this;
}

}  // namespace UiToolkit
