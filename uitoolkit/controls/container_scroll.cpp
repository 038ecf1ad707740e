// Scroll bars of the container and the scrolling operations.
#include "uitoolkit/controls/container.h"

#include "uitoolkit/controls/scroll_bar.h"
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

namespace {

bool Shown(const CScrollBarUI* bar) { return bar && bar->IsVisible(); }

// A new bar for this container, styled by the skin's default list for it.
CScrollBarUI* MakeBar(CContainerUI* owner, bool horizontal) {
  CScrollBarUI* bar = new CScrollBarUI;
  if (horizontal) bar->SetHorizontal(true);
  bar->SetOwner(owner);
  CWindowManagerUI* manager = owner->GetManager();
  bar->AttachManager(manager, nullptr, false);
  if (manager) {
    if (const wchar_t* list = manager->DefaultAttributes(horizontal ? L"HScrollBar" : L"VScrollBar"))
      bar->ApplyAttributeList(list);
  }
  return bar;
}

}  // namespace

void CContainerUI::EnableScrollBars(bool vertical, bool horizontal) {
  if (vertical && !m_verticalScrollBar) {
    m_verticalScrollBar = MakeBar(this, false);
  } else if (!vertical && m_verticalScrollBar) {
    delete m_verticalScrollBar;
    m_verticalScrollBar = nullptr;
  }
  if (horizontal && !m_horizontalScrollBar) {
    m_horizontalScrollBar = MakeBar(this, true);
  } else if (!horizontal && m_horizontalScrollBar) {
    delete m_horizontalScrollBar;
    m_horizontalScrollBar = nullptr;
  }
  RequestRelayout();
}

CScrollBarUI* CContainerUI::GetVerticalScrollBar() const { return m_verticalScrollBar; }
CScrollBarUI* CContainerUI::GetHorizontalScrollBar() const { return m_horizontalScrollBar; }

SIZE CContainerUI::GetScrollPos() const {
  SIZE pos = {0, 0};
  if (Shown(m_horizontalScrollBar)) pos.cx = m_horizontalScrollBar->GetScrollPos();
  if (Shown(m_verticalScrollBar)) pos.cy = m_verticalScrollBar->GetScrollPos();
  return pos;
}

SIZE CContainerUI::GetScrollRange() const {
  SIZE range = {0, 0};
  if (Shown(m_horizontalScrollBar)) range.cx = m_horizontalScrollBar->GetScrollRange();
  if (Shown(m_verticalScrollBar)) range.cy = m_verticalScrollBar->GetScrollRange();
  return range;
}

void CContainerUI::SetScrollPos(SIZE pos) {
  int dx = 0, dy = 0;
  if (Shown(m_horizontalScrollBar)) {
    int old = m_horizontalScrollBar->GetScrollPos();
    m_horizontalScrollBar->SetScrollPos(pos.cx);
    dx = m_horizontalScrollBar->GetScrollPos() - old;
  }
  if (Shown(m_verticalScrollBar)) {
    int old = m_verticalScrollBar->GetScrollPos();
    m_verticalScrollBar->SetScrollPos(pos.cy);
    dy = m_verticalScrollBar->GetScrollPos() - old;
  }
  if (dx == 0 && dy == 0) return;
  MoveChildrenBy(dx, dy);
}

namespace {
bool Meets(const RECT& a, const RECT& b) {
  RECT tmp;
  return ::IntersectRect(&tmp, &a, &b) != FALSE;
}
bool Opaque(DWORD color) { return (color >> 24) == 0xFF; }
}  // namespace

bool CContainerUI::HasPlainFace() const {
  if (!m_bkImage.IsEmpty() || m_icon || m_bkColor2 != 0) return false;
  if (m_borderSize > 0 || m_borderSides.left > 0 || m_borderSides.top > 0 ||
      m_borderSides.right > 0 || m_borderSides.bottom > 0)
    return false;
  if (m_borderRound.cx > 0 || m_borderRound.cy > 0) return false;
  // A colour of no alpha is not painted at all.
  return (m_bkColor1 >> 24) == 0 || Opaque(m_bkColor1);
}

bool CContainerUI::PaintsOver(const CControlUI* child, const RECT& area) const {
  const int index = m_items.Find(const_cast<CControlUI*>(child));
  if (index < 0) return true;
  for (int i = index + 1; i < GetCount(); ++i) {
    CControlUI* later = GetItemAt(i);
    if (later->IsVisible() && Meets(later->GetBounds(), area)) return true;
  }
  if (Shown(m_verticalScrollBar) && Meets(m_verticalScrollBar->GetBounds(), area)) return true;
  return Shown(m_horizontalScrollBar) && Meets(m_horizontalScrollBar->GetBounds(), area);
}

