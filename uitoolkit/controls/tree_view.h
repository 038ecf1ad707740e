#pragma once
// A list whose rows are tree nodes. Every node of every level is a plain
// row of the body, depth first; the rows of collapsed subtrees are hidden,
// and checking a node's check box checks its whole subtree. The wiring
// from a node's folder button, check box and double click to the tree runs
// through delegates on their notification sources.
#include "uitoolkit/controls/list.h"
#include "uitoolkit/core/notify.h"

namespace UiToolkit {

class CTreeNodeUI;

class CTreeViewUI : public CListUI, public INotifyUI {
 public:
  CTreeViewUI();

  const wchar_t* ClassName() const override;
  // "TreeView" -> the tree; other names as the list.
  LPVOID FindInterface(const wchar_t* name) override;
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
  void Notify(TUiNotify&) override {}

  // A node goes with its subtree (RemoveNode); other rows as in a list.
  bool Remove(CControlUI* control) override;
  // False for an index that holds no row.
  bool RemoveAt(int index) override;

  // Adds a node ("TreeNodeUI" only) and its subtree after the last row,
  // depth first.
  virtual bool AddNode(CControlUI* node);
  // Before `row`; false when either is missing, the tree is empty or the
  // row is not found.
  virtual bool InsertNodeBefore(CControlUI* node, CControlUI* row);
  // Inserts a node and its subtree at row `index` (the position after the
  // last row appends). Returns the position after the last row inserted,
  // -1 when refused.
  virtual int AddNodeAt(CControlUI* node, int index);
  // Removes a node of this tree with its whole subtree, and takes it out of
  // its parent's child list. False for anything that is not a node row of
  // this tree (nothing changes then).
  virtual bool RemoveNode(CControlUI* node);
  // Delegates hooked on every node; always true except a double click
  // handler given another notification.
  virtual bool OnCheckBoxChanged(void* param);
  virtual bool OnFolderButtonChanged(void* param);
  virtual bool OnItemDoubleClick(void* param);
  // Sets the check boxes of the node's subtree (without a node, of every
  // row).
  virtual void CheckNodes(bool checked, CTreeNodeUI* node = nullptr);
  // Shows or hides the node's children, and below expanded children their
  // children; collapsed subtrees keep their state. Without a node, the
  // same from the top-level rows.
  virtual void ExpandNodes(bool expand, CTreeNodeUI* node = nullptr);
  virtual void ShowFolderButtons(bool show);
  virtual bool FolderButtonsShown() const { return m_showFolderButtons; }
  virtual void ShowCheckBoxes(bool show);
  virtual bool CheckBoxesShown() const { return m_showCheckBoxes; }
  virtual void SetItemMinWidth(int width);
  virtual int GetItemMinWidth() const { return m_itemMinWidth; }
  // These four recolour the nodes present now; nodes added later keep
  // their own colours.
  virtual void SetNodeTextColor(DWORD color);
  virtual void SetNodeHotTextColor(DWORD color);
  virtual void SetNodeSelectedTextColor(DWORD color);
  virtual void SetNodeSelectedHotTextColor(DWORD color);

 private:
  // The node behind a row (none for a plain row).
  CTreeNodeUI* NodeAt(int index) const;
  // The node holding `part` (its folder button or check box), or none.
  CTreeNodeUI* NodeHolding(CControlUI* part, bool folder) const;
  void RecolourNodes(void (CTreeNodeUI::*set)(DWORD), DWORD color);
  // Hooks and settings every node gets on its way into the tree.
  void Prepare(CTreeNodeUI* node);

  int m_itemMinWidth;
  bool m_showFolderButtons;
  bool m_showCheckBoxes;
};

}  // namespace UiToolkit
