#include "uitoolkit/controls/list_text_element.h"
#include "uitoolkit/core/ui_event.h"
#include "uitoolkit/core/attribute_values.h"

#include "uitoolkit/controls/list_row_support.h"
#include "uitoolkit/core/ui_render.h"
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

CListTextElementUI::CListTextElementUI() : m_linkCount(0), m_hoverLink(-1), m_list(nullptr) {
  for (RECT& rc : m_linkRects) SetRectEmpty(&rc);
}

const wchar_t* CListTextElementUI::ClassName() const { return L"ListTextElementUI"; }

LPVOID CListTextElementUI::FindInterface(const wchar_t* name) {
  if (name && SameName(name, L"ListTextElement")) return static_cast<CListTextElementUI*>(this);
  return CListLabelElementUI::FindInterface(name);
}

UINT CListTextElementUI::CapabilityFlags() const {
  return (IsEnabled() && m_linkCount > 0) ? (UIFLAG_LISTROW | UIFLAG_SETCURSOR) : UIFLAG_LISTROW;
}

void CListTextElementUI::SetOwner(CControlUI* owner) {
  CListElementUI::SetOwner(owner);
  m_list = owner ? static_cast<IListUI*>(owner->FindInterface(L"IList")) : nullptr;
}

SIZE CListTextElementUI::MeasureSize(SIZE) {
  SIZE size = m_fixedSize;
  if (size.cy != 0 || !m_list) return size;
  TUiListItemStyle* style = m_list->GetItemStyle();
  TUiFontInfo* font = m_manager ? m_manager->FontAt(style->nFont) : nullptr;
  size.cy = (font ? font->tm.tmHeight : 0) + style->rcTextPadding.top +
            style->rcTextPadding.bottom + 8;
  return size;
}

const wchar_t* CListTextElementUI::GetColumnText(int column) const {
  if (column < 0 || column >= static_cast<int>(m_columnTexts.size())) return L"";
  return m_columnTexts[column];
}

void CListTextElementUI::SetColumnText(int column, const wchar_t* text) {
  if (column < 0 || column >= TUiListItemStyle::kMaxColumns) return;
  if (column >= static_cast<int>(m_columnTexts.size())) m_columnTexts.resize(column + 1);
  m_columnTexts[column] = text ? text : L"";
  InvalidateRow();
}

int CListTextElementUI::LinkAt(POINT pt) const {
  for (int i = 0; i < m_linkCount; ++i)
    if (::PtInRect(&m_linkRects[i], pt)) return i;
  return -1;
}

void CListTextElementUI::OnEvent(TUiEvent& event) {
  if (!IsMouseEnabled() && IsMouseEvent(event.Type)) {
    if (m_list) {
      m_list->ForwardEvent(event);
      return;
    }
    CListLabelElementUI::OnEvent(event);
    return;
  }
  switch (event.Type) {
    case UIEVENT_SETCURSOR:
      if (LinkAt(event.ptMouse) >= 0) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return;
      }
      break;
    case UIEVENT_BUTTONUP:
      if (IsEnabled()) {
        int link = LinkAt(event.ptMouse);
        if (link >= 0) {
          Emit(UI_NOTIFY_LINK, link);
          return;
        }
      }
      break;
    case UIEVENT_MOUSEMOVE:
      if (m_linkCount > 0) {
        int link = LinkAt(event.ptMouse);
        if (link != m_hoverLink) {
          m_hoverLink = link;
          InvalidateRow();
        }
      }
      break;
    case UIEVENT_MOUSELEAVE:
      if (m_linkCount > 0 && m_hoverLink != -1) {
        InvalidateRow();
        m_hoverLink = -1;
      }
      break;
    default:
      break;
  }
  CListLabelElementUI::OnEvent(event);
}

void CListTextElementUI::DrawItemText(HDC hdc, const RECT& item) {
  if (!m_list) return;
  TUiListItemStyle* style = m_list->GetItemStyle();
  IListTextSource* source = m_list->GetTextSource();
  const DWORD color = ListRowTextColor(style, Look());
  const RECT& pad = style->rcTextPadding;
  const UINT flags = style->uTextStyle | DT_SINGLELINE;
  int collected = 0;
  const int columns = style->nColumns < TUiListItemStyle::kMaxColumns
                          ? style->nColumns
                          : static_cast<int>(TUiListItemStyle::kMaxColumns);
  for (int c = 0; c < columns; ++c) {
    RECT rc = {style->rcColumn[c].left + pad.left, item.top + pad.top,
               style->rcColumn[c].right - pad.right, item.bottom - pad.bottom};
    const wchar_t* text = source ? source->GetItemText(this, m_index, c) : GetColumnText(c);
    if (!text) text = L"";
    if (style->bShowHtml) {
      int room = kMaxLinks - collected;
      CUiRender::DrawMarkupText(hdc, m_manager, rc, text, color, &m_linkRects[collected],
                                &m_linkTexts[collected], room, flags);
      if (room > kMaxLinks - collected) room = kMaxLinks - collected;
      if (room > 0) collected += room;
    } else {
      CUiRender::DrawPlainText(style->nFont, color, hdc, m_manager, rc, text, flags);
    }
  }
  for (int i = collected; i < kMaxLinks; ++i) {
    SetRectEmpty(&m_linkRects[i]);
    m_linkTexts[i].Clear();
  }
  m_linkCount = collected;
}

}  // namespace UiToolkit
