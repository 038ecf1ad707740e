// Mouse, keys and the wheel through real window messages: clicks on rows,
// disabled rows, events rows hand to their list, header clicks and drags.
#include <gtest/gtest.h>

#include "tests/uitoolkit/list/list_window.h"

using namespace listtest;

namespace {
const wchar_t* kHidden = L"header=\"hidden\" vscrollbar=\"true\"";
}

TEST(ListEventsTest, ItemClickComesBeforeTheSelectionChanges) {
  ListWindow w(5, 300, 200, kHidden);
  ASSERT_TRUE(w.list->SelectItem(0));
  w.notes.entries.clear();
  w.Down(20, 50);  // row 2
  w.Up(20, 50);
  EXPECT_EQ(Log({L"r2:itemclick:0:0", L"list:itemselect:2:0"}), w.notes.entries);
  EXPECT_EQ(std::vector<int>({0}), w.notes.selectionAtClick);
  // The right button selects as well.
  w.Send(WM_RBUTTONDOWN, MK_RBUTTON, Pt(20, 70));
  EXPECT_EQ(3, w.list->GetSelectedIndex());
  // A double click activates.
  w.notes.entries.clear();
  w.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, Pt(20, 70));
  EXPECT_EQ(L"r3:itemactivate:0:0", w.notes.entries.back());
}

TEST(ListEventsTest, DisabledRowGetsNoHotStateClickOrSelection) {
  ListWindow w(5, 300, 200, kHidden);
  auto* row = static_cast<CListLabelElementUI*>(w.RowAt(1));
  w.Move(20, 30);
  EXPECT_TRUE(row->GetState() & UISTATE_HOT);
  row->SetEnabled(false);
  EXPECT_EQ(0u, row->GetState());
  w.Move(20, 70);
  w.Move(20, 30);
  EXPECT_EQ(0u, row->GetState());
  w.notes.entries.clear();
  w.Down(20, 30);
  w.Up(20, 30);
  w.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, Pt(20, 30));
  EXPECT_TRUE(w.notes.entries.empty());
  EXPECT_EQ(-1, w.list->GetSelectedIndex());
  EXPECT_FALSE(row->Activate());
}

TEST(ListEventsTest, KeysAndWheelOnARowReachTheList) {
  ListWindow w(20, 300, 100, kHidden);
  w.Down(20, 10);
  w.Up(20, 10);
  ASSERT_EQ(w.RowAt(0), w.win.manager.GetFocusControl());
  w.Key(VK_DOWN);
  w.Key(VK_DOWN);
  EXPECT_EQ(2, w.list->GetSelectedIndex());
  EXPECT_EQ(w.RowAt(2), w.win.manager.GetFocusControl());
  w.Key(VK_NEXT);
  const int line = w.win.manager.DefaultFont()->tm.tmHeight + 8;
  const int page = 100;
  EXPECT_EQ(page, w.list->GetScrollPos().cy);
  w.Key(VK_PRIOR);
  EXPECT_EQ(0, w.list->GetScrollPos().cy);

  // Without "scrollselect" the wheel over a row scrolls one line.
  w.Wheel(20, 50, true);
  EXPECT_EQ(line, w.list->GetScrollPos().cy);
  EXPECT_EQ(2, w.list->GetSelectedIndex());
  w.Wheel(20, 50, false);
  EXPECT_EQ(0, w.list->GetScrollPos().cy);

  // With it the wheel moves the selection instead.
  w.list->ApplyAttribute(L"scrollselect", L"true");
  w.Wheel(20, 50, true);
  EXPECT_EQ(3, w.list->GetSelectedIndex());
  w.Wheel(20, 50, false);
  w.Wheel(20, 50, false);
  EXPECT_EQ(1, w.list->GetSelectedIndex());
}

TEST(ListEventsTest, MouseDisabledRowHandsMouseEventsToTheList) {
  ListWindow w(20, 300, 100, kHidden);
  w.RowAt(1)->SetMouseEnabled(false);
  // The manager still finds the row; its wheel goes to the list.
  w.Wheel(20, 30, true);
  EXPECT_GT(w.list->GetScrollPos().cy, 0);
}

