#include <gtest/gtest.h>

#include "tests/uitoolkit/core/ui_test_fixtures.h"

using namespace uitest;

namespace {

TEST(ControlAttributes, PositionAndSizes) {
  struct Case {
    const wchar_t* pos;
    int x, y, w, h;
  } cases[] = {
      {L"-50,10,-10,30", -10, 10, 40, 20},
      {L"10,20,110,70", 10, 20, 100, 50},
      {L"10", 10, 0, 0, 0},   // short value: missing numbers are 0
      {L"", 0, 0, 0, 0},
      {L"5,5,1,1", 5, 5, 0, 0},  // negative sizes are ignored (stay 0)
  };
  for (const Case& c : cases) {
    CControlUI control;
    control.ApplyAttribute(L"pos", c.pos);
    EXPECT_EQ(c.x, control.GetFixedOrigin().x) << c.pos;
    EXPECT_EQ(c.y, control.GetFixedOrigin().y) << c.pos;
    EXPECT_EQ(c.w, control.GetFixedWidth()) << c.pos;
    EXPECT_EQ(c.h, control.GetFixedHeight()) << c.pos;
  }
  CControlUI control;
  control.ApplyAttributeList(
      L"width=\"30\" height=\"40\" minwidth=\"5\" maxheight=\"90\" padding=\"1,2,3,4\"");
  EXPECT_EQ(30, control.GetFixedWidth());
  EXPECT_EQ(40, control.GetFixedHeight());
  EXPECT_EQ(5, control.GetMinWidth());
  EXPECT_EQ(90, control.GetMaxHeight());
  EXPECT_EQ(9999, control.GetMaxWidth());
  EXPECT_EQ(4, control.GetPadding().bottom);
  control.ApplyAttribute(L"width", L"-3");
  EXPECT_EQ(30, control.GetFixedWidth());
}

TEST(ControlAttributes, ColoursBordersAndFlags) {
  CControlUI c;
  c.ApplyAttributeList(
      L"bkcolor=\" #FF102030\" bkcolor2=\"#FF405060\" bordercolor=\"#FF00FF00\" "
      L"leftbordersize=\"3\" borderround=\"4,6\" colorhsl=\"true\" name=\"ok\" text=\"hi\" "
      L"tooltip=\"a<n>b\" shortcut=\"xyz\" menu=\"true\" userdata=\"u\" enabled=\"True\"");
  EXPECT_EQ(0xFF102030u, c.GetBkColor());
  EXPECT_EQ(0xFF405060u, c.GetBkColor2());
  EXPECT_EQ(0xFF00FF00u, c.GetBorderColor());
  EXPECT_EQ(3, c.GetBorderSizes().left);
  EXPECT_EQ(4, c.GetBorderRound().cx);
  EXPECT_EQ(6, c.GetBorderRound().cy);
  EXPECT_TRUE(c.IsColorHsl());
  EXPECT_TRUE(c.GetName() == L"ok");
  EXPECT_TRUE(c.GetText() == L"hi");
  EXPECT_TRUE(c.GetToolTip() == L"a\r\nb");
  EXPECT_EQ(L'x', c.GetShortcut());
  EXPECT_TRUE(c.IsContextMenuEnabled());
  EXPECT_TRUE(c.GetUserData() == L"u");
  EXPECT_FALSE(c.IsEnabled());  // only the exact "true" is on

  // A uniform size clears the side sizes again; a list sets only the sides.
  c.ApplyAttribute(L"bordersize", L"2");
  EXPECT_EQ(2, c.GetBorderSize());
  EXPECT_EQ(0, c.GetBorderSizes().left);
  c.ApplyAttribute(L"bordersize", L"1,2,3,4");
  EXPECT_EQ(2, c.GetBorderSize());
  EXPECT_EQ(4, c.GetBorderSizes().bottom);
  // "bordercolor" does not skip blanks; unknown names are ignored.
  c.ApplyAttribute(L"bordercolor", L" #FF00FF00");
  EXPECT_EQ(0u, c.GetBorderColor());
  c.ApplyAttribute(L"BKCOLOR", L"#FFFFFFFF");
  EXPECT_EQ(0xFF102030u, c.GetBkColor());
  // A broken list keeps the pairs before the fault; an unterminated value
  // is not applied.
  CControlUI d;
  d.ApplyAttributeList(L"name=\"first\" text=\"never");
  EXPECT_TRUE(d.GetName() == L"first");
  EXPECT_TRUE(d.GetText() == L"");
  d.ApplyAttributeList(L"text=\"a\"  name=\"b\"");
  EXPECT_TRUE(d.GetText() == L"a");
  EXPECT_TRUE(d.GetName() == L"first");
}

TEST(ControlEvents, DelegatesAndParentForwarding) {
  std::vector<std::wstring> log;
  TestPanel parent_panel;
  parent_panel.SetName(L"P");
  struct Logging : TestPanel {
    std::vector<std::wstring>* log;
    void OnEvent(TUiEvent& e) override { log->push_back(L"parent:" + std::to_wstring(e.Type)); }
  } parent;
  parent.log = &log;
  CControlUI* child = new CControlUI;
  parent.Add(child);
  child->AttachManager(nullptr, &parent, false);
  TUiEvent move = {};
  move.Type = UIEVENT_MOUSEMOVE;
  child->HandleEvent(move);
  ASSERT_EQ(1u, log.size());  // not handled by the plain control: its parent's OnEvent
  EXPECT_EQ(std::wstring(L"parent:9"), log[0]);

  struct Stopper {
    bool Stop(void*) { return false; }
  } stopper;
  child->OnEventDelegates += MakeDelegate(&stopper, &Stopper::Stop);
  child->HandleEvent(move);
  EXPECT_EQ(1u, log.size());  // the delegate's false ends it
}

TEST(ControlLayout, SetBoundsClampsAndInvalidates) {
  HostWindow win;
  ASSERT_TRUE(win.CreateAt(0, 0, 300, 200));
  TestPanel* root = new TestPanel;
  CControlUI* child = new CControlUI;
  root->Add(child);
  win.manager.AttachRoot(root);
  ::UpdateWindow(win.GetHWND());
  EXPECT_EQ(300, root->GetWidth());
  child->SetBounds(RECT{10, 10, 50, 50});
  ::ValidateRect(win.GetHWND(), nullptr);

  struct Case {
    RECT next;
    RECT expected_dirty;
  } cases[] = {
      {{60, 10, 100, 50}, {10, 10, 100, 50}},    // old and new bounds together
      {{250, 150, 400, 400}, {60, 10, 300, 200}}, // clipped to the parent
      {{20, 20, 10, 10}, {20, 20, 300, 200}},    // right < left: zero-size at left
  };
  for (const Case& c : cases) {
    child->SetBounds(c.next);
    RECT dirty;
    ASSERT_TRUE(::GetUpdateRect(win.GetHWND(), &dirty, FALSE));
    EXPECT_EQ(c.expected_dirty.left, dirty.left);
    EXPECT_EQ(c.expected_dirty.top, dirty.top);
    EXPECT_EQ(c.expected_dirty.right, dirty.right);
    EXPECT_EQ(c.expected_dirty.bottom, dirty.bottom);
    ::ValidateRect(win.GetHWND(), nullptr);
  }
  EXPECT_EQ(0, child->GetWidth());
  EXPECT_EQ(20, child->GetLeft());
  EXPECT_FALSE(child->IsUpdateNeeded());

  // A hidden control never invalidates, yet a parent relayout request still
  // leaves the manager knowing.
  child->SetVisible(false);
  ::UpdateWindow(win.GetHWND());
  ::ValidateRect(win.GetHWND(), nullptr);
  child->Invalidate();
  child->RequestRelayout();
  RECT dirty;
  EXPECT_FALSE(::GetUpdateRect(win.GetHWND(), &dirty, FALSE));
  child->RequestParentRelayout();
  EXPECT_TRUE(win.manager.IsUpdateNeeded());
}

// A manager without a window never invalidates the desktop.
TEST(ControlLayout, WindowlessManagerDoesNotRepaintTheDesktop) {
  HostWindow bystander;
  ASSERT_TRUE(bystander.CreateAt(0, 0, 100, 100));
  ::UpdateWindow(bystander.GetHWND());
  ::ValidateRect(bystander.GetHWND(), nullptr);
  CWindowManagerUI loose;
  CControlUI* root = new CControlUI;
  loose.AttachRoot(root);
  root->SetBounds(RECT{0, 0, 50, 50});
  root->SetBkColor(0xFF00FF00);
  root->Invalidate();
  root->RequestRelayout();
  loose.InvalidateAll();
  RECT dirty;
  EXPECT_FALSE(::GetUpdateRect(bystander.GetHWND(), &dirty, FALSE));
}

TEST(ControlLayout, FirstPaintSendsWindowInitOnce) {
  HostWindow win;
  ASSERT_TRUE(win.CreateAt(0, 0, 120, 80));
  struct R : INotifyUI {
    int inits = 0;
    void Notify(TUiNotify& msg) override { inits += msg.sType == L"windowinit"; }
  } r;
  win.manager.AddNotifyReceiver(&r);
  CControlUI* root = new CControlUI;
  win.manager.AttachRoot(root);
  ::UpdateWindow(win.GetHWND());
  EXPECT_EQ(1, r.inits);
  EXPECT_EQ(120, root->GetWidth());
  ::InvalidateRect(win.GetHWND(), nullptr, FALSE);
  ::SetWindowPos(win.GetHWND(), nullptr, 0, 0, 150, 90, SWP_NOZORDER | SWP_NOACTIVATE);
  ::UpdateWindow(win.GetHWND());
  EXPECT_EQ(1, r.inits);
  EXPECT_EQ(150, root->GetWidth());  // WM_SIZE asked for a full relayout
}

}  // namespace
