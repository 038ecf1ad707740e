#pragma once
// What a list, its rows and a drop-down share: the item style every row
// paints with, the owner interface rows talk to, the list interface, the
// row interface and an optional source of column texts.
#include <windows.h>

#include "uitoolkit/core/ui_event.h"
#include "uitoolkit/core/ui_string.h"

namespace UiToolkit {

class CControlUI;
class CContainerUI;
class CListHeaderUI;

// One record per list (or drop-down), shared by reference with every row.
// Colours are 0xAARRGGBB; images are image strings. A row that fails to
// draw one of the images clears it here, for every row.
struct TUiListItemStyle {
  enum { kMaxColumns = 32 };
  int nColumns = 0;
  RECT rcColumn[kMaxColumns] = {};
  int nFont = -1;
  UINT uTextStyle = DT_VCENTER;
  RECT rcTextPadding = {0, 0, 0, 0};
  DWORD dwTextColor = 0xFF000000;
  DWORD dwBkColor = 0;
  CUiString sBkImage;
  bool bAlternateBk = false;
  DWORD dwSelectedTextColor = 0xFF000000;
  DWORD dwSelectedBkColor = 0xFFC1E3FF;
  CUiString sSelectedImage;
  DWORD dwHotTextColor = 0xFF000000;
  DWORD dwHotBkColor = 0xFFE9F5FF;
  CUiString sHotImage;
  DWORD dwDisabledTextColor = 0xFFCCCCCC;
  DWORD dwDisabledBkColor = 0xFFFFFFFF;
  CUiString sDisabledImage;
  DWORD dwLineColor = 0;
  bool bShowHtml = false;
  bool bMultiExpandable = false;
};

// "align" of list items and header items: the first of "left", "center"
// and "right" found in the text (in that order) replaces the horizontal
// alignment bits; text with none of them leaves the style as it is.
UINT ApplyListAlignWords(UINT style, const wchar_t* value);

class IListOwnerUI {
 public:
  virtual TUiListItemStyle* GetItemStyle() = 0;
  // -1 = none.
  virtual int GetSelectedIndex() const = 0;
  virtual bool SelectItem(int index, bool take_focus = false) = 0;
  virtual void ForwardEvent(TUiEvent& event) = 0;

 protected:
  ~IListOwnerUI() {}
};

// Column texts for rows that have none of their own. Never owned by the list.
class IListTextSource {
 public:
  // None reads as an empty text.
  virtual const wchar_t* GetItemText(CControlUI* row, int row_index, int column) = 0;

 protected:
  ~IListTextSource() {}
};

class IListUI : public IListOwnerUI {
 public:
  virtual CListHeaderUI* GetHeader() const = 0;
  virtual CContainerUI* GetBody() const = 0;
  virtual IListTextSource* GetTextSource() const = 0;
  virtual void SetTextSource(IListTextSource* source) = 0;
  virtual bool ExpandItem(int index, bool expand = true) = 0;
  // -1 = none.
  virtual int GetExpandedIndex() const = 0;

 protected:
  ~IListUI() {}
};

class IListItemUI {
 public:
  virtual int GetIndex() const = 0;
  virtual void SetIndex(int index) = 0;
  virtual IListOwnerUI* GetOwner() = 0;
  // The owner is the control's answer to "IListOwner" (none otherwise).
  virtual void SetOwner(CControlUI* owner) = 0;
  virtual bool IsSelected() const = 0;
  virtual bool Select(bool select = true) = 0;
  virtual bool IsExpanded() const = 0;
  virtual bool Expand(bool expand = true) = 0;
  virtual void DrawItemText(HDC hdc, const RECT& item) = 0;

 protected:
  ~IListItemUI() {}
};

}  // namespace UiToolkit
