#include "uitoolkit/controls/list_element.h"
#include "uitoolkit/core/attribute_values.h"

#include "uitoolkit/controls/control_state.h"
#include "uitoolkit/controls/list_row_support.h"
#include "uitoolkit/core/ui_render.h"
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

CListElementUI::CListElementUI() : m_index(-1), m_selected(false), m_state(0), m_owner(nullptr) {}

LPVOID CListElementUI::FindInterface(const wchar_t* name) {
  if (name && SameName(name, L"ListItem")) return static_cast<IListItemUI*>(this);
  if (name && SameName(name, L"ListElement")) return static_cast<CListElementUI*>(this);
  return CControlUI::FindInterface(name);
}

void CListElementUI::SetOwner(CControlUI* owner) {
  m_owner = owner ? static_cast<IListOwnerUI*>(owner->FindInterface(L"IListOwner")) : nullptr;
}

bool CListElementUI::Activate() {
  if (!IsVisible() || !IsEnabled()) return false;
  Emit(UI_NOTIFY_ITEMACTIVATE);
  return true;
}

void CListElementUI::SetVisible(bool visible) {
  CControlUI::SetVisible(visible);
  AfterListRowVisibility(this, m_owner, m_selected);
}

void CListElementUI::SetEnabled(bool enabled) {
  if (m_enabled == enabled) return;
  m_enabled = enabled;
  if (!enabled) m_state = 0;
  Invalidate();
}

void CListElementUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
  if (name && SameName(name, L"selected"))
    Select(true);
  else
    CControlUI::ApplyAttribute(name, value);
}

bool CListElementUI::Select(bool select) {
  return SelectListRow(this, m_index, m_owner, m_selected, select);
}

void CListElementUI::OnEvent(TUiEvent& event) {
  if (!HandleListRowEvent(this, this, m_owner, m_state, event)) CControlUI::OnEvent(event);
}

void CListElementUI::InvalidateRow() { InvalidateListRow(this); }

TUiRowLook CListElementUI::Look() const {
  return TUiRowLook{m_index, m_selected, (m_state & UISTATE_HOT) != 0, IsEnabled()};
}

void CListElementUI::PaintRowBackground(HDC hdc) {
  if (!m_owner) return;
  PaintListRowBackground(hdc, this, m_owner->GetItemStyle(), Look());
}

// ---- the one-text row ----

CListLabelElementUI::CListLabelElementUI() {}

const wchar_t* CListLabelElementUI::ClassName() const { return L"ListLabelElementUI"; }

LPVOID CListLabelElementUI::FindInterface(const wchar_t* name) {
  if (name && SameName(name, L"ListLabelElement")) return static_cast<CListLabelElementUI*>(this);
  return CListElementUI::FindInterface(name);
}

UINT CListLabelElementUI::CapabilityFlags() const { return UIFLAG_LISTROW; }

SIZE CListLabelElementUI::MeasureSize(SIZE) {
  if (!m_owner) return SIZE{0, 0};
  TUiListItemStyle* style = m_owner->GetItemStyle();
  const RECT& pad = style->rcTextPadding;
  SIZE size = m_fixedSize;
  if (size.cy == 0 && m_manager) {
    TUiFontInfo* font = m_manager->FontAt(style->nFont);
    size.cy = (font ? font->tm.tmHeight : 0) + pad.top + pad.bottom + 8;
  }
  if (size.cx == 0 && m_manager) {
    RECT rc = {0, 0, 9999, 0};
    const UINT flags =
        (style->uTextStyle & ~(DT_LEFT | DT_CENTER | DT_RIGHT)) | DT_CALCRECT | DT_SINGLELINE;
    HDC hdc = m_manager->GetWindowDC();
    HDC own = hdc ? nullptr : ::CreateCompatibleDC(nullptr);
    if (own) hdc = own;
    if (style->bShowHtml) {
      int links = 0;
      CUiRender::DrawMarkupText(hdc, m_manager, rc, m_text, 0, nullptr, nullptr, links, flags);
    } else if (!m_text.IsEmpty()) {
      TUiFontInfo* font = m_manager->FontAt(style->nFont);
      HGDIOBJ old = ::SelectObject(hdc, font->hFont);
      ::DrawTextW(hdc, m_text, -1, &rc, flags | DT_NOPREFIX);
      ::SelectObject(hdc, old);
    } else {
      rc.right = 0;
    }
    if (own) ::DeleteDC(own);
    size.cx = rc.right - rc.left + pad.left + pad.right;
  }
  return size;
}

void CListLabelElementUI::Paint(HDC hdc, const RECT& dirty) {
  if (!::IntersectRect(&m_paintRect, &dirty, &m_bounds)) return;
  PaintRowBackground(hdc);
  DrawItemText(hdc, m_bounds);
}

void CListLabelElementUI::DrawItemText(HDC hdc, const RECT& item) {
  if (m_text.IsEmpty() || !m_owner) return;
  TUiListItemStyle* style = m_owner->GetItemStyle();
  const DWORD color = ListRowTextColor(style, Look());
  RECT rc = item;
  rc.left += style->rcTextPadding.left;
  rc.right -= style->rcTextPadding.right;
  rc.top += style->rcTextPadding.top;
  rc.bottom -= style->rcTextPadding.bottom;
  const UINT flags = style->uTextStyle | DT_SINGLELINE;
  if (style->bShowHtml) {
    int links = 0;
    CUiRender::DrawMarkupText(hdc, m_manager, rc, m_text, color, nullptr, nullptr, links, flags);
  } else {
    CUiRender::DrawPlainText(style->nFont, color, hdc, m_manager, rc, m_text, flags);
  }
}

}  // namespace UiToolkit
