// Finding controls: the name map, the point hit, the tab order, shortcuts
// and relayout marks, and a manager whose skin left it without a root.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/uitoolkit/core/ui_test_fixtures.h"
#include "uitoolkit/core/manager_visitors.h"

using namespace uitest;

namespace {

class NamedControl : public CControlUI {
 public:
  NamedControl(const wchar_t* name, const wchar_t* class_name = L"ControlUI", UINT flags = 0)
      : class_(class_name), flags_(flags) {
    SetName(name);
  }
  const wchar_t* ClassName() const override { return class_.c_str(); }
  UINT CapabilityFlags() const override { return flags_; }
  bool Activate() override {
    if (!CControlUI::Activate()) return false;
    ++activations;
    return true;
  }
  int activations = 0;

 private:
  std::wstring class_;
  UINT flags_;
};

NamedControl* Placed(const wchar_t* name, RECT rc, UINT flags = 0) {
  NamedControl* c = new NamedControl(name, L"ControlUI", flags);
  c->SetBounds(rc);
  return c;
}

std::wstring NameOf(CControlUI* c) { return c ? std::wstring(c->GetName()) : L"(none)"; }

TEST(ControlLookup, NameMapHoldsEveryNamedControlOfTheTree) {
  CWindowManagerUI m;
  TestPanel* root = new TestPanel;
  TestPanel* inner = new TestPanel;
  NamedControl* hidden = new NamedControl(L"hidden");
  NamedControl* disabled = new NamedControl(L"disabled");
  NamedControl* deep = new NamedControl(L"deep");
  NamedControl* unnamed = new NamedControl(L"");
  hidden->SetVisible(false);
  disabled->SetEnabled(false);
  inner->SetName(L"inner");
  inner->Add(deep);
  root->Add(hidden);
  root->Add(disabled);
  root->Add(inner);
  root->Add(unnamed);
  root->SetName(L"root");
  ASSERT_TRUE(m.AttachRoot(root));

  // A child added to an attached tree is entered as it arrives.
  NamedControl* late = new NamedControl(L"late");
  inner->Add(late);

  struct Case {
    const wchar_t* name;
    CControlUI* found;
  } cases[] = {
      {L"root", root},         {L"inner", inner}, {L"deep", deep},   {L"hidden", hidden},
      {L"disabled", disabled}, {L"late", late},   {L"Deep", nullptr}, {L"dee", nullptr},
      {L"", nullptr},          {nullptr, nullptr},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.found, m.FindControl(c.name)) << (c.name ? c.name : L"(null)");
  }
}

TEST(ControlLookup, ANewTreeTakesOverNamesAndTheOldOneLeavesWithItsControls) {
  HostWindow win;
  ASSERT_TRUE(win.CreateAt(0, 0, 200, 100, nullptr, false));
  TestPanel* first = new TestPanel;
  NamedControl* old_ok = new NamedControl(L"ok");
  NamedControl* old_only = new NamedControl(L"only_old");
  first->Add(old_ok);
  first->Add(old_only);
  win.manager.AttachRoot(first);

  TestPanel* second = new TestPanel;
  NamedControl* new_ok = new NamedControl(L"ok");
  second->Add(new_ok);
  win.manager.AttachRoot(second);
  EXPECT_EQ(new_ok, win.manager.FindControl(L"ok"));
  PumpMessages();  // the old tree is deleted
  EXPECT_EQ(0, win.manager.PendingDeletionCount());
  // The old control's deletion leaves the new entry of the same name alone
  // and takes its own name with it.
  EXPECT_EQ(new_ok, win.manager.FindControl(L"ok"));
  EXPECT_EQ(nullptr, win.manager.FindControl(L"only_old"));
}

