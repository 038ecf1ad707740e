// The combo's selection: SelectItem's rules and "itemselect", the item
// list kept in step with it, and the keys and the wheel on a closed combo.
#include <gtest/gtest.h>

#include "tests/uitoolkit/combo/combo_window.h"

using namespace combotest;

namespace {

// Five items; item 2 hidden, item 3 disabled, item 4 no list item at all.
struct MixedCombo {
  ComboWindow& w = ComboWindow::Shared();
  CComboUI* combo = nullptr;
  void Reset(int selected) {
    if (combo) {
      w.root->children.clear();
      delete combo;
    }
    combo = w.Add(new CComboUI, L"c", RECT{10, 10, 170, 34}, 4);
    CControlUI* plain = new CControlUI;
    plain->SetName(L"plain");
    combo->Add(plain);
    combo->GetItemAt(2)->SetVisible(false);
    combo->GetItemAt(3)->SetEnabled(false);
    if (selected >= 0) combo->SelectItem(selected);
    w.notes.entries.clear();
  }
  bool Selected(int i) {
    auto* item = static_cast<IListItemUI*>(combo->GetItemAt(i)->FindInterface(L"ListItem"));
    return item && item->IsSelected();
  }
};

}  // namespace

TEST(ComboSelectTest, RulesOfSelectItem) {
  struct Case {
    const char* what;
    int start;
    int index;
    bool result;
    int selected;
    Log notes;
  } cases[] = {
      {"a new selection", -1, 1, true, 1, {L"c:itemselect:1:-1"}},
      {"another one: previous in lParam", 0, 1, true, 1, {L"c:itemselect:1:0"}},
      {"the same index: true, nothing sent", 1, 1, true, 1, {}},
      {"below 0 clears", 1, -1, false, -1, {}},
      {"a hidden item is refused", 1, 2, false, -1, {}},
      {"a disabled item is refused", 1, 3, false, -1, {}},
      {"no list item is refused", 1, 4, false, -1, {}},
      {"past the end is the last item (here no list item)", 1, 40, false, -1, {}},
  };
  MixedCombo m;
  for (const Case& c : cases) {
    m.Reset(c.start);
    EXPECT_EQ(c.result, m.combo->SelectItem(c.index)) << c.what;
    EXPECT_EQ(c.selected, m.combo->GetSelectedIndex()) << c.what;
    EXPECT_EQ(c.notes, m.w.notes.entries) << c.what;
    for (int i = 0; i < 2; ++i) EXPECT_EQ(i == c.selected, m.Selected(i)) << c.what << " item " << i;
    EXPECT_EQ(c.selected >= 0 ? L"item " + std::to_wstring(c.selected) : std::wstring(),
              std::wstring(m.combo->GetText()))
        << c.what;
  }
}

TEST(ComboSelectTest, PastTheEndClampsToTheLastItemAndAnEmptyComboRefuses) {
  ComboWindow& w = ComboWindow::Shared();
  CComboUI* combo = w.Add(new CComboUI, L"c", RECT{10, 10, 170, 34}, 3);
  EXPECT_TRUE(combo->SelectItem(1));
  EXPECT_TRUE(combo->SelectItem(7));
  EXPECT_EQ(2, combo->GetSelectedIndex());
  // Clamped onto the selection itself: deselected, then selected again.
  EXPECT_TRUE(combo->SelectItem(9));
  EXPECT_EQ(2, combo->GetSelectedIndex());
  EXPECT_EQ(Log({L"c:itemselect:1:-1", L"c:itemselect:2:1", L"c:itemselect:2:2"}), w.notes.entries);
  CComboUI* empty = w.Add(new CComboUI, L"e", RECT{10, 50, 170, 74}, 0);
  EXPECT_FALSE(empty->SelectItem(0));
  EXPECT_EQ(-1, empty->GetSelectedIndex());
  EXPECT_STREQ(L"", empty->GetText().GetData());
}

