// Column rectangles from the header (shown, hidden, scrolled, more than
// fit), rows aligned to them, and scrolling a selected row into view.
#include <gtest/gtest.h>

#include "tests/uitoolkit/list/list_window.h"

using namespace listtest;

namespace {

std::vector<std::wstring> Columns(CListUI* list) {
  std::vector<std::wstring> out;
  const TUiListItemStyle* style = list->GetItemStyle();
  for (int c = 0; c < style->nColumns; ++c) out.push_back(Str(style->rcColumn[c]));
  return out;
}

void AddHeaderItems(CListUI* list, std::initializer_list<int> widths) {
  for (int w : widths) list->Add(HeaderItem(w));
}

}  // namespace

TEST(ListColumnsTest, HeaderItemsDriveColumnsShownOrHidden) {
  struct Case {
    const wchar_t* attrs;
    std::vector<std::wstring> columns;
    int body_top;
  };
  const Case cases[] = {
      {L"header=\"true\"", {L"0,0,50,30", L"50,0,120,30", L"120,0,150,30"}, 30},
      {L"header=\"hidden\"", {L"0,0,50,0", L"50,0,120,0", L"120,0,150,0"}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.attrs)));
    ListWindow w(2, 300, 200, c.attrs);
    w.list->GetHeader()->SetFixedHeight(30);
    AddHeaderItems(w.list, {50, 70, 30});
    w.Layout();
    EXPECT_EQ(c.columns, Columns(w.list));
    EXPECT_EQ(c.body_top, w.list->GetBody()->GetBounds().top);
    // Hidden or not, the items are not visible to the user unless shown.
    EXPECT_EQ(w.list->GetHeader()->IsVisible(), w.list->GetHeader()->GetItemAt(0)->IsVisible());
  }
}

TEST(ListColumnsTest, ResizedItemMovesTheColumnsAfterIt) {
  ListWindow w(2, 300, 200, L"header=\"hidden\"");
  AddHeaderItems(w.list, {50, 70});
  w.Layout();
  // No explicit layout: the window's next paint lays the list out again.
  w.list->GetHeader()->GetItemAt(0)->SetFixedWidth(80);
  ::UpdateWindow(w.win.GetHWND());
  EXPECT_EQ((std::vector<std::wstring>{L"0,0,80,0", L"80,0,150,0"}), Columns(w.list));
  w.list->Add(HeaderItem(40));
  ::UpdateWindow(w.win.GetHWND());
  EXPECT_EQ((std::vector<std::wstring>{L"0,0,80,0", L"80,0,150,0", L"150,0,190,0"}),
            Columns(w.list));
}

TEST(ListColumnsTest, FortyHeaderItemsGiveThirtyTwoColumns) {
  ListWindow w(1, 300, 200, L"header=\"hidden\"");
  for (int i = 0; i < 40; ++i) w.list->Add(HeaderItem(20));
  w.Layout();
  EXPECT_EQ(32, w.list->GetItemStyle()->nColumns);
  EXPECT_EQ(L"620,0,640,0", Str(w.list->GetItemStyle()->rcColumn[31]));
  // Items past the 32nd still lay out in the header.
  const RECT& last = w.list->GetHeader()->GetItemAt(39)->GetBounds();
  EXPECT_EQ(780, last.left);
  EXPECT_EQ(800, last.right);
}

TEST(ListColumnsTest, HorizontalScrollShiftsHeaderColumnsAndRows) {
  ListWindow w(3, 300, 200, L"header=\"hidden\" hscrollbar=\"true\"");
  AddHeaderItems(w.list, {200, 200});
  w.Layout();
  CScrollBarUI* hbar = w.list->GetHorizontalScrollBar();
  ASSERT_NE(nullptr, hbar);
  EXPECT_TRUE(hbar->IsVisible());
  EXPECT_EQ(100, hbar->GetScrollRange());
  EXPECT_EQ(L"0,0,400,20", Str(w.RowAt(0)->GetBounds()));

  w.list->SetScrollPos(SIZE{30, 0});
  EXPECT_EQ((std::vector<std::wstring>{L"-30,0,170,0", L"170,0,370,0"}), Columns(w.list));
  EXPECT_EQ(L"-30,0,370,20", Str(w.RowAt(0)->GetBounds()));
  // A full layout keeps the shift.
  w.Layout();
  EXPECT_EQ((std::vector<std::wstring>{L"-30,0,170,0", L"170,0,370,0"}), Columns(w.list));
  EXPECT_EQ(L"-30,0,370,20", Str(w.RowAt(0)->GetBounds()));

  w.list->SetScrollPos(SIZE{0, 0});
  EXPECT_EQ((std::vector<std::wstring>{L"0,0,200,0", L"200,0,400,0"}), Columns(w.list));

  // Content that fits hides the bar and resets it.
  w.list->GetHeader()->GetItemAt(1)->SetFixedWidth(50);
  w.Layout();
  EXPECT_FALSE(hbar->IsVisible());
  EXPECT_EQ(0, hbar->GetScrollRange());
}

