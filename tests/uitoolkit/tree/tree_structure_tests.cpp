// The tree's rows follow its nodes: every way of adding and removing a
// node leaves the rows in depth-first order, with child lists, parents and
// indentation that agree. Removing never leaves a freed node in a list.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "tests/uitoolkit/tree/tree_fixtures.h"
#include "uitoolkit/controls/list_element.h"
#include "uitoolkit/layouts/horizontal_layout.h"

using namespace treetest;

namespace {

struct Step {
  const char* what;
  std::function<bool(CTreeViewUI*)> run;
  bool result;
  const wchar_t* rows;
};

void RunSteps(const Step* steps, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const Step& s = steps[i];
    std::unique_ptr<CTreeViewUI> tree(SampleTree());
    ASSERT_EQ(L"a a1[a] a11[a1] a2[a] b b1[b]", Rows(tree.get()));
    EXPECT_EQ(s.result, s.run(tree.get())) << s.what;
    EXPECT_EQ(s.rows, Rows(tree.get())) << s.what;
    EXPECT_EQ(L"", Disagreements(tree.get())) << s.what;
  }
}

// x{x1{x11}, x2}, built before it meets a tree.
CTreeNodeUI* Subtree() {
  CTreeNodeUI* x = Node(L"x");
  CTreeNodeUI* x1 = Node(L"x1");
  x->Add(x1);
  x1->Add(Node(L"x11"));
  x->Add(Node(L"x2"));
  return x;
}

}  // namespace

TEST(TreeStructureTest, AddingNodesToTheTree) {
  static CListLabelElementUI* plain = nullptr;
  const Step steps[] = {
      {"AddNode appends", [](CTreeViewUI* t) { return t->AddNode(Node(L"c")); }, true,
       L"a a1[a] a11[a1] a2[a] b b1[b] c"},
      {"AddNode takes a subtree depth first",
       [](CTreeViewUI* t) { return t->AddNode(Subtree()); }, true,
       L"a a1[a] a11[a1] a2[a] b b1[b] x x1[x] x11[x1] x2[x]"},
      {"AddNode refuses what is no node",
       [](CTreeViewUI* t) {
         plain = new CListLabelElementUI;
         const bool added = t->AddNode(plain);
         delete plain;
         return added;
       },
       false, L"a a1[a] a11[a1] a2[a] b b1[b]"},
      {"AddNodeAt the first row",
       [](CTreeViewUI* t) { return t->AddNodeAt(Subtree(), 0) == 4; }, true,
       L"x x1[x] x11[x1] x2[x] a a1[a] a11[a1] a2[a] b b1[b]"},
      {"AddNodeAt a middle row",
       [](CTreeViewUI* t) { return t->AddNodeAt(Node(L"c"), 4) == 5; }, true,
       L"a a1[a] a11[a1] a2[a] c b b1[b]"},
      {"AddNodeAt the position after the last row appends",
       [](CTreeViewUI* t) { return t->AddNodeAt(Subtree(), 6) == 10; }, true,
       L"a a1[a] a11[a1] a2[a] b b1[b] x x1[x] x11[x1] x2[x]"},
      {"AddNodeAt past that is refused",
       [](CTreeViewUI* t) {
         std::unique_ptr<CTreeNodeUI> c(Node(L"c"));
         return t->AddNodeAt(c.get(), 7) == -1 && t->AddNodeAt(c.get(), -1) == -1;
       },
       true, L"a a1[a] a11[a1] a2[a] b b1[b]"},
      {"InsertNodeBefore a row",
       [](CTreeViewUI* t) { return t->InsertNodeBefore(Node(L"c"), Find(t, L"b")); }, true,
       L"a a1[a] a11[a1] a2[a] c b b1[b]"},
      {"InsertNodeBefore nothing, or a row not in the tree",
       [](CTreeViewUI* t) {
         std::unique_ptr<CTreeNodeUI> c(Node(L"c")), stranger(Node(L"s"));
         return t->InsertNodeBefore(nullptr, nullptr) || t->InsertNodeBefore(c.get(), nullptr) ||
                t->InsertNodeBefore(c.get(), stranger.get());
       },
       false, L"a a1[a] a11[a1] a2[a] b b1[b]"},
      {"a node added twice is refused the second time",
       [](CTreeViewUI* t) { return t->AddNode(Find(t, L"b")); }, false,
       L"a a1[a] a11[a1] a2[a] b b1[b]"},
  };
  RunSteps(steps, sizeof(steps) / sizeof(steps[0]));
  // An empty tree takes no InsertNodeBefore.
  CTreeViewUI empty;
  std::unique_ptr<CTreeNodeUI> c(Node(L"c")), d(Node(L"d"));
  EXPECT_FALSE(empty.InsertNodeBefore(c.get(), d.get()));
}

