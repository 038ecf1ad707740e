// Buttons, options and check boxes driven through real window messages.
#include <gtest/gtest.h>

#include "tests/uitoolkit/controls/control_window.h"
#include "tests/uitoolkit/core/dib_canvas.h"
#include "uitoolkit/controls/button.h"
#include "uitoolkit/controls/option.h"

using namespace uitest;
using Log = std::vector<std::wstring>;

namespace {

CButtonUI* NamedButton(const wchar_t* name) {
  CButtonUI* b = new CButtonUI;
  b->SetName(name);
  return b;
}

template <class T>
T* NamedOption(const wchar_t* name, const wchar_t* group) {
  T* o = new T;
  o->SetName(name);
  if (group) o->ApplyAttribute(L"group", group);
  return o;
}

}  // namespace

TEST(ButtonTest, ClickOnlyWhenReleasedInside) {
  ControlWindow w;
  CButtonUI* b = w.Add(NamedButton(L"ok"), RECT{10, 10, 110, 40});
  w.Move(20, 20, false);
  w.Down(20, 20);
  EXPECT_EQ(UISTATE_PUSHED | UISTATE_CAPTURED, b->GetState() & (UISTATE_PUSHED | UISTATE_CAPTURED));
  w.Move(200, 150);  // dragged off: no longer pushed, still captured
  EXPECT_EQ(UISTATE_CAPTURED, b->GetState() & (UISTATE_PUSHED | UISTATE_CAPTURED));
  w.Up(200, 150);
  EXPECT_TRUE(w.notes.entries.empty());
  EXPECT_EQ(0u, b->GetState() & (UISTATE_PUSHED | UISTATE_CAPTURED));

  w.Move(20, 20, false);
  w.Down(20, 20);
  w.Move(200, 150);
  w.Move(30, 25);  // back inside before the release
  EXPECT_TRUE(b->GetState() & UISTATE_PUSHED);
  w.Up(30, 25);
  EXPECT_EQ(Log({L"ok:click:0"}), w.notes.entries);
}

TEST(ButtonTest, DisabledIgnoresClicksAndRestartsFromStateZero) {
  ControlWindow w;
  CButtonUI* b = w.Add(NamedButton(L"ok"), RECT{10, 10, 110, 40});
  w.Move(20, 20, false);
  EXPECT_TRUE(b->GetState() & UISTATE_HOT);
  b->SetEnabled(false);
  EXPECT_EQ(0u, b->GetState());
  w.Click(20, 20);
  EXPECT_FALSE(b->Activate());
  EXPECT_TRUE(w.notes.entries.empty());
  b->SetEnabled(true);
  EXPECT_EQ(0u, b->GetState());
  w.Click(20, 20);
  EXPECT_EQ(Log({L"ok:click:0"}), w.notes.entries);
}

TEST(ButtonTest, SpaceAndReturnActivateTheFocusedButton) {
  ControlWindow w;
  CButtonUI* b = w.Add(NamedButton(L"ok"), RECT{10, 10, 110, 40});
  b->SetFocus();
  w.Send(WM_KEYDOWN, VK_SPACE, 0);
  w.Send(WM_KEYDOWN, VK_RETURN, 0);
  w.Send(WM_KEYDOWN, 'A', 0);
  EXPECT_EQ(Log({L"ok:click:0", L"ok:click:0"}), w.notes.entries);
  EXPECT_EQ(UIFLAG_TABSTOP | UIFLAG_SETCURSOR, b->CapabilityFlags());
}

TEST(OptionTest, GroupKeepsOneSelectedAndNotifiesOnce) {
  ControlWindow w;
  COptionUI* a = w.Add(NamedOption<COptionUI>(L"a", L"tab"), RECT{10, 10, 110, 40});
  COptionUI* b = w.Add(NamedOption<COptionUI>(L"b", L"tab"), RECT{120, 10, 220, 40});
  a->SetSelected(true);
  w.notes.entries.clear();
  w.Click(130, 20);
  EXPECT_FALSE(a->IsSelected());
  EXPECT_TRUE(b->IsSelected());
  EXPECT_EQ(Log({L"b:click:0", L"b:selectchanged:0"}), w.notes.entries);
  w.notes.entries.clear();
  w.Click(130, 20);  // again: a click, and it stays selected
  EXPECT_TRUE(b->IsSelected());
  EXPECT_EQ(Log({L"b:click:0"}), w.notes.entries);
  EXPECT_EQ(2, w.win.manager.OptionGroup(L"tab")->GetSize());
}

