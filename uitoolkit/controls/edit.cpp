#include "uitoolkit/controls/edit.h"

#include <wchar.h>

#include "uitoolkit/controls/edit_wnd.h"
#include "uitoolkit/controls/native_window_host.h"
#include "uitoolkit/core/attribute_values.h"
#include "uitoolkit/core/ui_render.h"
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {
RECT EditTextArea(const RECT& bounds, const RECT& padding, int fontHeight) {
  RECT rc = {bounds.left + padding.left, bounds.top + padding.top, bounds.right - padding.right,
             bounds.bottom - padding.bottom};
  const int band = rc.bottom - rc.top;
  if (fontHeight < band) {
    rc.top += (band - fontHeight) / 2;
    rc.bottom = rc.top + fontHeight;
  }
  return rc;
}

CUiString WindowTextOf(HWND hwnd) {
  CUiString text;
  const int length = hwnd ? ::GetWindowTextLengthW(hwnd) : 0;
  if (length <= 0) return text;
  wchar_t* buffer = new wchar_t[length + 1];
  buffer[0] = 0;
  ::GetWindowTextW(hwnd, buffer, length + 1);
  text = buffer;
  delete[] buffer;
  return text;
}

CUiString MaskPasswordText(const wchar_t* text, wchar_t mask) {
  CUiString shown;
  if (!text) return shown;
  for (const wchar_t* p = text; *p;) {
    const wchar_t* next = ::CharNextW(p);
    if (next == p) break;
    // Not every CharNextW steps over a surrogate pair as one character.
    if (next == p + 1 && IS_HIGH_SURROGATE(*p) && IS_LOW_SURROGATE(*next)) ++next;
    shown.AppendChar(mask);
    p = next;
  }
  return shown;
}

CEditUI::CEditUI()
    : m_window(nullptr),
      m_maxChar(255),
      m_readOnly(false),
      m_password(false),
      m_passwordChar(L'*'),
      m_state(0),
      m_nativeBkColor(kNoNativeBkColor),
      m_extraStyle(0) {
  m_textPadding = RECT{4, 3, 4, 3};
  SetBkColor(0xFFFFFFFF);
}

CEditUI::~CEditUI() {
  if (m_window) {
    CEditWnd* window = m_window;
    m_window = nullptr;
    window->Detach();
    // The window deletes its object once it is gone.
    if (HWND hwnd = window->GetHWND()) ::DestroyWindow(hwnd);
  }
}

const wchar_t* CEditUI::ClassName() const { return L"EditUI"; }

LPVOID CEditUI::FindInterface(const wchar_t* name) {
  if (name && wcscmp(name, L"Edit") == 0) return this;
  return CLabelUI::FindInterface(name);
}

UINT CEditUI::CapabilityFlags() const {
  return (IsKeyboardEnabled() ? UIFLAG_TABSTOP : 0) | (IsEnabled() ? UIFLAG_SETCURSOR : 0);
}

HWND CEditUI::GetNativeWindow() const { return m_window ? m_window->GetHWND() : nullptr; }

RECT CEditUI::GetEditRect() const { return EditTextArea(m_bounds, m_textPadding, FontHeight()); }

void CEditUI::SetText(const wchar_t* text) {
  m_text = text;
  if (HWND hwnd = GetNativeWindow()) {
    // Only a real change goes in: rewriting the text the window already
    // holds would put the caret back at the start.
    if (WindowTextOf(hwnd) != m_text.GetData()) ::SetWindowTextW(hwnd, m_text);
  }
  Invalidate();
}

void CEditUI::SetBounds(RECT rc) {
  CLabelUI::SetBounds(rc);
  if (HWND hwnd = GetNativeWindow()) {
    RECT edit = GetEditRect();
    ::SetWindowPos(hwnd, nullptr, edit.left, edit.top, edit.right - edit.left,
                   edit.bottom - edit.top, SWP_NOACTIVATE | SWP_NOZORDER);
  }
}

void CEditUI::SetVisible(bool visible) {
  CLabelUI::SetVisible(visible);
  if (!IsVisible() && m_window && m_manager) m_manager->SetFocusControl(nullptr);
}

void CEditUI::SetInheritedVisible(bool visible) {
  CLabelUI::SetInheritedVisible(visible);
  if (!IsVisible() && m_window && m_manager) m_manager->SetFocusControl(nullptr);
}

void CEditUI::SetEnabled(bool enabled) {
  CControlUI::SetEnabled(enabled);
  if (IsEnabled()) return;
  m_state = 0;
  // A disabled edit takes no more typing: the open native window goes,
  // as when the edit is hidden.
  if (m_window && m_manager && m_manager->GetFocusControl() == this)
    m_manager->SetFocusControl(nullptr);
}

void CEditUI::SetMaxChar(int count) {
  m_maxChar = count;
  if (HWND hwnd = GetNativeWindow()) ::SendMessageW(hwnd, EM_LIMITTEXT, m_maxChar, 0);
}

void CEditUI::SetReadOnly(bool on) {
  if (m_readOnly == on) return;
  m_readOnly = on;
  if (HWND hwnd = GetNativeWindow()) ::SendMessageW(hwnd, EM_SETREADONLY, m_readOnly, 0);
  Invalidate();
}

void CEditUI::SetPasswordMode(bool on) {
  if (m_password == on) return;
  m_password = on;
  if (HWND hwnd = GetNativeWindow()) {
    ::SendMessageW(hwnd, EM_SETPASSWORDCHAR, m_password ? m_passwordChar : 0, 0);
    ::InvalidateRect(hwnd, nullptr, TRUE);
  }
  Invalidate();
}

void CEditUI::SetNumberOnly(bool on) {
  if (on)
    m_extraStyle |= ES_NUMBER;
  else
    m_extraStyle &= ~static_cast<DWORD>(ES_NUMBER);
}

void CEditUI::SetNormalImage(const wchar_t* image) {
  m_normalImage = image;
  Invalidate();
}
void CEditUI::SetHotImage(const wchar_t* image) {
  m_hotImage = image;
  Invalidate();
}
void CEditUI::SetFocusedImage(const wchar_t* image) {
  m_focusedImage = image;
  Invalidate();
}
void CEditUI::SetDisabledImage(const wchar_t* image) {
  m_disabledImage = image;
  Invalidate();
}

void CEditUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
  if (wcscmp(name, L"readonly") == 0) {
    SetReadOnly(ParseBoolValue(value));
  } else if (wcscmp(name, L"numberonly") == 0) {
    SetNumberOnly(ParseBoolValue(value));
  } else if (wcscmp(name, L"password") == 0) {
    SetPasswordMode(ParseBoolValue(value));
  } else if (wcscmp(name, L"maxchar") == 0) {
    SetMaxChar(_wtoi(value));
  } else if (wcscmp(name, L"normalimage") == 0) {
    SetNormalImage(value);
  } else if (wcscmp(name, L"hotimage") == 0) {
    SetHotImage(value);
  } else if (wcscmp(name, L"focusedimage") == 0) {
    SetFocusedImage(value);
  } else if (wcscmp(name, L"disabledimage") == 0) {
    SetDisabledImage(value);
  } else if (wcscmp(name, L"nativebkcolor") == 0) {
    SetNativeBkColor(ParseColorValue(value, false));
  } else {
    CLabelUI::ApplyAttribute(name, value);
  }
}

