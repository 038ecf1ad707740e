#pragma once
// A grid: equal cells in rows, each child centred in its cell; the column
// count follows from the item width when one is set.
#include "uitoolkit/controls/container.h"

namespace UiToolkit {

class CTileLayoutUI : public CContainerUI {
 public:
  CTileLayoutUI();
  const wchar_t* ClassName() const override;
  LPVOID FindInterface(const wchar_t* name) override;

  SIZE GetItemSize() const { return m_itemSize; }
  void SetItemSize(SIZE size);
  int GetColumns() const { return m_columns; }
  // Ignored below 1.
  void SetColumns(int columns);

  void SetBounds(RECT rc) override;
  // "itemsize" (cx,cy) and "columns".
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;

 private:
  // The tallest child (with its vertical padding) of the row that starts
  // at child `first`, for cells `cell_width` wide.
  int RowHeight(int first, int cell_width) const;

  SIZE m_itemSize;
  int m_columns;
};

}  // namespace UiToolkit