TEST(OptionTest, AQuietSelectionMovesTheGroupWithoutNotifying) {
  ControlWindow w;
  COptionUI* a = w.Add(NamedOption<COptionUI>(L"a", L"tab"), RECT{10, 10, 110, 40});
  COptionUI* b = w.Add(NamedOption<COptionUI>(L"b", L"tab"), RECT{120, 10, 220, 40});
  CCheckBoxUI* c = w.Add(NamedOption<CCheckBoxUI>(L"c", nullptr), RECT{230, 10, 330, 40});
  a->SetSelected(true);
  w.notes.entries.clear();
  b->SetSelectedQuietly(true);
  EXPECT_FALSE(a->IsSelected());
  EXPECT_TRUE(b->IsSelected());
  c->SetSelectedQuietly(true);
  EXPECT_TRUE(c->IsSelected());
  b->SetSelectedQuietly(false);  // a group may be left with none selected
  EXPECT_FALSE(a->IsSelected());
  EXPECT_FALSE(b->IsSelected());
  EXPECT_EQ(Log({}), w.notes.entries);
  // Later changes notify as before, and so does a click.
  a->SetSelected(true);
  w.Click(130, 20);
  EXPECT_EQ(Log({L"a:selectchanged:0", L"b:click:0", L"b:selectchanged:0"}), w.notes.entries);
}

TEST(OptionTest, CheckBoxTogglesOnEveryClick) {
  ControlWindow w;
  CCheckBoxUI* c = w.Add(NamedOption<CCheckBoxUI>(L"c", nullptr), RECT{10, 10, 110, 40});
  EXPECT_STREQ(L"CheckBoxUI", c->ClassName());
  w.Click(20, 20);
  EXPECT_TRUE(c->IsSelected());
  w.Click(20, 20);
  EXPECT_FALSE(c->IsSelected());
  EXPECT_EQ(Log({L"c:click:0", L"c:selectchanged:0", L"c:click:0", L"c:selectchanged:0"}),
            w.notes.entries);
}

TEST(OptionTest, SelectedBeforeGroupStaysTheSelectedMember) {
  ControlWindow w;
  w.Add(NamedOption<COptionUI>(L"other", L"g"), RECT{120, 10, 220, 40});
  // As the skin builder does: manager attached, attributes in order, then
  // detached; the group is joined when the tree joins the window.
  COptionUI* o = new COptionUI;
  o->SetName(L"o");
  o->AttachManager(&w.win.manager, nullptr, false);
  o->ApplyAttribute(L"selected", L"true");
  o->ApplyAttribute(L"group", L"g");
  o->AttachManager(nullptr, nullptr, false);
  EXPECT_EQ(Log({L"o:selectchanged:0"}), w.notes.entries);
  EXPECT_EQ(1, w.win.manager.OptionGroup(L"g")->GetSize());  // let go with its manager
  w.Add(o, RECT{10, 10, 110, 40});
  EXPECT_TRUE(o->IsSelected());
  EXPECT_EQ(2, w.win.manager.OptionGroup(L"g")->GetSize());
  w.notes.entries.clear();
  w.Click(130, 20);
  EXPECT_FALSE(o->IsSelected());
  EXPECT_EQ(Log({L"other:click:0", L"other:selectchanged:0"}), w.notes.entries);
}

TEST(OptionTest, DeletedOptionLeavesItsGroup) {
  ControlWindow w;
  COptionUI* a = w.Add(NamedOption<COptionUI>(L"a", L"t"), RECT{10, 10, 110, 40});
  COptionUI* b = new COptionUI;
  b->AttachManager(&w.win.manager, nullptr, true);
  b->SetGroup(L"t");
  EXPECT_EQ(2, w.win.manager.OptionGroup(L"t")->GetSize());
  delete b;
  EXPECT_EQ(1, w.win.manager.OptionGroup(L"t")->GetSize());
  a->SetSelected(true);  // walks the group: must not touch the deleted one
  EXPECT_TRUE(a->IsSelected());
}

