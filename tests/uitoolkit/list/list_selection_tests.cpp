// Rows, indexes and the single selection of a list: inserts, removals,
// moves, the reselection after removing the selected row, and refusals.
#include <gtest/gtest.h>

#include "tests/uitoolkit/list/list_window.h"

using namespace listtest;

TEST(ListSelectionTest, InsertRemoveAndMoveKeepIndexesAndSelection) {
  struct Case {
    const char* what;
    void (*act)(CListUI* list);
    Log indexes;
    int selected;
  };
  // Every case starts from rows r0..r3 with r2 selected.
  const Case cases[] = {
      {"insert before the selection", [](CListUI* l) { l->AddAt(Row(9), 1); },
       {L"r0@0", L"r9@1", L"r1@2", L"r2@3", L"r3@4"}, 3},
      {"insert at the selection", [](CListUI* l) { l->AddAt(Row(9), 2); },
       {L"r0@0", L"r1@1", L"r9@2", L"r2@3", L"r3@4"}, 3},
      {"insert after the selection", [](CListUI* l) { l->AddAt(Row(9), 3); },
       {L"r0@0", L"r1@1", L"r2@2", L"r9@3", L"r3@4"}, 2},
      {"append", [](CListUI* l) { l->Add(Row(9)); },
       {L"r0@0", L"r1@1", L"r2@2", L"r3@3", L"r9@4"}, 2},
      {"remove before the selection", [](CListUI* l) { l->RemoveAt(0); },
       {L"r1@0", L"r2@1", L"r3@2"}, 1},
      {"remove after the selection", [](CListUI* l) { l->Remove(l->GetItemAt(3)); },
       {L"r0@0", L"r1@1", L"r2@2"}, 2},
      {"move the selected row up", [](CListUI* l) { l->MoveItemTo(l->GetItemAt(2), 0); },
       {L"r2@0", L"r0@1", L"r1@2", L"r3@3"}, 0},
      {"move another row over it", [](CListUI* l) { l->MoveItemTo(l->GetItemAt(0), 3); },
       {L"r1@0", L"r2@1", L"r3@2", L"r0@3"}, 1},
      {"move to the same place", [](CListUI* l) { EXPECT_TRUE(l->MoveItemTo(l->GetItemAt(1), 1)); },
       {L"r0@0", L"r1@1", L"r2@2", L"r3@3"}, 2},
      {"move to a bad place", [](CListUI* l) { EXPECT_FALSE(l->MoveItemTo(l->GetItemAt(1), 9)); },
       {L"r0@0", L"r1@1", L"r2@2", L"r3@3"}, 2},
      {"insert at a bad place", [](CListUI* l) { EXPECT_FALSE(l->AddAt(Row(9), 7)); },
       {L"r0@0", L"r1@1", L"r2@2", L"r3@3"}, 2},
  };
  ListWindow w;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    w.Reset(4);
    ASSERT_TRUE(w.list->SelectItem(2));
    w.notes.entries.clear();
    c.act(w.list);
    EXPECT_EQ(c.indexes, w.Indexes());
    EXPECT_EQ(c.selected, w.list->GetSelectedIndex());
    auto* item = static_cast<IListItemUI*>(w.RowAt(c.selected)->FindInterface(L"ListItem"));
    EXPECT_TRUE(item->IsSelected());
    EXPECT_EQ(L"r2", std::wstring(w.RowAt(c.selected)->GetName()));
    EXPECT_TRUE(w.notes.entries.empty());
  }
}

