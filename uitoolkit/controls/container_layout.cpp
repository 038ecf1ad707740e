// Placement of the plain container's children, floating children and the
// container's scroll bars.
#include "uitoolkit/controls/container.h"

#include "uitoolkit/controls/scroll_bar.h"
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

RECT CContainerUI::InnerRect() const {
  return RECT{m_bounds.left + m_inset.left, m_bounds.top + m_inset.top,
              m_bounds.right - m_inset.right, m_bounds.bottom - m_inset.bottom};
}

RECT CContainerUI::ChildArea() const {
  RECT area = InnerRect();
  if (m_verticalScrollBar && m_verticalScrollBar->IsVisible())
    area.right -= m_verticalScrollBar->GetFixedWidth();
  if (m_horizontalScrollBar && m_horizontalScrollBar->IsVisible())
    area.bottom -= m_horizontalScrollBar->GetFixedHeight();
  return area;
}

bool CContainerUI::StartLayout(RECT rc, RECT* area) {
  CControlUI::SetBounds(rc);
  if (GetCount() == 0) {
    UpdateScrollBars(InnerRect(), 0, 0);
    return false;
  }
  *area = ChildArea();
  return true;
}

void CContainerUI::SetBounds(RECT rc) {
  CControlUI::SetBounds(rc);
  PlaceChildrenOver(InnerRect());
}

void CContainerUI::PlaceChildrenOver(const RECT& area) {
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* child = GetItemAt(i);
    if (!child->IsVisible()) continue;
    if (child->IsFloat())
      PlaceFloatChild(i);
    else
      child->SetBounds(area);
  }
}

namespace {
// One axis of a floating child: a negative origin measures the child's far
// edge from the container's far edge.
void PlaceSpan(int origin, int size, LONG near_edge, LONG far_edge, LONG* lo, LONG* hi) {
  if (origin < 0) {
    *hi = far_edge + origin;
    *lo = *hi - size;
  } else {
    *lo = near_edge + origin;
    *hi = *lo + size;
  }
}
}  // namespace

void CContainerUI::PlaceFloatChild(int index) {
  CControlUI* child = GetItemAt(index);
  if (!child || !child->IsVisible() || !child->IsFloat()) return;
  POINT xy = child->GetFixedOrigin();
  int w = child->GetFixedWidth(), h = child->GetFixedHeight();
  RECT rc;
  PlaceSpan(xy.x, w, m_bounds.left, m_bounds.right, &rc.left, &rc.right);
  PlaceSpan(xy.y, h, m_bounds.top, m_bounds.bottom, &rc.top, &rc.bottom);
  if (child->IsRelativePos()) {
    TUiRelativePos rel = child->GetRelativePos();
    SIZE now = {m_bounds.GetWidth(), m_bounds.GetHeight()};
    if (rel.szParent.cx != 0) {
      int grow_x = now.cx - rel.szParent.cx, grow_y = now.cy - rel.szParent.cy;
      rc.left += grow_x * rel.nMoveXPercent / 100;
      rc.top += grow_y * rel.nMoveYPercent / 100;
      rc.right = rc.left + grow_x * rel.nZoomXPercent / 100 + w;
      rc.bottom = rc.top + grow_y * rel.nZoomYPercent / 100 + h;
    }
    child->SetRelativeParentSize(now);
  }
  // A floating child's SetBounds stores the new placement back as its
  // fixed origin and size, so the next placement starts from there.
  child->SetBounds(rc);
}

void CContainerUI::UpdateScrollBars(const RECT& inner, int, int required_height) {
  CScrollBarUI* hbar = m_horizontalScrollBar;
  CScrollBarUI* vbar = m_verticalScrollBar;
  if (hbar && hbar->IsVisible())
    hbar->SetBounds(
        RECT{inner.left, inner.bottom, inner.right, inner.bottom + hbar->GetFixedHeight()});
  if (!vbar) return;
  int overflow = required_height - (inner.bottom - inner.top);
  if (overflow > 0 && !vbar->IsVisible()) {
    vbar->SetVisible(true);
    vbar->SetScrollRange(overflow);
    vbar->SetScrollPos(0);
    // Lay out again leaving room for the bar. Inside that layout the
    // narrower content may need a different range; it is not shown again
    // from there, so two layouts can never chase each other.
    if (!m_scrollProcessing) {
      m_scrollProcessing = true;
      Relayout();
      m_scrollProcessing = false;
    }
    return;
  }
  if (!vbar->IsVisible()) return;
  if (overflow > 0 || m_scrollProcessing) {
    vbar->SetBounds(
        RECT{inner.right, inner.top, inner.right + vbar->GetFixedWidth(), inner.bottom});
    // Content that fits needs no range: a negative overflow is range 0,
    // never its magnitude.
    int range = overflow > 0 ? overflow : 0;
    if (vbar->GetScrollRange() == range) return;
    int old_pos = vbar->GetScrollPos();
    vbar->SetScrollRange(range);
    if (range == 0) {
      vbar->SetVisible(false);
      vbar->SetScrollPos(0);
    }
    if (vbar->GetScrollPos() >= old_pos && range != 0) return;
  } else {
    vbar->SetVisible(false);
    vbar->SetScrollPos(0);
    vbar->SetScrollRange(0);
  }
  // Children follow the corrected position (or the room the bar left).
  Relayout();
}

}  // namespace UiToolkit
