#pragma once
// The rows of a list that are single controls: the abstract row, the
// one-text row and (list_text_element.h) the multi-column text row.
#include "uitoolkit/controls/list_interfaces.h"
#include "uitoolkit/core/control.h"

namespace UiToolkit {

class CListElementUI : public CControlUI, public IListItemUI {
 public:
  CListElementUI();

  // "ListItem" -> the row interface; "ListElement" -> the row.
  LPVOID FindInterface(const wchar_t* name) override;
  bool Activate() override;
  void SetVisible(bool visible = true) override;
  void SetEnabled(bool enabled = true) override;
  // "selected", whatever its value, selects the row.
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
  void OnEvent(TUiEvent& event) override;

  int GetIndex() const override { return m_index; }
  void SetIndex(int index) override { m_index = index; }
  IListOwnerUI* GetOwner() override { return m_owner; }
  void SetOwner(CControlUI* owner) override;
  bool IsSelected() const override { return m_selected; }
  bool Select(bool select = true) override;
  bool IsExpanded() const override { return false; }
  // Single-control rows never expand.
  bool Expand(bool) override { return false; }

  UINT GetState() const { return m_state; }
  // Repaints the visible part of the row only.
  void InvalidateRow();

 protected:
  struct TUiRowLook Look() const;
  // Background from the owner's style (nothing without an owner).
  void PaintRowBackground(HDC hdc);

  int m_index;
  bool m_selected;
  UINT m_state;
  IListOwnerUI* m_owner;
};

class CListLabelElementUI : public CListElementUI {
 public:
  CListLabelElementUI();
  const wchar_t* ClassName() const override;
  LPVOID FindInterface(const wchar_t* name) override;
  UINT CapabilityFlags() const override;
  // Height from the style font and padding; width from the text.
  SIZE MeasureSize(SIZE available) override;
  // The background, then the text; nothing of the plain control.
  void Paint(HDC hdc, const RECT& dirty) override;
  void DrawItemText(HDC hdc, const RECT& item) override;
};

}  // namespace UiToolkit
