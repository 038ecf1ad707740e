#pragma once
// Search states of the manager's tree visitors.
#include "uitoolkit/core/ui_event.h"

namespace UiToolkit {

struct TUiTabSearch {
  CControlUI* start;
  CControlUI* lastTabStop;
  bool forward;
  bool passedStart;
};

struct TUiShortcutSearch {
  wchar_t ch;
  bool found;
};

}  // namespace UiToolkit
