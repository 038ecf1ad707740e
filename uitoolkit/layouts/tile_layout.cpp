#include "uitoolkit/layouts/tile_layout.h"

#include "uitoolkit/core/attribute_values.h"
#include "uitoolkit/layouts/size_limits.h"

namespace UiToolkit {

namespace {

bool Placed(const CControlUI* c) { return c->IsVisible() && !c->IsFloat(); }

}  // namespace

CTileLayoutUI::CTileLayoutUI() : m_columns(1) { m_itemSize.cx = m_itemSize.cy = 0; }

const wchar_t* CTileLayoutUI::ClassName() const { return L"TileLayoutUI"; }

LPVOID CTileLayoutUI::FindInterface(const wchar_t* name) {
  if (name && wcscmp(name, L"TileLayout") == 0) return this;
  return CContainerUI::FindInterface(name);
}

void CTileLayoutUI::SetItemSize(SIZE size) {
  if (size.cx == m_itemSize.cx && size.cy == m_itemSize.cy) return;
  m_itemSize = size;
  RequestRelayout();
}

void CTileLayoutUI::SetColumns(int columns) {
  if (columns < 1) return;
  m_columns = columns;
  RequestRelayout();
}

int CTileLayoutUI::RowHeight(int first, int cell_width) const {
  int height = 0;
  for (int i = first, k = 0; i < GetCount() && k < m_columns; ++i) {
    CControlUI* c = GetItemAt(i);
    if (!Placed(c)) continue;
    RECT pad = c->GetPadding();
    bool edge = k == 0 || k == m_columns - 1;
    int avail = cell_width - pad.right - pad.left - (edge ? m_childPadding / 2 : m_childPadding);
    avail = ClampWidth(c, avail);
    SIZE sz = c->MeasureSize(SIZE{avail, 9999});
    int h = ClampHeight(c, sz.cy);
    if (h + pad.top + pad.bottom > height) height = h + pad.top + pad.bottom;
    ++k;
  }
  return height;
}

void CTileLayoutUI::SetBounds(RECT rc) {
  RECT inner;
  if (!StartLayout(rc, &inner)) return;
  const int width = inner.right - inner.left;
  if (m_itemSize.cx > 0) m_columns = width / m_itemSize.cx;
  if (m_columns < 1) m_columns = 1;
  const int cell_width = (width + GetScrollRange().cx) / m_columns;

  const SIZE scroll = GetScrollPos();
  const int row_start = inner.left - scroll.cx;
  int y = inner.top - scroll.cy, x = row_start, row_height = 0, n = 0;
  int last_bottom = inner.top;
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* child = GetItemAt(i);
    if (!child->IsVisible()) continue;
    if (child->IsFloat()) {
      PlaceFloatChild(i);
      continue;
    }
    const int column = n % m_columns;
    const int cell_right = x + cell_width;
    if (column == 0) row_height = RowHeight(i, cell_width);
    const RECT pad = child->GetPadding();
    const int half_gap = m_childPadding / 2;
    RECT cell = {x + pad.left + (column == 0 ? 0 : half_gap), y + pad.top,
                 cell_right - pad.right - (column == m_columns - 1 ? 0 : half_gap),
                 y + row_height};
    SIZE sz = child->MeasureSize(SIZE{cell.right - cell.left, row_height - pad.top});
    if (sz.cx == 0) sz.cx = cell.right - cell.left;
    if (sz.cy == 0) sz.cy = row_height - pad.top;
    sz = ClampSize(child, sz);
    const int left = (cell.left + cell.right - sz.cx) / 2;
    const int top = (cell.top + cell.bottom - sz.cy) / 2;
    child->SetBounds(RECT{left, top, left + sz.cx, top + sz.cy});
    last_bottom = cell.bottom;
    if (++n % m_columns != 0) {
      x = cell_right;
    } else {
      y += row_height + m_childPadding;
      x = row_start;
    }
  }
  UpdateScrollBars(inner, 0, last_bottom - inner.top + scroll.cy);
}

void CTileLayoutUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
  if (name && value && wcscmp(name, L"itemsize") == 0) {
    SetItemSize(ParseSizeValue(value));
  } else if (name && value && wcscmp(name, L"columns") == 0) {
    SetColumns(static_cast<int>(wcstol(value, nullptr, 10)));
  } else {
    CContainerUI::ApplyAttribute(name, value);
  }
}

}  // namespace UiToolkit
