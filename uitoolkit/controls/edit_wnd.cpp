#include "uitoolkit/controls/edit_wnd.h"

#include "uitoolkit/controls/edit.h"
#include "uitoolkit/core/notify.h"
#include "uitoolkit/core/ui_render.h"
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {
namespace {

// The manager's window reflects WM_COMMAND and WM_CTLCOLOR* back to the
// child that sent them, numbered this much higher.
const UINT kReflected = 0x2000;

}  // namespace

CEditWnd::CEditWnd() : m_owner(nullptr), m_backBrush(nullptr), m_initialised(false) {}

CEditWnd::~CEditWnd() {
  if (m_backBrush) ::DeleteObject(m_backBrush);
}

const wchar_t* CEditWnd::WindowClassName() const { return L"EditWnd"; }
const wchar_t* CEditWnd::BaseClassName() const { return L"Edit"; }

bool CEditWnd::Init(CEditUI* owner) {
  m_owner = owner;
  CWindowManagerUI* manager = owner ? owner->GetManager() : nullptr;
  HWND parent = manager ? manager->GetWindow() : nullptr;
  const RECT rc = owner ? owner->GetEditRect() : RECT{0, 0, 0, 0};
  DWORD style = WS_CHILD | ES_AUTOHSCROLL;
  if (owner && owner->m_password) style |= ES_PASSWORD;
  if (!parent || !Create(parent, nullptr, style, 0, rc.left, rc.top, rc.right - rc.left,
                         rc.bottom - rc.top)) {
    delete this;
    return false;
  }
  TUiFontInfo* font = manager->FontAt(owner->GetFont());
  if (font && font->hFont)
    ::SendMessageW(m_hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font->hFont), TRUE);
  ::SendMessageW(m_hwnd, EM_LIMITTEXT, owner->m_maxChar, 0);
  if (owner->m_password) ::SendMessageW(m_hwnd, EM_SETPASSWORDCHAR, owner->m_passwordChar, 0);
  ::SetWindowTextW(m_hwnd, owner->m_text);
  ::SendMessageW(m_hwnd, EM_SETMODIFY, FALSE, 0);
  ::SendMessageW(m_hwnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
  ::EnableWindow(m_hwnd, owner->IsEnabled());
  ::SendMessageW(m_hwnd, EM_SETREADONLY, owner->m_readOnly, 0);
  const LONG_PTR current = ::GetWindowLongPtrW(m_hwnd, GWL_STYLE);
  ::SetWindowLongPtrW(m_hwnd, GWL_STYLE, current | owner->m_extraStyle);
  ::ShowWindow(m_hwnd, SW_SHOWNOACTIVATE);
  ::SetFocus(m_hwnd);
  m_initialised = true;
  return true;
}

void CEditWnd::OnChange() {
  if (!m_initialised || !m_owner) return;
  const CUiString text = WindowTextOf(m_hwnd);
  // The system edit also reports keys it refused (past the limit, a
  // letter in a number field) and text set from the control itself: only
  // a real change is news.
  if (m_owner->m_text == text.GetData()) return;
  // Straight into the field: SetText would write it back into this window.
  m_owner->m_text = text;
  if (CWindowManagerUI* manager = m_owner->GetManager())
    manager->EmitNotify(m_owner, UI_NOTIFY_TEXTCHANGED);
}

LRESULT CEditWnd::OnColor(HDC dc) {
  if (!m_owner || m_owner->m_nativeBkColor == CEditUI::kNoNativeBkColor) return 0;
  ::SetTextColor(dc, CUiRender::ToColorRef(m_owner->GetTextColor()));
  ::SetBkMode(dc, TRANSPARENT);
  if (!m_backBrush)
    m_backBrush = ::CreateSolidBrush(CUiRender::ToColorRef(m_owner->m_nativeBkColor));
  return reinterpret_cast<LRESULT>(m_backBrush);
}

LRESULT CEditWnd::ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_KILLFOCUS: {
      LRESULT result = CWindowWnd::ProcessMessage(msg, wParam, lParam);
      ::PostMessageW(m_hwnd, WM_CLOSE, 0, 0);
      return result;
    }
    case WM_KEYDOWN:
      if (wParam == VK_RETURN) {
        if (m_owner && m_owner->GetManager())
          m_owner->GetManager()->EmitNotify(m_owner, UI_NOTIFY_RETURN);
        return 0;
      }
      break;
    case WM_COMMAND + kReflected:
      if (HIWORD(wParam) == EN_CHANGE)
        OnChange();
      else if (HIWORD(wParam) == EN_UPDATE)
        ::InvalidateRect(m_hwnd, nullptr, FALSE);
      return 0;
    case WM_CTLCOLOREDIT + kReflected:
    case WM_CTLCOLORSTATIC + kReflected:
      return OnColor(reinterpret_cast<HDC>(wParam));
    default:
      break;
  }
  return CWindowWnd::ProcessMessage(msg, wParam, lParam);
}

void CEditWnd::OnWindowGone(HWND) {
  if (m_owner) {
    m_owner->m_window = nullptr;
    m_owner->Invalidate();
  }
  delete this;
}

}  // namespace UiToolkit