TEST(ComboSelectTest, ItemChangesKeepIndexesAndTheSelection) {
  struct Case {
    const char* what;
    int selected;
    int disabled;       // -1: none
    int remove;         // index removed, -1: none
    int insertAt;       // index a new item goes to, -1: none
    int expected;
    Log notes;
  } cases[] = {
      {"the selected item goes: its follower takes over", 2, -1, 2, -1, 2, {L"c:itemselect:2:-1"}},
      {"the last selected goes: the one before", 4, -1, 4, -1, 3, {L"c:itemselect:3:-1"}},
      {"the follower is disabled: back to the nearest before", 2, 3, 2, -1, 1,
       {L"c:itemselect:1:-1"}},
      {"an item before the selection goes", 3, -1, 0, -1, 2, {}},
      {"an item after the selection goes", 1, -1, 3, -1, 1, {}},
      {"an item comes in before the selection", 2, -1, -1, 0, 3, {}},
      {"an item comes in at the selection", 2, -1, -1, 2, 3, {}},
      {"an item comes in after it", 2, -1, -1, 4, 2, {}},
  };
  ComboWindow& w = ComboWindow::Shared();
  for (const Case& c : cases) {
    w.root->children.clear();
    CComboUI* combo = w.Add(new CComboUI, L"c", RECT{10, 10, 170, 34}, 5);
    if (c.disabled >= 0) combo->GetItemAt(c.disabled)->SetEnabled(false);
    combo->SelectItem(c.selected);
    CControlUI* selected = combo->GetItemAt(c.selected);
    w.notes.entries.clear();
    if (c.remove >= 0) {
      EXPECT_TRUE(combo->RemoveAt(c.remove)) << c.what;
    }
    if (c.insertAt >= 0) {
      EXPECT_TRUE(combo->AddAt(Item(9), c.insertAt)) << c.what;
    }
    EXPECT_EQ(c.expected, combo->GetSelectedIndex()) << c.what;
    EXPECT_EQ(c.notes, w.notes.entries) << c.what;
    if (c.remove != c.selected) {
      EXPECT_EQ(selected, combo->GetItemAt(c.expected)) << c.what;
    }
    for (int i = 0; i < combo->GetCount(); ++i) {
      auto* item = static_cast<IListItemUI*>(combo->GetItemAt(i)->FindInterface(L"ListItem"));
      EXPECT_EQ(i, item->GetIndex()) << c.what;
      EXPECT_EQ(static_cast<IListOwnerUI*>(combo), item->GetOwner()) << c.what;
    }
    delete combo;
  }
  w.root->children.clear();
}

TEST(ComboSelectTest, MovingAndRemovingAllItems) {
  ComboWindow& w = ComboWindow::Shared();
  CComboUI* combo = w.Add(new CComboUI, L"c", RECT{10, 10, 170, 34}, 4);
  combo->SelectItem(1);
  CControlUI* selected = combo->GetItemAt(1);
  EXPECT_TRUE(combo->MoveItemTo(selected, 3));
  EXPECT_EQ(3, combo->GetSelectedIndex());
  EXPECT_EQ(L"item 1", std::wstring(combo->GetText()));
  EXPECT_TRUE(combo->MoveItemTo(combo->GetItemAt(0), 2));
  EXPECT_EQ(3, combo->GetSelectedIndex());
  EXPECT_FALSE(combo->MoveItemTo(combo->GetItemAt(0), 4));  // no such place
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(i, static_cast<IListItemUI*>(combo->GetItemAt(i)->FindInterface(L"ListItem"))->GetIndex());
  combo->RemoveAll();
  EXPECT_EQ(-1, combo->GetSelectedIndex());
  EXPECT_EQ(0, combo->GetCount());
  EXPECT_STREQ(L"", combo->GetText().GetData());
}

