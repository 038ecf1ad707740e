#include <gtest/gtest.h>

#include "tests/uitoolkit/core/ui_test_fixtures.h"

using namespace uitest;

namespace {

TEST(ManagerWindow, WindowAlpha) {
  HostWindow win;
  ASSERT_TRUE(win.CreateAt(0, 0, 100, 100));
  struct Case {
    int value;
    int stored;
    bool layered;
  } cases[] = {{128, 128, true}, {255, 255, true}, {300, 255, false}, {0, 0, true},
               {-1, 0, false}};
  for (const Case& c : cases) {
    win.manager.SetWindowAlpha(c.value);
    EXPECT_EQ(c.stored, win.manager.GetWindowAlpha()) << c.value;
    bool layered = (::GetWindowLongW(win.GetHWND(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
    EXPECT_EQ(c.layered, layered) << c.value;
  }
  CWindowManagerUI loose;
  loose.SetWindowAlpha(10);
  EXPECT_EQ(10, loose.GetWindowAlpha());
}

TEST(ManagerFonts, BoldIsCappedAndFontsAreFound) {
  CWindowManagerUI m;
  HFONT bold = m.AddFontEntry(L"Tahoma", 14, true, false, false);
  ASSERT_NE(nullptr, bold);
  LOGFONTW lf = {};
  ::GetObjectW(bold, sizeof(lf), &lf);
  EXPECT_LE(lf.lfWeight, 1000);
  EXPECT_GE(lf.lfWeight, 700);
  EXPECT_EQ(-14, lf.lfHeight);
  HFONT plain = m.AddFontEntry(L"Tahoma", 12, false, true, false);
  EXPECT_EQ(bold, m.FindFontEntry(L"Tahoma", 14, true, false, false));
  EXPECT_EQ(nullptr, m.FindFontEntry(L"tahoma", 14, true, false, false));
  EXPECT_EQ(plain, m.FontAt(1)->hFont);
  EXPECT_EQ(m.DefaultFont(), m.FontAt(2));
  EXPECT_EQ(m.DefaultFont(), m.FontAt(-1));
  m.ReplaceDefaultFont(L"Tahoma", 20, true, false, false);
  EXPECT_EQ(20, m.DefaultFont()->iSize);
  ::GetObjectW(m.DefaultFont()->hFont, sizeof(lf), &lf);
  EXPECT_LE(lf.lfWeight, 1000);
}

TEST(ManagerFonts, SharedResourceChain) {
  CWindowManagerUI owner, popup;
  HFONT f0 = owner.AddFontEntry(L"Tahoma", 12, false, false, false);
  HFONT f1 = owner.AddFontEntry(L"Tahoma", 16, false, false, false);
  owner.SetDefaultTextColor(0xFF123456);
  popup.SetResourceParent(&owner);
  owner.SetResourceParent(&popup);  // would close a cycle: refused
  EXPECT_EQ(nullptr, owner.GetResourceParent());
  // The popup's own list is empty: indexes reach the owner's fonts.
  EXPECT_EQ(f0, popup.FontAt(0)->hFont);
  EXPECT_EQ(f1, popup.FontAt(1)->hFont);
  EXPECT_EQ(owner.DefaultFont(), popup.FontAt(7));
  EXPECT_EQ(owner.DefaultFont(), popup.DefaultFont());
  EXPECT_EQ(f1, popup.FindFontEntry(L"Tahoma", 16, false, false, false));
  EXPECT_EQ(f1, popup.FontInfoOf(f1)->hFont);
  EXPECT_EQ(0xFF123456u, popup.DefaultTextColor());
  EXPECT_EQ(0xFF0000FFu, popup.LinkColor());
  // A font of the popup's own comes first at its index.
  HFONT own = popup.AddFontEntry(L"Tahoma", 30, false, false, false);
  EXPECT_EQ(own, popup.FontAt(0)->hFont);
  EXPECT_EQ(f1, popup.FontAt(1)->hFont);
}

TEST(ManagerRegistries, OptionGroupsAndNames) {
  CWindowManagerUI m;
  CControlUI a, b;
  EXPECT_TRUE(m.JoinOptionGroup(L"g", &a));
  EXPECT_FALSE(m.JoinOptionGroup(L"g", &a));
  EXPECT_TRUE(m.JoinOptionGroup(L"g", &b));
  EXPECT_EQ(2, m.OptionGroup(L"g")->GetSize());
  m.LeaveOptionGroup(L"g", &a);
  m.LeaveOptionGroup(L"g", &b);
  EXPECT_EQ(nullptr, m.OptionGroup(L"g"));
  EXPECT_TRUE(m.JoinOptionGroup(L"g", &a));
  m.ClearOptionGroups();
  EXPECT_EQ(nullptr, m.OptionGroup(L"g"));

  TestPanel* root = new TestPanel;
  CControlUI* first = new CControlUI;
  CControlUI* second = new CControlUI;
  first->SetName(L"dup");
  second->SetName(L"dup");
  root->Add(first);
  root->Add(second);
  m.AttachRoot(root);
  EXPECT_EQ(second, m.FindControl(L"dup"));  // the later one wins
  // Deleting the earlier control leaves the entry of the later one.
  root->children.erase(root->children.begin());
  delete first;
  EXPECT_EQ(second, m.FindControl(L"dup"));
  root->children.clear();
  delete second;
  EXPECT_EQ(nullptr, m.FindControl(L"dup"));
}

}  // namespace
