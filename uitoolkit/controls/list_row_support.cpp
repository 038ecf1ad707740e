#include "uitoolkit/controls/list_row_support.h"
#include "uitoolkit/core/ui_event.h"

#include "uitoolkit/controls/control_state.h"
#include "uitoolkit/controls/container.h"
#include "uitoolkit/controls/scroll_bar.h"
#include "uitoolkit/core/control.h"
#include "uitoolkit/core/ui_rect.h"
#include "uitoolkit/core/ui_render.h"
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

namespace {

DWORD Adjusted(const CControlUI* row, DWORD color) {
  return row->IsColorHsl() ? CUiRender::ShiftColorHsl(color, 180, 100, 100) : color;
}

// Draws an image of the style; one that fails is cleared for every row.
bool DrawStyleImage(HDC hdc, CControlUI* row, CUiString& image) {
  if (image.IsEmpty()) return false;
  if (row->DrawImage(hdc, image)) return true;
  image.Clear();
  return false;
}


}  // namespace

IListItemUI* ListItemOf(CControlUI* control) {
  return control ? static_cast<IListItemUI*>(control->FindInterface(L"ListItem")) : nullptr;
}

void PaintListRowBackground(HDC hdc, CControlUI* row, TUiListItemStyle* style,
                            const TUiRowLook& look) {
  if (!style) return;
  const bool even = !style->bAlternateBk || look.index % 2 == 0;
  DWORD color = even ? style->dwBkColor : 0;
  if (look.hot) color = style->dwHotBkColor;
  if (look.selected) color = style->dwSelectedBkColor;
  if (!look.enabled) color = style->dwDisabledBkColor;
  const RECT& rc = row->GetBounds();
  if (color != 0) CUiRender::FillColor(Adjusted(row, color), hdc, rc);

  if (!look.enabled && DrawStyleImage(hdc, row, style->sDisabledImage)) return;
  if (look.selected && DrawStyleImage(hdc, row, style->sSelectedImage)) return;
  if (look.hot && DrawStyleImage(hdc, row, style->sHotImage)) return;

  if (!row->GetBkImage().IsEmpty()) {
    if (even && !row->DrawImage(hdc, row->GetBkImage())) row->SetBkImage(L"");
  } else {
    DrawStyleImage(hdc, row, style->sBkImage);
  }

  if (style->dwLineColor != 0) {
    RECT line = {rc.left, rc.bottom - 1, rc.right, rc.bottom - 1};
    CUiRender::StrokeLine(hdc, line, 1, Adjusted(row, style->dwLineColor), PS_SOLID);
  }
}

DWORD ListRowTextColor(const TUiListItemStyle* style, const TUiRowLook& look) {
  DWORD color = style->dwTextColor;
  if (look.hot) color = style->dwHotTextColor;
  if (look.selected) color = style->dwSelectedTextColor;
  if (!look.enabled) color = style->dwDisabledTextColor;
  return color;
}

void InvalidateListRow(CControlUI* row) {
  if (!row->IsVisible()) return;
  CControlUI* parent = row->GetParent();
  CContainerUI* container =
      parent ? static_cast<CContainerUI*>(parent->FindInterface(L"Container")) : nullptr;
  if (!container) {
    row->Invalidate();
    return;
  }
  // The parent's client area: its bounds less the inset and the bars it shows.
  RECT client = container->GetBounds();
  RECT inset = container->GetInset();
  client.left += inset.left;
  client.top += inset.top;
  client.right -= inset.right;
  client.bottom -= inset.bottom;
  CScrollBarUI* vbar = container->GetVerticalScrollBar();
  if (vbar && vbar->IsVisible()) client.right -= vbar->GetFixedWidth();
  CScrollBarUI* hbar = container->GetHorizontalScrollBar();
  if (hbar && hbar->IsVisible()) client.bottom -= hbar->GetFixedHeight();
  CUiRect area = row->GetBounds();
  if (!area.Intersect(client)) return;
  for (CControlUI* p = parent->GetParent(); p; p = p->GetParent()) {
    if (!area.Intersect(p->GetBounds())) return;
  }
  CWindowManagerUI* manager = row->GetManager();
  if (manager) manager->Invalidate(area);
}

bool HandleListRowEvent(CControlUI* row, IListItemUI* item, IListOwnerUI* owner, UINT& state,
                        TUiEvent& event) {
  if (!row->IsMouseEnabled() && IsMouseEvent(event.Type)) {
    if (!owner) return false;
    owner->ForwardEvent(event);
    return true;
  }
  CWindowManagerUI* manager = row->GetManager();
  switch (event.Type) {
    case UIEVENT_DBLCLICK:
      if (row->IsEnabled()) {
        row->Activate();
        InvalidateListRow(row);
      }
      return true;
    case UIEVENT_KEYDOWN:
      if (event.chKey == VK_RETURN && row->IsEnabled()) {
        row->Activate();
        InvalidateListRow(row);
        return true;
      }
      break;
    case UIEVENT_MOUSEMOVE:
    case UIEVENT_BUTTONUP:
      return true;
    case UIEVENT_MOUSELEAVE:
      if (state & UISTATE_HOT) {
        state &= ~UISTATE_HOT;
        InvalidateListRow(row);
      }
      return true;
    case UIEVENT_MOUSEENTER:
      if (row->IsEnabled()) {
        state |= UISTATE_HOT;
        InvalidateListRow(row);
      }
      return true;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_RBUTTONDOWN:
      if (row->IsEnabled()) {
        // Sent before the selection changes: a receiver still sees the
        // previous one.
        if (manager) manager->EmitNotify(row, UI_NOTIFY_ITEMCLICK);
        item->Select(true);
        InvalidateListRow(row);
      }
      return true;
    default:
      break;
  }
  if (!owner) return false;
  owner->ForwardEvent(event);
  return true;
}

bool SelectListRow(CControlUI* row, int index, IListOwnerUI* owner, bool& selected, bool select) {
  if (!row->IsEnabled()) return false;
  if (selected == select) return true;
  selected = select;
  if (select && owner) owner->SelectItem(index, false);
  InvalidateListRow(row);
  return true;
}

void AfterListRowVisibility(CControlUI* row, IListOwnerUI* owner, bool& selected) {
  if (row->IsVisible() || !selected) return;
  selected = false;
  if (owner) owner->SelectItem(-1, false);
}

}  // namespace UiToolkit
