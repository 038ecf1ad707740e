#pragma once
// The item-style attributes that a list and a combo share ("itemfont",
// "itemalign", "itemtextpadding", the item colours and images,
// "itemaltbk", "itemshowhtml"), read into a TUiListItemStyle.
#include "uitoolkit/controls/list_interfaces.h"

namespace UiToolkit {

// What the owner of the style does after an attribute was applied.
enum TUiItemStyleChange {
  UIITEMSTYLE_UNKNOWN = 0,  // not an item-style attribute: nothing changed
  UIITEMSTYLE_STORED,       // stored; nothing to redraw
  UIITEMSTYLE_REPAINT,      // the rows look different
  UIITEMSTYLE_RELAYOUT,     // the rows may measure differently
};

// Colours are hexadecimal after an optional "#"; images are image strings.
TUiItemStyleChange ApplyItemStyleAttribute(TUiListItemStyle& style, const wchar_t* name,
                                           const wchar_t* value);

}  // namespace UiToolkit
