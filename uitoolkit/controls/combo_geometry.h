#pragma once
// The arithmetic of combos that needs no window: where the drop-down
// opens, and how a combo box cuts its arrow out of a strip of five state
// pictures (normal, hot, pushed, focused, disabled, left to right).
#include <windows.h>

#include "uitoolkit/core/ui_string.h"

namespace UiToolkit {

// Width of the drop-down for a combo at `combo`: the drop box width when it
// is above 0, else the combo's own.
int ComboDropWidth(const RECT& combo, SIZE dropSize);

// The drop-down's screen rectangle for a combo whose screen rectangle is
// `combo`, with items `itemsHeight` tall together: below the combo, as
// tall as the items plus 4 but no taller than the drop box height (and
// never less than 0); when that would pass the bottom of the work area
// `work`, the same height above the combo instead.
RECT ComboDropRect(const RECT& combo, SIZE dropSize, int itemsHeight, const RECT& work);

// The part of the arrow strip a state paints: disabled 4, pushed 2, hot 1,
// focused 3, else 0 (state bits as the stateful controls keep them).
int ComboArrowPart(UINT state);

// Takes the first "source" pair out of an arrow image string. False (and
// nothing written) when there is none, its four numbers do not read, or its
// right is not above its left: such a strip cannot be cut into parts.
bool SplitArrowSource(const wchar_t* image, RECT* source, CUiString* rest);

// The drawing modifier that paints part `part` of the strip `source` into
// `dest` (relative to the control).
CUiString ArrowPartModifier(const RECT& source, int part, const RECT& dest);

}  // namespace UiToolkit
