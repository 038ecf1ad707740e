#pragma once
// The list: a column holding a header row and a scrolling body of rows.
// It keeps the single selection, the expanded row, the item style every
// row paints with and the column rectangles the header's items define.
//
// As a container the list hands out its rows: GetItemAt, GetCount, Add and
// the rest act on the body. Headers and header items given to Add go to
// their places instead.
#include "uitoolkit/controls/list_interfaces.h"
#include "uitoolkit/layouts/vertical_layout.h"

namespace UiToolkit {

class CListHeaderUI;
class CListUI;

// The body that holds a list's rows. It lays the rows out at the header's
// width (or the widest row), scrolls the header with its horizontal bar and
// hands every event to its list.
class CListBodyUI : public CVerticalLayoutUI {
 public:
  explicit CListBodyUI(CListUI* owner);
  void SetOwner(CListUI* owner) { m_owner = owner; }
  void SetBounds(RECT rc) override;
  void OnEvent(TUiEvent& event) override;
  void SetScrollPos(SIZE pos) override;

 private:
  // The content width the rows are laid out at.
  int ContentWidth(SIZE available);
  CListUI* m_owner;
};

class CListUI : public CVerticalLayoutUI, public IListUI {
 public:
  CListUI();
  ~CListUI() override;

  const wchar_t* ClassName() const override;
  // "List" -> the list; "IList" and "IListOwner" -> the list interface.
  LPVOID FindInterface(const wchar_t* name) override;
  UINT CapabilityFlags() const override;
  void SetBounds(RECT rc) override;
  void OnEvent(TUiEvent& event) override;
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;

  // ---- rows, header and header items (see the header comment) ----
  CControlUI* GetItemAt(int index) const override;
  int GetItemIndex(CControlUI* control) const override;
  bool MoveItemTo(CControlUI* control, int index) override;
  int GetCount() const override;
  bool Add(CControlUI* control) override;
  bool AddAt(CControlUI* control, int index) override;
  bool Remove(CControlUI* control) override;
  bool RemoveAt(int index) override;
  void RemoveAll() override;
  int FindSelectableItem(int start, bool forward) const override;

  // ---- row spacing and scrolling act on the body ----
  int GetChildPadding() const override;
  void SetChildPadding(int padding) override;
  SIZE GetScrollPos() const override;
  SIZE GetScrollRange() const override;
  void SetScrollPos(SIZE pos) override;
  void ScrollLineUp() override;
  void ScrollLineDown() override;
  void ScrollPageUp() override;
  void ScrollPageDown() override;
  void ScrollToTop() override;
  void ScrollToBottom() override;
  void ScrollLineLeft() override;
  void ScrollLineRight() override;
  void ScrollPageLeft() override;
  void ScrollPageRight() override;
  void ScrollToLeftEnd() override;
  void ScrollToRightEnd() override;
  void EnableScrollBars(bool vertical = true, bool horizontal = false) override;
  CScrollBarUI* GetVerticalScrollBar() const override;
  CScrollBarUI* GetHorizontalScrollBar() const override;

  // ---- operations that walk the list's own two children ----
  void AttachManager(CWindowManagerUI* manager, CControlUI* parent, bool initialize = true) override;
  void SetVisible(bool visible = true) override;
  void SetInheritedVisible(bool visible = true) override;
  CControlUI* Search(FindControlProc proc, LPVOID data, UINT flags) override;
  void Paint(HDC hdc, const RECT& dirty) override;
  bool PaintsOver(const CControlUI* child, const RECT& area) const override;

  // ---- the list and owner interface ----
  TUiListItemStyle* GetItemStyle() override { return &m_style; }
  int GetSelectedIndex() const override { return m_selected; }
  bool SelectItem(int index, bool take_focus = false) override;
  void ForwardEvent(TUiEvent& event) override { OnEvent(event); }
  CListHeaderUI* GetHeader() const override { return m_header; }
  CContainerUI* GetBody() const override;
  IListTextSource* GetTextSource() const override { return m_textSource; }
  void SetTextSource(IListTextSource* source) override { m_textSource = source; }
  bool ExpandItem(int index, bool expand = true) override;
  int GetExpandedIndex() const override { return m_expanded; }

  bool IsScrollSelect() const { return m_scrollSelect; }
  void SetScrollSelect(bool on) { m_scrollSelect = on; }
  // Copies the visible header items' rectangles into the column
  // rectangles (shifted left by `shift`); true when a column moved.
  bool RefreshColumns(int shift);

  // ---- item style setters ----
  void SetItemFont(int index);
  void SetItemTextPadding(RECT padding);
  void SetItemShowHtml(bool on);
  void SetItemColor(DWORD TUiListItemStyle::*field, DWORD color);
  void SetItemImage(CUiString TUiListItemStyle::*field, const wchar_t* image);

 private:
  // Lets the base classes' walks over the children see the header and
  // the body instead of the rows while they run.
  class OwnChildrenView;

  bool IsHeader(CControlUI* control) const;
  static bool IsHeaderItem(CControlUI* control);
  bool AddHeader(CControlUI* header, int index);
  void RefreshColumnCount();
  void RenumberRows(int from, int to);
  void EnsureVisible(int index);

  CListBodyUI* m_body;
  CListHeaderUI* m_header;
  int m_selected;
  int m_expanded;
  bool m_scrollSelect;
  int m_ownView;
  IListTextSource* m_textSource;
  TUiListItemStyle m_style;
};

}  // namespace UiToolkit
