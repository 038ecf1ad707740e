// What the rows of a tree paint: one indentation step per level before the
// folder button, and check boxes only where the tree shows them.
#include <gtest/gtest.h>

#include "tests/uitoolkit/fixtures/canvas.h"
#include "tests/uitoolkit/resources/image_folder.h"
#include "tests/uitoolkit/tree/tree_window.h"

using namespace treetest;
using fixtures::Canvas;

namespace {

const uint32_t kFolder = 0x2060C0;
const uint32_t kCheck = 0x30A030;

// The first column of the row's middle line in `colour`, -1 when none.
int FirstColumnOf(Canvas& canvas, CControlUI* row, uint32_t colour) {
  const RECT& rc = row->GetBounds();
  const int y = (rc.top + rc.bottom) / 2;
  for (int x = rc.left; x < rc.right; ++x)
    if (canvas.At(x, y) == colour) return x;
  return -1;
}

}  // namespace

TEST(TreePaintTest, IndentationPerLevelAndCheckBoxesOnlyWhenShown) {
  ImageFolder folder;
  ASSERT_TRUE(folder.Write(L"folder.png", SolidPng((kFolder << 8) | 0xFF)));
  ASSERT_TRUE(folder.Write(L"check.png", SolidPng((kCheck << 8) | 0xFF)));
  TreeWindow& w = TreeWindow::Shared(L"bkcolor=\"#FFFFFFFF\"");
  for (int i = 0; i < w.tree->GetCount(); ++i) {
    CTreeNodeUI* node = NodeOf(w.tree->GetItemAt(i));
    node->ApplyAttribute(L"folderattr", L"normalimage=\"folder.png\"");
    node->ApplyAttribute(L"checkboxattr", L"normalimage=\"check.png\"");
  }
  struct Case {
    bool checkBoxes;
  } cases[] = {{false}, {true}};
  for (const Case& c : cases) {
    w.tree->ApplyAttribute(L"visiblecheckbtn", c.checkBoxes ? L"true" : L"false");
    w.Layout();
    Canvas canvas(300, 200, 0xFFFFFFFF);
    w.tree->Paint(canvas.dc(), RECT{0, 0, 300, 200});
    for (int i = 0; i < w.tree->GetCount(); ++i) {
      CTreeNodeUI* node = NodeOf(w.tree->GetItemAt(i));
      const int indent = Depth(node) == 0 ? 0 : 2 + 16 * Depth(node);
      const std::wstring name(node->GetName());
      EXPECT_EQ(indent, FirstColumnOf(canvas, node, kFolder)) << name;
      EXPECT_EQ(c.checkBoxes ? indent + 18 : -1, FirstColumnOf(canvas, node, kCheck)) << name;
    }
  }
}
