#include "uitoolkit/core/ui_rect.h"

namespace UiToolkit {

CUiRect::CUiRect() { left = top = right = bottom = 0; }

CUiRect::CUiRect(const RECT& rc) {
  left = rc.left;
  top = rc.top;
  right = rc.right;
  bottom = rc.bottom;
}

CUiRect::CUiRect(LONG l, LONG t, LONG r, LONG b) {
  left = l;
  top = t;
  right = r;
  bottom = b;
}

void CUiRect::Empty() { left = top = right = bottom = 0; }

void CUiRect::Union(const RECT& other) {
  if (other.left < left) left = other.left;
  if (other.top < top) top = other.top;
  if (other.right > right) right = other.right;
  if (other.bottom > bottom) bottom = other.bottom;
}

bool CUiRect::Intersect(const RECT& other) {
  RECT out;
  if (!::IntersectRect(&out, this, &other)) {
    Empty();
    return false;
  }
  *static_cast<RECT*>(this) = out;
  return true;
}

void CUiRect::Offset(int dx, int dy) { ::OffsetRect(this, dx, dy); }

bool CUiRect::Contains(POINT pt) const { return ::PtInRect(this, pt) != FALSE; }

}  // namespace UiToolkit