TEST(ListSelectionTest, RemovingTheSelectedRowReselectsAndAnnouncesWithMinusOne) {
  struct Case {
    const char* what;
    int remove;
    std::vector<int> disabled;
    std::wstring now_selected;  // empty: nothing selected
    Log notes;
  };
  // Rows r0..r4; the removed row is selected first.
  const Case cases[] = {
      {"the row moving into its place", 2, {}, L"r3", {L"list:itemselect:2:-1"}},
      {"the nearest before when that one is disabled", 2, {3}, L"r1",
       {L"list:itemselect:1:-1"}},
      {"the first selectable when none before is", 1, {0, 2}, L"r3",
       {L"list:itemselect:2:-1"}},
      {"the one before when the last row goes", 4, {}, L"r3", {L"list:itemselect:3:-1"}},
      {"nothing when no row is selectable", 0, {1, 2, 3, 4}, L"", {}},
  };
  ListWindow w;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    w.Reset(5);
    ASSERT_TRUE(w.list->SelectItem(c.remove));
    for (int d : c.disabled) w.RowAt(d)->SetEnabled(false);
    w.notes.entries.clear();
    CControlUI* focus = w.win.manager.GetFocusControl();
    EXPECT_TRUE(w.list->RemoveAt(c.remove));
    EXPECT_EQ(c.notes, w.notes.entries);
    if (c.now_selected.empty()) {
      EXPECT_EQ(-1, w.list->GetSelectedIndex());
    } else {
      ASSERT_GE(w.list->GetSelectedIndex(), 0);
      EXPECT_EQ(c.now_selected, std::wstring(w.RowAt(w.list->GetSelectedIndex())->GetName()));
    }
    // The focus did not move to the new row.
    EXPECT_EQ(focus, w.win.manager.GetFocusControl());
  }
}

TEST(ListSelectionTest, RemoveAllAndReselectingSendNothing) {
  ListWindow w(3);
  EXPECT_TRUE(w.list->SelectItem(1));
  EXPECT_EQ(Log({L"list:itemselect:1:-1"}), w.notes.entries);
  EXPECT_TRUE(w.list->SelectItem(1));
  EXPECT_EQ(1u, w.notes.entries.size());
  EXPECT_TRUE(w.list->SelectItem(2));
  EXPECT_EQ(L"list:itemselect:2:1", w.notes.entries.back());
  w.notes.entries.clear();
  w.list->RemoveAll();
  EXPECT_EQ(0, w.list->GetCount());
  EXPECT_EQ(-1, w.list->GetSelectedIndex());
  EXPECT_TRUE(w.notes.entries.empty());
  EXPECT_FALSE(w.list->RemoveAt(0));
}

TEST(ListSelectionTest, HiddenDisabledAndMissingRowsAreRefused) {
  ListWindow w(4);
  w.RowAt(1)->SetVisible(false);
  w.RowAt(2)->SetEnabled(false);
  ASSERT_TRUE(w.list->SelectItem(0));
  w.notes.entries.clear();
  for (int index : {1, 2, 4, -1}) {
    SCOPED_TRACE(index);
    EXPECT_FALSE(w.list->SelectItem(index));
    EXPECT_EQ(-1, w.list->GetSelectedIndex());
    ASSERT_TRUE(w.list->SelectItem(0));
  }
  // Each refusal cleared the old selection, so every reselection is new.
  EXPECT_EQ(4u, w.notes.entries.size());
  auto* disabled = static_cast<IListItemUI*>(w.RowAt(2)->FindInterface(L"ListItem"));
  EXPECT_FALSE(disabled->Select(true));
  EXPECT_FALSE(disabled->IsSelected());
}

TEST(ListSelectionTest, HidingTheSelectedRowClearsTheSelectionSilently) {
  ListWindow w(3);
  ASSERT_TRUE(w.list->SelectItem(1));
  w.notes.entries.clear();
  w.RowAt(1)->SetVisible(false);
  EXPECT_EQ(-1, w.list->GetSelectedIndex());
  auto* item = static_cast<IListItemUI*>(w.RowAt(1)->FindInterface(L"ListItem"));
  EXPECT_FALSE(item->IsSelected());
  EXPECT_TRUE(w.notes.entries.empty());
}

TEST(ListSelectionTest, SelectedAttributeSelectsWhateverItsValue) {
  ListWindow w;
  for (const wchar_t* value : {L"true", L"false", L""}) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(value)));
    w.Reset(3);
    w.RowAt(2)->ApplyAttribute(L"selected", value);
    EXPECT_EQ(2, w.list->GetSelectedIndex());
  }
}

