#include "uitoolkit/core/ui_clip.h"

namespace UiToolkit {

void CUiClip::Save(HDC hdc, const RECT& rect) {
  RECT box;
  ::GetClipBox(hdc, &box);
  m_saved = ::CreateRectRgnIndirect(&box);
  m_rect = rect;
  m_dc = hdc;
}

void CUiClip::ClipRect(CUiClip& guard, HDC hdc, const RECT& rect) {
  guard.Save(hdc, rect);
  guard.m_region = ::CreateRectRgnIndirect(&rect);
  ::ExtSelectClipRgn(hdc, guard.m_region, RGN_AND);
}

void CUiClip::ClipRoundRect(CUiClip& guard, HDC hdc, const RECT& rect, const RECT& box, int width,
                            int height) {
  guard.Save(hdc, rect);
  guard.m_region = ::CreateRectRgnIndirect(&rect);
  HRGN round = ::CreateRoundRectRgn(box.left, box.top, box.right + 1, box.bottom + 1, width, height);
  ::CombineRgn(guard.m_region, guard.m_region, round, RGN_AND);
  ::DeleteObject(round);
  ::ExtSelectClipRgn(hdc, guard.m_region, RGN_AND);
}

CUiClip::~CUiClip() {
  if (m_dc) ::SelectClipRgn(m_dc, m_saved);
  if (m_region) ::DeleteObject(m_region);
  if (m_saved) ::DeleteObject(m_saved);
}

}  // namespace UiToolkit