// Which colour the caption is drawn in, by state: pushed, then hot, then
// the normal or disabled colour replaced by the focused one when focused.
TEST(ButtonPaintTest, TextColourFollowsStatePrecedence) {
  const DWORD kText = 0xFF102030, kHot = 0xFF00C000, kPushed = 0xFFC00000, kFocused = 0xFF0000C0,
              kDisabled = 0xFF808000;
  struct Case {
    const char* name;
    bool hover, press, focus, disable;
    DWORD expected;
  } cases[] = {
      {"normal", false, false, false, false, kText},
      {"hot", true, false, false, false, kHot},
      {"pushed wins over hot", true, true, false, false, kPushed},
      {"focused", false, false, true, false, kFocused},
      {"hot wins over focused", true, false, true, false, kHot},
      {"disabled", false, false, false, true, kDisabled},
  };
  ControlWindow w;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    w.Clear();
    CButtonUI* b = w.Add(NamedButton(L"b"), RECT{0, 0, 200, 60});
    b->SetText(L"\x2588\x2588\x2588\x2588 MMMM");
    b->ApplyAttribute(L"textcolor", L"#FF102030");
    b->ApplyAttribute(L"hottextcolor", L"#FF00C000");
    b->ApplyAttribute(L"pushedtextcolor", L"#FFC00000");
    b->ApplyAttribute(L"focusedtextcolor", L"#FF0000C0");
    b->ApplyAttribute(L"disabledtextcolor", L"#FF808000");
    if (c.hover) w.Move(50, 30, false);
    if (c.press) w.Down(50, 30);
    if (c.focus) b->SetFocus();
    if (c.disable) b->SetEnabled(false);
    DibCanvas canvas(200, 60, 0xFFFFFF);
    RECT all = {0, 0, 200, 60};
    b->Paint(canvas.dc(), all);
    int hits[5] = {};
    const DWORD colours[5] = {kText, kHot, kPushed, kFocused, kDisabled};
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 200; ++x)
        for (int k = 0; k < 5; ++k)
          if (canvas.At(x, y) == (colours[k] & 0xFFFFFF)) ++hits[k];
    for (int k = 0; k < 5; ++k) {
      if (colours[k] == c.expected)
        EXPECT_GT(hits[k], 20);
      else
        EXPECT_EQ(0, hits[k]) << "colour " << k;
    }
  }
}

TEST(ButtonPaintTest, HotBackColourFillsWithoutHotImage) {
  ControlWindow w;
  CButtonUI* b = w.Add(NamedButton(L"b"), RECT{0, 0, 100, 40});
  b->ApplyAttribute(L"hotbkcolor", L"#FF3366CC");
  DibCanvas canvas(100, 40, 0xFFFFFF);
  RECT all = {0, 0, 100, 40};
  b->Paint(canvas.dc(), all);
  EXPECT_EQ(0xFFFFFFu, canvas.At(50, 20));
  w.Move(50, 20, false);
  b->Paint(canvas.dc(), all);
  EXPECT_EQ(0x3366CCu, canvas.At(50, 20));
  EXPECT_EQ(0x3366CCu, canvas.At(1, 1));
}

TEST(OptionPaintTest, SelectedBackColourAndTextColour) {
  ControlWindow w;
  COptionUI* o = w.Add(NamedOption<COptionUI>(L"o", nullptr), RECT{0, 0, 100, 40});
  o->ApplyAttribute(L"selectedbkcolor", L"#FF224466");
  DibCanvas canvas(100, 40, 0xFFFFFF);
  RECT all = {0, 0, 100, 40};
  o->Paint(canvas.dc(), all);
  EXPECT_EQ(0xFFFFFFu, canvas.At(5, 5));
  o->SetSelected(true);
  o->Paint(canvas.dc(), all);
  EXPECT_EQ(0x224466u, canvas.At(5, 5));
}

TEST(ButtonTest, MeasuresFontHeightPlusEight) {
  ControlWindow w;
  CButtonUI* b = w.Add(NamedButton(L"b"), RECT{0, 0, 100, 40});
  CLabelUI* l = w.Add(new CLabelUI, RECT{0, 50, 100, 70});
  int font = w.win.manager.DefaultFont()->tm.tmHeight;
  ASSERT_GT(font, 0);
  EXPECT_EQ(font + 8, b->MeasureSize(SIZE{100, 100}).cy);
  EXPECT_EQ(font + 4, l->MeasureSize(SIZE{100, 100}).cy);
  b->SetFixedHeight(33);
  EXPECT_EQ(33, b->MeasureSize(SIZE{100, 100}).cy);
}
