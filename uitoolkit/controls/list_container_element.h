#pragma once
// A row that is a container of arbitrary controls. Under a list with
// columns, child c is placed in column c, so row content follows the
// header when columns are resized or scrolled.
#include "uitoolkit/controls/container.h"
#include "uitoolkit/controls/list_interfaces.h"

namespace UiToolkit {

class CListContainerElementUI : public CContainerUI, public IListItemUI {
 public:
  CListContainerElementUI();

  const wchar_t* ClassName() const override;
  // "ListItem" -> the row interface; "ListContainerElement" -> the row.
  LPVOID FindInterface(const wchar_t* name) override;
  UINT CapabilityFlags() const override;
  bool Activate() override;
  void SetVisible(bool visible = true) override;
  void SetEnabled(bool enabled = true) override;
  void SetBounds(RECT rc) override;
  void OnEvent(TUiEvent& event) override;
  // "selected", whatever its value, selects the row.
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
  void Paint(HDC hdc, const RECT& dirty) override;

  int GetIndex() const override { return m_index; }
  void SetIndex(int index) override { m_index = index; }
  IListOwnerUI* GetOwner() override { return m_owner; }
  void SetOwner(CControlUI* owner) override;
  bool IsSelected() const override { return m_selected; }
  bool Select(bool select = true) override;
  bool IsExpanded() const override { return false; }
  bool Expand(bool) override { return false; }
  void DrawItemText(HDC, const RECT&) override {}

  UINT GetState() const { return m_state; }
  void InvalidateRow();

 protected:
  // The row's background follows its index, state and owner's style.
  bool HasPlainFace() const override { return false; }

  int m_index;
  bool m_selected;
  UINT m_state;
  IListOwnerUI* m_owner;
};

}  // namespace UiToolkit
