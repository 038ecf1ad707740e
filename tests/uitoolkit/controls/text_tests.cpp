// Link text: links found by drawing, clicked through window messages.
#include <gtest/gtest.h>

#include "tests/uitoolkit/controls/control_window.h"
#include "uitoolkit/controls/text.h"

using namespace uitest;
using Log = std::vector<std::wstring>;

namespace {

CTextUI* LinkText(const wchar_t* markup) {
  CTextUI* t = new CTextUI;
  t->SetName(L"t");
  t->ApplyAttribute(L"showhtml", L"true");
  t->SetText(markup);
  return t;
}

POINT Centre(const RECT& rc) { return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}; }

}  // namespace

TEST(TextLinkTest, ClickOnALinkSendsItsIndex) {
  ControlWindow w;
  CTextUI* t = w.Add(LinkText(L"{a 1}one{/a} {a 2}two{/a}"), RECT{0, 0, 300, 60});
  w.root->Invalidate();
  ::UpdateWindow(w.win.GetHWND());
  ASSERT_EQ(2, t->GetLinkCount());
  EXPECT_EQ(UIFLAG_SETCURSOR, t->CapabilityFlags());
  POINT one = Centre(t->GetLinkRect(0));
  POINT two = Centre(t->GetLinkRect(1));
  EXPECT_LT(one.x, two.x);
  w.Click(one.x, one.y);
  w.Click(two.x, two.y);
  w.Click(290, 55);  // outside both links
  EXPECT_EQ(Log({L"t:link:0", L"t:link:1"}), w.notes.entries);
  w.Move(one.x, one.y, false);
  EXPECT_EQ(0, t->GetHoverLink());
  w.Move(290, 55, false);
  EXPECT_EQ(-1, t->GetHoverLink());
}

TEST(TextLinkTest, OnlyEightLinksAreClickable) {
  ControlWindow w;
  std::wstring markup;
  for (int i = 1; i <= 9; ++i) markup += L"{a " + std::to_wstring(i) + L"}L" + std::to_wstring(i) + L"{/a} ";
  CTextUI* t = w.Add(LinkText(markup.c_str()), RECT{0, 0, 400, 60});
  w.root->Invalidate();
  ::UpdateWindow(w.win.GetHWND());
  EXPECT_EQ(CTextUI::kMaxLinks, t->GetLinkCount());
  POINT eighth = Centre(t->GetLinkRect(7));
  w.Click(eighth.x, eighth.y);
  // The ninth link lies right of the eighth, on the same line.
  w.Click(t->GetLinkRect(7).right + 20, eighth.y);
  EXPECT_EQ(Log({L"t:link:7"}), w.notes.entries);
}

TEST(TextLinkTest, EmptyTextHasNoLinksAndPlainTextNone) {
  ControlWindow w;
  CTextUI* t = w.Add(LinkText(L"{a x}x{/a}"), RECT{0, 0, 300, 60});
  w.root->Invalidate();
  ::UpdateWindow(w.win.GetHWND());
  EXPECT_EQ(1, t->GetLinkCount());
  t->SetText(L"");
  w.root->Invalidate();
  ::UpdateWindow(w.win.GetHWND());
  EXPECT_EQ(0, t->GetLinkCount());
  EXPECT_EQ(0u, t->CapabilityFlags());
}

TEST(TextMeasureTest, WrapsToTheAvailableWidth) {
  ControlWindow w;
  CTextUI* t = w.Add(new CTextUI, RECT{0, 0, 100, 100});
  t->SetText(L"several words that wrap onto more than one line");
  SIZE wide = t->MeasureSize(SIZE{1000, 0});
  SIZE narrow = t->MeasureSize(SIZE{80, 0});
  EXPECT_GT(narrow.cy, wide.cy);
  EXPECT_LE(narrow.cx, 80);
  t->SetFixedHeight(30);
  EXPECT_EQ(30, t->MeasureSize(SIZE{80, 0}).cy);
}
