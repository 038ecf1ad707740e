#include <gtest/gtest.h>

#include "tests/uitoolkit/core/dib_canvas.h"
#include "tests/uitoolkit/core/ui_test_fixtures.h"

using namespace uitest;

namespace {

// Paints a control alone into a fresh white canvas.
struct Painted {
  DibCanvas canvas{100, 100, 0x00FFFFFF};
  void Paint(CControlUI& c, RECT dirty = RECT{0, 0, 100, 100}) { c.Paint(canvas.dc(), dirty); }
};

TEST(ControlPaint, BackColours) {
  struct Case {
    const wchar_t* attrs;
    POINT at;
    DWORD expected;
  } cases[] = {
      {L"bkcolor=\"#FF336699\"", {50, 50}, 0x336699},
      {L"bkcolor=\"#FF336699\"", {5, 5}, 0xFFFFFF},  // outside the bounds
      {L"bkcolor=\"#00336699\"", {50, 50}, 0xFFFFFF},  // fully transparent
      {L"bkcolor=\"#FF336699\" colorhsl=\"true\"", {50, 50}, 0x336699},
  };
  for (const Case& c : cases) {
    Painted p;
    CControlUI control;
    control.ApplyAttributeList(c.attrs);
    control.SetBounds(RECT{10, 10, 90, 90});
    p.Paint(control);
    EXPECT_EQ(c.expected, p.canvas.At(c.at.x, c.at.y)) << c.attrs;
  }
  // Opaque colours fill only the dirty part.
  Painted p;
  CControlUI control;
  control.SetBkColor(0xFF000000);
  control.SetBounds(RECT{0, 0, 100, 100});
  p.Paint(control, RECT{0, 0, 50, 100});
  EXPECT_EQ(0u, p.canvas.At(20, 20));
  EXPECT_EQ(0xFFFFFFu, p.canvas.At(70, 20));
}

TEST(ControlPaint, Gradients) {
  Painted two;
  CControlUI g2;
  g2.ApplyAttributeList(L"bkcolor=\"#FF000000\" bkcolor2=\"#FF0000FF\"");
  g2.SetBounds(RECT{0, 0, 100, 100});
  two.Paint(g2);
  EXPECT_LT(two.canvas.At(50, 0) & 0xFF, 0x10u);
  EXPECT_NEAR(0x80, static_cast<int>(two.canvas.At(50, 50) & 0xFF), 10);
  EXPECT_GT(two.canvas.At(50, 99) & 0xFF, 0xF0u);
  EXPECT_EQ(0u, two.canvas.At(50, 99) & 0xFFFF00);  // only blue rises

  // Three colours: top half 1 -> 2, bottom half 2 -> 3.
  Painted three;
  CControlUI g3;
  g3.ApplyAttributeList(L"bkcolor=\"#FFFF0000\" bkcolor2=\"#FF00FF00\" bkcolor3=\"#FF0000FF\"");
  g3.SetBounds(RECT{0, 0, 100, 100});
  three.Paint(g3);
  EXPECT_GT((three.canvas.At(50, 0) >> 16) & 0xFF, 0xF0u);       // red at the top
  EXPECT_GT((three.canvas.At(50, 50) >> 8) & 0xFF, 0xF0u);       // green in the middle
  EXPECT_LT((three.canvas.At(50, 50) >> 16) & 0xFF, 0x10u);
  EXPECT_GT(three.canvas.At(50, 99) & 0xFF, 0xF0u);              // blue at the bottom
  EXPECT_NEAR(0x80, static_cast<int>((three.canvas.At(50, 25) >> 16) & 0xFF), 16);
}

TEST(ControlPaint, Borders) {
  struct Case {
    const wchar_t* attrs;
    POINT inside_border;
    POINT outside_border;
  } cases[] = {
      {L"bordercolor=\"#FFFF0000\" bordersize=\"1\"", {10, 50}, {11, 50}},
      {L"bordercolor=\"#FFFF0000\" bordersize=\"4\"", {13, 50}, {14, 50}},
      {L"bordercolor=\"#FFFF0000\" bordersize=\"4\"", {50, 86}, {50, 85}},
      {L"bordercolor=\"#FFFF0000\" leftbordersize=\"1\"", {10, 50}, {50, 10}},
      {L"bordercolor=\"#FFFF0000\" topbordersize=\"1\"", {50, 10}, {10, 50}},
      {L"bordercolor=\"#FFFF0000\" bordersize=\"0,0,0,1\"", {50, 90}, {50, 10}},
  };
  for (const Case& c : cases) {
    Painted p;
    CControlUI control;
    control.ApplyAttributeList(c.attrs);
    control.SetBounds(RECT{10, 10, 90, 90});
    p.Paint(control);
    EXPECT_EQ(0xFF0000u, p.canvas.At(c.inside_border.x, c.inside_border.y)) << c.attrs;
    EXPECT_EQ(0xFFFFFFu, p.canvas.At(c.outside_border.x, c.outside_border.y)) << c.attrs;
  }
}

TEST(ControlPaint, FocusBorderNeedsManagerFocus) {
  HostWindow win;
  ASSERT_TRUE(win.CreateAt(0, 0, 100, 100, nullptr, false));
  CControlUI* c = new CControlUI;
  win.manager.AttachRoot(c);
  c->ApplyAttributeList(L"bordercolor=\"#FFFF0000\" focusbordercolor=\"#FF0000FF\" bordersize=\"2\"");
  c->SetBounds(RECT{10, 10, 90, 90});
  Painted before;
  before.Paint(*c);
  EXPECT_EQ(0xFF0000u, before.canvas.At(10, 50));
  c->SetFocus();
  Painted after;
  after.Paint(*c);
  EXPECT_EQ(0x0000FFu, after.canvas.At(10, 50));
}

TEST(ControlPaint, RoundedBordersAndClip) {
  Painted p;
  CControlUI c;
  c.ApplyAttributeList(
      L"bkcolor=\"#FF00FF00\" bordercolor=\"#FFFF0000\" bordersize=\"1\" borderround=\"30,30\"");
  c.SetBounds(RECT{10, 10, 90, 90});
  p.Paint(c);
  EXPECT_EQ(0xFFFFFFu, p.canvas.At(11, 11));   // the corner is cut off
  EXPECT_EQ(0xFFFFFFu, p.canvas.At(88, 88));
  EXPECT_EQ(0x00FF00u, p.canvas.At(50, 50));
  EXPECT_EQ(0xFF0000u, p.canvas.At(50, 10));   // the border runs along the top
  EXPECT_EQ(0xFF0000u, p.canvas.At(10, 50));
  // The clip is gone after painting.
  RECT box;
  ::GetClipBox(p.canvas.dc(), &box);
  EXPECT_EQ(0, box.left);
  EXPECT_EQ(100, box.right);
}

TEST(ControlPaint, ChildrenOverParent) {
  Painted p;
  TestPanel panel;
  panel.SetBkColor(0xFF0000FF);
  panel.SetBounds(RECT{0, 0, 100, 100});
  CControlUI* child = new CControlUI;
  child->SetBkColor(0xFFFFFF00);
  panel.Add(child);
  child->SetBounds(RECT{20, 20, 40, 40});
  p.Paint(panel);
  EXPECT_EQ(0x0000FFu, p.canvas.At(5, 5));
  EXPECT_EQ(0xFFFF00u, p.canvas.At(30, 30));
}

}  // namespace

