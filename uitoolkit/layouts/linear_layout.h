#pragma once
// What the row and the column share: sizing their children along one axis
// (fixed children keep their size, automatic ones share what is left) and
// a draggable separator band on one edge that resizes the layout itself.
#include <windows.h>

#include "uitoolkit/controls/container.h"

namespace UiToolkit {

class CLinearLayoutUI : public CContainerUI {
 public:
  // Set while a separator drag is in progress.
  enum { kStateDragging = 0x40 };

  UINT CapabilityFlags() const override;
  void SetBounds(RECT rc) override;
  void OnEvent(TUiEvent& event) override;
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
  void PaintOverlay(HDC hdc, const RECT& dirty) override;

  // Signed: 0 none; positive a band that wide at the right (column: bottom)
  // edge; negative at the left (column: top) edge.
  int GetSeparatorSize() const { return m_sepSize; }
  void SetSeparatorSize(int size) { m_sepSize = size; }
  bool IsSeparatorImmediate() const { return m_immediate; }
  // Live resizing while dragging instead of a tracker band.
  void SetSeparatorImmediate(bool on);
  bool IsDragging() const { return (m_sepState & kStateDragging) != 0; }
  const RECT& GetTrackedRect() const { return m_tracked; }

 protected:
  explicit CLinearLayoutUI(bool vertical);

 private:
  // The separator band of a rectangle (this layout's bounds or the tracked one).
  RECT SeparatorBand(const RECT& rc) const;
  void DragTo(POINT pt);

  bool m_vertical;
  int m_sepSize;
  UINT m_sepState;
  POINT m_lastMouse;
  RECT m_tracked;
  bool m_immediate;
};

}  // namespace UiToolkit
