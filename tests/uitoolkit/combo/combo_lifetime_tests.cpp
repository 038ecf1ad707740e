// The items lent to a drop-down always come back, and nothing is left
// pointing at freed memory: the owner window closing under an open list,
// an open combo deleted, a list refilled while it is down.
#include <gtest/gtest.h>

#include <memory>

#include "tests/uitoolkit/combo/combo_window.h"

using namespace combotest;

namespace {

void ExpectWithCombo(CComboUI* combo, CWindowManagerUI* manager) {
  EXPECT_EQ(nullptr, combo->GetPopupWindow());
  for (int i = 0; i < combo->GetCount(); ++i) {
    EXPECT_EQ(combo, combo->GetItemAt(i)->GetParent()) << i;
    EXPECT_EQ(manager, combo->GetItemAt(i)->GetManager()) << i;
  }
}

}  // namespace

TEST(ComboLifetimeTest, TheOwnerWindowClosingWithTheListDownReturnsTheItems) {
  auto w = std::make_unique<ComboWindow>();
  CComboUI* combo = w->Add(new CComboUI, L"c", RECT{20, 30, 180, 54}, 5);
  combo->SelectItem(1);
  ASSERT_TRUE(combo->Activate());
  HWND popup = combo->GetPopupWindow();
  ::UpdateWindow(popup);
  // The owner goes first: the popup goes with it, and no WM_CLOSE reaches it.
  ::DestroyWindow(w->win.GetHWND());
  EXPECT_FALSE(::IsWindow(popup));
  ExpectWithCombo(combo, &w->win.manager);
  PumpMessages();
  EXPECT_EQ(1, combo->GetSelectedIndex());
  EXPECT_STREQ(L"item 1", combo->GetText().GetData());
  // Deleting the combo (with the manager that owns it) deletes its items;
  // nothing of the popup is left to reach them.
  w.reset();
  PumpMessages();
}

TEST(ComboLifetimeTest, DeletingAnOpenComboDestroysItsList) {
  ComboWindow& w = ComboWindow::Shared();
  CComboUI* doomed = w.Add(new CComboUI, L"doomed", RECT{20, 30, 180, 54}, 5);
  CComboUI* other = w.Add(new CComboUI, L"other", RECT{200, 30, 360, 54}, 2);
  ASSERT_TRUE(doomed->Activate());
  HWND popup = doomed->GetPopupWindow();
  ::UpdateWindow(popup);
  w.root->children.erase(w.root->children.begin());
  delete doomed;
  EXPECT_FALSE(::IsWindow(popup));
  // Whatever was queued for the list finds nothing to call.
  ::PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
  PumpMessages();
  // The window goes on working.
  ASSERT_TRUE(other->Activate());
  ToPopup(other, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(0, other->GetSelectedIndex());
  ExpectWithCombo(other, &w.win.manager);
}

TEST(ComboLifetimeTest, ChangesWhileTheListIsDownReachIt) {
  ComboWindow& w = ComboWindow::Shared();
  CComboUI* combo = w.Add(new CComboUI, L"c", RECT{20, 30, 180, 54}, 5);
  // A receiver of "dropdown" fills the list afresh.
  w.notes.onDropDown = [combo](CControlUI*) {
    combo->RemoveAll();
    for (int i = 10; i < 13; ++i) combo->Add(Item(i));
  };
  ASSERT_TRUE(combo->Activate());
  w.notes.onDropDown = nullptr;
  HWND popup = combo->GetPopupWindow();
  CVerticalLayoutUI* layout = combo->GetPopupLayout();
  ASSERT_NE(nullptr, layout);
  auto expect_column = [&](const char* when) {
    ASSERT_EQ(combo->GetCount(), layout->GetCount()) << when;
    for (int i = 0; i < combo->GetCount(); ++i) {
      EXPECT_EQ(combo->GetItemAt(i), layout->GetItemAt(i)) << when << " " << i;
      EXPECT_EQ(layout->GetManager(), combo->GetItemAt(i)->GetManager()) << when << " " << i;
    }
  };
  expect_column("refilled");
  EXPECT_STREQ(L"i10", combo->GetItemAt(0)->GetName().GetData());
  PumpMessages();  // the old items are deleted now
  ::UpdateWindow(popup);
  EXPECT_FALSE(::IsRectEmpty(&combo->GetItemAt(2)->GetBounds()));

  // A removed item leaves the column before it goes; an added one joins.
  combo->RemoveAt(1);
  expect_column("removed");
  combo->AddAt(Item(20), 0);
  combo->Add(Item(21));
  expect_column("added");
  EXPECT_TRUE(combo->MoveItemTo(combo->GetItemAt(0), 3));
  expect_column("moved");
  PumpMessages();
  ::InvalidateRect(popup, nullptr, FALSE);
  ::UpdateWindow(popup);
  EXPECT_TRUE(::IsWindow(popup));

  ToPopup(combo, WM_KEYDOWN, VK_RETURN, 0);
  ExpectWithCombo(combo, &w.win.manager);
  EXPECT_EQ(4, combo->GetCount());
}