TEST(ListColumnsTest, ContainerRowPutsChildCOnColumnC) {
  ListWindow w(0, 400, 200, L"header=\"hidden\"");
  AddHeaderItems(w.list, {30, 40, 50, 60, 70});
  CListContainerElementUI* row = new CListContainerElementUI;
  row->SetFixedHeight(24);
  const int sizes[6] = {5, 100, 0, 17, 3, 9};
  for (int s : sizes) {
    CControlUI* child = new CControlUI;
    if (s) child->SetFixedWidth(s);
    row->Add(child);
  }
  w.list->Add(Row(0));
  w.list->Add(row);
  w.Layout();
  w.Layout();
  const std::wstring expected[5] = {L"0,20,30,44", L"30,20,70,44", L"70,20,120,44",
                                    L"120,20,180,44", L"180,20,250,44"};
  for (int c = 0; c < 5; ++c) {
    SCOPED_TRACE(c);
    EXPECT_EQ(expected[c], Str(row->GetItemAt(c)->GetBounds()));
  }
  // The sixth child has no column and keeps the container placement.
  EXPECT_EQ(Str(row->GetBounds()), Str(row->GetItemAt(5)->GetBounds()));

  // Resizing a column moves the row content with it.
  w.list->GetHeader()->GetItemAt(0)->SetFixedWidth(60);
  w.Layout();
  EXPECT_EQ(L"60,20,100,44", Str(row->GetItemAt(1)->GetBounds()));
}

TEST(ListColumnsTest, WithoutColumnsAContainerRowStacksItsChildren) {
  ListWindow w(0, 300, 200, L"header=\"hidden\"");
  CListContainerElementUI* row = new CListContainerElementUI;
  row->SetFixedHeight(24);
  row->Add(new CControlUI);
  w.list->Add(row);
  w.Layout();
  EXPECT_EQ(L"0,0,300,24", Str(row->GetItemAt(0)->GetBounds()));
}

TEST(ListScrollIntoViewTest, BottomMeetingTheVisibleBottomIsNotScrolled) {
  struct Case {
    const char* what;
    int height;    // of the list (and the body: the header is hidden)
    const wchar_t* extra;
    int select;
    int scroll;    // vertical position after the selection
  };
  const Case cases[] = {
      {"bottom on the visible bottom", 100, L"", 4, 0},
      {"one pixel more", 99, L"", 4, 1},
      {"far below", 100, L"", 7, 60},
      {"inset at the bottom counts", 110, L" inset=\"0,0,0,10\"", 4, 0},
      {"inset at the bottom, one pixel more", 109, L" inset=\"0,0,0,10\"", 4, 1},
  };
  ListWindow w(0, 300, 200, L"header=\"hidden\" vscrollbar=\"true\"");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    w.list->GetBody()->SetInset(RECT{0, 0, 0, 0});
    if (*c.extra) w.list->GetBody()->ApplyAttributeList(c.extra + 1);
    w.area.bottom = c.height;
    w.Reset(10);
    ASSERT_TRUE(w.list->GetVerticalScrollBar()->IsVisible());
    EXPECT_TRUE(w.list->SelectItem(c.select));
    EXPECT_EQ(c.scroll, w.list->GetScrollPos().cy);
  }
}

TEST(ListScrollIntoViewTest, RowAboveScrollsUpToItsTop) {
  ListWindow w(10, 300, 100, L"header=\"hidden\" vscrollbar=\"true\"");
  w.list->SetScrollPos(SIZE{0, 50});
  EXPECT_EQ(50, w.list->GetScrollPos().cy);
  EXPECT_TRUE(w.list->SelectItem(1));
  EXPECT_EQ(20, w.list->GetScrollPos().cy);
  EXPECT_EQ(0, w.RowAt(1)->GetBounds().top);
}

TEST(ListScrollIntoViewTest, VisibleHorizontalBarShortensTheVisibleArea) {
  ListWindow w(10, 300, 100, L"header=\"hidden\" vscrollbar=\"true\" hscrollbar=\"true\"");
  w.list->Add(HeaderItem(500));
  w.Layout();
  CScrollBarUI* hbar = w.list->GetHorizontalScrollBar();
  ASSERT_TRUE(hbar->IsVisible());
  const int bar = hbar->GetFixedHeight();
  ASSERT_GT(bar, 0);
  // Row 3 ends at 80: inside 100 - bar only when the bar is at most 20 tall.
  EXPECT_TRUE(w.list->SelectItem(4));
  EXPECT_EQ(bar, w.list->GetScrollPos().cy);
}
