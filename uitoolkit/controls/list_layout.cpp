// Placement of the list's header and body, the column rectangles, the
// scroll operations the list hands to its body, and the walks over the
// list's own two children.
#include "uitoolkit/controls/list.h"

#include "uitoolkit/controls/list_header.h"
#include "uitoolkit/controls/scroll_bar.h"

namespace UiToolkit {

// The list answers GetItemAt/GetCount with its rows, but the layout,
// painting and search code it inherits walks children through those same
// calls and must see the header and the body. While one of these is alive
// the list answers with its own children.
class CListUI::OwnChildrenView {
 public:
  explicit OwnChildrenView(const CListUI* list) : m_list(const_cast<CListUI*>(list)) {
    ++m_list->m_ownView;
  }
  ~OwnChildrenView() { --m_list->m_ownView; }

 private:
  CListUI* m_list;
};

void CListUI::AttachManager(CWindowManagerUI* manager, CControlUI* parent, bool initialize) {
  OwnChildrenView own(this);
  CVerticalLayoutUI::AttachManager(manager, parent, initialize);
}

void CListUI::SetVisible(bool visible) {
  OwnChildrenView own(this);
  CVerticalLayoutUI::SetVisible(visible);
}

void CListUI::SetInheritedVisible(bool visible) {
  OwnChildrenView own(this);
  CVerticalLayoutUI::SetInheritedVisible(visible);
}

CControlUI* CListUI::Search(FindControlProc proc, LPVOID data, UINT flags) {
  OwnChildrenView own(this);
  return CVerticalLayoutUI::Search(proc, data, flags);
}

void CListUI::Paint(HDC hdc, const RECT& dirty) {
  OwnChildrenView own(this);
  CVerticalLayoutUI::Paint(hdc, dirty);
}

bool CListUI::PaintsOver(const CControlUI* child, const RECT& area) const {
  OwnChildrenView own(this);
  return CVerticalLayoutUI::PaintsOver(child, area);
}

bool CListUI::RefreshColumns(int shift) {
  if (!m_header) return false;
  RefreshColumnCount();
  bool moved = false;
  for (int c = 0; c < m_style.nColumns; ++c) {
    CControlUI* item = m_header->GetItemAt(c);
    if (!item->IsVisible() || item->IsFloat()) continue;
    RECT rc = item->GetBounds();
    if (shift != 0) {
      ::OffsetRect(&rc, -shift, 0);
      item->SetBounds(rc);
    }
    if (!::EqualRect(&rc, &m_style.rcColumn[c])) moved = true;
    m_style.rcColumn[c] = rc;
  }
  return moved;
}

namespace {
// A hidden header still lays out its items (at zero height), so the
// columns follow their widths.
void ShowHeaderItems(CListHeaderUI* header, bool on) {
  for (int i = 0; i < header->GetCount(); ++i) header->GetItemAt(i)->SetInheritedVisible(on);
}
}  // namespace

void CListUI::SetBounds(RECT rc) {
  {
    OwnChildrenView own(this);
    CVerticalLayoutUI::SetBounds(rc);
  }
  if (!m_header) return;
  RefreshColumnCount();
  const bool hidden = !m_header->IsVisible();
  const bool has_items = m_header->GetCount() > 0;
  if (hidden && has_items) {
    ShowHeaderItems(m_header, true);
    m_header->SetBounds(RECT{m_bounds.left, 0, m_bounds.right, 0});
  }
  const int x = m_body->GetScrollPos().cx;
  const bool moved = RefreshColumns(x > 0 ? x : 0);
  if (hidden && has_items) ShowHeaderItems(m_header, false);
  // The body laid its rows out before the columns were known: column-aligned
  // rows are placed again when a column moved.
  if (moved && m_body->IsVisible()) m_body->SetBounds(m_body->GetBounds());
}

int CListUI::GetChildPadding() const { return m_body->GetChildPadding(); }
void CListUI::SetChildPadding(int padding) { m_body->SetChildPadding(padding); }

SIZE CListUI::GetScrollPos() const {
  if (m_ownView) return CVerticalLayoutUI::GetScrollPos();
  return m_body->GetScrollPos();
}

SIZE CListUI::GetScrollRange() const {
  if (m_ownView) return CVerticalLayoutUI::GetScrollRange();
  return m_body->GetScrollRange();
}

void CListUI::SetScrollPos(SIZE pos) { m_body->SetScrollPos(pos); }
void CListUI::ScrollLineUp() { m_body->ScrollLineUp(); }
void CListUI::ScrollLineDown() { m_body->ScrollLineDown(); }
void CListUI::ScrollPageUp() { m_body->ScrollPageUp(); }
void CListUI::ScrollPageDown() { m_body->ScrollPageDown(); }
void CListUI::ScrollToTop() { m_body->ScrollToTop(); }
void CListUI::ScrollToBottom() { m_body->ScrollToBottom(); }
void CListUI::ScrollLineLeft() { m_body->ScrollLineLeft(); }
void CListUI::ScrollLineRight() { m_body->ScrollLineRight(); }
void CListUI::ScrollPageLeft() { m_body->ScrollPageLeft(); }
void CListUI::ScrollPageRight() { m_body->ScrollPageRight(); }
void CListUI::ScrollToLeftEnd() { m_body->ScrollToLeftEnd(); }
void CListUI::ScrollToRightEnd() { m_body->ScrollToRightEnd(); }
void CListUI::EnableScrollBars(bool vertical, bool horizontal) {
  m_body->EnableScrollBars(vertical, horizontal);
}
CScrollBarUI* CListUI::GetVerticalScrollBar() const { return m_body->GetVerticalScrollBar(); }
CScrollBarUI* CListUI::GetHorizontalScrollBar() const { return m_body->GetHorizontalScrollBar(); }

}  // namespace UiToolkit