TEST(ControlLookup, ARenamedControlLeavesNoEntryBehindWhenDeleted) {
  CWindowManagerUI m;
  TestPanel* root = new TestPanel;
  NamedControl* keep = new NamedControl(L"keep");
  NamedControl* renamed = new NamedControl(L"old");
  root->Add(keep);
  root->Add(renamed);
  m.AttachRoot(root);
  ASSERT_EQ(renamed, m.FindControl(L"old"));
  keep->SetName(L"keep");  // the same name: the entry stays
  EXPECT_EQ(keep, m.FindControl(L"keep"));
  renamed->SetName(L"new");
  EXPECT_EQ(nullptr, m.FindControl(L"old"));
  EXPECT_EQ(nullptr, m.FindControl(L"new"));  // entered with the next registration
  m.RegisterNames(root);
  EXPECT_EQ(renamed, m.FindControl(L"new"));
  // A rename never takes another control's entry away.
  NamedControl* other = new NamedControl(L"shared");
  root->Add(other);
  keep->SetName(L"shared");
  keep->SetName(L"elsewhere");
  EXPECT_EQ(other, m.FindControl(L"shared"));
  root->children.pop_back();
  delete other;
  root->children.pop_back();
  delete renamed;
  EXPECT_EQ(nullptr, m.FindControl(L"new"));
  EXPECT_EQ(nullptr, m.FindControl(L"shared"));
  EXPECT_EQ(nullptr, m.FindControl(L"old"));
}

