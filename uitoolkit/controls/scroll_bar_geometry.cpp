#include "uitoolkit/controls/scroll_bar_geometry.h"

namespace UiToolkit {

namespace {

// The geometry is worked out for a vertical bar; a horizontal one runs the
// same arithmetic on the transposed rectangle and transposes the result.
RECT Transpose(const RECT& rc) { return RECT{rc.top, rc.left, rc.bottom, rc.right}; }

int TrackLength(const RECT& vertical, int thickness, bool show1, bool show2) {
  int length = vertical.bottom - vertical.top;
  return length - (show1 ? thickness : 0) - (show2 ? thickness : 0);
}

}  // namespace

TScrollBarParts LayoutScrollBar(const RECT& bounds, int thickness, bool horizontal,
                                bool show_button1, bool show_button2, int range, int pos) {
  const RECT b = horizontal ? Transpose(bounds) : bounds;
  const int t = thickness;
  const int length = b.bottom - b.top;
  const int track = TrackLength(b, t, show_button1, show_button2);
  TScrollBarParts parts = {};
  if (t < track) {
    parts.button1 = show_button1 ? RECT{b.left, b.top, b.left + t, b.top + t}
                                 : RECT{b.left, b.top, b.left, b.top};
    parts.button2 = show_button2 ? RECT{b.left, b.bottom - t, b.left + t, b.bottom}
                                 : RECT{b.left, b.bottom, b.left, b.bottom};
    parts.thumb.left = b.left;
    parts.thumb.right = b.left + t;
    if (range <= 0) {
      parts.thumb.top = parts.button1.bottom;
      parts.thumb.bottom = parts.button2.top;
    } else {
      int thumb = static_cast<int>(static_cast<long long>(length) * track / (length + range));
      if (thumb < t) thumb = t;
      parts.thumb.top = static_cast<int>(static_cast<long long>(track - thumb) * pos / range) +
                        parts.button1.bottom;
      parts.thumb.bottom = parts.thumb.top + thumb;
      if (parts.thumb.bottom > parts.button2.top) {
        parts.thumb.top = parts.button2.top - thumb;
        parts.thumb.bottom = parts.button2.top;
      }
    }
  } else {
    int half = length / 2;
    if (half > t) half = t;
    parts.button1 = show_button1 ? RECT{b.left, b.top, b.left + t, b.top + half}
                                 : RECT{b.left, b.top, b.left, b.top};
    parts.button2 = show_button2 ? RECT{b.left, b.bottom - half, b.left + t, b.bottom}
                                 : RECT{b.left, b.bottom, b.left, b.bottom};
    // thumb stays all zeros: neither painted nor hit
  }
  if (horizontal) {
    parts.button1 = Transpose(parts.button1);
    parts.button2 = Transpose(parts.button2);
    parts.thumb = Transpose(parts.thumb);
  }
  return parts;
}

int ThumbTravel(const RECT& bounds, int thickness, bool horizontal, bool show_button1,
                bool show_button2, const RECT& thumb) {
  if (::IsRectEmpty(&thumb)) return 0;  // a bar too short for a thumb
  const RECT b = horizontal ? Transpose(bounds) : bounds;
  const RECT th = horizontal ? Transpose(thumb) : thumb;
  int travel = TrackLength(b, thickness, show_button1, show_button2) - (th.bottom - th.top);
  return travel > 0 ? travel : 0;
}

int DragToPositionDelta(int pixels, int range, int travel) {
  if (travel <= 0) return 0;
  return static_cast<int>(static_cast<long long>(pixels) * range / travel);
}

}  // namespace UiToolkit
