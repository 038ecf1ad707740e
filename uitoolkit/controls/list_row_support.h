#pragma once
// What every kind of list row shares: the background painted from the
// owner's item style, the text colour for the row's state, the repaint
// clipped to the visible part of the list, and the row's event handling.
#include <windows.h>

#include "uitoolkit/controls/list_interfaces.h"

namespace UiToolkit {

class CControlUI;

// The state a row paints with.
struct TUiRowLook {
  int index;
  bool selected;
  bool hot;
  bool enabled;
};

// The row interface of a control, or none.
IListItemUI* ListItemOf(CControlUI* control);

// Colour fill, state image, the row's own back image (or the style's) and
// the bottom line. Images that fail to draw are cleared where they live.
void PaintListRowBackground(HDC hdc, CControlUI* row, TUiListItemStyle* style,
                            const TUiRowLook& look);

// Text colour of the style for the row's state (disabled, then selected,
// then hot win).
DWORD ListRowTextColor(const TUiListItemStyle* style, const TUiRowLook& look);

// Repaints only the part of a visible row that its containers show.
void InvalidateListRow(CControlUI* row);

// Handles an event the way a row does. Returns false when the row's base
// class should handle it (no owner to forward to).
bool HandleListRowEvent(CControlUI* row, IListItemUI* item, IListOwnerUI* owner, UINT& state,
                        TUiEvent& event);

// "Select" of every row: refused when disabled; a selecting row tells its
// owner; the row is repainted.
bool SelectListRow(CControlUI* row, int index, IListOwnerUI* owner, bool& selected, bool select);

// A row hidden while selected clears the owner's selection.
void AfterListRowVisibility(CControlUI* row, IListOwnerUI* owner, bool& selected);

}  // namespace UiToolkit
