#pragma once
// Trees for tests: nodes named after their text, a description of the
// rows ("a a1[a] a11[a1]": each row with its parent node), and a check that
// the rows, the child lists, the parents and the indentation agree.
#include <string>

#include "uitoolkit/controls/label.h"
#include "uitoolkit/controls/option.h"
#include "uitoolkit/controls/tree_node.h"
#include "uitoolkit/controls/tree_view.h"

namespace treetest {

using namespace UiToolkit;

inline CTreeNodeUI* Node(const wchar_t* name) {
  CTreeNodeUI* node = new CTreeNodeUI;
  node->SetName(name);
  node->SetText(name);
  return node;
}

inline CTreeNodeUI* NodeOf(CControlUI* control) {
  return control ? static_cast<CTreeNodeUI*>(control->FindInterface(L"TreeNode")) : nullptr;
}

inline std::wstring Rows(CTreeViewUI* tree) {
  std::wstring out;
  for (int i = 0; i < tree->GetCount(); ++i) {
    CControlUI* row = tree->GetItemAt(i);
    if (!out.empty()) out += L" ";
    out += row->GetName().GetData();
    CTreeNodeUI* node = NodeOf(row);
    if (node && node->GetParentNode())
      out += L"[" + std::wstring(node->GetParentNode()->GetName()) + L"]";
  }
  return out;
}

inline int Depth(CTreeNodeUI* node) {
  int depth = 0;
  for (CTreeNodeUI* p = node->GetParentNode(); p; p = p->GetParentNode()) ++depth;
  return depth;
}

// Appends the depth-first walk below `node`; false when a child is not a
// row of the tree (a child list pointing at something the tree does not
// own is reported, never followed).
inline bool Walk(CTreeViewUI* tree, CTreeNodeUI* node, std::wstring* out) {
  for (int i = 0; i < node->GetChildNodeCount(); ++i) {
    CTreeNodeUI* child = node->GetChildNode(i);
    if (tree->GetItemIndex(child) < 0) return false;
    *out += L" " + std::wstring(child->GetName());
    if (!Walk(tree, child, out)) return false;
  }
  return true;
}

// Empty when everything agrees, else what does not.
inline std::wstring Disagreements(CTreeViewUI* tree) {
  std::wstring walked;
  for (int i = 0; i < tree->GetCount(); ++i) {
    CControlUI* row = tree->GetItemAt(i);
    CTreeNodeUI* node = NodeOf(row);
    if (!node) continue;
    const std::wstring name(node->GetName());
    if (node->GetTreeView() != tree) return name + L": tree view";
    CTreeNodeUI* parent = node->GetParentNode();
    if (parent) {
      if (tree->GetItemIndex(parent) < 0) return name + L": parent not a row";
      bool listed = false;
      for (int c = 0; c < parent->GetChildNodeCount(); ++c) listed |= parent->GetChildNode(c) == node;
      if (!listed) return name + L": not in its parent's list";
    }
    const int depth = Depth(node);
    CLabelUI* line = node->GetIndentLine();
    if (depth == 0 && line->IsVisible()) return name + L": a top node is indented";
    if (depth > 0 && (!line->IsVisible() || line->GetFixedWidth() != 2 + 16 * depth))
      return name + L": indentation " + std::to_wstring(line->GetFixedWidth());
    if (parent) continue;
    walked += L" " + name;
    if (!Walk(tree, node, &walked)) return name + L": a child that is no row";
  }
  std::wstring nodes_only;
  for (int i = 0; i < tree->GetCount(); ++i)
    if (NodeOf(tree->GetItemAt(i))) nodes_only += L" " + std::wstring(tree->GetItemAt(i)->GetName());
  if (walked != nodes_only) return L"rows" + nodes_only + L" but depth first" + walked;
  return L"";
}

// a{a1{a11}, a2}, b{b1}: rows a a1 a11 a2 b b1.
inline CTreeViewUI* SampleTree() {
  CTreeViewUI* tree = new CTreeViewUI;
  CTreeNodeUI* a = Node(L"a");
  CTreeNodeUI* a1 = Node(L"a1");
  a->Add(a1);
  a1->Add(Node(L"a11"));
  a->Add(Node(L"a2"));
  CTreeNodeUI* b = Node(L"b");
  b->Add(Node(L"b1"));
  tree->AddNode(a);
  tree->AddNode(b);
  return tree;
}

inline CTreeNodeUI* Find(CTreeViewUI* tree, const wchar_t* name) {
  for (int i = 0; i < tree->GetCount(); ++i)
    if (tree->GetItemAt(i)->GetName() == name) return NodeOf(tree->GetItemAt(i));
  return nullptr;
}

}  // namespace treetest
