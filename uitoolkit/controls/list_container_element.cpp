#include "uitoolkit/controls/list_container_element.h"
#include "uitoolkit/core/attribute_values.h"

#include "uitoolkit/controls/control_state.h"
#include "uitoolkit/controls/list_row_support.h"

namespace UiToolkit {

CListContainerElementUI::CListContainerElementUI()
    : m_index(-1), m_selected(false), m_state(0), m_owner(nullptr) {}

const wchar_t* CListContainerElementUI::ClassName() const { return L"ListContainerElementUI"; }

LPVOID CListContainerElementUI::FindInterface(const wchar_t* name) {
  if (name && SameName(name, L"ListItem")) return static_cast<IListItemUI*>(this);
  if (name && SameName(name, L"ListContainerElement")) return static_cast<CListContainerElementUI*>(this);
  return CContainerUI::FindInterface(name);
}

UINT CListContainerElementUI::CapabilityFlags() const { return UIFLAG_LISTROW; }

void CListContainerElementUI::SetOwner(CControlUI* owner) {
  m_owner = owner ? static_cast<IListOwnerUI*>(owner->FindInterface(L"IListOwner")) : nullptr;
}

bool CListContainerElementUI::Activate() {
  if (!IsVisible() || !IsEnabled()) return false;
  Emit(UI_NOTIFY_ITEMACTIVATE);
  return true;
}

void CListContainerElementUI::SetVisible(bool visible) {
  CContainerUI::SetVisible(visible);
  AfterListRowVisibility(this, m_owner, m_selected);
}

void CListContainerElementUI::SetEnabled(bool enabled) {
  if (m_enabled == enabled) return;
  m_enabled = enabled;
  if (!enabled) m_state = 0;
  Invalidate();
}

bool CListContainerElementUI::Select(bool select) {
  return SelectListRow(this, m_index, m_owner, m_selected, select);
}

void CListContainerElementUI::InvalidateRow() { InvalidateListRow(this); }

void CListContainerElementUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
  if (name && SameName(name, L"selected"))
    Select(true);
  else
    CContainerUI::ApplyAttribute(name, value);
}

void CListContainerElementUI::OnEvent(TUiEvent& event) {
  if (!HandleListRowEvent(this, this, m_owner, m_state, event)) CContainerUI::OnEvent(event);
}

void CListContainerElementUI::SetBounds(RECT rc) {
  TUiListItemStyle* style = m_owner ? m_owner->GetItemStyle() : nullptr;
  const int columns = style ? style->nColumns : 0;
  if (columns <= 0) {
    CContainerUI::SetBounds(rc);
    return;
  }
  // The first child whose right edge is off its column decides how far the
  // whole row's right edge moves.
  int offset = 0;
  for (int c = 0; c < columns && c < GetCount(); ++c) {
    const RECT& child = GetItemAt(c)->GetBounds();
    if (child.right != style->rcColumn[c].right) {
      offset = style->rcColumn[c].right - child.right;
      break;
    }
  }
  rc.right += offset;
  CContainerUI::SetBounds(rc);
  for (int c = 0; c < columns && c < GetCount(); ++c) {
    GetItemAt(c)->SetBounds(
        RECT{style->rcColumn[c].left, rc.top, style->rcColumn[c].right, rc.bottom});
  }
}

void CListContainerElementUI::Paint(HDC hdc, const RECT& dirty) {
  // The paint rectangle is set here: the background images are drawn
  // before the container's painting would set it.
  if (!::IntersectRect(&m_paintRect, &dirty, &m_bounds)) return;
  if (m_owner)
    PaintListRowBackground(hdc, this, m_owner->GetItemStyle(),
                           TUiRowLook{m_index, m_selected, (m_state & UISTATE_HOT) != 0,
                                      IsEnabled()});
  CContainerUI::Paint(hdc, dirty);
}

}  // namespace UiToolkit
