#pragma once
// The row of column captions above a list's body: a horizontal layout of
// header items, whose rectangles become the list's column rectangles.
#include "uitoolkit/layouts/horizontal_layout.h"

namespace UiToolkit {

class CListHeaderUI : public CHorizontalLayoutUI {
 public:
  CListHeaderUI();
  const wchar_t* ClassName() const override;
  LPVOID FindInterface(const wchar_t* name) override;
  // Width: the sum of the items' desired widths (0 for items without a
  // fixed width). Height: the fixed height, else the tallest item or the
  // default font's height + 6, whichever is larger.
  SIZE MeasureSize(SIZE available) override;
};

}  // namespace UiToolkit
