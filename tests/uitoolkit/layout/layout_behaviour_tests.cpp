#include <gtest/gtest.h>

#include "tests/uitoolkit/core/dib_canvas.h"
#include "tests/uitoolkit/core/ui_test_fixtures.h"
#include "tests/uitoolkit/layout/layout_fixtures.h"
#include "uitoolkit/layouts/child_layout.h"
#include "uitoolkit/layouts/horizontal_layout.h"
#include "uitoolkit/layouts/tab_layout.h"
#include "uitoolkit/layouts/tile_layout.h"
#include "uitoolkit/layouts/vertical_layout.h"

using namespace layouttest;

namespace {

struct NotifyLog : INotifyUI {
  std::vector<std::wstring> seen;
  void Notify(TUiNotify& msg) override {
    if (msg.sType != L"tabselect") return;
    seen.push_back(std::wstring(msg.sType) + L" " + std::to_wstring(msg.wParam) + L"," +
                   std::to_wstring(msg.lParam));
  }
};

// A tab layout of children named a, b, c (all visible as written in a skin).
struct Tabs : Tree<CTabLayoutUI> {
  NotifyLog log;
  Tabs() {
    for (const wchar_t* n : {L"a", L"b", L"c"}) root->Add(Box(0, 0, nullptr, n));
    manager.AddNotifyReceiver(&log);
    Layout(RECT{0, 0, 200, 100});
  }
  ~Tabs() { manager.RemoveNotifyReceiver(&log); }
  std::wstring Shown() {
    std::wstring s;
    for (int i = 0; i < root->GetCount(); ++i)
      if (root->GetItemAt(i)->IsVisible()) s += std::wstring(root->GetItemAt(i)->GetName());
    return s;
  }
};

TEST(TabLayout, SelectItemShowsOneChildAndNotifies) {
  Tabs t;
  EXPECT_EQ(L"a", t.Shown());
  EXPECT_EQ(0, t.root->GetCurSel());
  t.root->ApplyAttribute(L"selectedid", L"2");
  EXPECT_EQ(L"c", t.Shown());
  EXPECT_EQ(2, t.root->GetCurSel());
  ASSERT_EQ(1u, t.log.seen.size());
  EXPECT_EQ(L"tabselect 2,0", t.log.seen[0]);
  EXPECT_EQ(L"0,0,200,100", Str(t.root->GetItemAt(2)->GetBounds()));

  EXPECT_TRUE(t.root->SelectItem(2));  // already current: nothing sent
  EXPECT_FALSE(t.root->SelectItem(3));
  EXPECT_FALSE(t.root->SelectItem(-1));
  t.root->ApplyAttribute(L"selectedid", L"-1");
  EXPECT_EQ(1u, t.log.seen.size());
  EXPECT_EQ(L"c", t.Shown());
}

TEST(TabLayout, CurrentIndexFollowsInsertionsAndRemovals) {
  struct Step {
    const char* what;
    void (*act)(Tabs&);
    int current;
    const wchar_t* shown;
  } steps[] = {
      {"select b", [](Tabs& t) { t.root->SelectItem(1); }, 1, L"b"},
      {"insert before the current tab",
       [](Tabs& t) { t.root->AddAt(Box(0, 0, nullptr, L"n"), 0); }, 2, L"b"},
      {"insert after it", [](Tabs& t) { t.root->AddAt(Box(0, 0, nullptr, L"m"), 3); }, 2, L"b"},
      {"append", [](Tabs& t) { t.root->Add(Box(0, 0, nullptr, L"z")); }, 2, L"b"},
      {"remove a tab before it", [](Tabs& t) { t.root->RemoveAt(0); }, 1, L"b"},
      {"remove the current tab", [](Tabs& t) { t.root->RemoveAt(1); }, 0, L"a"},
      {"remove a tab after it", [](Tabs& t) { t.root->RemoveAt(2); }, 0, L"a"},
      {"remove everything", [](Tabs& t) { t.root->RemoveAll(); }, -1, L""},
      {"the next child becomes current", [](Tabs& t) { t.root->Add(Box(0, 0, nullptr, L"q")); },
       0, L"q"},
  };
  Tabs t;
  for (const Step& s : steps) {
    s.act(t);
    EXPECT_EQ(s.current, t.root->GetCurSel()) << s.what;
    EXPECT_EQ(std::wstring(s.shown), t.Shown()) << s.what;
  }
}

TEST(Layouts, NamesAndInterfaces) {
  CHorizontalLayoutUI row;
  CVerticalLayoutUI column;
  CTabLayoutUI tab;
  CTileLayoutUI tile;
  struct Case {
    CContainerUI* c;
    const wchar_t* class_name;
    const wchar_t* own;
  } cases[] = {
      {&row, L"HorizontalLayoutUI", L"HorizontalLayout"},
      {&column, L"VerticalLayoutUI", L"VerticalLayout"},
      {&tab, L"TabLayoutUI", L"TabLayout"},
      {&tile, L"TileLayoutUI", L"TileLayout"},
  };
  for (const Case& c : cases) {
    EXPECT_STREQ(c.class_name, c.c->ClassName());
    EXPECT_EQ(static_cast<CControlUI*>(c.c), c.c->FindInterface(c.own));
    EXPECT_EQ(static_cast<CControlUI*>(c.c), c.c->FindInterface(L"Container"));
    EXPECT_EQ(static_cast<IContainerUI*>(c.c), c.c->FindInterface(L"IContainer"));
    EXPECT_EQ(static_cast<CControlUI*>(c.c), c.c->FindInterface(L"Control"));
    EXPECT_EQ(nullptr, c.c->FindInterface(L"Button"));
  }
  EXPECT_EQ(0u, row.CapabilityFlags());
  row.ApplyAttribute(L"sepwidth", L"4");
  EXPECT_EQ(static_cast<UINT>(UIFLAG_SETCURSOR), row.CapabilityFlags());
  row.SetEnabled(false);
  EXPECT_EQ(0u, row.CapabilityFlags());
}

// A row of a panel with a separator band on one edge and a filler, in a
// window.
struct SplitWindow {
  uitest::HostWindow win;
  CHorizontalLayoutUI* root = new CHorizontalLayoutUI;
  CHorizontalLayoutUI* panel = new CHorizontalLayoutUI;
  explicit SplitWindow(const wchar_t* panel_attrs) {
    win.CreateAt(0, 0, 300, 100);
    panel->ApplyAttributeList(panel_attrs);
    root->Add(panel);
    root->Add(Box(0, 0));
    win.manager.AttachRoot(root);
    ::UpdateWindow(win.GetHWND());
  }
  void Send(UINT msg, int x) {
    ::SendMessageW(win.GetHWND(), msg, msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, 50));
  }
};

