#pragma once
// State bits of every stateful control, and the small rules the stateful
// controls share. Images and colours are chosen by state in this order:
// disabled, pushed, hot, focused, normal.
#include "uitoolkit/core/control.h"
#include "uitoolkit/core/ui_event.h"

namespace UiToolkit {

enum {
  UISTATE_FOCUSED = 0x01,
  UISTATE_SELECTED = 0x02,
  UISTATE_DISABLED = 0x04,
  UISTATE_HOT = 0x08,
  UISTATE_PUSHED = 0x10,
  UISTATE_CAPTURED = 0x40,
};

// `state` with its focused and disabled bits taken from the control's flags.
inline UINT WithFocusAndDisabled(UINT state, const CControlUI& control) {
  state = control.IsFocused() ? (state | UISTATE_FOCUSED) : (state & ~UINT(UISTATE_FOCUSED));
  state = control.IsEnabled() ? (state & ~UINT(UISTATE_DISABLED)) : (state | UISTATE_DISABLED);
  return state;
}

// Mouse enter and leave set and clear the hot bit of an enabled control
// and repaint it. True when `type` was one of them.
inline bool TrackHotState(int type, UINT& state, CControlUI& control) {
  if (type != UIEVENT_MOUSEENTER && type != UIEVENT_MOUSELEAVE) return false;
  if (!control.IsEnabled()) return true;
  state = type == UIEVENT_MOUSEENTER ? (state | UISTATE_HOT) : (state & ~UINT(UISTATE_HOT));
  control.Invalidate();
  return true;
}

// Draws an image string over the control; one that fails is cleared, so it
// is not tried again at every paint.
inline bool DrawImageOrClear(CControlUI& control, HDC hdc, CUiString& image,
                             const wchar_t* modifier = nullptr) {
  if (control.DrawImage(hdc, image, modifier)) return true;
  image.Clear();
  return false;
}

}  // namespace UiToolkit
