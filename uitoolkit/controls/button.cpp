#include "uitoolkit/controls/button.h"

#include <wchar.h>

#include "uitoolkit/core/attribute_values.h"
#include "uitoolkit/core/ui_render.h"
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

CButtonUI::CButtonUI()
    : m_state(0), m_hotBkColor(0), m_hotTextColor(0), m_pushedTextColor(0), m_focusedTextColor(0) {
  m_textStyle = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
}

CButtonUI::~CButtonUI() {}

const wchar_t* CButtonUI::ClassName() const { return L"ButtonUI"; }

LPVOID CButtonUI::FindInterface(const wchar_t* name) {
  if (name && wcscmp(name, L"Button") == 0) return this;
  return CLabelUI::FindInterface(name);
}

UINT CButtonUI::CapabilityFlags() const {
  return (IsKeyboardEnabled() ? UIFLAG_TABSTOP : 0) | (IsEnabled() ? UIFLAG_SETCURSOR : 0);
}

bool CButtonUI::Activate() {
  if (!CControlUI::Activate()) return false;
  Emit(UI_NOTIFY_CLICK);
  return true;
}

void CButtonUI::SetEnabled(bool enabled) {
  CControlUI::SetEnabled(enabled);
  if (!IsEnabled()) m_state = 0;
}

void CButtonUI::OnEvent(TUiEvent& event) {
  if (!IsMouseEnabled() && IsMouseEvent(event.Type)) {
    if (m_parent)
      m_parent->OnEvent(event);
    else
      CLabelUI::OnEvent(event);
    return;
  }
  const bool inside = ::PtInRect(&m_bounds, event.ptMouse) != 0;
  switch (event.Type) {
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
      Invalidate();
      break;
    case UIEVENT_KEYDOWN:
      if (IsKeyboardEnabled() && (event.chKey == VK_SPACE || event.chKey == VK_RETURN)) {
        Activate();
        return;
      }
      break;
    case UIEVENT_MOUSEMOVE:
      if (m_state & UISTATE_CAPTURED) {
        if (inside)
          m_state |= UISTATE_PUSHED;
        else
          m_state &= ~UISTATE_PUSHED;
        Invalidate();
      }
      return;
    case UIEVENT_MOUSEENTER:
      if (IsEnabled()) {
        m_state |= UISTATE_HOT;
        Invalidate();
      }
      break;
    case UIEVENT_MOUSELEAVE:
      if (IsEnabled()) {
        m_state &= ~UISTATE_HOT;
        Invalidate();
      }
      break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
      if (inside && IsEnabled()) {
        m_state |= UISTATE_PUSHED | UISTATE_CAPTURED;
        Invalidate();
      }
      return;
    case UIEVENT_BUTTONUP:
      if (m_state & UISTATE_CAPTURED) {
        if (inside) Activate();
        m_state &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
        Invalidate();
      }
      return;
    case UIEVENT_CONTEXTMENU:
      if (IsContextMenuEnabled()) Emit(UI_NOTIFY_MENU, event.wParam, event.lParam);
      return;
    case UIEVENT_SETCURSOR:
      ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
      return;
    default:
      break;
  }
  CLabelUI::OnEvent(event);
}

void CButtonUI::SetNormalImage(const wchar_t* image) {
  m_normalImage = image;
  Invalidate();
}
void CButtonUI::SetHotImage(const wchar_t* image) {
  m_hotImage = image;
  Invalidate();
}
void CButtonUI::SetPushedImage(const wchar_t* image) {
  m_pushedImage = image;
  Invalidate();
}
void CButtonUI::SetFocusedImage(const wchar_t* image) {
  m_focusedImage = image;
  Invalidate();
}
void CButtonUI::SetDisabledImage(const wchar_t* image) {
  m_disabledImage = image;
  Invalidate();
}
void CButtonUI::SetForeImage(const wchar_t* image) {
  m_foreImage = image;
  Invalidate();
}
void CButtonUI::SetHotForeImage(const wchar_t* image) {
  m_hotForeImage = image;
  Invalidate();
}
void CButtonUI::SetPushedForeImage(const wchar_t* image) {
  m_pushedForeImage = image;
  Invalidate();
}

void CButtonUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
  if (wcscmp(name, L"normalimage") == 0) {
    SetNormalImage(value);
  } else if (wcscmp(name, L"hotimage") == 0) {
    SetHotImage(value);
  } else if (wcscmp(name, L"pushedimage") == 0) {
    SetPushedImage(value);
  } else if (wcscmp(name, L"focusedimage") == 0) {
    SetFocusedImage(value);
  } else if (wcscmp(name, L"disabledimage") == 0) {
    SetDisabledImage(value);
  } else if (wcscmp(name, L"foreimage") == 0) {
    SetForeImage(value);
  } else if (wcscmp(name, L"hotforeimage") == 0) {
    SetHotForeImage(value);
  } else if (wcscmp(name, L"hotbkcolor") == 0) {
    m_hotBkColor = ParseColorValue(value, false);
  } else if (wcscmp(name, L"hottextcolor") == 0) {
    m_hotTextColor = ParseColorValue(value, false);
  } else if (wcscmp(name, L"pushedtextcolor") == 0) {
    m_pushedTextColor = ParseColorValue(value, false);
  } else if (wcscmp(name, L"focusedtextcolor") == 0) {
    m_focusedTextColor = ParseColorValue(value, false);
  } else {
    CLabelUI::ApplyAttribute(name, value);
  }
}

SIZE CButtonUI::MeasureSize(SIZE) {
  if (m_fixedSize.cy != 0) return m_fixedSize;
  return SIZE{m_fixedSize.cx, FontHeight() + 8};
}

void CButtonUI::RefreshFocusAndDisabled() { m_state = WithFocusAndDisabled(m_state, *this); }

bool CButtonUI::DrawOrClear(HDC hdc, CUiString& image) {
  return DrawImageOrClear(*this, hdc, image);
}

void CButtonUI::PaintStateImage(HDC hdc) {
  RefreshFocusAndDisabled();
  bool drawn = false;
  if ((m_state & UISTATE_DISABLED) && !m_disabledImage.IsEmpty()) {
    DrawOrClear(hdc, m_disabledImage);
    drawn = true;
  } else if ((m_state & UISTATE_PUSHED) && !m_pushedImage.IsEmpty()) {
    DrawOrClear(hdc, m_pushedImage);
    if (!m_pushedForeImage.IsEmpty()) {
      DrawOrClear(hdc, m_pushedForeImage);
      return;
    }
    drawn = true;
  } else if (m_state & UISTATE_HOT) {
    if (!m_hotImage.IsEmpty()) {
      DrawOrClear(hdc, m_hotImage);
      if (!m_hotForeImage.IsEmpty()) {
        DrawOrClear(hdc, m_hotForeImage);
        return;
      }
      drawn = true;
    } else if (m_hotBkColor != 0) {
      CUiRender::FillColor(AdjustColor(m_hotBkColor), hdc, m_paintRect);
      return;
    }
  }
  if (!drawn && (m_state & UISTATE_FOCUSED) && !m_focusedImage.IsEmpty()) {
    DrawOrClear(hdc, m_focusedImage);
    drawn = true;
  }
  if (!drawn && !m_normalImage.IsEmpty()) DrawOrClear(hdc, m_normalImage);
  if (!m_foreImage.IsEmpty()) DrawOrClear(hdc, m_foreImage);
}

void CButtonUI::DrawCaption(HDC hdc, DWORD color) {
  RECT rc = TextRect();
  if (m_showHtml) {
    int links = 0;
    CUiRender::DrawMarkupText(hdc, m_manager, rc, m_text, color, nullptr, nullptr, links, m_textStyle);
  } else {
    CUiRender::DrawPlainText(m_font, color, hdc, m_manager, rc, m_text, m_textStyle);
  }
}

void CButtonUI::PaintText(HDC hdc) {
  RefreshFocusAndDisabled();
  ResolveDefaultColors();
  if (m_text.IsEmpty()) return;
  DWORD color;
  if ((m_state & UISTATE_PUSHED) && m_pushedTextColor != 0) {
    color = m_pushedTextColor;
  } else if ((m_state & UISTATE_HOT) && m_hotTextColor != 0) {
    color = m_hotTextColor;
  } else {
    color = IsEnabled() ? m_textColor : m_disabledTextColor;
    if ((m_state & UISTATE_FOCUSED) && m_focusedTextColor != 0) color = m_focusedTextColor;
  }
  DrawCaption(hdc, color);
}

}  // namespace UiToolkit
