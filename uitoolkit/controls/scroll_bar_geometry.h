#pragma once
// Scroll bar arithmetic that needs no window: where the arrow buttons and
// the thumb sit, and how far a thumb drag moves the position.
#include <windows.h>

namespace UiToolkit {

struct TScrollBarParts {
  RECT button1;  // up or left
  RECT button2;  // down or right
  RECT thumb;    // all zeros when the bar is too short for one
};

// `bounds` of the bar; `thickness` its fixed width (vertical) or height
// (horizontal).
TScrollBarParts LayoutScrollBar(const RECT& bounds, int thickness, bool horizontal,
                                bool show_button1, bool show_button2, int range, int pos);

// How far the thumb can travel: the track (the bar less its shown
// buttons) less the thumb's own length. 0 when it cannot move.
int ThumbTravel(const RECT& bounds, int thickness, bool horizontal, bool show_button1,
                bool show_button2, const RECT& thumb);

// The position change for a thumb dragged `pixels` along a travel of
// `travel` pixels over `range`; 0 when the thumb cannot travel.
int DragToPositionDelta(int pixels, int range, int travel);

}  // namespace UiToolkit
