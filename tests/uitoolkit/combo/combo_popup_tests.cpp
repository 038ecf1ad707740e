// The drop-down: where it opens, the items lent to its column and given
// back, and what clicks, keys, the wheel and a loss of focus do in it.
#include <gtest/gtest.h>

#include "tests/uitoolkit/combo/combo_window.h"
#include "uitoolkit/controls/scroll_bar.h"

using namespace combotest;

namespace {

// The combo's items sit in the popup's column, attached to its manager.
void ExpectLent(CComboUI* combo) {
  CVerticalLayoutUI* layout = combo->GetPopupLayout();
  ASSERT_NE(nullptr, layout);
  ASSERT_EQ(combo->GetCount(), layout->GetCount());
  for (int i = 0; i < combo->GetCount(); ++i) {
    CControlUI* item = combo->GetItemAt(i);
    EXPECT_EQ(item, layout->GetItemAt(i));
    EXPECT_EQ(layout, item->GetParent());
    EXPECT_EQ(layout->GetManager(), item->GetManager());
    EXPECT_NE(combo->GetManager(), item->GetManager());
    auto* row = static_cast<IListItemUI*>(item->FindInterface(L"ListItem"));
    EXPECT_EQ(static_cast<IListOwnerUI*>(combo), row->GetOwner());
  }
}

// Back with the combo, out of sight.
void ExpectReturned(CComboUI* combo) {
  EXPECT_EQ(nullptr, combo->GetPopupWindow());
  EXPECT_EQ(nullptr, combo->GetPopupLayout());
  for (int i = 0; i < combo->GetCount(); ++i) {
    CControlUI* item = combo->GetItemAt(i);
    EXPECT_EQ(combo, item->GetParent()) << i;
    EXPECT_EQ(combo->GetManager(), item->GetManager()) << i;
    EXPECT_TRUE(::IsRectEmpty(&item->GetBounds())) << i;
  }
  EXPECT_EQ(0u, combo->GetState() & UISTATE_PUSHED);
}

// The popup's client point at the middle of item `i` (laid out by a paint).
LPARAM ItemPoint(CComboUI* combo, int i) {
  ::UpdateWindow(combo->GetPopupWindow());
  const RECT& rc = combo->GetItemAt(i)->GetBounds();
  return Pt((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

}  // namespace

TEST(ComboPopupTest, AClickOpensTheListBelowWithTheItemsLentAndEscapeGivesThemBack) {
  ComboWindow& w = ComboWindow::Shared();
  CComboUI* combo = w.Add(new CComboUI, L"c", RECT{20, 30, 180, 54}, 5);
  combo->SelectItem(2);
  w.notes.entries.clear();
  w.Click(50, 40);
  HWND popup = combo->GetPopupWindow();
  ASSERT_TRUE(popup);
  wchar_t cls[64] = {};
  ::GetClassNameW(popup, cls, 64);
  EXPECT_STREQ(L"ComboWnd", cls);
  EXPECT_TRUE(::IsWindowVisible(popup));
  EXPECT_EQ(w.win.GetHWND(), ::GetWindow(popup, GW_OWNER));
  EXPECT_TRUE(::GetWindowLongW(popup, GWL_STYLE) & WS_POPUP);
  EXPECT_TRUE(::GetWindowLongW(popup, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  // Under the combo, as wide, five items of 20 plus 4.
  RECT combo_screen = {20, 30, 180, 54};
  ::MapWindowPoints(w.win.GetHWND(), HWND_DESKTOP, reinterpret_cast<POINT*>(&combo_screen), 2);
  EXPECT_EQ(Str(RECT{combo_screen.left, combo_screen.bottom, combo_screen.right,
                     combo_screen.bottom + 104}),
            Str(ScreenRect(popup)));
  EXPECT_EQ(Log({L"c:dropdown:0:0"}), w.notes.entries);
  EXPECT_TRUE(combo->GetState() & UISTATE_PUSHED);
  ExpectLent(combo);
  // The column lays the items out inside its border.
  ::UpdateWindow(popup);
  EXPECT_EQ(L"1,41,159,61", Str(combo->GetItemAt(2)->GetBounds()));
  // A second activation while open changes nothing.
  EXPECT_TRUE(combo->Activate());
  EXPECT_EQ(popup, combo->GetPopupWindow());

  ToPopup(combo, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(::IsWindow(popup));
  ExpectReturned(combo);
  EXPECT_EQ(2, combo->GetSelectedIndex());
  EXPECT_EQ(combo, w.win.manager.GetFocusControl());
  EXPECT_EQ(Log({L"c:dropdown:0:0"}), w.notes.entries);
}

TEST(ComboPopupTest, DropBoxSizeAndOpeningUpwardsAtTheBottomOfTheWorkArea) {
  MONITORINFO monitor = {sizeof(monitor)};
  ::GetMonitorInfoW(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  // The window's bottom edge 40 pixels above the work area's: a list of
  // 104 pixels does not fit under a combo near it.
  ComboWindow w(100, work.bottom - 200, 400, 160);
  CComboUI* low = w.Add(new CComboUI, L"low", RECT{10, 120, 170, 144}, 5);
  CComboUI* high = w.Add(new CComboUI, L"high", RECT{200, 10, 360, 34}, 5);
  high->ApplyAttribute(L"dropboxsize", L"240,50");
  struct Case {
    CComboUI* combo;
    bool above;
    int width;
    int height;
  } cases[] = {{low, true, 160, 104}, {high, false, 240, 50}};
  for (const Case& c : cases) {
    ASSERT_TRUE(c.combo->Activate());
    RECT screen = c.combo->GetBounds();
    ::MapWindowPoints(w.win.GetHWND(), HWND_DESKTOP, reinterpret_cast<POINT*>(&screen), 2);
    const RECT popup = ScreenRect(c.combo->GetPopupWindow());
    EXPECT_EQ(screen.left, popup.left);
    EXPECT_EQ(c.width, popup.right - popup.left);
    EXPECT_EQ(c.height, popup.bottom - popup.top);
    if (c.above)
      EXPECT_EQ(screen.top, popup.bottom);
    else
      EXPECT_EQ(screen.bottom, popup.top);
    ToPopup(c.combo, WM_KEYDOWN, VK_RETURN, 0);
    ExpectReturned(c.combo);
  }
}

TEST(ComboPopupTest, KeysWheelClicksAndFocusInTheOpenList) {
  struct Case {
    const char* what;
    UINT msg;
    WPARAM wParam;
    int item;  // clicked item, -1: the message as given
    int expected;
    Log notes;
  } cases[] = {
      {"Down selects the next and closes", WM_KEYDOWN, VK_DOWN, -1, 3, {L"c:itemselect:3:2"}},
      {"Return closes and keeps", WM_KEYDOWN, VK_RETURN, -1, 2, {}},
      {"the wheel towards the user", WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), -1, 3,
       {L"c:itemselect:3:2"}},
      {"the focus leaves: closed, kept", WM_KILLFOCUS, 0, -1, 2, {}},
      {"a click on an item selects it", WM_LBUTTONDOWN, MK_LBUTTON, 4, 4, {L"c:itemselect:4:2"}},
  };
  ComboWindow& w = ComboWindow::Shared();
  CComboUI* combo = w.Add(new CComboUI, L"c", RECT{20, 30, 180, 54}, 5);
  for (const Case& c : cases) {
    combo->SelectItem(2);
    PumpMessages();
    w.notes.entries.clear();
    ASSERT_TRUE(combo->Activate()) << c.what;
    HWND popup = combo->GetPopupWindow();
    if (c.item >= 0) {
      const LPARAM at = ItemPoint(combo, c.item);
      ::SendMessageW(popup, WM_MOUSEMOVE, 0, at);
      ::SendMessageW(popup, WM_LBUTTONDOWN, MK_LBUTTON, at);
      ::SendMessageW(popup, WM_LBUTTONUP, 0, at);
      PumpMessages();
    } else {
      ToPopup(combo, c.msg, c.wParam, 0);
    }
    EXPECT_FALSE(::IsWindow(popup)) << c.what;
    ExpectReturned(combo);
    EXPECT_EQ(c.expected, combo->GetSelectedIndex()) << c.what;
    EXPECT_EQ(L"item " + std::to_wstring(c.expected), std::wstring(combo->GetText())) << c.what;
    Log expected = {L"c:dropdown:0:0"};
    expected.insert(expected.end(), c.notes.begin(), c.notes.end());
    EXPECT_EQ(expected, w.notes.entries) << c.what;
  }
}

TEST(ComboPopupTest, EscapeRestoresTheSelectionTheListOpenedWith) {
  ComboWindow& w = ComboWindow::Shared();
  CComboUI* combo = w.Add(new CComboUI, L"c", RECT{20, 30, 180, 54}, 5);
  combo->SelectItem(1);
  ASSERT_TRUE(combo->Activate());
  HWND popup = combo->GetPopupWindow();
  w.notes.entries.clear();
  // Both keys arrive before the close that Down asks for runs.
  ::SendMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
  ::SendMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
  ::SendMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
  PumpMessages();
  EXPECT_FALSE(::IsWindow(popup));
  EXPECT_EQ(1, combo->GetSelectedIndex());
  EXPECT_EQ(Log({L"c:itemselect:2:1", L"c:itemselect:3:2", L"c:itemselect:1:3"}), w.notes.entries);
}

TEST(ComboPopupTest, TheScrollBarOfALongListKeepsItOpen) {
  ComboWindow& w = ComboWindow::Shared();
  CComboUI* combo = w.Add(new CComboUI, L"c", RECT{20, 30, 180, 54}, 20);
  combo->SelectItem(0);
  ASSERT_TRUE(combo->Activate());
  HWND popup = combo->GetPopupWindow();
  ::UpdateWindow(popup);
  CScrollBarUI* bar = combo->GetPopupLayout()->GetVerticalScrollBar();
  ASSERT_NE(nullptr, bar);
  ASSERT_TRUE(bar->IsVisible());
  const RECT& rc = bar->GetBounds();
  const LPARAM on_bar = Pt((rc.left + rc.right) / 2, rc.bottom - 4);
  ::SendMessageW(popup, WM_LBUTTONDOWN, MK_LBUTTON, on_bar);
  ::SendMessageW(popup, WM_LBUTTONUP, 0, on_bar);
  PumpMessages();
  EXPECT_TRUE(::IsWindow(popup));
  // End selects the last item and scrolls it into view (the list closes
  // on the selection, so this is seen before the close runs).
  ::SendMessageW(popup, WM_KEYDOWN, VK_END, 0);
  const RECT& last = combo->GetItemAt(19)->GetBounds();
  EXPECT_LE(last.bottom, combo->GetPopupLayout()->GetBounds().bottom);
  EXPECT_GT(combo->GetPopupLayout()->GetScrollPos().cy, 0);
  PumpMessages();
  EXPECT_FALSE(::IsWindow(popup));
  EXPECT_EQ(19, combo->GetSelectedIndex());
}
