#include <gtest/gtest.h>

#include "tests/uitoolkit/core/dib_canvas.h"
#include "tests/uitoolkit/core/ui_test_fixtures.h"
#include "tests/uitoolkit/layout/layout_fixtures.h"

using namespace layouttest;

namespace {

std::wstring Order(const CContainerUI& c) {
  std::wstring s;
  for (int i = 0; i < c.GetCount(); ++i) s += std::wstring(c.GetItemAt(i)->GetName());
  return s;
}

TEST(Container, MoveItemToChecksTheIndexBeforeTakingTheChildOut) {
  struct Case {
    const wchar_t* name;
    int index;
    bool moved;
    const wchar_t* order;
  } cases[] = {
      {L"A", 2, true, L"BCA"},  {L"C", 0, true, L"CAB"},   {L"B", 1, true, L"ABC"},
      {L"A", 3, false, L"ABC"},  // one past the end: refused, A kept
      {L"C", -1, false, L"ABC"}, {L"X", 0, false, L"ABC"},  // not a child
  };
  for (const Case& c : cases) {
    Tree<CContainerUI> t;
    for (const wchar_t* n : {L"A", L"B", L"C"}) t.root->Add(Box(0, 0, nullptr, n));
    CControlUI* stranger = Box(0, 0, nullptr, L"X");
    CControlUI* item = wcscmp(c.name, L"X") == 0 ? stranger : t.manager.FindControl(c.name);
    EXPECT_EQ(c.moved, t.root->MoveItemTo(item, c.index)) << c.name << " to " << c.index;
    EXPECT_EQ(std::wstring(c.order), Order(*t.root)) << c.name << " to " << c.index;
    delete stranger;
  }
}

TEST(Container, AddAttachesNamesAndFollowsVisibility) {
  Tree<CContainerUI> t;
  CControlUI* a = Box(0, 0, nullptr, L"a");
  EXPECT_FALSE(t.root->Add(nullptr));
  ASSERT_TRUE(t.root->Add(a));
  EXPECT_EQ(a, t.manager.FindControl(L"a"));
  EXPECT_EQ(t.root, a->GetParent());
  EXPECT_EQ(&t.manager, a->GetManager());

  CContainerUI* inner = new CContainerUI;
  t.root->Add(inner);
  inner->SetVisible(false);
  CControlUI* b = Box(0, 0, nullptr, L"b");
  inner->AddAt(b, 0);
  EXPECT_FALSE(b->IsVisible());  // added to a hidden container
  inner->SetVisible(true);
  EXPECT_TRUE(b->IsVisible());
  t.root->SetVisible(false);
  EXPECT_FALSE(b->IsVisible());  // hidden two levels up
  CControlUI* late = Box(0, 0);
  EXPECT_FALSE(t.root->AddAt(late, 5));  // out of range: attached but not a child
  EXPECT_EQ(2, t.root->GetCount());
  delete late;
}

TEST(Container, RemovalDeletesByTheOwnershipFlags) {
  int deaths = 0;
  {
    Tree<CContainerUI> t;
    t.root->SetDelayedDestroy(false);
    Counted* a = new Counted(&deaths);
    Counted* b = new Counted(&deaths);
    t.root->Add(a);
    t.root->Add(b);
    CControlUI stranger;
    EXPECT_FALSE(t.root->Remove(&stranger));
    EXPECT_FALSE(t.root->Remove(nullptr));
    EXPECT_TRUE(t.root->Remove(a));
    EXPECT_EQ(1, deaths);  // at once
    EXPECT_FALSE(t.root->Remove(a));

    t.root->SetAutoDestroy(false);
    EXPECT_TRUE(t.root->RemoveAt(0));
    EXPECT_EQ(1, deaths);  // only taken out
    EXPECT_EQ(0, t.root->GetCount());
    delete b;
    EXPECT_FALSE(t.root->RemoveAt(0));
  }
  EXPECT_EQ(2, deaths);

  // The destructor deletes the children at once even with delayed
  // destruction on.
  deaths = 0;
  CContainerUI* free_standing = new CContainerUI;
  free_standing->Add(new Counted(&deaths));
  free_standing->Add(new Counted(&deaths));
  delete free_standing;
  EXPECT_EQ(2, deaths);
}

TEST(Container, DelayedRemovalWaitsForTheWindow) {
  int deaths = 0;
  uitest::HostWindow win;
  win.CreateAt(0, 0, 200, 100);
  CContainerUI* root = new CContainerUI;
  win.manager.AttachRoot(root);
  root->Add(new Counted(&deaths));
  root->Add(new Counted(&deaths));
  root->Add(new Counted(&deaths));
  EXPECT_TRUE(root->RemoveAt(0));
  EXPECT_EQ(2, root->GetCount());  // gone from the list at once
  EXPECT_EQ(0, deaths);            // but alive until the window gets to it
  uitest::PumpMessages();
  EXPECT_EQ(1, deaths);
  root->RemoveAll();
  EXPECT_EQ(0, root->GetCount());
  EXPECT_EQ(1, deaths);
  uitest::PumpMessages();
  EXPECT_EQ(3, deaths);
}

TEST(Container, FloatingChildrenArePlacedFromTheirOrigin) {
  struct Case {
    const wchar_t* pos;
    const wchar_t* expected;
  } cases[] = {
      {L"10,10,110,40", L"30,40,130,70"},
      {L"-110,10,-10,40", L"210,40,310,70"},   // right edge 10 inside the container's
      {L"10,-50,110,-10", L"30,180,130,220"},  // bottom edge 10 above the container's
      {L"0,0,0,0", L"20,30,20,30"},
  };
  for (const Case& c : cases) {
    Tree<CContainerUI> t;
    CControlUI* f = Box(0, 0, (std::wstring(L"float=\"true\" pos=\"") + c.pos + L"\"").c_str());
    t.root->Add(f);
    t.root->Add(Box(0, 0));
    t.Layout(RECT{20, 30, 320, 230});
    EXPECT_EQ(std::wstring(c.expected), Str(f->GetBounds())) << c.pos;
    EXPECT_EQ(L"20,30,320,230", Str(t.root->GetItemAt(1)->GetBounds()));
    // A second layout at the same size starts from the stored placement.
    t.Layout(RECT{20, 30, 320, 230});
    EXPECT_EQ(std::wstring(c.expected), Str(f->GetBounds())) << c.pos << " again";
  }
}

TEST(Container, RelativeFloatingChildrenFollowTheContainersGrowth) {
  struct Case {
    const wchar_t* relative;
    const wchar_t* grown;  // after the container grew by 100 x 50
  } cases[] = {
      {L"0,0,0,0", L"10,10,60,40"},
      {L"50,0,100,0", L"60,10,210,40"},  // moves half the growth, widens by all of it
      {L"100,100,0,0", L"110,60,160,90"},
      {L"0,0,50,50", L"10,10,110,65"},
  };
  for (const Case& c : cases) {
    Tree<CContainerUI> t;
    std::wstring attrs = std::wstring(L"float=\"true\" pos=\"10,10,60,40\" relativepos=\"") +
                         c.relative + L"\"";
    CControlUI* f = Box(0, 0, attrs.c_str());
    t.root->Add(f);
    t.Layout(RECT{0, 0, 300, 200});
    EXPECT_EQ(L"10,10,60,40", Str(f->GetBounds())) << c.relative;  // first placement
    t.Layout(RECT{0, 0, 400, 250});
    EXPECT_EQ(std::wstring(c.grown), Str(f->GetBounds())) << c.relative;
    t.Layout(RECT{0, 0, 400, 250});
    EXPECT_EQ(std::wstring(c.grown), Str(f->GetBounds())) << c.relative << " settled";
  }
}

TEST(Container, HitTestOverTheInsetFindsOnlyFloatingChildren) {
  Tree<CContainerUI> t;
  t.root->ApplyAttributeList(L"inset=\"10,10,10,10\" name=\"root\"");
  CControlUI* child = Box(0, 0, nullptr, L"child");
  CControlUI* corner = Box(0, 0, L"float=\"true\" pos=\"0,0,20,20\" name=\"corner\"");
  t.root->Add(child);
  t.root->Add(corner);
  t.Layout(RECT{0, 0, 100, 100});
  EXPECT_EQ(L"10,10,90,90", Str(child->GetBounds()));
  child->SetBounds(RECT{0, 0, 100, 100});  // reaching into the margin, as when scrolled
  struct Case {
    POINT pt;
    const wchar_t* expected;
  } cases[] = {
      {{50, 50}, L"child"}, {{95, 50}, L"root"}, {{50, 5}, L"root"}, {{5, 5}, L"corner"},
      {{15, 15}, L"corner"},  // the floating child is on top
  };
  for (const Case& c : cases) {
    CControlUI* hit = t.manager.ControlAt(c.pt);
    ASSERT_NE(nullptr, hit);
    EXPECT_EQ(std::wstring(c.expected), std::wstring(hit->GetName())) << c.pt.x << "," << c.pt.y;
  }
  t.root->SetMouseChildEnabled(false);
  EXPECT_EQ(t.root, t.manager.ControlAt(POINT{50, 50}));
}

TEST(Container, FindSelectableItem) {
  Tree<CContainerUI> t;
  EXPECT_EQ(-1, t.root->FindSelectableItem(0, true));
  for (int i = 0; i < 7; ++i) {
    CControlUI* row = new ListItemStub;
    row->SetEnabled(i == 6 || i == 8);
    t.root->Add(row);
  }
  t.root->Add(Box(0, 0));  // 7: not a list item
  CControlUI* hidden = new ListItemStub;
  hidden->SetVisible(false);
  t.root->Add(hidden);  // 8
  struct Case {
    int start;
    bool forward;
    int expected;
  } cases[] = {
      {5, false, 6},   // nothing at or before 5: searched forward from 0
      {5, true, 6},    {6, false, 6}, {7, true, -1}, {8, true, -1},
      {100, false, 6},  // start clamped to the last row
      {-3, true, 6},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.expected, t.root->FindSelectableItem(c.start, c.forward))
        << c.start << (c.forward ? " forward" : " backward");
}

TEST(Container, PaintClipsChildrenToTheInnerArea) {
  CContainerUI root;
  root.ApplyAttributeList(L"inset=\"10,10,10,10\" bkcolor=\"#FFFFFFFF\"");
  CControlUI* child = Box(0, 0, L"bkcolor=\"#FFFF0000\"");
  CControlUI* corner = Box(0, 0, L"float=\"true\" pos=\"0,0,8,8\" bkcolor=\"#FF0000FF\"");
  root.Add(child);
  root.Add(corner);
  // Children of a detached container are placed by hand.
  root.SetBounds(RECT{0, 0, 100, 100});
  child->SetBounds(RECT{0, 0, 100, 100});
  corner->SetBounds(RECT{0, 0, 8, 8});
  struct Case {
    RECT dirty;
    POINT at;
    DWORD expected;
  } cases[] = {
      {{0, 0, 100, 100}, {50, 50}, 0xFF0000}, {{0, 0, 100, 100}, {5, 50}, 0xFFFFFF},
      {{0, 0, 100, 100}, {95, 95}, 0xFFFFFF}, {{0, 0, 100, 100}, {3, 3}, 0x0000FF},
      {{0, 0, 100, 5}, {3, 3}, 0x0000FF},  // the dirty band misses the inner area
      {{0, 0, 100, 5}, {50, 3}, 0xFFFFFF}, {{0, 0, 50, 50}, {70, 70}, 0x000000},  // not dirty
  };
  for (const Case& c : cases) {
    DibCanvas canvas(100, 100, 0);
    root.Paint(canvas.dc(), c.dirty);
    EXPECT_EQ(c.expected, canvas.At(c.at.x, c.at.y))
        << Str(c.dirty).c_str() << " at " << c.at.x << "," << c.at.y;
  }
}

}  // namespace
