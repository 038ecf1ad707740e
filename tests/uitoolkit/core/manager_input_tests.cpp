#include <gtest/gtest.h>

#include "tests/uitoolkit/core/ui_test_fixtures.h"

using namespace uitest;

namespace {


std::wstring Ev(const wchar_t* name, int type) { return std::wstring(name) + L":" + std::to_wstring(type); }

TEST(ManagerInput, MouseRoutingAndCapture) {
  ThreeControlWindow t;
  t.Send(WM_MOUSEMOVE, 0, Pt(10, 10));
  t.Send(WM_MOUSEMOVE, 0, Pt(150, 10));
  std::vector<std::wstring> expected = {Ev(L"A", 11), Ev(L"A", 9), Ev(L"A", 10), Ev(L"B", 11),
                                        Ev(L"B", 9)};
  EXPECT_EQ(expected, t.log);
  EXPECT_EQ(t.b, t.win.manager.GetHoverControl());

  // Pressed on A, moved over B, released over B: A gets the move and the up.
  t.log.clear();
  t.Send(WM_MOUSEMOVE, 0, Pt(10, 10));
  t.Send(WM_LBUTTONDOWN, MK_LBUTTON, Pt(10, 10));
  EXPECT_EQ(t.a, t.win.manager.GetCaptureControl());
  EXPECT_EQ(t.a, t.win.manager.GetFocusControl());
  t.log.clear();
  t.Send(WM_MOUSEMOVE, MK_LBUTTON, Pt(150, 10));
  t.Send(WM_LBUTTONUP, 0, Pt(150, 10));
  expected = {Ev(L"A", 10), Ev(L"B", 11), Ev(L"A", 9), Ev(L"A", 14)};
  EXPECT_EQ(expected, t.log);
  EXPECT_EQ(150, t.a->last.ptMouse.x);
  EXPECT_EQ(nullptr, t.win.manager.GetCaptureControl());
}

TEST(ManagerInput, WheelGoesToTheControlUnderThePointer) {
  ThreeControlWindow t;
  t.a->SetFocus();
  t.log.clear();
  POINT pt = {250, 20};
  ::ClientToScreen(t.win.GetHWND(), &pt);
  t.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(pt.x, pt.y));
  ASSERT_FALSE(t.log.empty());
  EXPECT_EQ(Ev(L"C", 18), t.log[0]);
  EXPECT_EQ(1u, t.c->lastWheel.wParam);  // toward the user
  // The synthetic move that follows puts the pointer over C.
  EXPECT_EQ(t.c, t.win.manager.GetHoverControl());
  t.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(pt.x, pt.y));
  EXPECT_EQ(0u, t.c->lastWheel.wParam);
}

TEST(ManagerInput, KeysGoToFocusAndKeyUpToKeyControl) {
  ThreeControlWindow t;
  t.b->SetFocus();
  t.log.clear();
  t.Send(WM_KEYDOWN, 'X', 0);
  t.a->SetFocus();
  t.log.clear();
  t.Send(WM_KEYUP, 'X', 0);
  t.Send(WM_CHAR, 'x', 0);
  std::vector<std::wstring> expected = {Ev(L"B", 4), Ev(L"A", 5)};
  EXPECT_EQ(expected, t.log);
  EXPECT_EQ(L'x', t.a->last.chKey);
  EXPECT_EQ(nullptr, t.a->last.pSender);
}

