#include <gtest/gtest.h>

#include "tests/uitoolkit/core/ui_test_fixtures.h"
#include "tests/uitoolkit/layout/layout_fixtures.h"
#include "uitoolkit/layouts/horizontal_layout.h"
#include "uitoolkit/layouts/tile_layout.h"
#include "uitoolkit/layouts/vertical_layout.h"

using namespace layouttest;

namespace {

struct Column : Tree<CVerticalLayoutUI> {
  explicit Column(int children, const wchar_t* attrs = L"vscrollbar=\"true\"") {
    root->ApplyAttributeList(attrs);
    for (int i = 0; i < children; ++i) root->Add(Box(0, 50));
    Layout(RECT{0, 0, 100, 100});
  }
  CScrollBarUI* bar() { return root->GetVerticalScrollBar(); }
  RECT first() { return root->GetItemAt(0)->GetBounds(); }
};

TEST(LayoutScrolling, OverflowShowsTheBarAndLaysOutNarrower) {
  Column c(3);
  ASSERT_NE(nullptr, c.bar());
  EXPECT_TRUE(c.bar()->IsVisible());
  EXPECT_EQ(50, c.bar()->GetScrollRange());
  EXPECT_EQ(0, c.bar()->GetScrollPos());
  EXPECT_EQ(L"84,0,100,100", Str(c.bar()->GetBounds()));
  EXPECT_EQ(L"0,0,84,50", Str(c.first()));
  EXPECT_EQ(L"0,100,84,150", Str(c.root->GetItemAt(2)->GetBounds()));

  // Fewer children: the content fits, the bar hides and the children widen.
  c.root->RemoveAt(0);
  c.Layout(RECT{0, 0, 100, 100});
  EXPECT_FALSE(c.bar()->IsVisible());
  EXPECT_EQ(0, c.bar()->GetScrollRange());
  EXPECT_EQ(L"0,0,100,50", Str(c.first()));

  // More content again: the hidden bar comes back in the same layout.
  c.root->Add(Box(0, 80));
  c.Layout(RECT{0, 0, 100, 100});
  EXPECT_TRUE(c.bar()->IsVisible());
  EXPECT_EQ(80, c.bar()->GetScrollRange());
  EXPECT_EQ(L"0,0,84,50", Str(c.first()));
  EXPECT_EQ(L"0,100,84,180", Str(c.root->GetItemAt(2)->GetBounds()));

  // A bar enabled while the content fits stays hidden.
  Column fits(2);
  EXPECT_FALSE(fits.bar()->IsVisible());
  EXPECT_EQ(L"0,50,100,100", Str(fits.root->GetItemAt(1)->GetBounds()));
}

TEST(LayoutScrolling, BarsTakeTheSkinsDefaultStyle) {
  Tree<CVerticalLayoutUI> t;
  t.manager.AddDefaultAttributes(L"VScrollBar", L"width=\"10\" linesize=\"3\"");
  t.root->ApplyAttributeList(L"vscrollbar=\"true\"");
  for (int i = 0; i < 3; ++i) t.root->Add(Box(0, 50));
  t.Layout(RECT{0, 0, 100, 100});
  EXPECT_EQ(L"90,0,100,100", Str(t.root->GetVerticalScrollBar()->GetBounds()));
  EXPECT_EQ(3, t.root->GetVerticalScrollBar()->GetLineSize());
  // A style given on the container applies after the default.
  t.root->ApplyAttributeList(L"vscrollbarstyle=\"width=&quot;12&quot;\"");
  t.root->ApplyAttribute(L"vscrollbarstyle", L"width=\"12\"");
  t.Layout(RECT{0, 0, 100, 100});
  EXPECT_EQ(L"88,0,100,100", Str(t.root->GetVerticalScrollBar()->GetBounds()));
  t.root->ApplyAttribute(L"vscrollbar", L"false");
  EXPECT_EQ(nullptr, t.root->GetVerticalScrollBar());
}

// Reaches the re-layout guard, as the layout that makes room for a newly
// shown bar does.
struct GuardedColumn : CVerticalLayoutUI {
  void UpdateUnderGuard(const RECT& inner, int required) {
    m_scrollProcessing = true;
    UpdateScrollBars(inner, 0, required);
    m_scrollProcessing = false;
  }
};

TEST(LayoutScrolling, ContentThatFitsGivesRangeZero) {
  Tree<GuardedColumn> t;
  t.root->EnableScrollBars(true, false);
  for (int i = 0; i < 3; ++i) t.root->Add(Box(0, 50));
  t.Layout(RECT{0, 0, 100, 100});
  CScrollBarUI* bar = t.root->GetVerticalScrollBar();
  ASSERT_TRUE(bar->IsVisible());
  bar->SetScrollPos(30);
  t.root->RemoveAt(0);
  t.root->RemoveAt(0);
  // Narrower content turned out 40 pixels shorter than the room: no range
  // of 40, no scrolling into empty space.
  t.root->UpdateUnderGuard(RECT{0, 0, 84, 100}, 60);
  EXPECT_EQ(0, bar->GetScrollRange());
  EXPECT_EQ(0, bar->GetScrollPos());
  EXPECT_FALSE(bar->IsVisible());
}

TEST(LayoutScrolling, ScrollingMovesChildrenAndStopsAtTheRange) {
  Column c(3);  // range 50; a window-less manager's line is 8 pixels
  c.root->ScrollLineDown();
  EXPECT_EQ(8, c.bar()->GetScrollPos());
  EXPECT_EQ(L"0,-8,84,42", Str(c.first()));
  for (int i = 0; i < 10; ++i) c.root->ScrollLineDown();
  EXPECT_EQ(50, c.bar()->GetScrollPos());
  EXPECT_EQ(L"0,-50,84,0", Str(c.first()));
  // A layout keeps the scroll position.
  c.Layout(RECT{0, 0, 100, 100});
  EXPECT_EQ(L"0,-50,84,0", Str(c.first()));
  c.root->ScrollPageUp();
  EXPECT_EQ(0, c.bar()->GetScrollPos());

  struct Key {
    int type;
    WPARAM wparam;
    WCHAR key;
    int pos;
  } keys[] = {
      {UIEVENT_KEYDOWN, 0, VK_END, 50},     {UIEVENT_KEYDOWN, 0, VK_HOME, 0},
      {UIEVENT_KEYDOWN, 0, VK_NEXT, 50},    {UIEVENT_KEYDOWN, 0, VK_PRIOR, 0},
      {UIEVENT_KEYDOWN, 0, VK_DOWN, 8},     {UIEVENT_KEYDOWN, 0, VK_UP, 0},
      {UIEVENT_SCROLLWHEEL, 1, 0, 8},       {UIEVENT_SCROLLWHEEL, 0, 0, 0},
  };
  for (const Key& k : keys) {
    TUiEvent e = {};
    e.Type = k.type;
    e.wParam = k.wparam;
    e.chKey = k.key;
    c.root->HandleEvent(e);
    EXPECT_EQ(k.pos, c.bar()->GetScrollPos()) << k.type << " " << k.key << " " << k.wparam;
  }
}

TEST(LayoutScrolling, RowsAndPlainContainersDoNotShowTheVerticalBar) {
  Tree<CHorizontalLayoutUI> row;
  row.root->ApplyAttributeList(L"vscrollbar=\"true\"");
  row.root->Add(Box(50, 500));
  row.Layout(RECT{0, 0, 100, 100});
  EXPECT_FALSE(row.root->GetVerticalScrollBar()->IsVisible());
  EXPECT_EQ(L"0,0,50,500", Str(row.root->GetItemAt(0)->GetBounds()));

  Tree<CContainerUI> plain;
  plain.root->ApplyAttributeList(L"vscrollbar=\"true\"");
  plain.root->Add(Box(50, 500));
  plain.Layout(RECT{0, 0, 100, 100});
  EXPECT_TRUE(plain.root->GetVerticalScrollBar()->IsVisible());  // never placed or hidden
  EXPECT_EQ(L"0,0,0,0", Str(plain.root->GetVerticalScrollBar()->GetBounds()));
}

TEST(LayoutScrolling, TileOverflowUsesTheNarrowerWidth) {
  Tree<CTileLayoutUI> t;
  t.root->ApplyAttributeList(L"itemsize=\"100,80\" vscrollbar=\"true\"");
  for (int i = 0; i < 6; ++i) t.root->Add(Box(100, 80));
  t.Layout(RECT{0, 0, 350, 100});
  CScrollBarUI* bar = t.root->GetVerticalScrollBar();
  EXPECT_TRUE(bar->IsVisible());
  EXPECT_EQ(60, bar->GetScrollRange());
  EXPECT_EQ(3, t.root->GetColumns());                                 // 334 / 100
  EXPECT_EQ(L"116,0,216,80", Str(t.root->GetItemAt(1)->GetBounds()));  // cells of 111
  t.root->ScrollToBottom();
  EXPECT_EQ(L"5,20,105,100", Str(t.root->GetItemAt(3)->GetBounds()));
}

struct ScrollCounter : INotifyUI {
  int scrolls = 0;
  void Notify(TUiNotify& msg) override {
    if (msg.sType == L"scroll") ++scrolls;
  }
};

TEST(LayoutScrolling, AnOwnedBarScrollsItsContainerQuietly) {
  uitest::HostWindow win;
  win.CreateAt(0, 0, 100, 100);
  CVerticalLayoutUI* column = new CVerticalLayoutUI;
  column->EnableScrollBars(true, false);
  for (int i = 0; i < 4; ++i) column->Add(Box(0, 50));
  win.manager.AttachRoot(column);
  ScrollCounter counter;
  win.manager.AddNotifyReceiver(&counter);
  ::UpdateWindow(win.GetHWND());
  CScrollBarUI* bar = column->GetVerticalScrollBar();
  ASSERT_TRUE(bar->IsVisible());
  ASSERT_EQ(L"84,84,100,100", Str(bar->GetButton2Rect()));
  ::SendMessageW(win.GetHWND(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(90, 90));
  ::SendMessageW(win.GetHWND(), WM_LBUTTONUP, 0, MAKELPARAM(90, 90));
  int line = win.manager.DefaultFont()->tm.tmHeight + 8;
  EXPECT_EQ(line, bar->GetScrollPos());
  EXPECT_EQ(-line, column->GetItemAt(0)->GetTop());
  EXPECT_EQ(0, counter.scrolls);
  // The wheel over a child reaches the column.
  ::SendMessageW(win.GetHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(40, 40));
  POINT screen = {40, 40};
  ::ClientToScreen(win.GetHWND(), &screen);
  ::SendMessageW(win.GetHWND(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA),
                 MAKELPARAM(screen.x, screen.y));
  EXPECT_EQ(2 * line, bar->GetScrollPos());
  win.manager.RemoveNotifyReceiver(&counter);
}

}  // namespace
