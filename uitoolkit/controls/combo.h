#pragma once
// A drop-down selector. Its children are list elements that it never shows
// in place: it paints its own state image and, as its text, the selected
// item. Activating it opens a popup window (CComboWnd) with a manager of
// its own, into which the items are lent while it is open; they paint with
// the combo's item style exactly as list rows do.
#include "uitoolkit/controls/container.h"
#include "uitoolkit/controls/list_interfaces.h"

namespace UiToolkit {

class CComboWnd;
class CVerticalLayoutUI;

class CComboUI : public CContainerUI, public IListOwnerUI {
 public:
  CComboUI();
  // An open popup first gives the items back and is destroyed, so neither
  // ever reaches a freed combo.
  ~CComboUI() override;

  const wchar_t* ClassName() const override;
  // "Combo" -> the combo; "IListOwner" -> its owner interface.
  LPVOID FindInterface(const wchar_t* name) override;
  UINT CapabilityFlags() const override;
  // Opens the popup and sends "dropdown"; true without effect when it is
  // open already; false when hidden or disabled.
  bool Activate() override;
  // The selected item's text, or empty.
  CUiString GetText() const override;
  void SetBounds(RECT rc) override;
  void SetEnabled(bool enabled = true) override;
  void AttachManager(CWindowManagerUI* manager, CControlUI* parent, bool initialize = true) override;
  // Hit tests end at the combo: its items are never shown in place.
  CControlUI* Search(FindControlProc proc, LPVOID data, UINT flags) override;
  SIZE MeasureSize(SIZE available) override;
  void OnEvent(TUiEvent& event) override;
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
  // Only the base control's painting: the items are never painted in place.
  void Paint(HDC hdc, const RECT& dirty) override;
  void PaintStateImage(HDC hdc) override;
  void PaintText(HDC hdc) override;

  // ---- items; while the popup is open, changes reach its layout too ----
  bool Add(CControlUI* control) override;
  bool AddAt(CControlUI* control, int index) override;
  bool Remove(CControlUI* control) override;
  bool RemoveAt(int index) override;
  void RemoveAll() override;
  bool MoveItemTo(CControlUI* control, int index) override;

  // ---- owner interface of the items ----
  TUiListItemStyle* GetItemStyle() override { return &m_style; }
  int GetSelectedIndex() const override { return m_selected; }
  // Any call closes an open popup.
  bool SelectItem(int index, bool take_focus = false) override;
  void ForwardEvent(TUiEvent& event) override { OnEvent(event); }

  UINT GetState() const { return m_state; }
  RECT GetTextPadding() const { return m_textPadding; }
  void SetTextPadding(RECT padding);
  const CUiString& GetDropBoxAttributes() const { return m_dropBoxAttributes; }
  SIZE GetDropBoxSize() const { return m_dropBoxSize; }
  void SetDropBoxSize(SIZE size) { m_dropBoxSize = size; }
  // The open popup's window, or none.
  HWND GetPopupWindow() const;
  // The open popup's layout (which holds the lent items), or none.
  CVerticalLayoutUI* GetPopupLayout() const;

 protected:
  // The box draws its state images and text over its children's area.
  bool HasPlainFace() const override { return false; }

  // The bounds less the text padding.
  RECT TextArea() const;
  // The selected item painted in `rc`.
  void PaintSelectedText(HDC hdc, const RECT& rc);
  void RefreshFocusAndDisabled();

  UINT m_state;

 private:
  friend class CComboWnd;
  void RenumberItems(int from);
  void SetImage(CUiString& image, const wchar_t* value);

  CComboWnd* m_window;
  int m_selected;
  RECT m_textPadding;
  CUiString m_dropBoxAttributes;
  SIZE m_dropBoxSize;
  CUiString m_normalImage;
  CUiString m_hotImage;
  CUiString m_pushedImage;
  CUiString m_focusedImage;
  CUiString m_disabledImage;
  TUiListItemStyle m_style;
};

}  // namespace UiToolkit
