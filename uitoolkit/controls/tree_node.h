#pragma once
// One node of a tree view: a list row holding, in one horizontal row, an
// indentation line, a folder button (expand and collapse), a check box and
// an item button that shows the node's text. A node knows its parent and
// its child nodes; the tree view keeps every node of every level as a
// plain row of its body, depth first, and owns them all.
#include "uitoolkit/controls/list_container_element.h"
#include "uitoolkit/core/ui_ptr_array.h"

namespace UiToolkit {

class CCheckBoxUI;
class CHorizontalLayoutUI;
class CLabelUI;
class COptionUI;
class CTreeViewUI;

class CTreeNodeUI : public CListContainerElementUI {
 public:
  CTreeNodeUI();
  // Child nodes that are rows of no tree belong to nobody else and go with
  // this node; those that are rows of a tree are the tree's.
  ~CTreeNodeUI() override;

  const wchar_t* ClassName() const override;
  // "TreeNode" -> the node; other names as the container row.
  LPVOID FindInterface(const wchar_t* name) override;
  // The node's text is its item button's.
  CUiString GetText() const override;
  void SetText(const wchar_t* text) override;
  // The row's rule, then the item button takes the selected or the normal
  // text colour.
  bool Select(bool select = true) override;
  void OnEvent(TUiEvent& event) override;
  void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;

  // A tree node (class "TreeNodeUI", any case) becomes a child node, placed
  // after this node's last descendant when this node is in a tree; any
  // other control goes into the row container itself.
  bool Add(CControlUI* control) override;
  // A child node placed before the child at `index`; an index that holds
  // no child adds it as Add does.
  bool AddAt(CControlUI* control, int index) override;
  // A child node goes with its whole subtree: out of the child list, and
  // out of the tree (or deleted when it is in none). Other controls leave
  // the row container.
  bool Remove(CControlUI* control) override;

  CTreeNodeUI* GetParentNode() const { return m_parentNode; }
  CTreeViewUI* GetTreeView() const { return m_treeView; }
  void SetTreeView(CTreeViewUI* tree) { m_treeView = tree; }
  int GetChildNodeCount() const { return m_children.GetSize(); }
  CTreeNodeUI* GetChildNode(int index) const;
  // Takes a child out of the child list only (nothing is destroyed).
  bool ForgetChildNode(CTreeNodeUI* child);
  // The node's position among its tree's rows, -1 when it is not one.
  int GetTreeIndex() const;
  // The node itself without children, else its last child's last
  // descendant.
  CTreeNodeUI* GetLastDescendant();
  bool IsNodeExpanded() const { return m_expanded; }
  void SetNodeExpanded(bool expanded) { m_expanded = expanded; }

  // The row content: where the skin puts a node's other controls, beside
  // the item button.
  CHorizontalLayoutUI* GetRowLayout() const { return m_row; }
  CLabelUI* GetIndentLine() const { return m_indent; }
  CCheckBoxUI* GetFolderButton() const { return m_folder; }
  CCheckBoxUI* GetCheckBox() const { return m_check; }
  COptionUI* GetItemButton() const { return m_item; }

  DWORD GetItemTextColor() const { return m_textColor; }
  // Also the item button's text colour now.
  void SetItemTextColor(DWORD color);
  DWORD GetItemHotTextColor() const { return m_hotTextColor; }
  void SetItemHotTextColor(DWORD color);
  DWORD GetSelItemTextColor() const { return m_selectedTextColor; }
  void SetSelItemTextColor(DWORD color);
  DWORD GetSelItemHotTextColor() const { return m_selectedHotTextColor; }
  void SetSelItemHotTextColor(DWORD color);

 private:
  bool AddChildNode(CTreeNodeUI* child, int index);
  void Attach(CTreeNodeUI* child);
  // Indentation of the subtree below this node, one step per level.
  void IndentChildren();

  DWORD m_textColor;
  DWORD m_hotTextColor;
  DWORD m_selectedTextColor;
  DWORD m_selectedHotTextColor;
  bool m_expanded;
  CTreeViewUI* m_treeView;
  CTreeNodeUI* m_parentNode;
  CUiPtrArray m_children;
  CHorizontalLayoutUI* m_row;
  CLabelUI* m_indent;
  CCheckBoxUI* m_folder;
  CCheckBoxUI* m_check;
  COptionUI* m_item;
};

}  // namespace UiToolkit
