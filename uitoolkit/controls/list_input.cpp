// The list's keys, wheel and attributes, and the item style setters.
#include "uitoolkit/controls/list.h"
#include "uitoolkit/core/ui_event.h"

#include "uitoolkit/controls/list_header.h"
#include "uitoolkit/controls/list_item_style.h"
#include "uitoolkit/core/attribute_values.h"

namespace UiToolkit {

namespace {

// Attributes of a list that really belong to its body.
const wchar_t* const kBodyAttributes[] = {L"vscrollbar", L"hscrollbar", L"vscrollbarstyle",
                                          L"hscrollbarstyle", L"childpadding"};
}  // namespace

UINT ApplyListAlignWords(UINT style, const wchar_t* value) {
  const UINT bits = DT_LEFT | DT_CENTER | DT_RIGHT;
  if (!value) return style;
  if (wcsstr(value, L"left")) return (style & ~bits) | DT_LEFT;
  if (wcsstr(value, L"center")) return (style & ~bits) | DT_CENTER;
  if (wcsstr(value, L"right")) return (style & ~bits) | DT_RIGHT;
  return style;
}

void CListUI::OnEvent(TUiEvent& event) {
  if (!IsMouseEnabled() && IsMouseEvent(event.Type)) {
    if (m_parent)
      m_parent->OnEvent(event);
    else
      CVerticalLayoutUI::OnEvent(event);
    return;
  }
  switch (event.Type) {
    case UIEVENT_SETFOCUS:
      m_focused = true;
      return;
    case UIEVENT_KILLFOCUS:
      m_focused = false;
      return;
    case UIEVENT_KEYDOWN:
      switch (event.chKey) {
        case VK_RETURN:
          if (m_selected >= 0) {
            if (CControlUI* row = GetItemAt(m_selected)) row->Activate();
          }
          return;
        case VK_PRIOR: ScrollPageUp(); return;
        case VK_NEXT: ScrollPageDown(); return;
        case VK_END: SelectItem(FindSelectableItem(GetCount() - 1, true), true); return;
        case VK_HOME: SelectItem(FindSelectableItem(0, false), true); return;
        case VK_UP: SelectItem(FindSelectableItem(m_selected - 1, false), true); return;
        case VK_DOWN: SelectItem(FindSelectableItem(m_selected + 1, true), true); return;
        default: break;
      }
      break;
    case UIEVENT_SCROLLWHEEL:
      if (event.wParam == 0 || event.wParam == 1) {
        const bool up = event.wParam == 0;
        if (m_scrollSelect)
          SelectItem(FindSelectableItem(m_selected + (up ? -1 : 1), !up), true);
        else if (up)
          ScrollLineUp();
        else
          ScrollLineDown();
        return;
      }
      break;
    default:
      break;
  }
  CVerticalLayoutUI::OnEvent(event);
}

void CListUI::SetItemFont(int index) {
  m_style.nFont = index;
  Invalidate();
}

void CListUI::SetItemTextPadding(RECT padding) {
  m_style.rcTextPadding = padding;
  RequestRelayout();
}

void CListUI::SetItemShowHtml(bool on) {
  if (m_style.bShowHtml == on) return;
  m_style.bShowHtml = on;
  RequestRelayout();
}

void CListUI::SetItemColor(DWORD TUiListItemStyle::*field, DWORD color) {
  m_style.*field = color;
  Invalidate();
}

void CListUI::SetItemImage(CUiString TUiListItemStyle::*field, const wchar_t* image) {
  m_style.*field = image ? image : L"";
  Invalidate();
}

void CListUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
  if (!name || !value) return;
  for (const wchar_t* body_name : kBodyAttributes) {
    if (SameName(name, body_name)) {
      m_body->ApplyAttribute(name, value);
      return;
    }
  }
  switch (ApplyItemStyleAttribute(m_style, name, value)) {
    case UIITEMSTYLE_STORED: return;
    case UIITEMSTYLE_REPAINT: Invalidate(); return;
    case UIITEMSTYLE_RELAYOUT: RequestRelayout(); return;
    case UIITEMSTYLE_UNKNOWN: break;
  }
  if (SameName(name, L"header")) {
    if (m_header) m_header->SetVisible(!SameName(value, L"hidden"));
  } else if (SameName(name, L"headerbkimage")) {
    if (m_header) m_header->SetBkImage(value);
  } else if (SameName(name, L"scrollselect")) {
    SetScrollSelect(ParseBoolValue(value));
  } else if (SameName(name, L"multiexpanding")) {
    m_style.bMultiExpandable = ParseBoolValue(value);
  } else if (SameName(name, L"itemendellipsis")) {
    if (ParseBoolValue(value))
      m_style.uTextStyle |= DT_END_ELLIPSIS;
    else
      m_style.uTextStyle &= ~DT_END_ELLIPSIS;
  } else {
    CVerticalLayoutUI::ApplyAttribute(name, value);
  }
}

}  // namespace UiToolkit
