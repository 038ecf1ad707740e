#pragma once
// A child's size kept within its minimum and maximum, as every layout
// applies them.
#include "uitoolkit/core/control.h"

namespace UiToolkit {

inline int ClampWidth(const CControlUI* c, int w) {
  if (w < c->GetMinWidth()) w = c->GetMinWidth();
  return w > c->GetMaxWidth() ? c->GetMaxWidth() : w;
}

inline int ClampHeight(const CControlUI* c, int h) {
  if (h < c->GetMinHeight()) h = c->GetMinHeight();
  return h > c->GetMaxHeight() ? c->GetMaxHeight() : h;
}

inline SIZE ClampSize(const CControlUI* c, SIZE sz) {
  return SIZE{ClampWidth(c, sz.cx), ClampHeight(c, sz.cy)};
}

}  // namespace UiToolkit