TEST(ListSelectionTest, KeysMoveTheSelection) {
  struct Case {
    const char* what;
    int start;  // -1: nothing selected
    std::vector<int> disabled;
    WPARAM key;
    int expected;
  };
  const Case cases[] = {
      {"down", 1, {}, VK_DOWN, 2},
      {"down skips a disabled row", 1, {2}, VK_DOWN, 3},
      {"down past the last selectable clears", 2, {3, 4}, VK_DOWN, -1},
      {"up", 3, {}, VK_UP, 2},
      {"up from the first falls back to the first", 0, {}, VK_UP, 0},
      {"up over disabled rows to the first selectable", 3, {0, 1, 2}, VK_UP, 3},
      {"home", 3, {0}, VK_HOME, 1},
      {"end", 0, {}, VK_END, 4},
      {"end on a disabled last row clears", 0, {4}, VK_END, -1},
      {"down with nothing selected", -1, {}, VK_DOWN, 0},
  };
  ListWindow w;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    w.Reset(5);
    if (c.start >= 0) {
      ASSERT_TRUE(w.list->SelectItem(c.start));
    }
    for (int d : c.disabled) w.RowAt(d)->SetEnabled(false);
    w.Key(c.key);
    EXPECT_EQ(c.expected, w.list->GetSelectedIndex());
    if (c.expected >= 0 && c.expected != c.start) {
      EXPECT_EQ(w.RowAt(c.expected), w.win.manager.GetFocusControl());
    }
  }
}

TEST(ListSelectionTest, ReturnActivatesTheSelectedRow) {
  ListWindow w(3);
  w.list->SetFocus();
  w.Key(VK_RETURN);
  EXPECT_TRUE(w.notes.entries.empty());
  ASSERT_TRUE(w.list->SelectItem(1, true));
  w.notes.entries.clear();
  // The row has the focus now and hands Return over as a row does.
  w.Key(VK_RETURN);
  EXPECT_EQ(Log({L"r1:itemactivate:0:0"}), w.notes.entries);
  w.list->SetFocus();
  w.Key(VK_RETURN);
  EXPECT_EQ(2u, w.notes.entries.size());
}

TEST(ListSelectionTest, RemovedHeaderLeavesTheListWithoutOne) {
  ListWindow w(2);
  CListHeaderUI* header = w.list->GetHeader();
  ASSERT_NE(nullptr, header);
  EXPECT_EQ(0, w.list->GetItemIndex(header));
  EXPECT_TRUE(w.list->Remove(header));
  EXPECT_EQ(nullptr, w.list->GetHeader());
  // Layout, header items and painting cope with no header.
  w.Layout();
  EXPECT_FALSE(w.list->Add(HeaderItem(50)));
  ::InvalidateRect(w.win.GetHWND(), nullptr, FALSE);
  ::UpdateWindow(w.win.GetHWND());
  EXPECT_EQ(0, w.list->GetItemAt(0)->GetBounds().top);
  // A new header becomes the list's header.
  CListHeaderUI* next = new CListHeaderUI;
  EXPECT_TRUE(w.list->Add(next));
  EXPECT_EQ(next, w.list->GetHeader());
  EXPECT_TRUE(w.list->Add(HeaderItem(50)));
  EXPECT_EQ(1, w.list->GetItemStyle()->nColumns);
}

TEST(ListSelectionTest, SecondHeaderReplacesOnlyAnEmptyOne) {
  ListWindow w(1);
  CListHeaderUI* skin_header = new CListHeaderUI;
  skin_header->SetName(L"skin");
  EXPECT_TRUE(w.list->Add(skin_header));  // the empty default one goes
  EXPECT_EQ(skin_header, w.list->GetHeader());
  EXPECT_TRUE(w.list->Add(HeaderItem(40)));
  CListHeaderUI* extra = new CListHeaderUI;
  EXPECT_TRUE(w.list->Add(extra));
  EXPECT_EQ(skin_header, w.list->GetHeader());
  EXPECT_EQ(0, w.list->GetItemIndex(extra));
  EXPECT_EQ(1, w.list->GetItemIndex(skin_header));
  EXPECT_EQ(1, w.list->GetCount());  // rows only
}

TEST(ListSelectionTest, RowsRefuseExpansion) {
  ListWindow w(3);
  EXPECT_FALSE(w.list->ExpandItem(1));
  EXPECT_EQ(-1, w.list->GetExpandedIndex());
  EXPECT_FALSE(w.list->ExpandItem(7));
  // Collapsing needs no row.
  EXPECT_TRUE(w.list->ExpandItem(1, false));
  auto* item = static_cast<IListItemUI*>(w.RowAt(0)->FindInterface(L"ListItem"));
  EXPECT_FALSE(item->Expand(true));
  EXPECT_FALSE(item->IsExpanded());
}