SIZE CEditUI::MeasureSize(SIZE) {
  if (m_fixedSize.cy != 0) return m_fixedSize;
  return SIZE{m_fixedSize.cx, FontHeight() + 6};
}

bool CEditUI::OpenNativeWindow() {
  if (m_window) return true;
  CEditWnd* window = new CEditWnd;
  m_window = window;
  if (!window->Init(this)) {
    // Init has deleted the object.
    m_window = nullptr;
    return false;
  }
  return m_window != nullptr;
}

void CEditUI::SelectAllInNativeWindow() {
  HWND hwnd = GetNativeWindow();
  if (!hwnd) return;
  const int length = m_text.GetLength();
  ::SendMessageW(hwnd, EM_SETSEL, 0, length > 0 ? length : 1);
}

void CEditUI::OnEvent(TUiEvent& event) {
  if (!IsMouseEnabled() && IsMouseEvent(event.Type)) {
    if (m_parent)
      m_parent->OnEvent(event);
    else
      CLabelUI::OnEvent(event);
    return;
  }
  if (TrackHotState(event.Type, m_state, *this)) return;
  if (HandleNativeHostEvent(*this, m_window != nullptr, event)) return;
  switch (event.Type) {
    case UIEVENT_SETFOCUS:
      if (IsEnabled()) {
        if (!m_window) OpenNativeWindow();
        Invalidate();
      }
      break;
    case UIEVENT_KILLFOCUS:
      if (IsEnabled()) Invalidate();
      break;
    case UIEVENT_MOUSEMOVE:
    case UIEVENT_BUTTONUP:
    case UIEVENT_CONTEXTMENU:
      return;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_RBUTTONDOWN:
    case UIEVENT_DBLCLICK:
      if (IsEnabled()) {
        if (m_manager) m_manager->ReleaseMouseCapture();
        if (IsFocused() && !m_window) {
          if (OpenNativeWindow() && ::PtInRect(&m_bounds, event.ptMouse))
            SelectAllInNativeWindow();
        } else if (m_window) {
          SelectAllInNativeWindow();
        }
      }
      return;
    default:
      break;
  }
  CLabelUI::OnEvent(event);
}

void CEditUI::PaintStateImage(HDC hdc) {
  m_state = WithFocusAndDisabled(m_state, *this);
  // Focused wins over hot: the edit being typed in looks focused even
  // under the mouse.
  CUiString* chosen = nullptr;
  if (m_state & UISTATE_DISABLED)
    chosen = &m_disabledImage;
  else if (m_state & UISTATE_FOCUSED)
    chosen = &m_focusedImage;
  else if (m_state & UISTATE_HOT)
    chosen = &m_hotImage;
  if (chosen && !chosen->IsEmpty() && DrawImageOrClear(*this, hdc, *chosen)) return;
  if (!m_normalImage.IsEmpty()) DrawImageOrClear(*this, hdc, m_normalImage);
}

void CEditUI::PaintText(HDC hdc) {
  ResolveDefaultColors();
  if (m_text.IsEmpty()) return;
  CUiString shown = m_password ? MaskPasswordText(m_text, m_passwordChar) : m_text;
  RECT rc = TextRect();
  CUiRender::DrawPlainText(m_font, IsEnabled() ? m_textColor : m_disabledTextColor, hdc, m_manager,
                           rc, shown, m_textStyle | DT_SINGLELINE);
}

}  // namespace UiToolkit
