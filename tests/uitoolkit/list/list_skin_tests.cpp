// A list written in a skin document: the skin's header replaces the
// default one, header items and rows land in their places, and "selected"
// selects the row it is written on.
#include <gtest/gtest.h>

#include "tests/uitoolkit/list/list_window.h"
#include "uitoolkit/skin/skin_builder.h"

using namespace listtest;

TEST(ListSkinTest, DocumentBuildsHeaderColumnsAndSelection) {
  HostWindow win;
  win.CreateAt(40, 40, 300, 200);
  ListNotes notes;
  win.manager.AddNotifyReceiver(&notes);
  CSkinBuilder builder;
  CControlUI* root = builder.BuildSkin(
      L"<Window><List name=\"list\" header=\"hidden\" vscrollbar=\"true\">"
      L"<ListHeader name=\"head\"><ListHeaderItem width=\"60\"/><ListHeaderItem width=\"90\"/>"
      L"</ListHeader>"
      L"<ListLabelElement name=\"a\" text=\"one\" height=\"20\"/>"
      L"<ListTextElement name=\"b\" height=\"20\"/>"
      L"<ListContainerElement name=\"c\" height=\"20\" selected=\"false\">"
      L"<Control name=\"c0\"/><Control name=\"c1\"/></ListContainerElement>"
      L"<ListHeaderItem width=\"30\"/>"
      L"</List></Window>",
      nullptr, nullptr, &win.manager);
  ASSERT_NE(nullptr, root) << builder.Document().LastError();
  win.manager.AttachRoot(root);
  auto* list = static_cast<CListUI*>(root->FindInterface(L"List"));
  ASSERT_NE(nullptr, list);
  ASSERT_NE(nullptr, list->GetHeader());
  EXPECT_EQ(L"head", std::wstring(list->GetHeader()->GetName()));
  EXPECT_FALSE(list->GetHeader()->IsVisible());
  EXPECT_EQ(3, list->GetHeader()->GetCount());
  EXPECT_EQ(3, list->GetCount());
  EXPECT_EQ(2, list->GetSelectedIndex());
  EXPECT_NE(nullptr, list->GetVerticalScrollBar());
  list->SetBounds(RECT{0, 0, 300, 200});
  CControlUI* c1 = win.manager.FindControl(L"c1");
  ASSERT_NE(nullptr, c1);
  EXPECT_EQ(L"60,40,150,60", Str(c1->GetBounds()));
  EXPECT_EQ(L"150,0,180,0", Str(list->GetItemStyle()->rcColumn[2]));
}
