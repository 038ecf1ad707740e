// What a tree does on screen: folder buttons and double clicks collapse and
// expand subtrees (collapsed ones keep their state), check boxes check
// whole subtrees, and node colours follow their states.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/uitoolkit/tree/tree_window.h"
#include "uitoolkit/controls/list_header.h"

using namespace treetest;

TEST(TreeExpandTest, FolderButtonsCollapseAndExpandKeepingCollapsedSubtrees) {
  struct Step {
    const wchar_t* node;
    bool doubleClick;
    const wchar_t* shown;
  } steps[] = {
      {L"a2", false, L"a a1 a11 a12 a2 b b1"},
      {L"a", false, L"a b b1"},
      // Expanded again: only the grandchildren of expanded children show.
      {L"a", false, L"a a1 a11 a12 a2 b b1"},
      {L"a2", false, L"a a1 a11 a12 a2 a21 b b1"},
      {L"a1", true, L"a a1 a2 a21 b b1"},
      {L"a", true, L"a b b1"},
      {L"a", true, L"a a1 a2 a21 b b1"},
      {L"a1", true, L"a a1 a11 a12 a2 a21 b b1"},
  };
  TreeWindow& w = TreeWindow::Shared();
  EXPECT_EQ(L"a a1 a11 a12 a2 a21 b b1", w.Shown());
  for (const Step& s : steps) {
    CTreeNodeUI* node = w[s.node];
    w.notes.entries.clear();
    if (s.doubleClick)
      w.DoubleClick(node);
    else
      w.Click(node->GetFolderButton());
    EXPECT_EQ(s.shown, w.Shown()) << s.node;
    // A selected folder button means collapsed.
    EXPECT_EQ(!node->GetFolderButton()->IsSelected(), node->IsNodeExpanded()) << s.node;
    if (s.doubleClick) {
      EXPECT_NE(w.notes.entries.end(),
                std::find(w.notes.entries.begin(), w.notes.entries.end(),
                          std::wstring(s.node) + L":itemdbclick"))
          << s.node;
    }
  }
  // Without a node, from the top-level rows.
  w.tree->ExpandNodes(false);
  EXPECT_EQ(L"", w.Shown());
  w.tree->ExpandNodes(true);
  EXPECT_EQ(L"a a1 a11 a12 a2 a21 b b1", w.Shown());
}

TEST(TreeCheckTest, ACheckBoxChecksTheWholeSubtree) {
  TreeWindow& w = TreeWindow::Shared(L"visiblecheckbtn=\"true\"");
  EXPECT_TRUE(w.tree->CheckBoxesShown());
  EXPECT_TRUE(w[L"a11"]->GetCheckBox()->IsVisible());
  w.Click(w[L"a"]->GetCheckBox());
  EXPECT_EQ(L"a a1 a11 a12 a2 a21", w.Checked());
  w.Click(w[L"a1"]->GetCheckBox());
  EXPECT_EQ(L"a a2 a21", w.Checked());
  w.Click(w[L"b1"]->GetCheckBox());
  EXPECT_EQ(L"a a2 a21 b1", w.Checked());
  w.tree->CheckNodes(true);
  EXPECT_EQ(L"a a1 a11 a12 a2 a21 b b1", w.Checked());
  w.tree->CheckNodes(false, w[L"a"]);
  EXPECT_EQ(L"a b b1", w.Checked());
}