TEST(TreeStructureTest, AddingChildrenToNodesOfTheTree) {
  const Step steps[] = {
      {"Add goes after the node's last descendant",
       [](CTreeViewUI* t) { return Find(t, L"a")->Add(Node(L"a3")); }, true,
       L"a a1[a] a11[a1] a2[a] a3[a] b b1[b]"},
      {"Add to a leaf goes right after it",
       [](CTreeViewUI* t) { return Find(t, L"a2")->Add(Node(L"a21")); }, true,
       L"a a1[a] a11[a1] a2[a] a21[a2] b b1[b]"},
      {"Add under the node whose subtree ends the tree appends",
       [](CTreeViewUI* t) { return Find(t, L"b1")->Add(Node(L"b11")); }, true,
       L"a a1[a] a11[a1] a2[a] b b1[b] b11[b1]"},
      {"Add of a subtree takes it depth first, one level deeper",
       [](CTreeViewUI* t) { return Find(t, L"a1")->Add(Subtree()); }, true,
       L"a a1[a] a11[a1] x[a1] x1[x] x11[x1] x2[x] a2[a] b b1[b]"},
      {"AddAt a child index goes before that child",
       [](CTreeViewUI* t) { return Find(t, L"a")->AddAt(Node(L"a0"), 1); }, true,
       L"a a1[a] a11[a1] a0[a] a2[a] b b1[b]"},
      {"AddAt 0 goes first",
       [](CTreeViewUI* t) { return Find(t, L"a")->AddAt(Subtree(), 0); }, true,
       L"a x[a] x1[x] x11[x1] x2[x] a1[a] a11[a1] a2[a] b b1[b]"},
      {"AddAt an index that holds no child adds as Add does",
       [](CTreeViewUI* t) { return Find(t, L"a")->AddAt(Node(L"a3"), 9); }, true,
       L"a a1[a] a11[a1] a2[a] a3[a] b b1[b]"},
      {"AddAt an index that holds no child, at the end of the tree",
       [](CTreeViewUI* t) { return Find(t, L"b")->AddAt(Node(L"b2"), 5); }, true,
       L"a a1[a] a11[a1] a2[a] b b1[b] b2[b]"},
      {"AddAt refuses what is no node",
       [](CTreeViewUI* t) {
         std::unique_ptr<CListLabelElementUI> plain(new CListLabelElementUI);
         return Find(t, L"a")->AddAt(plain.get(), 0);
       },
       false, L"a a1[a] a11[a1] a2[a] b b1[b]"},
      {"a child added to itself is refused",
       [](CTreeViewUI* t) { return Find(t, L"a")->Add(Find(t, L"a")); }, false,
       L"a a1[a] a11[a1] a2[a] b b1[b]"},
  };
  RunSteps(steps, sizeof(steps) / sizeof(steps[0]));
}

TEST(TreeStructureTest, RemovingNodes) {
  const Step steps[] = {
      {"RemoveAt a leaf", [](CTreeViewUI* t) { return t->RemoveAt(2); }, true,
       L"a a1[a] a2[a] b b1[b]"},
      {"RemoveAt an inner node takes its subtree",
       [](CTreeViewUI* t) { return t->RemoveAt(0); }, true, L"b b1[b]"},
      {"RemoveAt a child with children",
       [](CTreeViewUI* t) { return t->RemoveAt(1); }, true, L"a a2[a] b b1[b]"},
      {"RemoveAt out of range",
       [](CTreeViewUI* t) { return t->RemoveAt(6) || t->RemoveAt(-1) || t->RemoveAt(99); }, false,
       L"a a1[a] a11[a1] a2[a] b b1[b]"},
      {"RemoveAt a plain row",
       [](CTreeViewUI* t) {
         CListLabelElementUI* plain = new CListLabelElementUI;
         plain->SetName(L"p");
         t->AddAt(plain, 4);
         return t->RemoveAt(4);
       },
       true, L"a a1[a] a11[a1] a2[a] b b1[b]"},
      {"Remove through the parent takes the subtree",
       [](CTreeViewUI* t) { return Find(t, L"a")->Remove(Find(t, L"a1")); }, true,
       L"a a2[a] b b1[b]"},
      {"Remove of a node that is not a child",
       [](CTreeViewUI* t) { return Find(t, L"a")->Remove(Find(t, L"b1")); }, false,
       L"a a1[a] a11[a1] a2[a] b b1[b]"},
      {"the tree's Remove of a node takes its subtree",
       [](CTreeViewUI* t) { return t->Remove(Find(t, L"a1")); }, true, L"a a2[a] b b1[b]"},
      {"RemoveNode of a node of no tree changes nothing",
       [](CTreeViewUI* t) {
         std::unique_ptr<CTreeNodeUI> stranger(Subtree());
         return t->RemoveNode(stranger.get()) || t->RemoveNode(stranger->GetChildNode(0));
       },
       false, L"a a1[a] a11[a1] a2[a] b b1[b]"},
      {"RemoveNode of another tree's node changes nothing",
       [](CTreeViewUI* t) {
         std::unique_ptr<CTreeViewUI> other(SampleTree());
         return t->RemoveNode(Find(other.get(), L"a1")) || t->RemoveNode(nullptr);
       },
       false, L"a a1[a] a11[a1] a2[a] b b1[b]"},
      {"removed, then the parent is walked",
       [](CTreeViewUI* t) {
         t->RemoveAt(1);
         CTreeNodeUI* a = Find(t, L"a");
         t->ExpandNodes(false, a);
         t->CheckNodes(true, a);
         t->ExpandNodes(true, a);
         return a->GetChildNodeCount() == 1 && a->GetChildNode(0) == Find(t, L"a2");
       },
       true, L"a a2[a] b b1[b]"},
  };
  RunSteps(steps, sizeof(steps) / sizeof(steps[0]));
}