// The children's pixels may move when everything else painted there stays
// the same: under them one opaque colour (of this container or of an
// ancestor, with nothing drawn between), over them nothing (no floating
// child, no later sibling of any ancestor).
bool CContainerUI::MovableScrollArea(RECT* out) const {
  if (!m_manager || m_removed || !IsVisible() || !HasPlainFace()) return false;
  RECT area = ChildArea();
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* child = GetItemAt(i);
    if (child->IsVisible() && child->IsFloat() && Meets(child->GetBounds(), area)) return false;
  }
  bool backed = Opaque(m_bkColor1);
  const CControlUI* child = this;
  for (CControlUI* parent = m_parent; parent; child = parent, parent = parent->GetParent()) {
    const CContainerUI* box = static_cast<CContainerUI*>(parent->FindInterface(L"Container"));
    if (!box) return false;
    const RECT clip = child->IsFloat() ? parent->GetBounds() : box->ChildArea();
    if (!::IntersectRect(&area, &area, &clip)) return false;
    if (box->PaintsOver(child, area)) return false;
    if (!backed) {
      if (!box->HasPlainFace()) return false;
      backed = Opaque(box->GetBkColor());
    }
  }
  if (!backed) return false;
  *out = area;
  return true;
}

void CContainerUI::MoveChildrenBy(int dx, int dy) {
  RECT area;
  const bool drawn = MovableScrollArea(&area) && m_manager->BeginScrollMove(area, -dx, -dy);
  if (drawn) {
    if (m_verticalScrollBar) m_verticalScrollBar->Invalidate();
    if (m_horizontalScrollBar) m_horizontalScrollBar->Invalidate();
  } else {
    // Invalidated first: the children moved below lie inside this area, so
    // the manager sends none of their invalidations to the window.
    Invalidate();
  }
  // Scrolling moves the children instead of laying them out again.
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* child = GetItemAt(i);
    if (!child->IsVisible() || child->IsFloat()) continue;
    RECT rc = child->GetBounds();
    ::OffsetRect(&rc, -dx, -dy);
    child->SetBounds(rc);
  }
  if (drawn) m_manager->EndScrollMove();
}

namespace {
int LineHeight(CWindowManagerUI* manager) {
  if (!manager) return 8;
  TUiFontInfo* font = manager->DefaultFont();
  return (font ? font->tm.tmHeight : 0) + 8;
}
}  // namespace

void CContainerUI::ScrollBy(int dx, int dy) {
  SIZE pos = GetScrollPos();
  pos.cx += dx;
  pos.cy += dy;
  SetScrollPos(pos);
}

int CContainerUI::VerticalPage() const {
  int page = m_bounds.GetHeight() - m_inset.top - m_inset.bottom;
  if (Shown(m_horizontalScrollBar)) page -= m_horizontalScrollBar->GetFixedHeight();
  return page;
}

int CContainerUI::HorizontalPage() const {
  int page = m_bounds.GetWidth() - m_inset.left - m_inset.right;
  if (Shown(m_verticalScrollBar)) page -= m_verticalScrollBar->GetFixedWidth();
  return page;
}

void CContainerUI::ScrollLineUp() { ScrollBy(0, -LineHeight(m_manager)); }
void CContainerUI::ScrollLineDown() { ScrollBy(0, LineHeight(m_manager)); }
void CContainerUI::ScrollPageUp() { ScrollBy(0, -VerticalPage()); }
void CContainerUI::ScrollPageDown() { ScrollBy(0, VerticalPage()); }
void CContainerUI::ScrollToTop() { ScrollBy(0, -GetScrollPos().cy); }
void CContainerUI::ScrollToBottom() { ScrollBy(0, GetScrollRange().cy - GetScrollPos().cy); }
void CContainerUI::ScrollLineLeft() { ScrollBy(-8, 0); }
void CContainerUI::ScrollLineRight() { ScrollBy(8, 0); }
void CContainerUI::ScrollPageLeft() { ScrollBy(-HorizontalPage(), 0); }
void CContainerUI::ScrollPageRight() { ScrollBy(HorizontalPage(), 0); }
void CContainerUI::ScrollToLeftEnd() { ScrollBy(-GetScrollPos().cx, 0); }
void CContainerUI::ScrollToRightEnd() { ScrollBy(GetScrollRange().cx - GetScrollPos().cx, 0); }

}  // namespace UiToolkit
