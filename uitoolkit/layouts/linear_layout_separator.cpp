// The separator band of the row and the column: dragging it resizes the
// layout itself, live or through a translucent tracker band.
#include "uitoolkit/core/attribute_values.h"
#include "uitoolkit/core/ui_render.h"
#include "uitoolkit/core/window_manager.h"
#include "uitoolkit/layouts/linear_layout.h"

namespace UiToolkit {

namespace {
const DWORD kTrackerColor = 0xAA000000;
}  // namespace

RECT CLinearLayoutUI::SeparatorBand(const RECT& rc) const {
  RECT band = rc;
  if (m_vertical) {
    if (m_sepSize >= 0)
      band.top = rc.bottom - m_sepSize;
    else
      band.bottom = rc.top - m_sepSize;
  } else {
    if (m_sepSize >= 0)
      band.left = rc.right - m_sepSize;
    else
      band.right = rc.left - m_sepSize;
  }
  return band;
}

void CLinearLayoutUI::SetSeparatorImmediate(bool on) {
  if (on && IsDragging() && m_manager) m_manager->RemovePostPainter(this);
  m_immediate = on;
}

void CLinearLayoutUI::DragTo(POINT pt) {
  const int coord = m_vertical ? pt.y : pt.x;
  const int d = coord - (m_vertical ? m_lastMouse.y : m_lastMouse.x);
  m_lastMouse = pt;
  const int size = m_sepSize > 0 ? m_sepSize : -m_sepSize;
  LONG& lo = m_vertical ? m_tracked.top : m_tracked.left;
  LONG& hi = m_vertical ? m_tracked.bottom : m_tracked.right;
  // Only a pointer on the band's side of the edge drags it.
  if (m_sepSize > 0) {
    if ((d > 0 && coord < hi - size) || (d < 0 && coord > hi)) return;
  } else {
    if ((d < 0 && coord > lo + size) || (d > 0 && coord < lo)) return;
  }
  const int min = m_vertical ? GetMinHeight() : GetMinWidth();
  const int max = m_vertical ? GetMaxHeight() : GetMaxWidth();
  const int old_len = hi - lo;
  int len = m_sepSize > 0 ? old_len + d : old_len - d;
  if (len < min) len = min;
  if (len > max) len = max;
  if (len == old_len) return;  // already at the limit
  const RECT old_band = SeparatorBand(m_tracked);
  if (m_sepSize > 0)
    hi = lo + len;
  else
    lo = hi - len;
  (m_vertical ? m_fixedSize.cy : m_fixedSize.cx) = len;
  if (m_immediate) {
    m_bounds = m_tracked;
    RequestParentRelayout();
  } else if (m_manager) {
    m_manager->Invalidate(old_band);
    m_manager->Invalidate(SeparatorBand(m_tracked));
    m_manager->Invalidate(SeparatorBand(m_bounds));
  }
}

void CLinearLayoutUI::OnEvent(TUiEvent& event) {
  if (m_sepSize != 0) {
    switch (event.Type) {
      case UIEVENT_BUTTONDOWN: {
        if (!IsEnabled()) break;
        RECT band = SeparatorBand(m_bounds);
        if (!::PtInRect(&band, event.ptMouse)) break;
        m_sepState |= kStateDragging;
        m_lastMouse = event.ptMouse;
        m_tracked = m_bounds;
        if (!m_immediate && m_manager) m_manager->AddPostPainter(this);
        return;
      }
      case UIEVENT_MOUSEMOVE:
        if (!IsDragging()) break;
        DragTo(event.ptMouse);
        return;
      case UIEVENT_BUTTONUP:
        if (!IsDragging()) break;
        m_sepState &= ~kStateDragging;
        m_bounds = m_tracked;
        if (!m_immediate && m_manager) m_manager->RemovePostPainter(this);
        RequestParentRelayout();
        return;
      case UIEVENT_SETCURSOR: {
        RECT band = SeparatorBand(m_bounds);
        if (!IsEnabled() || !::PtInRect(&band, event.ptMouse)) break;
        ::SetCursor(::LoadCursorW(nullptr, m_vertical ? IDC_SIZENS : IDC_SIZEWE));
        return;
      }
      default:
        break;
    }
  }
  CContainerUI::OnEvent(event);
}

void CLinearLayoutUI::PaintOverlay(HDC hdc, const RECT&) {
  if (!IsDragging() || m_immediate) return;
  CUiRender::FillColor(kTrackerColor, hdc, SeparatorBand(m_tracked));
}

void CLinearLayoutUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
  if (name && value && wcscmp(name, L"sepimm") == 0)
    SetSeparatorImmediate(ParseBoolValue(value));
  else
    CContainerUI::ApplyAttribute(name, value);
}

}  // namespace UiToolkit
