// The list's children: the header, header items and rows, the selection
// and the expanded row.
#include "uitoolkit/controls/list.h"
#include "uitoolkit/core/attribute_values.h"

#include "uitoolkit/controls/list_header.h"
#include "uitoolkit/controls/list_row_support.h"
#include "uitoolkit/controls/scroll_bar.h"
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

CListUI::CListUI()
    : m_body(new CListBodyUI(this)),
      m_header(new CListHeaderUI),
      m_selected(-1),
      m_expanded(-1),
      m_scrollSelect(false),
      m_ownView(0),
      m_textSource(nullptr) {
  CVerticalLayoutUI::Add(m_header);
  CVerticalLayoutUI::Add(m_body);
}

CListUI::~CListUI() {
  // The rows go with the body; nothing of theirs may call back into a list
  // that is half gone.
  m_body->SetOwner(nullptr);
}

const wchar_t* CListUI::ClassName() const { return L"ListUI"; }

LPVOID CListUI::FindInterface(const wchar_t* name) {
  if (name && SameName(name, L"List")) return static_cast<CListUI*>(this);
  if (name && (SameName(name, L"IList") || SameName(name, L"IListOwner"))) return static_cast<IListUI*>(this);
  return CVerticalLayoutUI::FindInterface(name);
}

UINT CListUI::CapabilityFlags() const { return UIFLAG_TABSTOP; }

CContainerUI* CListUI::GetBody() const { return m_body; }

bool CListUI::IsHeader(CControlUI* control) const {
  return control && control->FindInterface(L"ListHeader") != nullptr;
}

bool CListUI::IsHeaderItem(CControlUI* control) {
  return control && wcsstr(control->ClassName(), L"ListHeaderItemUI") != nullptr;
}

// ---- own children (header and body) ----

CControlUI* CListUI::GetItemAt(int index) const {
  if (m_ownView) return CVerticalLayoutUI::GetItemAt(index);
  return m_body->GetItemAt(index);
}

int CListUI::GetCount() const {
  if (m_ownView) return CVerticalLayoutUI::GetCount();
  return m_body->GetCount();
}

int CListUI::GetItemIndex(CControlUI* control) const {
  if (IsHeader(control)) return CVerticalLayoutUI::GetItemIndex(control);
  if (IsHeaderItem(control)) return m_header ? m_header->GetItemIndex(control) : -1;
  return m_body->GetItemIndex(control);
}

void CListUI::RefreshColumnCount() {
  int items = m_header ? m_header->GetCount() : 0;
  m_style.nColumns = items < TUiListItemStyle::kMaxColumns
                         ? items
                         : static_cast<int>(TUiListItemStyle::kMaxColumns);
}

bool CListUI::AddHeader(CControlUI* header, int) {
  if (header != m_header && (!m_header || m_header->GetCount() == 0)) {
    if (m_header) CVerticalLayoutUI::Remove(m_header);
    m_header = static_cast<CListHeaderUI*>(header->FindInterface(L"ListHeader"));
  }
  RefreshColumnCount();
  RequestRelayout();
  return CVerticalLayoutUI::AddAt(header, 0);
}

bool CListUI::Add(CControlUI* control) {
  if (!control) return false;
  if (IsHeader(control)) return AddHeader(control, 0);
  if (IsHeaderItem(control)) {
    if (!m_header) return false;
    bool added = m_header->Add(control);
    RefreshColumnCount();
    RequestRelayout();
    return added;
  }
  if (IListItemUI* item = ListItemOf(control)) {
    item->SetOwner(this);
    item->SetIndex(GetCount());
  }
  return m_body->Add(control);
}

bool CListUI::AddAt(CControlUI* control, int index) {
  if (!control) return false;
  if (IsHeader(control)) return AddHeader(control, 0);
  if (IsHeaderItem(control)) {
    if (!m_header) return false;
    bool added = m_header->AddAt(control, index);
    RefreshColumnCount();
    RequestRelayout();
    return added;
  }
  if (!m_body->AddAt(control, index)) return false;
  if (IListItemUI* item = ListItemOf(control)) {
    item->SetOwner(this);
    item->SetIndex(index);
  }
  RenumberRows(index + 1, GetCount() - 1);
  if (m_selected >= index) ++m_selected;
  return true;
}

void CListUI::RenumberRows(int from, int to) {
  for (int i = from < 0 ? 0 : from; i <= to && i < GetCount(); ++i) {
    if (IListItemUI* item = ListItemOf(GetItemAt(i))) item->SetIndex(i);
  }
}

