// Sizing of the row and the column along their axis.
//
// The arithmetic is written once, in terms of the layout's axis ("along")
// and the other one ("across"); a row reads x and widths along its axis, a
// column y and heights.
#include "uitoolkit/layouts/linear_layout.h"

#include "uitoolkit/layouts/size_limits.h"

namespace UiToolkit {

namespace {

struct Axis {
  bool vertical;
  int Along(SIZE s) const { return vertical ? s.cy : s.cx; }
  int Across(SIZE s) const { return vertical ? s.cx : s.cy; }
  int Before(const RECT& pad) const { return vertical ? pad.top : pad.left; }
  int After(const RECT& pad) const { return vertical ? pad.bottom : pad.right; }
  int AcrossBefore(const RECT& pad) const { return vertical ? pad.left : pad.top; }
  int AcrossAfter(const RECT& pad) const { return vertical ? pad.right : pad.bottom; }
  int ClampAlong(const CControlUI* c, int v) const {
    return vertical ? ClampHeight(c, v) : ClampWidth(c, v);
  }
  int ClampAcross(const CControlUI* c, int v) const {
    return vertical ? ClampWidth(c, v) : ClampHeight(c, v);
  }
  int FixedAcross(const CControlUI* c) const {
    return vertical ? c->GetFixedWidth() : c->GetFixedHeight();
  }
  SIZE Make(int along, int across) const {
    return vertical ? SIZE{across, along} : SIZE{along, across};
  }
  RECT MakeRect(int along_lo, int along_hi, int across_lo, int across_hi) const {
    return vertical ? RECT{across_lo, along_lo, across_hi, along_hi}
                    : RECT{along_lo, across_lo, along_hi, across_hi};
  }
};

}  // namespace

CLinearLayoutUI::CLinearLayoutUI(bool vertical)
    : m_vertical(vertical), m_sepSize(0), m_sepState(0), m_immediate(false) {
  m_lastMouse.x = m_lastMouse.y = 0;
  SetRectEmpty(&m_tracked);
}

UINT CLinearLayoutUI::CapabilityFlags() const {
  return (IsEnabled() && m_sepSize != 0) ? UIFLAG_SETCURSOR : 0;
}

void CLinearLayoutUI::SetBounds(RECT rc) {
  RECT inner;
  if (!StartLayout(rc, &inner)) return;
  // A visible horizontal bar widens the space by its range (the content
  // scrolls sideways under it).
  SIZE avail = {inner.right - inner.left, inner.bottom - inner.top};
  avail.cx += GetScrollRange().cx;
  const Axis axis = {m_vertical};
  const int along_avail = axis.Along(avail);
  const int across_avail = axis.Across(avail);

  // Estimate: what the fixed children and the paddings take.
  int fixed = 0, counted = 0, automatic = 0;
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* child = GetItemAt(i);
    if (!child->IsVisible() || child->IsFloat()) continue;
    int len = axis.Along(child->MeasureSize(avail));
    if (len == 0)
      ++automatic;
    else
      len = axis.ClampAlong(child, len);
    RECT pad = child->GetPadding();
    fixed += axis.Before(pad) + axis.After(pad) + len;
    ++counted;
  }
  const int gaps = m_childPadding * (counted > 0 ? counted - 1 : 0);
  fixed += gaps;
  int share = automatic ? (along_avail - fixed) / automatic : 0;
  if (share < 0) share = 0;

  // Placement.
  const SIZE scroll = GetScrollPos();
  int pos = m_vertical ? inner.top - scroll.cy : inner.left - scroll.cx;
  const int across_start = m_vertical ? inner.left - scroll.cx : inner.top;
  int remaining = along_avail, still_fixed = fixed, total = 0, automatic_seen = 0;
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* child = GetItemAt(i);
    if (!child->IsVisible()) continue;
    if (child->IsFloat()) {
      PlaceFloatChild(i);
      continue;
    }
    RECT pad = child->GetPadding();
    const int before = axis.Before(pad), after = axis.After(pad);
    remaining -= before;
    int len = axis.Along(child->MeasureSize(axis.Make(remaining, across_avail)));
    if (len != 0) {
      len = axis.ClampAlong(child, len);
      still_fixed -= len;
    } else {
      len = share;
      // The last automatic child takes what is really left, so rounding
      // never leaves a gap at the end.
      if (++automatic_seen >= automatic) {
        len = remaining - after - still_fixed;
        if (len < 0) len = 0;
      }
      len = axis.ClampAlong(child, len);
    }
    int across = axis.FixedAcross(child);
    if (across == 0) {
      across = across_avail - axis.AcrossBefore(pad) - axis.AcrossAfter(pad);
      if (across < 0) across = 0;
    }
    across = axis.ClampAcross(child, across);
    const int across_lo = across_start + axis.AcrossBefore(pad);
    // The trailing padding lies inside the child's rectangle along the axis.
    child->SetBounds(
        axis.MakeRect(pos + before, pos + before + len + after, across_lo, across_lo + across));
    pos += before + len + after + m_childPadding;
    remaining -= len + after + m_childPadding;
    total += before + len + after;
  }
  const int required = total + gaps;
  UpdateScrollBars(inner, m_vertical ? 0 : required, m_vertical ? required : 0);
}

}  // namespace UiToolkit