TEST(ControlLookup, PointHitTakesTheTopmostVisibleMouseEnabledControl) {
  CWindowManagerUI m;
  TestPanel* root = new TestPanel;
  root->SetBounds(RECT{0, 0, 400, 100});
  root->Add(Placed(L"A", RECT{0, 0, 100, 100}));
  root->Add(Placed(L"B", RECT{50, 0, 150, 100}));  // later child: drawn over A
  NamedControl* no_mouse = Placed(L"M", RECT{150, 0, 200, 100});
  no_mouse->SetMouseEnabled(false);
  root->Add(no_mouse);
  TestPanel* inner = new TestPanel;
  inner->SetBounds(RECT{200, 0, 300, 100});
  inner->Add(Placed(L"Q", RECT{220, 0, 260, 50}));
  root->Add(inner);
  NamedControl* hidden = Placed(L"H", RECT{200, 0, 300, 100});
  hidden->SetVisible(false);  // on top of the inner panel, but hidden
  root->Add(hidden);
  NamedControl* disabled = Placed(L"D", RECT{300, 0, 400, 100});
  disabled->SetEnabled(false);  // disabled controls still take the pointer
  root->Add(disabled);
  m.AttachRoot(root);

  struct Case {
    POINT pt;
    const wchar_t* expected;
  } cases[] = {
      {{10, 10}, L"A"},       {{49, 99}, L"A"},       {{50, 0}, L"B"},  {{149, 50}, L"B"},
      {{175, 50}, L"(none)"}, {{230, 10}, L"Q"},      {{260, 10}, L"(none)"},
      {{350, 50}, L"D"},      {{400, 50}, L"(none)"}, {{-1, 10}, L"(none)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(std::wstring(c.expected), NameOf(m.ControlAt(c.pt))) << c.pt.x << "," << c.pt.y;
  }
}

// A window whose tree holds tab stops among controls the Tab key must pass
// over: A, hidden B, disabled C, D without the tab-stop flag, E, and F in a
// nested panel.
struct TabOrderWindow {
  HostWindow win;
  TestPanel* root = new TestPanel;
  NamedControl* a = Placed(L"A", RECT{0, 0, 50, 50}, UIFLAG_TABSTOP);
  NamedControl* b = Placed(L"B", RECT{50, 0, 100, 50}, UIFLAG_TABSTOP);
  NamedControl* c = Placed(L"C", RECT{100, 0, 150, 50}, UIFLAG_TABSTOP);
  NamedControl* d = Placed(L"D", RECT{150, 0, 200, 50});
  NamedControl* e = Placed(L"E", RECT{200, 0, 250, 50}, UIFLAG_TABSTOP);
  TestPanel* inner = new TestPanel;
  NamedControl* f = Placed(L"F", RECT{250, 0, 300, 50}, UIFLAG_TABSTOP);

  TabOrderWindow() {
    win.CreateAt(10, 10, 300, 50);
    b->SetVisible(false);
    c->SetEnabled(false);
    inner->Add(f);
    for (CControlUI* child : {static_cast<CControlUI*>(a), static_cast<CControlUI*>(b),
                              static_cast<CControlUI*>(c), static_cast<CControlUI*>(d),
                              static_cast<CControlUI*>(e), static_cast<CControlUI*>(inner)})
      root->Add(child);
    win.manager.AttachRoot(root);
    ::UpdateWindow(win.GetHWND());
  }
};

TEST(ControlLookup, TabOrderSkipsHiddenDisabledAndNonStopsAndWraps) {
  TabOrderWindow w;
  CWindowManagerUI& m = w.win.manager;
  ASSERT_FALSE(m.IsUpdateNeeded());
  const wchar_t* forward[] = {L"E", L"F", L"A", L"E"};
  m.SetFocusControl(w.a);
  for (const wchar_t* name : forward) {
    m.MoveTabFocus(true);
    EXPECT_EQ(std::wstring(name), NameOf(m.GetFocusControl()));
  }
  const wchar_t* backward[] = {L"A", L"F", L"E", L"A"};
  for (const wchar_t* name : backward) {
    m.MoveTabFocus(false);
    EXPECT_EQ(std::wstring(name), NameOf(m.GetFocusControl()));
  }
  // From nothing focused, Tab goes to the first stop.
  m.SetFocusControl(nullptr);
  m.MoveTabFocus(true);
  EXPECT_EQ(L"A", NameOf(m.GetFocusControl()));
}

TEST(ControlLookup, ShortcutsFocusAndActivateTheirControl) {
  struct Child {
    const wchar_t* name;
    const wchar_t* class_name;
    wchar_t shortcut;
    bool visible;
    bool enabled;
  };
  struct Case {
    const char* what;
    std::vector<Child> children;
    wchar_t typed;
    const wchar_t* focused;  // (none): the key is not consumed
  } cases[] = {
      {"plain", {{L"ok", L"ButtonUI", L'O', true, true}}, L'o', L"ok"},
      {"lower-case shortcut", {{L"ok", L"ButtonUI", L'o', true, true}}, L'O', L"ok"},
      {"no match", {{L"ok", L"ButtonUI", L'O', true, true}}, L'x', L"(none)"},
      {"hidden", {{L"ok", L"ButtonUI", L'O', false, true}}, L'o', L"(none)"},
      {"disabled", {{L"ok", L"ButtonUI", L'O', true, false}}, L'o', L"(none)"},
      // Searched last child first: the label hands its mnemonic to the
      // control visited after it, the one before it in child order.
      {"label hands on",
       {{L"name", L"EditUI", 0, true, true}, {L"caption", L"LabelUI", L'N', true, true}},
       L'n', L"name"},
      {"label hands on past labels",
       {{L"name", L"EditUI", 0, true, true},
        {L"note", L"LabelUI", 0, true, true},
        {L"caption", L"LabelUI", L'N', true, true}},
       L'n', L"name"},
      {"label with nothing after it",
       {{L"caption", L"LabelUI", L'N', true, true}, {L"name", L"EditUI", 0, true, true}},
       L'n', L"(none)"},
      {"NUL key", {{L"ok", L"ButtonUI", L'O', true, true}, {L"plain", L"ButtonUI", 0, true, true}},
       0, L"(none)"},
      {"topmost of two",
       {{L"first", L"ButtonUI", L'K', true, true}, {L"second", L"ButtonUI", L'K', true, true}},
       L'k', L"second"},
  };
  HostWindow win;
  ASSERT_TRUE(win.CreateAt(0, 0, 100, 100, nullptr, false));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestPanel* root = new TestPanel;
    std::vector<NamedControl*> made;
    for (const Child& ch : c.children) {
      NamedControl* n = new NamedControl(ch.name, ch.class_name);
      n->SetShortcut(ch.shortcut);
      n->SetVisible(ch.visible);
      n->SetEnabled(ch.enabled);
      root->Add(n);
      made.push_back(n);
    }
    win.manager.AttachRoot(root);
    MSG msg = {win.GetHWND(), WM_SYSCHAR, static_cast<WPARAM>(c.typed), 0};
    bool consumed = win.manager.PreTranslate(&msg);
    std::wstring expected = c.focused;
    EXPECT_EQ(expected != L"(none)", consumed);
    EXPECT_EQ(expected, NameOf(win.manager.GetFocusControl()));
    for (NamedControl* n : made) {
      EXPECT_EQ(expected == std::wstring(n->GetName()) ? 1 : 0, n->activations) << n->GetName();
    }
    win.manager.AttachRoot(nullptr);
    PumpMessages();
  }
}

