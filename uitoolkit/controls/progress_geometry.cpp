#include "uitoolkit/controls/progress_geometry.h"

namespace UiToolkit {
namespace {

// a * b / c without overflow for any int inputs; c is never 0 here.
int MulDivTrunc(int a, int b, int c) {
  return static_cast<int>(static_cast<long long>(a) * b / c);
}

}  // namespace

TUiRangeValue RepairRange(int minimum, int maximum, int value) {
  TUiRangeValue r = {minimum, maximum, value};
  if (r.maximum <= r.minimum) r.maximum = r.minimum + 1;
  if (r.value > r.maximum) r.value = r.maximum;
  if (r.value < r.minimum) r.value = r.minimum;
  return r;
}

RECT ProgressFillRect(int w, int h, const TUiRangeValue& range, bool horizontal) {
  const TUiRangeValue r = RepairRange(range.minimum, range.maximum, range.value);
  const int span = r.maximum - r.minimum;
  if (horizontal) return RECT{0, 0, MulDivTrunc(w, r.value - r.minimum, span), h};
  return RECT{0, MulDivTrunc(h, r.maximum - r.value, span), w, h};
}

RECT SliderThumbRect(const RECT& control, SIZE thumb, const TUiRangeValue& range,
                     bool horizontal) {
  const TUiRangeValue r = RepairRange(range.minimum, range.maximum, range.value);
  const int span = r.maximum - r.minimum;
  const int w = control.right - control.left;
  const int h = control.bottom - control.top;
  RECT rc;
  if (horizontal) {
    rc.left = control.left + MulDivTrunc(w - thumb.cx, r.value - r.minimum, span);
    rc.top = (control.top + control.bottom - thumb.cy) / 2;
  } else {
    rc.left = (control.left + control.right - thumb.cx) / 2;
    rc.top = control.bottom - MulDivTrunc(h - thumb.cy, r.value - r.minimum, span) - thumb.cy;
  }
  rc.right = rc.left + thumb.cx;
  rc.bottom = rc.top + thumb.cy;
  return rc;
}

int SliderValueAt(const RECT& control, SIZE thumb, int minimum, int maximum, POINT pt,
                  bool horizontal) {
  const TUiRangeValue r = RepairRange(minimum, maximum, minimum);
  const int span = r.maximum - r.minimum;
  if (horizontal) {
    const int half = thumb.cx / 2;
    const int track = (control.right - control.left) - thumb.cx;
    if (pt.x >= control.right - half) return r.maximum;
    if (pt.x > control.left + half && track > 0)
      return r.minimum + MulDivTrunc(pt.x - half - control.left, span, track);
    return r.minimum;
  }
  const int half = thumb.cy / 2;
  const int track = (control.bottom - control.top) - thumb.cy;
  if (pt.y >= control.bottom - half) return r.minimum;
  if (pt.y > control.top + half && track > 0)
    return r.minimum + MulDivTrunc(span, control.bottom - half - pt.y, track);
  return r.maximum;
}

}  // namespace UiToolkit