TEST(TreeColourTest, TheItemTextFollowsTheNodeState) {
  const DWORD normal = 0xFF000010, hot = 0xFF000020, selected = 0xFF000030, selected_hot = 0xFF000040;
  TreeWindow& w = TreeWindow::Shared();
  w.tree->SetNodeTextColor(normal);
  w.tree->SetNodeHotTextColor(hot);
  w.tree->SetNodeSelectedTextColor(selected);
  w.tree->SetNodeSelectedHotTextColor(selected_hot);
  CTreeNodeUI* a = w[L"a"];
  CTreeNodeUI* b = w[L"b"];
  auto colour = [](CTreeNodeUI* node) { return node->GetItemButton()->GetTextColor(); };
  EXPECT_EQ(normal, colour(a));
  w.MoveTo(a->GetItemButton());
  EXPECT_EQ(hot, colour(a));
  w.MoveTo(b->GetItemButton());
  EXPECT_EQ(normal, colour(a));
  EXPECT_EQ(hot, colour(b));
  EXPECT_TRUE(a->Select(true));
  EXPECT_EQ(selected, colour(a));
  w.MoveTo(a->GetItemButton());
  EXPECT_EQ(selected_hot, colour(a));
  w.MoveTo(b->GetItemButton());
  EXPECT_EQ(selected, colour(a));
  // Without a selected-hot colour a selected node turns hot; without a
  // selected colour it keeps what it had when the mouse leaves.
  a->SetSelItemHotTextColor(0);
  a->SetSelItemTextColor(0);
  w.MoveTo(a->GetItemButton());
  EXPECT_EQ(hot, colour(a));
  w.MoveTo(b->GetItemButton());
  EXPECT_EQ(hot, colour(a));
  EXPECT_TRUE(b->Select(true));
  EXPECT_FALSE(a->IsSelected());
  EXPECT_EQ(normal, colour(a));
  // A disabled node shows its item button's disabled colour.
  CTreeNodeUI* b1 = w[L"b1"];
  b1->GetItemButton()->SetDisabledTextColor(0xFF999999);
  b1->SetEnabled(false);
  w.MoveTo(b1->GetItemButton());
  EXPECT_EQ(0xFF999999u, colour(b1));
  EXPECT_FALSE(b1->Select(true));
}

TEST(TreeColourTest, TreeWideColoursReachOnlyTheNodesPresent) {
  CTreeViewUI tree;
  tree.AddNode(Node(L"a"));
  tree.ApplyAttributeList(
      L"itemtextcolor=\"#FF0000AA\" itemhottextcolor=\"#FF0000BB\" selitemtextcolor=\"#FF0000CC\" "
      L"selitemhottextcolor=\"#FF0000DD\" itemminwidth=\"120\" visiblefolderbtn=\"false\"");
  CTreeNodeUI* a = Find(&tree, L"a");
  EXPECT_EQ(0xFF0000AAu, a->GetItemTextColor());
  EXPECT_EQ(0xFF0000AAu, a->GetItemButton()->GetTextColor());
  EXPECT_EQ(0xFF0000BBu, a->GetItemHotTextColor());
  EXPECT_EQ(0xFF0000CCu, a->GetSelItemTextColor());
  EXPECT_EQ(0xFF0000DDu, a->GetSelItemHotTextColor());
  EXPECT_EQ(120, a->GetMinWidth());
  EXPECT_FALSE(a->GetFolderButton()->IsVisible());
  // A node added later keeps its own colours but takes the tree's flags.
  CTreeNodeUI* b = Node(L"b");
  b->SetItemTextColor(0xFF123456);
  tree.AddNode(b);
  EXPECT_EQ(0xFF123456u, b->GetItemTextColor());
  EXPECT_EQ(0u, b->GetItemHotTextColor());
  EXPECT_EQ(120, b->GetMinWidth());
  EXPECT_FALSE(b->GetFolderButton()->IsVisible());
  EXPECT_FALSE(b->GetCheckBox()->IsVisible());
  tree.ShowFolderButtons(true);
  tree.ShowCheckBoxes(true);
  EXPECT_TRUE(a->GetFolderButton()->IsVisible() && b->GetFolderButton()->IsVisible());
  EXPECT_TRUE(a->GetCheckBox()->IsVisible() && b->GetCheckBox()->IsVisible());
  EXPECT_STREQ(L"TreeViewUI", tree.ClassName());
  EXPECT_EQ(&tree, tree.FindInterface(L"TreeView"));
  EXPECT_NE(nullptr, tree.FindInterface(L"List"));
  EXPECT_FALSE(tree.GetHeader()->IsVisible());
}
