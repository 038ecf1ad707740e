#pragma once
// One column caption of a list header: text, state images, a separator
// that can be dragged to resize the column, and "headerclick".
#include "uitoolkit/core/control.h"

namespace UiToolkit {

class CListHeaderItemUI : public CControlUI {
 public:
  enum { kDefaultMinWidth = 16 };
  CListHeaderItemUI();

  const wchar_t* ClassName() const override;
  LPVOID FindInterface(const wchar_t* name) override;
  UINT CapabilityFlags() const override;
  void SetEnabled(bool enabled = true) override;
  // A new width moves the list's columns: the whole list is laid out again,
  // not only the header.
  void SetFixedWidth(int cx) override;
  void OnEvent(TUiEvent& event) override;
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
  // (fixed width, fixed height), or the default font's height + 14 tall.
  SIZE MeasureSize(SIZE available) override;
  void PaintStateImage(HDC hdc) override;
  void PaintText(HDC hdc) override;

  bool IsDragable() const { return m_dragable; }
  void SetDragable(bool on);
  // Negative: at the left edge; positive: at the right edge; 0: none.
  int GetSepWidth() const { return m_sepWidth; }
  void SetSepWidth(int width) { m_sepWidth = width; }
  UINT GetTextStyle() const { return m_textStyle; }
  DWORD GetTextColor() const { return m_textColor; }
  void SetTextColor(DWORD color) { m_textColor = color; }
  int GetFont() const { return m_font; }
  void SetFont(int index) { m_font = index; }
  bool IsShowHtml() const { return m_showHtml; }
  void SetShowHtml(bool on);
  RECT GetTextPadding() const { return m_textPadding; }
  void SetTextPadding(RECT rc);
  UINT GetState() const { return m_state; }
  void SetNormalImage(const wchar_t* image) { SetImage(m_normalImage, image); }
  void SetHotImage(const wchar_t* image) { SetImage(m_hotImage, image); }
  void SetPushedImage(const wchar_t* image) { SetImage(m_pushedImage, image); }
  void SetFocusedImage(const wchar_t* image) { SetImage(m_focusedImage, image); }
  void SetSepImage(const wchar_t* image) { SetImage(m_sepImage, image); }
  const CUiString& GetNormalImage() const { return m_normalImage; }
  const CUiString& GetPushedImage() const { return m_pushedImage; }
  const CUiString& GetSepImage() const { return m_sepImage; }

  // The separator band in window coordinates.
  RECT SeparatorRect() const;

 private:
  // The band widened by 4 pixels towards the inside, for mouse hits.
  RECT SeparatorHitRect() const;
  void SetImage(CUiString& slot, const wchar_t* image);
  // Draws one state image; one that fails is cleared.
  bool DrawOrClear(HDC hdc, CUiString& image, const wchar_t* modifier = nullptr);
  void RelayoutList();

  POINT m_lastMouse;
  bool m_dragable;
  UINT m_state;
  int m_sepWidth;
  DWORD m_textColor;
  int m_font;
  UINT m_textStyle;
  bool m_showHtml;
  RECT m_textPadding;
  CUiString m_normalImage;
  CUiString m_hotImage;
  CUiString m_pushedImage;
  CUiString m_focusedImage;
  CUiString m_sepImage;
  CUiString m_sepModifier;
};

}  // namespace UiToolkit
