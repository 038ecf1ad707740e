#pragma once
// The drop-down of a combo: a popup window with a manager of its own whose
// root is a scrolling column. The combo's items are lent to that column
// while the popup is open and go back to the combo whenever the window
// goes, before the popup's manager is freed.
#include "uitoolkit/core/window_manager.h"
#include "uitoolkit/core/window_wnd.h"

namespace UiToolkit {

class CComboUI;
class CControlUI;
class CVerticalLayoutUI;

class CComboWnd : public CWindowWnd {
 public:
  CComboWnd();

  // Opens the popup below the owner (above it at the bottom of the work
  // area) and shows it. False, with a log line and the object deleted,
  // when no window could be made.
  bool Init(CComboUI* owner);
  // The owner is going away: its items go back to it and the popup no
  // longer reports to it. The caller then destroys the window.
  void Detach();

  CWindowManagerUI& Manager() { return m_manager; }
  CVerticalLayoutUI* Layout() const { return m_lent ? m_layout : nullptr; }
  bool HasLentItems() const { return m_lent; }
  // Scrolls the column so that the owner's selected item shows.
  void ScrollSelectionIntoView();

  // The owner's item list changed while open: the column follows.
  void ItemAdded(CControlUI* item, int index);
  void ItemRemoved(CControlUI* item);
  void AllItemsRemoved();
  void ItemMoved(CControlUI* item, int index);

 protected:
  const wchar_t* WindowClassName() const override;
  UINT ClassStyle() const override;
  LRESULT ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void OnWindowGone(HWND hwnd) override;

 private:
  ~CComboWnd() override;
  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
  void LendItems();
  void GiveItemsBack(bool take_focus);
  // The popup's manager lets go of every reference into an item's subtree.
  void Forget(CControlUI* item);

  CComboUI* m_owner;
  CWindowManagerUI m_manager;
  CVerticalLayoutUI* m_layout;
  int m_openedSelection;
  bool m_lent;
  // Messages being handled; the object outlives its window until the
  // outermost one returns.
  int m_busy;
  bool m_gone;
};

}  // namespace UiToolkit
