// Painting of the scroll bar: background, buttons, thumb and the grip on it.
#include "uitoolkit/controls/scroll_bar.h"
#include "uitoolkit/core/ui_render.h"

namespace UiToolkit {

namespace {

// Marks a part that has no image, so a skin without one still shows it.
const DWORD kMissingImageFrame = 0xFF85E4FF;

bool IsAllZero(const RECT& rc) { return !rc.left && !rc.top && !rc.right && !rc.bottom; }

CScrollBarUI::State StateOf(UINT bits) {
  if (bits & CScrollBarUI::kStateDisabled) return CScrollBarUI::kDisabled;
  if (bits & CScrollBarUI::kStatePushed) return CScrollBarUI::kPushed;
  if (bits & CScrollBarUI::kStateHot) return CScrollBarUI::kHot;
  return CScrollBarUI::kNormal;
}

UINT FollowEnabled(UINT bits, bool enabled) {
  return enabled ? (bits & ~CScrollBarUI::kStateDisabled) : (bits | CScrollBarUI::kStateDisabled);
}

}  // namespace

bool CScrollBarUI::DrawStateImage(HDC hdc, Part part, UINT state, const wchar_t* modifier) {
  // An image that fails to draw is cleared so that it is not tried again.
  State which = StateOf(state);
  if (which != kNormal && !m_images[part][which].IsEmpty()) {
    if (DrawImage(hdc, m_images[part][which], modifier)) return true;
    m_images[part][which].Clear();
  }
  if (!m_images[part][kNormal].IsEmpty()) {
    if (DrawImage(hdc, m_images[part][kNormal], modifier)) return true;
    m_images[part][kNormal].Clear();
  }
  return false;
}

void CScrollBarUI::PaintPart(HDC hdc, Part part, const RECT& rc, UINT state, bool frame) {
  m_modifier.Format(L"dest='%d,%d,%d,%d'", rc.left - m_bounds.left, rc.top - m_bounds.top,
                    rc.right - m_bounds.left, rc.bottom - m_bounds.top);
  if (DrawStateImage(hdc, part, state, m_modifier)) return;
  if (frame) CUiRender::StrokeRect(kMissingImageFrame, rc, hdc, 2);
}

void CScrollBarUI::PaintRail(HDC hdc) {
  int t = m_horizontal ? m_fixedSize.cy : m_fixedSize.cx;
  RECT rail = m_thumb;
  if (m_horizontal) {
    int centre = (m_thumb.left + m_thumb.right) / 2;
    rail.left = centre - t / 2;
    rail.right = centre + t / 2;
  } else {
    int centre = (m_thumb.top + m_thumb.bottom) / 2;
    rail.top = centre - t / 2;
    rail.bottom = centre + t / 2;
  }
  PaintPart(hdc, kRail, rail, m_thumbState, false);
}

void CScrollBarUI::Paint(HDC hdc, const RECT& dirty) {
  if (!::IntersectRect(&m_paintRect, &dirty, &m_bounds)) return;
  const bool enabled = IsEnabled();
  m_thumbState = FollowEnabled(m_thumbState, enabled);
  DrawStateImage(hdc, kBack, m_thumbState, nullptr);
  if (m_showButton1) {
    m_button1State = FollowEnabled(m_button1State, enabled);
    PaintPart(hdc, kButton1, m_button1, m_button1State, true);
  }
  if (m_showButton2) {
    m_button2State = FollowEnabled(m_button2State, enabled);
    PaintPart(hdc, kButton2, m_button2, m_button2State, true);
  }
  if (IsAllZero(m_thumb)) return;
  PaintPart(hdc, kThumb, m_thumb, m_thumbState, true);
  PaintRail(hdc);
}

}  // namespace UiToolkit