namespace {

COLORREF ScreenPixel(HWND hwnd, int x, int y) {
  HDC dc = ::GetDC(hwnd);
  COLORREF c = ::GetPixel(dc, x, y);
  ::ReleaseDC(hwnd, dc);
  return c;
}

void Repaint(HWND hwnd, const RECT* rc) {
  ::ValidateRect(hwnd, nullptr);
  ::InvalidateRect(hwnd, rc, FALSE);
  ::UpdateWindow(hwnd);
}

// The snapshot holds only what was on screen under the first repainted
// rectangle; the rest of it is black, never stale memory.
TEST(ManagerPaint, BackgroundSnapshotStartsEmpty) {
  HostWindow win;
  ASSERT_TRUE(win.CreateAt(0, 0, 100, 100));
  CControlUI* root = new CControlUI;
  root->SetBkColor(0xFFFF0000);
  win.manager.AttachRoot(root);
  ::UpdateWindow(win.GetHWND());
  EXPECT_EQ(RGB(255, 0, 0), ScreenPixel(win.GetHWND(), 50, 50));

  root->SetBkColor(0);  // the root now paints nothing of its own
  win.manager.SetBackgroundSnapshot(true);
  RECT small = {10, 10, 20, 20};
  Repaint(win.GetHWND(), &small);
  Repaint(win.GetHWND(), nullptr);
  EXPECT_EQ(RGB(255, 0, 0), ScreenPixel(win.GetHWND(), 15, 15));
  EXPECT_EQ(RGB(0, 0, 0), ScreenPixel(win.GetHWND(), 50, 50));
}

// A shown 100 x 100 window whose white root holds a red square at
// (40, 40)-(60, 60), painted once.
struct SquareWindow {
  HostWindow win;
  TestPanel* root = new TestPanel;
  CControlUI* square = new CControlUI;