bool CListUI::Remove(CControlUI* control) {
  if (!control) return false;
  if (IsHeader(control)) {
    // The header is destroyed with its removal: the list must not keep
    // pointing at it.
    const bool current = control == m_header;
    if (!CVerticalLayoutUI::Remove(control)) return false;
    if (current) {
      m_header = nullptr;
      RefreshColumnCount();
    }
    return true;
  }
  if (IsHeaderItem(control)) {
    if (!m_header) return false;
    bool removed = m_header->Remove(control);
    RefreshColumnCount();
    RequestRelayout();
    return removed;
  }
  const int index = m_body->GetItemIndex(control);
  if (index < 0) return false;
  if (!m_body->Remove(control)) return false;
  RenumberRows(index, GetCount() - 1);
  if (index == m_selected) {
    m_selected = -1;
    SelectItem(FindSelectableItem(index, false), false);
  } else if (index < m_selected) {
    --m_selected;
  }
  if (index == m_expanded) {
    m_expanded = -1;
  } else if (index < m_expanded) {
    --m_expanded;
  }
  return true;
}

bool CListUI::RemoveAt(int index) {
  CControlUI* row = m_body->GetItemAt(index);
  return row ? Remove(row) : false;
}

void CListUI::RemoveAll() {
  m_selected = -1;
  m_expanded = -1;
  m_body->RemoveAll();
}

bool CListUI::MoveItemTo(CControlUI* control, int index) {
  if (!control) return false;
  if (IsHeader(control)) return CVerticalLayoutUI::MoveItemTo(control, index);
  if (IsHeaderItem(control)) return m_header ? m_header->MoveItemTo(control, index) : false;
  const int from = m_body->GetItemIndex(control);
  if (from < 0) return false;
  if (from == index) return true;
  CControlUI* selected = m_selected >= 0 ? m_body->GetItemAt(m_selected) : nullptr;
  CControlUI* expanded = m_expanded >= 0 ? m_body->GetItemAt(m_expanded) : nullptr;
  if (!m_body->MoveItemTo(control, index)) return false;
  RenumberRows(from < index ? from : index, from < index ? index : from);
  if (selected) m_selected = m_body->GetItemIndex(selected);
  if (expanded) m_expanded = m_body->GetItemIndex(expanded);
  return true;
}

int CListUI::FindSelectableItem(int start, bool forward) const {
  return m_body->FindSelectableItem(start, forward);
}

// ---- selection ----

bool CListUI::SelectItem(int index, bool take_focus) {
  if (index == m_selected) return true;
  const int previous = m_selected;
  if (m_selected >= 0) {
    if (IListItemUI* item = ListItemOf(GetItemAt(m_selected))) item->Select(false);
    m_selected = -1;
  }
  if (index < 0) return false;
  CControlUI* row = GetItemAt(index);
  if (!row || !row->IsVisible() || !row->IsEnabled()) return false;
  IListItemUI* item = ListItemOf(row);
  if (!item) return false;
  m_selected = index;
  if (!item->Select(true)) {
    m_selected = -1;
    return false;
  }
  EnsureVisible(m_selected);
  if (take_focus) row->SetFocus();
  if (m_manager) m_manager->EmitNotify(this, UI_NOTIFY_ITEMSELECT, index, previous);
  return true;
}

void CListUI::EnsureVisible(int index) {
  if (index < 0) return;
  CControlUI* row = GetItemAt(index);
  if (!row) return;
  const RECT& item = row->GetBounds();
  RECT visible = m_body->GetBounds();
  const RECT inset = m_body->GetInset();
  visible.top += inset.top;
  visible.bottom -= inset.bottom;
  CScrollBarUI* hbar = m_body->GetHorizontalScrollBar();
  if (hbar && hbar->IsVisible()) visible.bottom -= hbar->GetFixedHeight();
  if (item.top >= visible.top && item.bottom < visible.bottom) return;
  int offset = 0;
  if (item.top < visible.top) offset = item.top - visible.top;
  if (item.bottom > visible.bottom) offset = item.bottom - visible.bottom;
  if (offset == 0) return;
  SIZE pos = m_body->GetScrollPos();
  pos.cy += offset;
  m_body->SetScrollPos(pos);
}

bool CListUI::ExpandItem(int index, bool expand) {
  if (m_expanded >= 0 && !m_style.bMultiExpandable) {
    if (IListItemUI* item = ListItemOf(GetItemAt(m_expanded))) item->Expand(false);
    m_expanded = -1;
  }
  if (expand) {
    CControlUI* row = GetItemAt(index);
    IListItemUI* item = row && row->IsVisible() ? ListItemOf(row) : nullptr;
    if (!item) return false;
    m_expanded = index;
    if (!item->Expand(true)) {
      m_expanded = -1;
      return false;
    }
  }
  if (IsVisible()) RequestRelayout();
  return true;
}

}  // namespace UiToolkit