TEST(ComboKeysTest, KeysAndTheWheelMoveTheSelectionOfAClosedCombo) {
  struct Case {
    const char* what;
    int start;
    WPARAM key;     // 0: the wheel
    bool wheelDown;
    int expected;
  } cases[] = {
      {"Down from none", -1, VK_DOWN, false, 0},
      {"Down skips the disabled item", 0, VK_DOWN, false, 2},
      {"Page Down is Down", 0, VK_NEXT, false, 2},
      {"Up skips it backwards", 2, VK_UP, false, 0},
      {"Page Up is Up", 2, VK_PRIOR, false, 0},
      {"Up at the top stays", 0, VK_UP, false, 0},
      {"Down at the end stays", 4, VK_DOWN, false, 4},
      {"Home", 4, VK_HOME, false, 0},
      {"End", 0, VK_END, false, 4},
      {"wheel towards the user is Down", 0, 0, true, 2},
      {"wheel away is Up", 3, 0, false, 2},
  };
  ComboWindow& w = ComboWindow::Shared();
  CComboUI* combo = w.Add(new CComboUI, L"c", RECT{10, 10, 170, 34}, 5);
  combo->GetItemAt(1)->SetEnabled(false);
  combo->SetFocus();
  for (const Case& c : cases) {
    combo->SelectItem(c.start);
    if (c.key)
      w.Key(c.key);
    else
      w.Wheel(50, 20, c.wheelDown);
    EXPECT_EQ(c.expected, combo->GetSelectedIndex()) << c.what;
    EXPECT_EQ(nullptr, combo->GetPopupWindow()) << c.what;
  }
  // End with the last item hidden finds nothing forward: the selection is
  // cleared.
  combo->GetItemAt(4)->SetVisible(false);
  combo->SelectItem(0);
  w.Key(VK_END);
  EXPECT_EQ(-1, combo->GetSelectedIndex());
}

TEST(ComboKeysTest, F4OpensAndAnySelectItemClosesTheDropDown) {
  ComboWindow& w = ComboWindow::Shared();
  CComboUI* combo = w.Add(new CComboUI, L"c", RECT{10, 10, 170, 34}, 3);
  combo->SelectItem(1);
  combo->SetFocus();
  w.Key(VK_F4);
  HWND popup = combo->GetPopupWindow();
  ASSERT_TRUE(popup);
  EXPECT_TRUE(::IsWindowVisible(popup));
  // Even selecting what is selected closes it.
  EXPECT_TRUE(combo->SelectItem(1));
  PumpMessages();
  EXPECT_FALSE(::IsWindow(popup));
  EXPECT_EQ(nullptr, combo->GetPopupWindow());
  EXPECT_EQ(1, combo->GetSelectedIndex());
  EXPECT_EQ(Log({L"c:itemselect:1:-1", L"c:dropdown:0:0"}), w.notes.entries);
  // A disabled or hidden combo does not open.
  combo->SetEnabled(false);
  EXPECT_FALSE(combo->Activate());
  combo->SetEnabled(true);
  combo->SetVisible(false);
  EXPECT_FALSE(combo->Activate());
  EXPECT_EQ(nullptr, combo->GetPopupWindow());
}

TEST(ComboTest, IdentityAndSize) {
  ComboWindow& w = ComboWindow::Shared();
  CComboUI* combo = w.Add(new CComboUI, L"c", RECT{10, 10, 170, 34}, 1);
  CComboBoxUI* box = w.Add(new CComboBoxUI, L"b", RECT{10, 50, 170, 74}, 0);
  EXPECT_STREQ(L"ComboUI", combo->ClassName());
  EXPECT_STREQ(L"ComboBoxUI", box->ClassName());
  EXPECT_EQ(static_cast<CComboUI*>(box), box->FindInterface(L"Combo"));
  EXPECT_EQ(static_cast<IListOwnerUI*>(combo), combo->FindInterface(L"IListOwner"));
  EXPECT_NE(nullptr, combo->FindInterface(L"IContainer"));
  EXPECT_EQ(nullptr, combo->FindInterface(L"List"));
  EXPECT_EQ(UINT(UIFLAG_TABSTOP), combo->CapabilityFlags());
  const int font = w.win.manager.DefaultFont()->tm.tmHeight;
  EXPECT_EQ(font + 12, combo->MeasureSize(SIZE{500, 500}).cy);
  combo->SetFixedHeight(30);
  combo->SetFixedWidth(90);
  EXPECT_EQ(30, combo->MeasureSize(SIZE{500, 500}).cy);
  EXPECT_EQ(90, combo->MeasureSize(SIZE{500, 500}).cx);
  // The items are never in sight inside the combo, nor hit there.
  combo->SetBounds(RECT{10, 10, 170, 34});
  EXPECT_TRUE(::IsRectEmpty(&combo->GetItemAt(0)->GetBounds()));
  EXPECT_EQ(combo, w.win.manager.ControlAt(POINT{20, 20}));
  EXPECT_EQ(combo->GetItemAt(0), w.win.manager.FindControl(L"i0"));
}