  SquareWindow() {
    win.CreateAt(0, 0, 100, 100);
    root->SetBkColor(0xFFFFFFFF);
    square->SetBkColor(0xFFFF0000);
    root->Add(square);
    win.manager.AttachRoot(root);
    ::UpdateWindow(win.GetHWND());
    square->SetBounds(RECT{40, 40, 60, 60});
    ::UpdateWindow(win.GetHWND());
  }
  COLORREF At(int x, int y) { return ScreenPixel(win.GetHWND(), x, y); }
};

// The root's own invalidation covers the square's, which then costs no
// call of its own; once painted, the next change of the square must reach
// the window again, however often the area was pending before.
TEST(ManagerPaint, AChangeInsideAnAreaAlreadyPendingIsPaintedAndTheNextOneToo) {
  SquareWindow w;
  ASSERT_EQ(RGB(255, 0, 0), w.At(50, 50));
  w.root->SetBkColor(0xFF808080);
  w.square->SetBkColor(0xFF0000FF);
  ::UpdateWindow(w.win.GetHWND());
  EXPECT_EQ(RGB(128, 128, 128), w.At(20, 20));
  EXPECT_EQ(RGB(0, 0, 255), w.At(50, 50));

  w.square->SetBkColor(0xFF00FF00);
  ::UpdateWindow(w.win.GetHWND());
  EXPECT_EQ(RGB(0, 255, 0), w.At(50, 50));
}

TEST(ManagerPaint, ShowDirtyFramesTheRepaintedRectangle) {
  HostWindow win;
  ASSERT_TRUE(win.CreateAt(0, 0, 100, 100));
  CControlUI* root = new CControlUI;
  root->SetBkColor(0xFFFFFFFF);
  win.manager.AttachRoot(root);
  ::UpdateWindow(win.GetHWND());
  win.manager.SetShowDirty(true);
  RECT part = {10, 10, 60, 60};
  Repaint(win.GetHWND(), &part);
  EXPECT_EQ(RGB(220, 0, 0), ScreenPixel(win.GetHWND(), 10, 30));
  EXPECT_EQ(RGB(220, 0, 0), ScreenPixel(win.GetHWND(), 59, 30));
  EXPECT_EQ(RGB(255, 255, 255), ScreenPixel(win.GetHWND(), 30, 30));
  EXPECT_EQ(RGB(255, 255, 255), ScreenPixel(win.GetHWND(), 70, 30));
}

}  // namespace