TEST(TreeStructureTest, NodesOutsideATree) {
  // A parent in no tree keeps only its list; removing a child deletes that
  // child's subtree, and deleting the parent deletes what is left.
  std::unique_ptr<CTreeNodeUI> x(Subtree());
  ASSERT_EQ(2, x->GetChildNodeCount());
  EXPECT_EQ(-1, x->GetTreeIndex());
  CTreeNodeUI* x1 = x->GetChildNode(0);
  EXPECT_EQ(x.get(), x1->GetParentNode());
  EXPECT_EQ(18, x1->GetIndentLine()->GetFixedWidth());
  EXPECT_EQ(34, x1->GetChildNode(0)->GetIndentLine()->GetFixedWidth());
  EXPECT_TRUE(x->Remove(x1));
  EXPECT_EQ(1, x->GetChildNodeCount());
  EXPECT_EQ(L"x2", std::wstring(x->GetChildNode(0)->GetName()));
  EXPECT_EQ(x.get(), x->GetLastDescendant()->GetParentNode());
  // Other controls go into the node's row container and leave it again.
  CLabelUI* label = new CLabelUI;
  EXPECT_TRUE(x->Add(label));
  EXPECT_EQ(2, x->GetCount());
  EXPECT_TRUE(x->Remove(label));
  EXPECT_EQ(1, x->GetCount());
}

TEST(TreeNodeTest, PartsTextAndAttributes) {
  std::unique_ptr<CTreeNodeUI> node(Node(L"n"));
  EXPECT_STREQ(L"TreeNodeUI", node->ClassName());
  EXPECT_EQ(node.get(), node->FindInterface(L"TreeNode"));
  EXPECT_NE(nullptr, node->FindInterface(L"ListItem"));
  EXPECT_EQ(18, node->GetFixedHeight());
  EXPECT_EQ(250, node->GetFixedWidth());
  EXPECT_TRUE(node->IsNodeExpanded());
  // The row: indentation line (hidden, 2), folder button (18), check box
  // (hidden, 18), item button (left aligned, no mouse).
  CHorizontalLayoutUI* row = node->GetRowLayout();
  ASSERT_EQ(4, row->GetCount());
  EXPECT_FALSE(node->GetIndentLine()->IsVisible());
  EXPECT_EQ(2, node->GetIndentLine()->GetFixedWidth());
  EXPECT_TRUE(node->GetFolderButton()->IsVisible());
  EXPECT_EQ(18, node->GetFolderButton()->GetFixedWidth());
  EXPECT_FALSE(node->GetCheckBox()->IsVisible());
  EXPECT_FALSE(node->GetItemButton()->IsMouseEnabled());
  EXPECT_EQ(UINT(DT_LEFT), node->GetItemButton()->GetTextStyle() & (DT_LEFT | DT_CENTER | DT_RIGHT));

  node->ApplyAttributeList(
      L"text=\"Docs\" itemtextcolor=\"#FF112233\" itemhottextcolor=\"FF445566\" "
      L"selitemtextcolor=\"#FF778899\" selitemhottextcolor=\"#FFAABBCC\"");
  // The part lists, as a skin document hands them over (quotes decoded).
  node->ApplyAttribute(L"folderattr", L"width=\"20\"");
  node->ApplyAttribute(L"checkboxattr", L"name=\"cb\"");
  node->ApplyAttribute(L"itemattr", L"textpadding=\"4,0,0,0\"");
  node->ApplyAttribute(L"dotlineattr", L"bkcolor=\"#FF000000\"");
  node->ApplyAttribute(L"horizattr", L"childpadding=\"3\"");
  EXPECT_STREQ(L"Docs", node->GetText().GetData());
  EXPECT_STREQ(L"Docs", node->GetItemButton()->GetText().GetData());
  EXPECT_EQ(0xFF112233u, node->GetItemTextColor());
  EXPECT_EQ(0xFF112233u, node->GetItemButton()->GetTextColor());
  EXPECT_EQ(0xFF445566u, node->GetItemHotTextColor());
  EXPECT_EQ(0xFF778899u, node->GetSelItemTextColor());
  EXPECT_EQ(0xFFAABBCCu, node->GetSelItemHotTextColor());
  EXPECT_EQ(20, node->GetFolderButton()->GetFixedWidth());
  EXPECT_STREQ(L"cb", node->GetCheckBox()->GetName().GetData());
  EXPECT_EQ(4, node->GetItemButton()->GetTextPadding().left);
  EXPECT_EQ(0xFF000000u, node->GetIndentLine()->GetBkColor());
  EXPECT_EQ(3, row->GetChildPadding());
}
