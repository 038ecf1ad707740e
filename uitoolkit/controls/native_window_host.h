#pragma once
// What the controls that place a native window over themselves while they
// are edited (the edit box, the date-time) do alike with some events.
#include "uitoolkit/core/control.h"

namespace UiToolkit {

// The I-beam over an enabled control; the focus taken again once laid out
// when the window is resized under an open native window (which reopens
// it in its new place); no wheel while it is open. True when the event
// ends there; false when the control's own handling goes on.
bool HandleNativeHostEvent(CControlUI& control, bool window_open, const TUiEvent& event);

}  // namespace UiToolkit
