// The list's body: rows laid out top to bottom at the content width, a
// horizontal bar that scrolls the header with them.
#include "uitoolkit/controls/list.h"

#include "uitoolkit/controls/list_header.h"
#include "uitoolkit/controls/scroll_bar.h"

namespace UiToolkit {

namespace {
int Clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }
}  // namespace

CListBodyUI::CListBodyUI(CListUI* owner) : m_owner(owner) {}

int CListBodyUI::ContentWidth(SIZE available) {
  CListHeaderUI* header = m_owner ? m_owner->GetHeader() : nullptr;
  if (header && header->GetCount() > 0) {
    int w = header->MeasureSize(available).cx;
    return w > 0 ? w : 0;
  }
  int widest = 0;
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* row = GetItemAt(i);
    if (!row->IsVisible() || row->IsFloat()) continue;
    int w = row->MeasureSize(available).cx;
    if (w > widest) widest = w;
  }
  return widest;
}

void CListBodyUI::SetBounds(RECT rc) {
  CControlUI::SetBounds(rc);
  RECT inner = InnerRect();
  CScrollBarUI* vbar = m_verticalScrollBar;
  CScrollBarUI* hbar = m_horizontalScrollBar;
  if (vbar && vbar->IsVisible()) inner.right -= vbar->GetFixedWidth();
  if (hbar && hbar->IsVisible()) inner.bottom -= hbar->GetFixedHeight();
  SIZE avail = {inner.right - inner.left, inner.bottom - inner.top};
  const int content = ContentWidth(avail);

  // The horizontal bar is settled first: it changes the height rows share.
  if (hbar) {
    if (content > avail.cx) {
      if (!hbar->IsVisible()) {
        hbar->SetVisible(true);
        inner.bottom -= hbar->GetFixedHeight();
      }
      hbar->SetScrollRange(content - avail.cx);
    } else if (hbar->IsVisible()) {
      hbar->SetVisible(false);
      hbar->SetScrollRange(0);
      hbar->SetScrollPos(0);
      inner.bottom += hbar->GetFixedHeight();
    }
    avail.cy = inner.bottom - inner.top;
  }
  const SIZE scroll = GetScrollPos();
  const int offered = avail.cx + GetScrollRange().cx;

  int fixed = 0, counted = 0, automatic = 0;
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* row = GetItemAt(i);
    if (!row->IsVisible() || row->IsFloat()) continue;
    int h = row->MeasureSize(avail).cy;
    if (h == 0)
      ++automatic;
    else
      h = Clamp(h, row->GetMinHeight(), row->GetMaxHeight());
    RECT pad = row->GetPadding();
    fixed += pad.top + pad.bottom + h;
    ++counted;
  }
  const int gaps = counted > 0 ? m_childPadding * (counted - 1) : 0;
  fixed += gaps;
  int share = automatic ? (avail.cy - fixed) / automatic : 0;
  if (share < 0) share = 0;

  int top = inner.top - scroll.cy;
  int remaining = avail.cy, still_fixed = fixed, total = 0, automatic_seen = 0;
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* row = GetItemAt(i);
    if (!row->IsVisible()) continue;
    if (row->IsFloat()) {
      PlaceFloatChild(i);
      continue;
    }
    RECT pad = row->GetPadding();
    remaining -= pad.top;
    int h = row->MeasureSize(SIZE{avail.cx, remaining}).cy;
    if (h != 0) {
      h = Clamp(h, row->GetMinHeight(), row->GetMaxHeight());
      still_fixed -= h;
    } else {
      h = share;
      if (++automatic_seen >= automatic) {
        h = remaining - pad.bottom - still_fixed;
        if (h < 0) h = 0;
      }
      h = Clamp(h, row->GetMinHeight(), row->GetMaxHeight());
    }
    int w = offered - pad.left - pad.right;
    if (w < content) w = content;
    w = Clamp(w, row->GetMinWidth(), row->GetMaxWidth());
    const int left = inner.left + pad.left - scroll.cx;
    row->SetBounds(RECT{left, top + pad.top, left + w, top + pad.top + h + pad.bottom});
    top += pad.top + h + pad.bottom + m_childPadding;
    remaining -= h + pad.bottom + m_childPadding;
    total += pad.top + h + pad.bottom;
  }
  UpdateScrollBars(inner, content, total + gaps);
}

void CListBodyUI::SetScrollPos(SIZE pos) {
  const SIZE before = GetScrollPos();
  CScrollBarUI* hbar = m_horizontalScrollBar;
  CScrollBarUI* vbar = m_verticalScrollBar;
  if (hbar && hbar->IsVisible()) hbar->SetScrollPos(pos.cx);
  if (vbar && vbar->IsVisible()) vbar->SetScrollPos(pos.cy);
  const SIZE after = GetScrollPos();
  const int dx = after.cx - before.cx, dy = after.cy - before.cy;
  if (dx == 0 && dy == 0) return;
  // The columns move first, so column-aligned rows placed below already
  // see where the header went.
  CListHeaderUI* header = m_owner ? m_owner->GetHeader() : nullptr;
  if (dx != 0 && header) {
    const bool hidden = !header->IsVisible();
    if (hidden)
      for (int i = 0; i < header->GetCount(); ++i) header->GetItemAt(i)->SetInheritedVisible(true);
    m_owner->RefreshColumns(dx);
    if (hidden)
      for (int i = 0; i < header->GetCount(); ++i) header->GetItemAt(i)->SetInheritedVisible(false);
  }
  MoveChildrenBy(dx, dy);
}

void CListBodyUI::OnEvent(TUiEvent& event) {
  if (m_owner)
    m_owner->OnEvent(event);
  else
    CControlUI::OnEvent(event);
}

}  // namespace UiToolkit
