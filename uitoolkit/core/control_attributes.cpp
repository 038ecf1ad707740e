// Attributes of the base control and their setters.
#include "uitoolkit/core/attribute_values.h"
#include "uitoolkit/core/control.h"
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

namespace {

void ApplyOne(void* context, const wchar_t* name, const wchar_t* value) {
  static_cast<CControlUI*>(context)->ApplyAttribute(name, value);
}


}  // namespace

void CControlUI::ApplyAttributeList(const wchar_t* list) { ParseAttributeList(list, &ApplyOne, this); }

void CControlUI::SetBkColor(DWORD color) {
  if (m_bkColor1 == color) return;
  m_bkColor1 = color;
  Invalidate();
}
void CControlUI::SetBkColor2(DWORD color) {
  if (m_bkColor2 == color) return;
  m_bkColor2 = color;
  Invalidate();
}
void CControlUI::SetBkColor3(DWORD color) {
  if (m_bkColor3 == color) return;
  m_bkColor3 = color;
  Invalidate();
}
void CControlUI::SetBkImage(const wchar_t* image) {
  if (m_bkImage == image) return;
  m_bkImage = image;
  Invalidate();
}
void CControlUI::SetBorderColor(DWORD color) {
  if (m_borderColor == color) return;
  m_borderColor = color;
  Invalidate();
}
void CControlUI::SetFocusBorderColor(DWORD color) {
  if (m_focusBorderColor == color) return;
  m_focusBorderColor = color;
  Invalidate();
}
void CControlUI::SetColorHsl(bool on) {
  if (m_colorHsl == on) return;
  m_colorHsl = on;
  Invalidate();
}
void CControlUI::SetBorderSize(int size) {
  if (m_borderSize == size) return;
  m_borderSize = size;
  Invalidate();
}
void CControlUI::SetBorderSizes(RECT sides) {
  m_borderSides = sides;
  Invalidate();
}
void CControlUI::SetBorderStyle(int style) {
  m_borderStyle = style;
  Invalidate();
}
void CControlUI::SetBorderRound(SIZE size) {
  m_borderRound = size;
  Invalidate();
}

void CControlUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
  if (!name || !value) return;
  if (SameName(name, L"pos")) {
    RECT rc = ParseRectValue(value);
    POINT origin = {rc.left < 0 ? rc.right : rc.left, rc.top < 0 ? rc.bottom : rc.top};
    SetFixedOrigin(origin);
    SetFixedWidth(rc.right - rc.left);
    SetFixedHeight(rc.bottom - rc.top);
  } else if (SameName(name, L"relativepos")) {
    RECT rc = ParseRectValue(value);
    SetRelativePos(rc.left, rc.top, rc.right, rc.bottom);
  } else if (SameName(name, L"padding")) {
    SetPadding(ParseRectValue(value));
  } else if (SameName(name, L"bkcolor") || SameName(name, L"bkcolor1")) {
    SetBkColor(ParseColorValue(value, true));
  } else if (SameName(name, L"bkcolor2")) {
    SetBkColor2(ParseColorValue(value, true));
  } else if (SameName(name, L"bkcolor3")) {
    SetBkColor3(ParseColorValue(value, true));
  } else if (SameName(name, L"bordercolor")) {
    SetBorderColor(ParseColorValue(value, false));
  } else if (SameName(name, L"focusbordercolor")) {
    SetFocusBorderColor(ParseColorValue(value, false));
  } else if (SameName(name, L"colorhsl")) {
    SetColorHsl(ParseBoolValue(value));
  } else if (SameName(name, L"bordersize")) {
    if (wcschr(value, L',')) {
      SetBorderSizes(ParseRectValue(value));
    } else {
      SetBorderSize(static_cast<int>(wcstol(value, nullptr, 10)));
      SetBorderSizes(RECT{0, 0, 0, 0});
    }
  } else if (SameName(name, L"leftbordersize") || SameName(name, L"topbordersize") ||
             SameName(name, L"rightbordersize") || SameName(name, L"bottombordersize")) {
    RECT sides = m_borderSides;
    LONG n = wcstol(value, nullptr, 10);
    if (name[0] == L'l') sides.left = n;
    if (name[0] == L't') sides.top = n;
    if (name[0] == L'r') sides.right = n;
    if (name[0] == L'b') sides.bottom = n;
    SetBorderSizes(sides);
  } else if (SameName(name, L"borderstyle")) {
    SetBorderStyle(static_cast<int>(wcstol(value, nullptr, 10)));
  } else if (SameName(name, L"borderround")) {
    SetBorderRound(ParseSizeValue(value));
  } else if (SameName(name, L"bkimage")) {
    SetBkImage(value);
  } else if (SameName(name, L"width")) {
    SetFixedWidth(static_cast<int>(wcstol(value, nullptr, 10)));
  } else if (SameName(name, L"height")) {
    SetFixedHeight(static_cast<int>(wcstol(value, nullptr, 10)));
  } else if (SameName(name, L"minwidth")) {
    SetMinWidth(static_cast<int>(wcstol(value, nullptr, 10)));
  } else if (SameName(name, L"minheight")) {
    SetMinHeight(static_cast<int>(wcstol(value, nullptr, 10)));
  } else if (SameName(name, L"maxwidth")) {
    SetMaxWidth(static_cast<int>(wcstol(value, nullptr, 10)));
  } else if (SameName(name, L"maxheight")) {
    SetMaxHeight(static_cast<int>(wcstol(value, nullptr, 10)));
  } else if (SameName(name, L"name")) {
    SetName(value);
  } else if (SameName(name, L"text")) {
    SetText(value);
  } else if (SameName(name, L"tooltip")) {
    SetToolTip(value);
  } else if (SameName(name, L"userdata")) {
    SetUserData(value);
  } else if (SameName(name, L"enabled")) {
    SetEnabled(ParseBoolValue(value));
  } else if (SameName(name, L"mouse")) {
    SetMouseEnabled(ParseBoolValue(value));
  } else if (SameName(name, L"keyboard")) {
    SetKeyboardEnabled(ParseBoolValue(value));
  } else if (SameName(name, L"visible")) {
    SetVisible(ParseBoolValue(value));
  } else if (SameName(name, L"float")) {
    SetFloat(ParseBoolValue(value));
  } else if (SameName(name, L"shortcut")) {
    SetShortcut(value[0]);
  } else if (SameName(name, L"menu")) {
    SetContextMenuEnabled(ParseBoolValue(value));
  } else if (SameName(name, L"virtualwnd")) {
    SetVirtualWindow(value);
  }
}

}  // namespace UiToolkit
