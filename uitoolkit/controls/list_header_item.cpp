#include "uitoolkit/controls/list_header_item.h"
#include "uitoolkit/core/ui_event.h"

#include "uitoolkit/controls/control_state.h"
#include "uitoolkit/controls/list_interfaces.h"
#include "uitoolkit/core/attribute_values.h"
#include "uitoolkit/core/ui_render.h"
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

CListHeaderItemUI::CListHeaderItemUI()
    : m_dragable(true),
      m_state(0),
      m_sepWidth(4),
      m_textColor(0),
      m_font(-1),
      m_textStyle(DT_CENTER | DT_VCENTER | DT_SINGLELINE),
      m_showHtml(false),
      m_textPadding{2, 0, 2, 0} {
  m_lastMouse.x = m_lastMouse.y = 0;
  SetMinWidth(kDefaultMinWidth);
}

const wchar_t* CListHeaderItemUI::ClassName() const { return L"ListHeaderItemUI"; }

LPVOID CListHeaderItemUI::FindInterface(const wchar_t* name) {
  if (name && (SameName(name, L"ListHeaderItem") || SameName(name, L"Control"))) return this;
  return nullptr;
}

UINT CListHeaderItemUI::CapabilityFlags() const {
  return (IsEnabled() && m_sepWidth != 0) ? UIFLAG_SETCURSOR : 0;
}

void CListHeaderItemUI::SetEnabled(bool enabled) {
  if (m_enabled == enabled) return;
  m_enabled = enabled;
  if (!enabled) m_state = 0;
  Invalidate();
}

void CListHeaderItemUI::SetFixedWidth(int cx) {
  CControlUI::SetFixedWidth(cx);
  CControlUI* list = m_parent ? m_parent->GetParent() : nullptr;
  if (list && list->FindInterface(L"List")) list->RequestRelayout();
}

void CListHeaderItemUI::SetDragable(bool on) {
  m_dragable = on;
  if (!on) m_state &= ~UISTATE_CAPTURED;
}

void CListHeaderItemUI::SetShowHtml(bool on) {
  if (m_showHtml == on) return;
  m_showHtml = on;
  Invalidate();
}

void CListHeaderItemUI::SetTextPadding(RECT rc) {
  m_textPadding = rc;
  Invalidate();
}

void CListHeaderItemUI::SetImage(CUiString& slot, const wchar_t* image) {
  slot = image ? image : L"";
  Invalidate();
}

SIZE CListHeaderItemUI::MeasureSize(SIZE) {
  if (m_fixedSize.cy != 0) return m_fixedSize;
  int font = 0;
  if (m_manager) {
    TUiFontInfo* info = m_manager->DefaultFont();
    font = info ? info->tm.tmHeight : 0;
  }
  return SIZE{m_fixedSize.cx, font + 14};
}

RECT CListHeaderItemUI::SeparatorRect() const {
  RECT rc = m_bounds;
  if (m_sepWidth < 0)
    rc.right = rc.left - m_sepWidth;
  else
    rc.left = rc.right - m_sepWidth;
  return rc;
}

RECT CListHeaderItemUI::SeparatorHitRect() const {
  RECT rc = SeparatorRect();
  if (m_sepWidth < 0)
    rc.right += 4;
  else
    rc.left -= 4;
  return rc;
}

void CListHeaderItemUI::RelayoutList() {
  CControlUI* list = m_parent ? m_parent->GetParent() : nullptr;
  CControlUI* target = list ? list : m_parent;
  if (target) target->SetBounds(target->GetBounds());
}

void CListHeaderItemUI::OnEvent(TUiEvent& event) {
  if (!IsMouseEnabled() && IsMouseEvent(event.Type)) {
    if (m_parent)
      m_parent->OnEvent(event);
    else
      CControlUI::OnEvent(event);
    return;
  }
  // A separator of width 0 has no zone at all.
  const RECT zone = SeparatorHitRect();
  const bool in_zone = m_sepWidth != 0 && ::PtInRect(&zone, event.ptMouse);
  switch (event.Type) {
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
      Invalidate();
      break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
      if (!IsEnabled()) return;
      if (in_zone) {
        if (m_dragable) {
          m_state |= UISTATE_CAPTURED;
          m_lastMouse = event.ptMouse;
        }
      } else {
        m_state |= UISTATE_PUSHED;
        Emit(UI_NOTIFY_HEADERCLICK);
        Invalidate();
      }
      return;
    case UIEVENT_MOUSEMOVE:
      if (m_state & UISTATE_CAPTURED) {
        RECT rc = m_bounds;
        if (m_sepWidth < 0)
          rc.left -= event.ptMouse.x - m_lastMouse.x;
        else
          rc.right += event.ptMouse.x - m_lastMouse.x;
        const int width = rc.right - rc.left;
        // At the minimum the drag stops; the last point stays where the
        // width was last accepted, so dragging back grows from there.
        if (GetMinWidth() >= width) return;
        m_fixedSize.cx = width;
        m_lastMouse = event.ptMouse;
        RelayoutList();
      }
      return;
    case UIEVENT_BUTTONUP:
      if (m_state & UISTATE_CAPTURED) {
        m_state &= ~UISTATE_CAPTURED;
        RelayoutList();
      } else {
        m_state &= ~UISTATE_PUSHED;
        Invalidate();
      }
      return;
    case UIEVENT_SETCURSOR:
      if (IsEnabled() && m_dragable && in_zone) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEWE));
        return;
      }
      break;
    case UIEVENT_MOUSEENTER:
      if (IsEnabled()) {
        m_state |= UISTATE_HOT;
        Invalidate();
      }
      return;
    case UIEVENT_MOUSELEAVE:
      if (IsEnabled()) {
        m_state &= ~UISTATE_HOT;
        Invalidate();
      }
      return;
    default:
      break;
  }
  CControlUI::OnEvent(event);
}

void CListHeaderItemUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
  if (!name || !value) return;
  if (SameName(name, L"dragable")) {
    SetDragable(ParseBoolValue(value));
  } else if (SameName(name, L"sepwidth")) {
    SetSepWidth(static_cast<int>(wcstol(value, nullptr, 10)));
  } else if (SameName(name, L"align")) {
    m_textStyle = ApplyListAlignWords(m_textStyle, value);
  } else if (SameName(name, L"endellipsis")) {
    if (ParseBoolValue(value))
      m_textStyle |= DT_END_ELLIPSIS;
    else
      m_textStyle &= ~DT_END_ELLIPSIS;
  } else if (SameName(name, L"font")) {
    SetFont(static_cast<int>(wcstol(value, nullptr, 10)));
  } else if (SameName(name, L"textcolor")) {
    SetTextColor(ParseColorValue(value, false));
  } else if (SameName(name, L"textpadding")) {
    SetTextPadding(ParseRectValue(value));
  } else if (SameName(name, L"showhtml")) {
    SetShowHtml(ParseBoolValue(value));
  } else if (SameName(name, L"normalimage")) {
    SetNormalImage(value);
  } else if (SameName(name, L"hotimage")) {
    SetHotImage(value);
  } else if (SameName(name, L"pushedimage")) {
    SetPushedImage(value);
  } else if (SameName(name, L"focusedimage")) {
    SetFocusedImage(value);
  } else if (SameName(name, L"sepimage")) {
    SetSepImage(value);
  } else {
    CControlUI::ApplyAttribute(name, value);
  }
}

bool CListHeaderItemUI::DrawOrClear(HDC hdc, CUiString& image, const wchar_t* modifier) {
  if (image.IsEmpty()) return false;
  if (DrawImage(hdc, image, modifier)) return true;
  image.Clear();
  return false;
}

void CListHeaderItemUI::PaintStateImage(HDC hdc) {
  if (IsFocused())
    m_state |= UISTATE_FOCUSED;
  else
    m_state &= ~UISTATE_FOCUSED;
  CUiString* over = nullptr;
  if (m_state & UISTATE_PUSHED)
    over = &m_pushedImage;
  else if (m_state & UISTATE_HOT)
    over = &m_hotImage;
  else if (m_state & UISTATE_FOCUSED)
    over = &m_focusedImage;
  if (!over || over->IsEmpty()) {
    DrawOrClear(hdc, m_normalImage);
  } else {
    DrawOrClear(hdc, *over);
  }
  if (!m_sepImage.IsEmpty()) {
    RECT sep = SeparatorRect();
    m_sepModifier.Format(L"dest='%d,%d,%d,%d'", sep.left - m_bounds.left, 0,
                         sep.right - m_bounds.left, m_bounds.bottom - m_bounds.top);
    DrawOrClear(hdc, m_sepImage, m_sepModifier);
  }
}

void CListHeaderItemUI::PaintText(HDC hdc) {
  // The default colour comes from the top manager when resources are shared.
  if (m_textColor == 0 && m_manager) m_textColor = m_manager->DefaultTextColor();
  if (m_text.IsEmpty()) return;
  RECT rc = m_bounds;
  rc.left += m_textPadding.left;
  rc.top += m_textPadding.top;
  rc.right -= m_textPadding.right;
  rc.bottom -= m_textPadding.bottom;
  if (m_showHtml) {
    int links = 0;
    CUiRender::DrawMarkupText(hdc, m_manager, rc, m_text, m_textColor, nullptr, nullptr, links,
                              m_textStyle | DT_SINGLELINE);
  } else {
    CUiRender::DrawPlainText(m_font, m_textColor, hdc, m_manager, rc, m_text,
                             m_textStyle | DT_SINGLELINE);
  }
}

}  // namespace UiToolkit