TEST(ManagerInput, TabAndShiftTabWrap) {
  ThreeControlWindow t;
  // The first paint put the focus on the first tab stop.
  EXPECT_EQ(t.a, t.win.manager.GetFocusControl());
  MSG tab = {t.win.GetHWND(), WM_KEYDOWN, VK_TAB, 0};
  struct Step {
    bool shift;
    RecordingControl* expected;
  } steps[] = {{false, t.b}, {false, t.c}, {false, t.a}, {true, t.c}, {true, t.b}, {true, t.a},
               {true, t.c}};
  for (const Step& s : steps) {
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_SHIFT] = s.shift ? 0x80 : 0;
    ::SetKeyboardState(keys);
    EXPECT_TRUE(t.win.manager.PreTranslate(&tab));
    EXPECT_EQ(s.expected, t.win.manager.GetFocusControl()) << (s.shift ? "shift" : "tab");
  }
  BYTE keys[256];
  ::GetKeyboardState(keys);
  keys[VK_SHIFT] = 0;
  ::SetKeyboardState(keys);
  // Hidden and disabled controls are no tab stops.
  t.b->SetVisible(false);
  t.c->SetEnabled(false);
  t.a->SetFocus();
  ::UpdateWindow(t.win.GetHWND());
  t.win.manager.MoveTabFocus(true);
  EXPECT_EQ(t.a, t.win.manager.GetFocusControl());
}

TEST(ManagerInput, FocusEventsAndNotifications) {
  ThreeControlWindow t;
  t.a->SetFocus();
  t.log.clear();
  t.b->SetFocus();
  std::vector<std::wstring> expected = {Ev(L"A", 20), Ev(L"B", 21)};
  EXPECT_EQ(expected, t.log);
  EXPECT_FALSE(t.a->IsFocused());
  EXPECT_TRUE(t.b->IsFocused());
  t.log.clear();
  t.b->SetFocus();  // again: nothing
  EXPECT_TRUE(t.log.empty());
  t.b->SetVisible(false);  // hiding the focus drops it
  EXPECT_EQ(nullptr, t.win.manager.GetFocusControl());
  t.log.clear();
  t.b->SetFocus();  // invisible: refused
  EXPECT_EQ(nullptr, t.win.manager.GetFocusControl());
}

TEST(ManagerInput, ShortcutActivatesControl) {
  ThreeControlWindow t;
  t.c->SetShortcut(L'k');
  MSG syschar = {t.win.GetHWND(), WM_SYSCHAR, L'K', 0};
  EXPECT_TRUE(t.win.manager.PreTranslate(&syschar));
  EXPECT_EQ(t.c, t.win.manager.GetFocusControl());
  MSG none = {t.win.GetHWND(), WM_SYSCHAR, L'Q', 0};
  EXPECT_FALSE(t.win.manager.PreTranslate(&none));
}

// A skin that failed leaves a manager without a root: nothing may crash.
TEST(ManagerInput, NoRootIsHarmless) {
  HostWindow win;
  ASSERT_TRUE(win.CreateAt(0, 0, 200, 100));
  CWindowManagerUI& m = win.manager;
  POINT pt = {5, 5};
  EXPECT_EQ(nullptr, m.ControlAt(pt));
  EXPECT_TRUE(m.MoveTabFocus(true));
  EXPECT_TRUE(m.MoveTabFocus(false));
  MSG syschar = {win.GetHWND(), WM_SYSCHAR, L'A', 0};
  EXPECT_FALSE(m.PreTranslate(&syschar));
  MSG tab = {win.GetHWND(), WM_KEYDOWN, VK_TAB, 0};
  EXPECT_TRUE(m.PreTranslate(&tab));
  for (UINT msg : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEHOVER, WM_RBUTTONDOWN,
                   WM_LBUTTONDBLCLK, WM_KEYDOWN, WM_CHAR, WM_SIZE})
    ::SendMessageW(win.GetHWND(), msg, 0, Pt(5, 5));
  ::InvalidateRect(win.GetHWND(), nullptr, FALSE);
  ::UpdateWindow(win.GetHWND());
  m.FocusOnNextPaint(nullptr);
  CControlUI loose;
  m.FocusOnNextPaint(&loose);
}

TEST(ManagerInput, ControlOfAnotherManagerIsIgnored) {
  ThreeControlWindow t;
  CWindowManagerUI other;
  t.b->AttachManager(&other, t.root, false);
  t.log.clear();
  t.Send(WM_LBUTTONDOWN, MK_LBUTTON, Pt(150, 10));
  EXPECT_TRUE(t.log.empty());
  EXPECT_EQ(nullptr, t.win.manager.GetCaptureControl());
  t.b->AttachManager(&t.win.manager, t.root, false);
}

}  // namespace
