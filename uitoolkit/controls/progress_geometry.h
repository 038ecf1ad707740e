#pragma once
// Arithmetic of progress bars and sliders: the filled part, the thumb and
// the value under a point. No window is needed; the controls and the tests
// share these.
#include <windows.h>

namespace UiToolkit {

// Limits and value as a bar paints them: a maximum at or below the minimum
// becomes minimum + 1, and the value is pulled inside the limits.
struct TUiRangeValue {
  int minimum;
  int maximum;
  int value;
};
TUiRangeValue RepairRange(int minimum, int maximum, int value);

// The filled part relative to the control (w by h): from the left when
// horizontal, from the bottom otherwise. Integer arithmetic, truncating.
RECT ProgressFillRect(int w, int h, const TUiRangeValue& range, bool horizontal);

// The thumb, absolute, for a control at `control`.
RECT SliderThumbRect(const RECT& control, SIZE thumb, const TUiRangeValue& range,
                     bool horizontal);

// The value a point stands for: along x when horizontal (left is the
// minimum), along y otherwise (bottom is the minimum). Points within half a
// thumb of either end give that end's value.
int SliderValueAt(const RECT& control, SIZE thumb, int minimum, int maximum, POINT pt,
                  bool horizontal);

}  // namespace UiToolkit
