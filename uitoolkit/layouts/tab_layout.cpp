#include "uitoolkit/layouts/tab_layout.h"

#include "uitoolkit/core/window_manager.h"
#include "uitoolkit/layouts/size_limits.h"

namespace UiToolkit {

CTabLayoutUI::CTabLayoutUI() : m_current(-1) {}

const wchar_t* CTabLayoutUI::ClassName() const { return L"TabLayoutUI"; }

LPVOID CTabLayoutUI::FindInterface(const wchar_t* name) {
  if (name && wcscmp(name, L"TabLayout") == 0) return this;
  return CContainerUI::FindInterface(name);
}

void CTabLayoutUI::AdoptNewChild(CControlUI* control, int index) {
  if (m_current == -1 && control->IsVisible()) {
    m_current = index;
    return;
  }
  control->SetVisible(false);
  // Inserted before the shown tab: the same tab stays shown.
  if (m_current != -1 && index <= m_current) ++m_current;
}

bool CTabLayoutUI::Add(CControlUI* control) {
  if (!CContainerUI::Add(control)) return false;
  AdoptNewChild(control, GetCount() - 1);
  return true;
}

bool CTabLayoutUI::AddAt(CControlUI* control, int index) {
  if (!CContainerUI::AddAt(control, index)) return false;
  AdoptNewChild(control, index);
  return true;
}

bool CTabLayoutUI::Remove(CControlUI* control) {
  const int index = GetItemIndex(control);
  if (!CContainerUI::Remove(control)) return false;
  if (index == m_current) {
    if (GetCount() > 0) {
      m_current = 0;
      GetItemAt(0)->SetVisible(true);
    } else {
      m_current = -1;
    }
    RequestParentRelayout();
  } else if (index < m_current) {
    --m_current;
  }
  return true;
}

void CTabLayoutUI::RemoveAll() {
  m_current = -1;
  CContainerUI::RemoveAll();
  RequestParentRelayout();
}

bool CTabLayoutUI::SelectItem(int index) {
  if (index < 0 || index >= GetCount()) return false;
  if (index == m_current) return true;
  const int previous = m_current;
  m_current = index;
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* child = GetItemAt(i);
    if (i == index) {
      child->SetVisible(true);
      child->SetFocus();
      Relayout();
    } else {
      child->SetVisible(false);
    }
  }
  RequestParentRelayout();
  if (m_manager) {
    // Before the next layout the focus waits for the paint; after it, it
    // moves on to the next tab stop.
    m_manager->MoveTabFocus(true);
  }
  Emit(UI_NOTIFY_TABSELECT, static_cast<WPARAM>(m_current), static_cast<LPARAM>(previous));
  return true;
}

void CTabLayoutUI::SetBounds(RECT rc) {
  CControlUI::SetBounds(rc);
  const RECT inner = InnerRect();
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* child = GetItemAt(i);
    if (!child->IsVisible()) continue;
    if (child->IsFloat()) {
      PlaceFloatChild(i);
      continue;
    }
    if (i != m_current) continue;
    RECT pad = child->GetPadding();
    RECT area = {inner.left + pad.left, inner.top + pad.top, inner.right - pad.right,
                 inner.bottom - pad.bottom};
    SIZE avail = {area.right - area.left, area.bottom - area.top};
    SIZE sz = child->MeasureSize(avail);
    if (sz.cx == 0) sz.cx = avail.cx > 0 ? avail.cx : 0;
    if (sz.cy == 0) sz.cy = avail.cy > 0 ? avail.cy : 0;
    sz = ClampSize(child, sz);
    child->SetBounds(RECT{area.left, area.top, area.left + sz.cx, area.top + sz.cy});
  }
}

void CTabLayoutUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
  if (name && value && wcscmp(name, L"selectedid") == 0) {
    int index = static_cast<int>(wcstol(value, nullptr, 10));
    if (index >= 0) SelectItem(index);
  }
  CContainerUI::ApplyAttribute(name, value);
}

}  // namespace UiToolkit
