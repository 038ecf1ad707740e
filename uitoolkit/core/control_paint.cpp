// Painting of the base control: back colours and gradients, icon, back
// image and borders.
#include "uitoolkit/core/control.h"
#include "uitoolkit/core/ui_clip.h"
#include "uitoolkit/core/ui_render.h"

namespace UiToolkit {

DWORD CControlUI::AdjustColor(DWORD color) const {
  return m_colorHsl ? CUiRender::ShiftColorHsl(color, 180, 100, 100) : color;
}

void CControlUI::Paint(HDC hdc, const RECT& dirty) {
  if (!::IntersectRect(&m_paintRect, &dirty, &m_bounds)) return;
  CUiClip clip;
  if (m_borderRound.cx > 0 || m_borderRound.cy > 0)
    CUiClip::ClipRoundRect(clip, hdc, m_paintRect, m_bounds, m_borderRound.cx, m_borderRound.cy);
  PaintBackColor(hdc);
  if (m_icon) PaintIcon(hdc);
  PaintBackImage(hdc);
  PaintStateImage(hdc);
  PaintText(hdc);
  PaintBorder(hdc);
}

void CControlUI::PaintBackColor(HDC hdc) {
  if (m_bkColor1 == 0) return;
  DWORD c1 = AdjustColor(m_bkColor1);
  if (m_bkColor2 == 0) {
    CUiRender::FillColor(c1, hdc, (c1 >> 24) == 0xFF ? m_paintRect : RECT(m_bounds));
    return;
  }
  DWORD c2 = AdjustColor(m_bkColor2);
  if (m_bkColor3 == 0) {
    CUiRender::FillGradient(m_bounds, hdc, c1, c2, 16);
    return;
  }
  DWORD c3 = AdjustColor(m_bkColor3);
  int middle = (m_bounds.top + m_bounds.bottom) / 2;
  RECT upper = {m_bounds.left, m_bounds.top, m_bounds.right, middle};
  RECT lower = {m_bounds.left, middle, m_bounds.right, m_bounds.bottom};
  CUiRender::FillGradient(upper, hdc, c1, c2, 8);
  CUiRender::FillGradient(lower, hdc, c2, c3, 8);
}

void CControlUI::PaintBackImage(HDC hdc) {
  if (m_bkImage.IsEmpty()) return;
  if (!DrawImage(hdc, m_bkImage)) m_bkImage.Clear();
}

void CControlUI::PaintStateImage(HDC) {}
void CControlUI::PaintText(HDC) {}
void CControlUI::PaintOverlay(HDC, const RECT&) {}

void CControlUI::PaintBorder(HDC hdc) {
  if (m_borderColor == 0 && m_focusBorderColor == 0) return;
  DWORD border = AdjustColor(m_borderColor);
  DWORD focus = AdjustColor(m_focusBorderColor);
  bool use_focus = m_focused && m_focusBorderColor != 0;
  if (m_borderSize > 0 && (m_borderRound.cx > 0 || m_borderRound.cy > 0)) {
    CUiRender::StrokeRoundRect(use_focus ? focus : border, m_bounds, hdc, m_borderSize,
                               m_borderRound.cx, m_borderRound.cy);
    return;
  }
  if (use_focus && m_borderSize > 0) {
    CUiRender::StrokeRect(focus, m_bounds, hdc, m_borderSize);
    return;
  }
  const RECT& b = m_bounds;
  if (m_borderSides.left > 0 || m_borderSides.top > 0 || m_borderSides.right > 0 ||
      m_borderSides.bottom > 0) {
    if (m_borderSides.left > 0)
      CUiRender::StrokeLine(hdc, RECT{b.left, b.top, b.left, b.bottom}, m_borderSides.left, border,
                            m_borderStyle);
    if (m_borderSides.top > 0)
      CUiRender::StrokeLine(hdc, RECT{b.left, b.top, b.right, b.top}, m_borderSides.top, border,
                            m_borderStyle);
    if (m_borderSides.right > 0)
      CUiRender::StrokeLine(hdc, RECT{b.right, b.top, b.right, b.bottom}, m_borderSides.right,
                            border, m_borderStyle);
    if (m_borderSides.bottom > 0)
      CUiRender::StrokeLine(hdc, RECT{b.left, b.bottom, b.right, b.bottom}, m_borderSides.bottom,
                            border, m_borderStyle);
    return;
  }
  if (m_borderSize > 0) CUiRender::StrokeRect(border, m_bounds, hdc, m_borderSize);
}

void CControlUI::PaintIcon(HDC hdc) {
  if (!m_icon) return;
  const RECT& b = m_bounds;
  int bw = b.right - b.left, bh = b.bottom - b.top;
  // Centred at its own size; a dimension the icon does not fit in starts at
  // the bounds' edge and is clipped to them rather than scaled.
  int x = m_iconSize.cx < bw ? b.left + (bw - m_iconSize.cx) / 2 : b.left;
  int y = m_iconSize.cy < bh ? b.top + (bh - m_iconSize.cy) / 2 : b.top;
  CUiClip clip;
  CUiClip::ClipRect(clip, hdc, m_bounds);
  ::DrawIconEx(hdc, x, y, m_icon, m_iconSize.cx, m_iconSize.cy, 0, nullptr, DI_NORMAL);
}

}  // namespace UiToolkit
