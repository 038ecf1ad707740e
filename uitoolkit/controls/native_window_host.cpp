#include "uitoolkit/controls/native_window_host.h"

#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

bool HandleNativeHostEvent(CControlUI& control, bool window_open, const TUiEvent& event) {
  switch (event.Type) {
    case UIEVENT_SETCURSOR:
      if (!control.IsEnabled()) return false;
      ::SetCursor(::LoadCursorW(nullptr, IDC_IBEAM));
      return true;
    case UIEVENT_WINDOWSIZE:
      if (window_open && control.GetManager()) control.GetManager()->FocusOnNextPaint(&control);
      return false;
    case UIEVENT_SCROLLWHEEL:
      return window_open;
    default:
      return false;
  }
}

}  // namespace UiToolkit