namespace {
struct HeaderWindow : ListWindow {
  CListHeaderItemUI* first = HeaderItem(100, L"h0");
  CListHeaderItemUI* second = HeaderItem(100, L"h1");
  HeaderWindow() : ListWindow(3, 300, 200) {
    list->GetHeader()->SetFixedHeight(24);
    list->Add(first);
    list->Add(second);
    Layout();
    notes.entries.clear();
  }
};
}  // namespace

TEST(ListHeaderEventsTest, DragStopsAtTheMinimumWidthAndResumesFromThere) {
  HeaderWindow w;
  EXPECT_EQ(16, w.first->GetMinWidth());
  w.Down(96, 10);  // inside the separator zone (92..100): the width is x + 4
  EXPECT_TRUE(w.first->GetState() & UISTATE_CAPTURED);
  struct Step {
    int x;
    int width;
  };
  const Step steps[] = {{56, 60}, {26, 30}, {6, 30},  {9, 30},  {36, 40},
                        {16, 20}, {12, 20}, {13, 17}, {0, 17}};
  for (const Step& s : steps) {
    SCOPED_TRACE(s.x);
    w.Drag(s.x, 10);
    EXPECT_EQ(s.width, w.first->GetFixedWidth());
    EXPECT_EQ(s.width, w.list->GetItemStyle()->rcColumn[0].right);
    EXPECT_EQ(s.width, w.list->GetItemStyle()->rcColumn[1].left);
  }
  w.Up(0, 10);
  EXPECT_FALSE(w.first->GetState() & UISTATE_CAPTURED);
  EXPECT_TRUE(w.notes.entries.empty());
}

TEST(ListHeaderEventsTest, ClickOutsideTheSeparatorSendsHeaderClick) {
  struct Case {
    const char* what;
    const wchar_t* attrs;
    int x;
    bool drags;
    bool clicks;
  };
  const Case cases[] = {
      {"middle", L"", 50, false, true},
      {"separator", L"", 97, true, false},
      {"separator, not dragable", L"dragable=\"false\"", 97, false, false},
      {"no separator", L"sepwidth=\"0\"", 99, false, true},
      {"separator at the left edge", L"sepwidth=\"-4\"", 5, true, false},
      {"disabled", L"enabled=\"false\"", 50, false, false},
  };
  HeaderWindow w;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    w.first->ApplyAttributeList(L"dragable=\"true\" sepwidth=\"4\" enabled=\"true\"");
    w.first->ApplyAttributeList(c.attrs);
    w.notes.entries.clear();
    w.Down(c.x, 10);
    EXPECT_EQ(c.drags, (w.first->GetState() & UISTATE_CAPTURED) != 0);
    EXPECT_EQ(c.clicks ? Log({L"h0:headerclick:0:0"}) : Log(), w.notes.entries);
    w.Up(c.x, 10);
    EXPECT_EQ(0u, w.first->GetState() & (UISTATE_CAPTURED | UISTATE_PUSHED));
  }
}

TEST(ListHeaderEventsTest, SeparatorSetsTheResizeCursorOnlyWhereItCanDrag) {
  HeaderWindow w;
  const HCURSOR sizewe = ::LoadCursorW(nullptr, IDC_SIZEWE);
  struct Case {
    const wchar_t* attrs;
    int x;
    bool resize;
  };
  const Case cases[] = {
      {L"", 97, true},
      {L"", 50, false},
      {L"dragable=\"false\"", 97, false},
      {L"sepwidth=\"-4\"", 5, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    w.first->ApplyAttributeList(L"dragable=\"true\" sepwidth=\"4\"");
    w.first->ApplyAttributeList(c.attrs);
    ::SetCursor(nullptr);
    TUiEvent event = {};
    event.Type = UIEVENT_SETCURSOR;
    event.pSender = w.first;
    event.ptMouse = POINT{c.x, 10};
    w.first->HandleEvent(event);
    EXPECT_EQ(c.resize, ::GetCursor() == sizewe);
  }
  w.first->ApplyAttribute(L"sepwidth", L"0");
  EXPECT_EQ(0u, w.first->CapabilityFlags());
}