TEST(ControlLookup, RelayoutSearchFindsOnlyVisibleMarkedControls) {
  CWindowManagerUI m;
  TestPanel* root = new TestPanel;
  NamedControl* laid = new NamedControl(L"laid");
  NamedControl* hidden = new NamedControl(L"hidden");  // never laid out: still marked
  NamedControl* marked = new NamedControl(L"marked");
  hidden->SetVisible(false);
  root->Add(laid);
  root->Add(hidden);
  root->Add(marked);
  m.AttachRoot(root);
  // Laying a control out clears its mark.
  root->SetBounds(RECT{0, 0, 20, 10});
  laid->SetBounds(RECT{0, 0, 10, 10});
  marked->SetBounds(RECT{10, 0, 20, 10});
  const UINT flags = UIFIND_VISIBLE | UIFIND_ME_FIRST;
  EXPECT_EQ(nullptr, root->Search(&CWindowManagerUI::FindVisitNeedsUpdate, nullptr, flags));
  marked->RequestRelayout();
  EXPECT_EQ(marked, root->Search(&CWindowManagerUI::FindVisitNeedsUpdate, nullptr, flags));
  // The root itself is visited first.
  root->RequestRelayout();
  EXPECT_EQ(root, root->Search(&CWindowManagerUI::FindVisitNeedsUpdate, nullptr, flags));
}

TEST(ControlLookup, AManagerWithoutARootFindsNothingAndSurvivesInput) {
  HostWindow win;
  ASSERT_TRUE(win.CreateAt(0, 0, 200, 100));
  for (bool had_root : {false, true}) {
    SCOPED_TRACE(had_root ? "root replaced by none" : "never a root");
    NamedControl* orphan = nullptr;
    if (had_root) {
      TestPanel* root = new TestPanel;
      orphan = Placed(L"A", RECT{0, 0, 200, 100}, UIFLAG_TABSTOP);
      orphan->SetShortcut(L'A');
      root->Add(orphan);
      win.manager.AttachRoot(root);
      ::UpdateWindow(win.GetHWND());
    }
    EXPECT_FALSE(win.manager.AttachRoot(nullptr));
    PumpMessages();
    EXPECT_EQ(nullptr, win.manager.GetRoot());
    EXPECT_EQ(nullptr, win.manager.ControlAt(POINT{10, 10}));
    EXPECT_EQ(nullptr, win.manager.FindControl(L"A"));

    HWND hwnd = win.GetHWND();
    ::InvalidateRect(hwnd, nullptr, FALSE);
    ::UpdateWindow(hwnd);
    const struct {
      UINT msg;
      WPARAM wParam;
      LPARAM lParam;
    } sent[] = {
        {WM_MOUSEMOVE, 0, Pt(10, 10)},   {WM_LBUTTONDOWN, MK_LBUTTON, Pt(10, 10)},
        {WM_LBUTTONUP, 0, Pt(10, 10)},   {WM_LBUTTONDBLCLK, MK_LBUTTON, Pt(10, 10)},
        {WM_RBUTTONDOWN, 0, Pt(10, 10)}, {WM_CONTEXTMENU, 0, Pt(10, 10)},
        {WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), Pt(10, 10)},
        {WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)},
        {WM_KEYDOWN, 'A', 0},            {WM_CHAR, 'a', 0},
        {WM_SIZE, 0, MAKELPARAM(150, 80)},
    };
    for (const auto& s : sent) ::SendMessageW(hwnd, s.msg, s.wParam, s.lParam);
    MSG tab = {hwnd, WM_KEYDOWN, VK_TAB, 0};
    win.manager.PreTranslate(&tab);
    EXPECT_EQ(nullptr, win.manager.GetFocusControl());
    MSG alt = {hwnd, WM_SYSCHAR, 'a', 0};
    EXPECT_FALSE(win.manager.PreTranslate(&alt));
    EXPECT_TRUE(win.manager.MoveTabFocus(false));
    EXPECT_EQ(nullptr, win.manager.GetFocusControl());
  }
}

}  // namespace
