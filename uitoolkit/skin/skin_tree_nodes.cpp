// Tree nodes in a skin: nested "TreeNode" elements become child nodes,
// a top-level one goes with its subtree into the tree view it stands in.
#include "uitoolkit/skin/skin_tree_nodes.h"

#include "foundation/log/log.h"
#include "uitoolkit/controls/tree_node.h"
#include "uitoolkit/controls/tree_view.h"
#include "uitoolkit/core/window_manager.h"
#include "uitoolkit/layouts/horizontal_layout.h"
#include "uitoolkit/skin/skin_builder.h"
#include "uitoolkit/skin/skin_resources.h"

namespace UiToolkit {

IContainerUI* SkinContainerOf(CControlUI* parent, CControlUI** holder) {
  *holder = parent;
  if (!parent) return nullptr;
  if (CTreeNodeUI* node = static_cast<CTreeNodeUI*>(parent->FindInterface(L"TreeNode"))) {
    *holder = node->GetRowLayout();
    return node->GetRowLayout();
  }
  return static_cast<IContainerUI*>(parent->FindInterface(L"IContainer"));
}

bool CSkinBuilder::BuildTreeNode(CXmlMarkupNode& element, CControlUI* parent,
                                 CWindowManagerUI* manager) {
  CTreeNodeUI* parent_node =
      parent ? static_cast<CTreeNodeUI*>(parent->FindInterface(L"TreeNode")) : nullptr;
  CTreeNodeUI* node = new CTreeNodeUI;
  if (parent_node && !parent_node->Add(node)) {
    delete node;
    return true;
  }
  // Attributes before children; the node stays with the manager.
  if (manager) {
    node->AttachManager(manager, nullptr, false);
    if (const wchar_t* defaults = SkinDefaultAttributes(manager, L"TreeNode"))
      node->ApplyAttributeList(defaults);
  }
  for (int i = 0; i < element.AttrCount(); ++i)
    node->ApplyAttribute(element.AttrNameAt(i), element.AttrValueAt(i));
  if (element.HasChildNodes()) BuildChildren(element, node, manager);
  if (parent_node) return true;
  CTreeViewUI* tree = parent ? static_cast<CTreeViewUI*>(parent->FindInterface(L"TreeView")) : nullptr;
  if (!tree) {
    log_error("%s: a TreeNode outside a TreeView (\"%ls\") is dropped with its subtree",
              __FUNCTION__, node->GetText().GetData());
    delete node;
    return false;
  }
  if (!tree->AddNode(node)) delete node;
  return true;
}

}  // namespace UiToolkit