TEST(SeparatorDrag, TrackedEdgeStopsAtTheLimitsAndAppliesOnRelease) {
  SplitWindow w(L"sepwidth=\"4\" width=\"100\" minwidth=\"60\" maxwidth=\"150\"");
  ASSERT_EQ(L"0,0,100,100", Str(w.panel->GetBounds()));
  w.Send(WM_LBUTTONDOWN, 90);  // outside the band: no drag
  w.Send(WM_LBUTTONUP, 90);
  EXPECT_FALSE(w.panel->IsDragging());
  w.Send(WM_LBUTTONDOWN, 98);
  EXPECT_TRUE(w.panel->IsDragging());
  w.Send(WM_MOUSEMOVE, 130);
  EXPECT_EQ(L"0,0,132,100", Str(w.panel->GetTrackedRect()));  // moved by the pointer's 32
  EXPECT_EQ(L"0,0,100,100", Str(w.panel->GetBounds()));  // a tracker until the release
  w.Send(WM_MOUSEMOVE, 220);
  EXPECT_EQ(L"0,0,150,100", Str(w.panel->GetTrackedRect()));  // the maximum
  w.Send(WM_MOUSEMOVE, 240);
  EXPECT_EQ(L"0,0,150,100", Str(w.panel->GetTrackedRect()));
  // The tracker: a translucent black band at the tracked edge.
  DibCanvas canvas(300, 100, 0x00FFFFFF);
  w.panel->PaintOverlay(canvas.dc(), RECT{0, 0, 300, 100});
  EXPECT_EQ(0x555555u, canvas.At(148, 50));
  EXPECT_EQ(0xFFFFFFu, canvas.At(145, 50));
  EXPECT_EQ(0xFFFFFFu, canvas.At(98, 50));
  w.Send(WM_LBUTTONUP, 240);
  EXPECT_FALSE(w.panel->IsDragging());
  ::UpdateWindow(w.win.GetHWND());
  EXPECT_EQ(L"0,0,150,100", Str(w.panel->GetBounds()));
  EXPECT_EQ(L"150,0,300,100", Str(w.root->GetItemAt(1)->GetBounds()));
}

