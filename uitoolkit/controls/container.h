#pragma once
// A control that owns child controls: an ordered child list, an inner
// inset, a gap between children for the layouts, optional scroll bars with
// the scrolling operations, placement of floating children, clipped
// painting of the children and the tree search every lookup uses.
//
// The plain container stacks every child over its whole inner rectangle;
// the layouts derive from it and arrange their children themselves.
#include <windows.h>

#include "uitoolkit/core/control.h"
#include "uitoolkit/core/ui_ptr_array.h"

namespace UiToolkit {

class CScrollBarUI;

// Adds and removes children without knowing the concrete container.
class IContainerUI {
 public:
  virtual CControlUI* GetItemAt(int index) const = 0;
  virtual int GetItemIndex(CControlUI* control) const = 0;
  virtual bool MoveItemTo(CControlUI* control, int index) = 0;
  virtual int GetCount() const = 0;
  virtual bool Add(CControlUI* control) = 0;
  virtual bool AddAt(CControlUI* control, int index) = 0;
  virtual bool Remove(CControlUI* control) = 0;
  virtual bool RemoveAt(int index) = 0;
  virtual void RemoveAll() = 0;

 protected:
  ~IContainerUI() {}
};

class CContainerUI : public CControlUI, public IContainerUI {
 public:
  CContainerUI();
  ~CContainerUI() override;

  const wchar_t* ClassName() const override;
  LPVOID FindInterface(const wchar_t* name) override;

  // ---- children ----
  CControlUI* GetItemAt(int index) const override;
  int GetItemIndex(CControlUI* control) const override;
  bool MoveItemTo(CControlUI* control, int index) override;
  int GetCount() const override;
  bool Add(CControlUI* control) override;
  bool AddAt(CControlUI* control, int index) override;
  bool Remove(CControlUI* control) override;
  bool RemoveAt(int index) override;
  void RemoveAll() override;

  // ---- inset, gaps and ownership flags ----
  virtual RECT GetInset() const;
  virtual void SetInset(RECT inset);
  virtual int GetChildPadding() const;
  virtual void SetChildPadding(int padding);
  virtual bool IsAutoDestroy() const;
  virtual void SetAutoDestroy(bool on);
  virtual bool IsDelayedDestroy() const;
  virtual void SetDelayedDestroy(bool on);
  virtual bool IsMouseChildEnabled() const;
  virtual void SetMouseChildEnabled(bool on);
  // The first visible, enabled list item from `start` in the direction
  // asked (backward falls back to a forward search from 0), or -1.
  virtual int FindSelectableItem(int start, bool forward) const;

  // ---- scrolling ----
  // (x, y): the horizontal and the vertical bar; 0 for a missing or hidden bar.
  virtual SIZE GetScrollPos() const;
  virtual SIZE GetScrollRange() const;
  virtual void SetScrollPos(SIZE pos);
  virtual void ScrollLineUp();
  virtual void ScrollLineDown();
  virtual void ScrollPageUp();
  virtual void ScrollPageDown();
  virtual void ScrollToTop();
  virtual void ScrollToBottom();
  virtual void ScrollLineLeft();
  virtual void ScrollLineRight();
  virtual void ScrollPageLeft();
  virtual void ScrollPageRight();
  virtual void ScrollToLeftEnd();
  virtual void ScrollToRightEnd();
  virtual void EnableScrollBars(bool vertical = true, bool horizontal = false);
  virtual CScrollBarUI* GetVerticalScrollBar() const;
  virtual CScrollBarUI* GetHorizontalScrollBar() const;
  // Places the floating child at `index` from its fixed origin and size
  // (and its relative-position rule); nothing for other children.
  virtual void PlaceFloatChild(int index);
  // Called by layouts after placing their children: places the bars and
  // shows, hides or re-ranges the vertical one for the required size.
  virtual void UpdateScrollBars(const RECT& inner, int required_width, int required_height);

  // ---- overridden control operations ----
  void AttachManager(CWindowManagerUI* manager, CControlUI* parent, bool initialize = true) override;
  void SetBounds(RECT rc) override;
  void SetVisible(bool visible = true) override;
  void SetInheritedVisible(bool visible = true) override;
  void SetMouseEnabled(bool enabled = true) override;
  CControlUI* Search(FindControlProc proc, LPVOID data, UINT flags) override;
  void OnEvent(TUiEvent& event) override;
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
  void Paint(HDC hdc, const RECT& dirty) override;

 protected:
  // Bounds minus the inset.
  RECT InnerRect() const;
  // The inner rectangle less the visible bars: where non-floating children
  // are laid out, hit and painted.
  RECT ChildArea() const;
  // What a layout does first: the base placement, then the area its
  // children go in. False (the bars told there is nothing) without children.
  bool StartLayout(RECT rc, RECT* area);
  // Deletes a child that leaves the list, through the manager's deferred
  // deletion when that is on.
  void DestroyChild(CControlUI* child);
  // Runs the layout again on the current bounds.
  void Relayout() { SetBounds(m_bounds); }
  // Every visible child over `area`; floating ones where they float.
  void PlaceChildrenOver(const RECT& area);
  // Moves the non-floating children by a scroll step. Where the window's
  // drawn image can move along with them, it does, and only what comes into
  // view is drawn again; else the whole container is invalidated.
  void MoveChildrenBy(int dx, int dy);
  // True when this container draws nothing under its children but, at
  // most, one opaque colour: moving the children's pixels keeps its look.
  virtual bool HasPlainFace() const;
  // True when something this container paints after `child` (a later
  // child, a bar) meets `area`.
  virtual bool PaintsOver(const CControlUI* child, const RECT& area) const;

  CUiPtrArray m_items;
  RECT m_inset;
  int m_childPadding;
  bool m_autoDestroy;
  bool m_delayedDestroy;
  bool m_mouseChildEnabled;
  bool m_scrollProcessing;
  CScrollBarUI* m_verticalScrollBar;
  CScrollBarUI* m_horizontalScrollBar;

 private:
  bool AttachChild(CControlUI* control);
  // The part of the child area whose pixels a scroll may move, or false.
  bool MovableScrollArea(RECT* area) const;
  void ScrollBy(int dx, int dy);
  // One page of scrolling: the inner size less the other bar.
  int VerticalPage() const;
  int HorizontalPage() const;
};

}  // namespace UiToolkit