TEST(SeparatorDrag, ImmediateModeAndTheLeftEdge) {
  SplitWindow live(L"sepwidth=\"4\" sepimm=\"true\" width=\"100\"");
  live.Send(WM_LBUTTONDOWN, 98);
  live.Send(WM_MOUSEMOVE, 78);
  EXPECT_EQ(L"0,0,80,100", Str(live.panel->GetBounds()));  // resized while dragging
  ::UpdateWindow(live.win.GetHWND());
  EXPECT_EQ(L"80,0,300,100", Str(live.root->GetItemAt(1)->GetBounds()));
  live.Send(WM_LBUTTONUP, 78);

  // A band on the left edge of the second child of a row.
  uitest::HostWindow win;
  win.CreateAt(0, 0, 300, 100);
  CHorizontalLayoutUI* root = new CHorizontalLayoutUI;
  CHorizontalLayoutUI* right = new CHorizontalLayoutUI;
  right->ApplyAttributeList(L"sepwidth=\"-4\" width=\"200\"");
  root->Add(Box(0, 0));
  root->Add(right);
  win.manager.AttachRoot(root);
  ::UpdateWindow(win.GetHWND());
  ASSERT_EQ(L"100,0,300,100", Str(right->GetBounds()));
  ::SendMessageW(win.GetHWND(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(102, 50));
  ::SendMessageW(win.GetHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(80, 50));
  EXPECT_EQ(L"78,0,300,100", Str(right->GetTrackedRect()));
  ::SendMessageW(win.GetHWND(), WM_LBUTTONUP, 0, MAKELPARAM(80, 50));
  ::UpdateWindow(win.GetHWND());
  EXPECT_EQ(L"78,0,300,100", Str(right->GetBounds()));
  EXPECT_EQ(222, right->GetFixedWidth());
}

}  // namespace

namespace {

TEST(SeparatorDrag, ColumnBandAtTheBottom) {
  uitest::HostWindow win;
  win.CreateAt(0, 0, 100, 300);
  CVerticalLayoutUI* root = new CVerticalLayoutUI;
  CVerticalLayoutUI* top = new CVerticalLayoutUI;
  top->ApplyAttributeList(L"sepheight=\"6\" height=\"100\" minheight=\"50\"");
  root->Add(top);
  root->Add(Box(0, 0));
  win.manager.AttachRoot(root);
  ::UpdateWindow(win.GetHWND());
  ::SendMessageW(win.GetHWND(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 97));
  ::SendMessageW(win.GetHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(50, 20));
  EXPECT_EQ(L"0,0,100,50", Str(top->GetTrackedRect()));  // the minimum
  ::SendMessageW(win.GetHWND(), WM_LBUTTONUP, 0, MAKELPARAM(50, 20));
  ::UpdateWindow(win.GetHWND());
  EXPECT_EQ(L"0,50,100,300", Str(root->GetItemAt(1)->GetBounds()));
}

}  // namespace

namespace {

TEST(ChildLayout, BuildsItsSkinWhenAttached) {
  struct Case {
    const wchar_t* xml;
    int children;
    bool named;
  } cases[] = {
      {L"<Window><Container><Control name=\"inner\"/></Container></Window>", 1, true},
      {L"no-such-skin-file.xml", 0, false},  // a failed build leaves it empty
      {L"", 0, false},
  };
  for (const Case& c : cases) {
    Tree<CVerticalLayoutUI> t;
    CChildLayoutUI* child = new CChildLayoutUI;
    child->ApplyAttribute(L"xmlfile", c.xml);
    EXPECT_STREQ(c.xml, child->GetChildLayoutXml());
    t.root->Add(child);
    EXPECT_EQ(c.children, child->GetCount()) << c.xml;
    EXPECT_EQ(c.named, t.manager.FindControl(L"inner") != nullptr) << c.xml;
    t.Layout(RECT{0, 0, 100, 100});
    if (c.children) {
      EXPECT_EQ(L"0,0,100,100", Str(child->GetItemAt(0)->GetBounds()));
    }
  }
  CChildLayoutUI child;
  EXPECT_STREQ(L"ChildLayoutUI", child.ClassName());
  EXPECT_EQ(&child, child.FindInterface(L"ChildLayout"));
  EXPECT_EQ(&child, child.FindInterface(L"Control"));
  // Not a container to the skin builder: elements written inside it are
  // not nested into it.
  EXPECT_EQ(nullptr, child.FindInterface(L"Container"));
  EXPECT_EQ(nullptr, child.FindInterface(L"IContainer"));
}

}  // namespace
