// Sliders: the thumb and the value under a point, and a slider driven by
// real mouse messages (click on the track, thumb drag, wheel).
#include <gtest/gtest.h>

#include "tests/uitoolkit/fixtures/canvas.h"
#include "tests/uitoolkit/resources/image_folder.h"
#include "tests/uitoolkit/widgets/widget_window.h"
#include "uitoolkit/controls/progress_geometry.h"
#include "uitoolkit/controls/slider.h"

using namespace uitest;
using fixtures::Canvas;
using Log = std::vector<std::wstring>;

namespace {

const SIZE kThumb = {10, 10};

}  // namespace

TEST(SliderGeometryTest, ValueOfAPoint) {
  const RECT hor = {100, 0, 210, 20};  // 110 wide: 100 pixels of travel
  const RECT ver = {0, 100, 20, 210};
  struct Case {
    const RECT* control;
    bool horizontal;
    int min, max, at, expected;
  } cases[] = {
      {&hor, true, 0, 100, 155, 50},
      {&hor, true, 0, 100, 105, 0},   // within half a thumb of the left end
      {&hor, true, 0, 100, 106, 1},
      {&hor, true, 0, 100, 90, 0},    // left of the control
      {&hor, true, 0, 100, 205, 100}, // within half a thumb of the right end
      {&hor, true, 0, 100, 204, 99},
      {&hor, true, 0, 100, 400, 100},
      {&hor, true, -10, 10, 155, 0},
      {&ver, false, 0, 100, 155, 50},
      {&ver, false, 0, 100, 205, 0},  // the bottom is the minimum
      {&ver, false, 0, 100, 105, 100},
      {&ver, false, 0, 100, 130, 75},
      // An empty or upside-down range is measured as its repair paints it:
      // nothing divides by zero before the next paint.
      {&hor, true, 10, 10, 155, 10},
      {&hor, true, 10, 10, 300, 11},
      {&hor, true, 10, 5, 300, 11},
      {&ver, false, 7, 7, 100, 8},
  };
  for (const Case& c : cases) {
    POINT pt = c.horizontal ? POINT{c.at, 10} : POINT{10, c.at};
    EXPECT_EQ(c.expected, SliderValueAt(*c.control, kThumb, c.min, c.max, pt, c.horizontal))
        << (c.horizontal ? "x=" : "y=") << c.at << " range " << c.min << ".." << c.max;
  }
  // A control no wider than its thumb has no travel.
  const RECT narrow = {0, 0, 10, 20};
  for (int x : {0, 4, 5, 6, 9, 10})
    EXPECT_EQ(x >= 5 ? 100 : 0, SliderValueAt(narrow, kThumb, 0, 100, POINT{x, 5}, true)) << x;
}

TEST(SliderGeometryTest, ThumbRectangle) {
  struct Case {
    RECT control;
    bool horizontal;
    TUiRangeValue range;
    RECT thumb;
  } cases[] = {
      {{100, 0, 210, 20}, true, {0, 100, 0}, {100, 5, 110, 15}},
      {{100, 0, 210, 20}, true, {0, 100, 50}, {150, 5, 160, 15}},
      {{100, 0, 210, 20}, true, {0, 100, 100}, {200, 5, 210, 15}},
      {{100, 0, 210, 20}, true, {0, 100, 300}, {200, 5, 210, 15}},
      {{0, 100, 20, 210}, false, {0, 100, 0}, {5, 200, 15, 210}},
      {{0, 100, 20, 210}, false, {0, 100, 100}, {5, 100, 15, 110}},
      {{0, 100, 20, 210}, false, {0, 100, 25}, {5, 175, 15, 185}},
      {{100, 0, 210, 20}, true, {10, 10, 10}, {100, 5, 110, 15}},
  };
  for (const Case& c : cases) {
    RECT r = SliderThumbRect(c.control, kThumb, c.range, c.horizontal);
    EXPECT_TRUE(EqualRect(&r, &c.thumb))
        << c.range.value << ": " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
  }
}

struct SliderWindow : ::testing::Test {
  WidgetWindow w;
  CSliderUI* s = nullptr;
  void SetUp() override { s = w.Add(new CSliderUI, L"volume", RECT{10, 10, 120, 30}); }
};

TEST_F(SliderWindow, ClickOnTheTrackMovesTheValueThereAndReportsOnce) {
  w.Click(10 + 55, 20);
  EXPECT_EQ(50, s->GetValue());
  EXPECT_EQ(Log({L"volume:valuechanged"}), w.log);
  w.Click(10 + 55, 20);  // released on the value it has
  EXPECT_EQ(Log({L"volume:valuechanged"}), w.log);
  w.Click(10 + 106, 20);
  EXPECT_EQ(100, s->GetValue());
  EXPECT_EQ(2u, w.log.size());
}

TEST_F(SliderWindow, ThumbDragFollowsThePointerAndReportsOnRelease) {
  s->SetValue(20);
  const RECT thumb = s->GetThumbRect();
  EXPECT_EQ(30, thumb.left);
  w.Move(34, 20, false);
  w.Down(34, 20);
  EXPECT_TRUE(s->GetState() & UISTATE_CAPTURED);
  w.Move(60, 20);
  EXPECT_EQ(45, s->GetValue());  // follows silently
  w.Move(95, 20);
  EXPECT_EQ(80, s->GetValue());
  EXPECT_TRUE(w.log.empty());
  w.Up(95, 20);
  EXPECT_FALSE(s->GetState() & UISTATE_CAPTURED);
  EXPECT_EQ(80, s->GetValue());
  EXPECT_EQ(Log({L"volume:valuechanged"}), w.log);

  // Dragged away and back to where it started: no change to report.
  w.log.clear();
  w.Move(94, 20, false);
  w.Down(94, 20);
  w.Move(40, 20);
  w.Up(95, 20);
  EXPECT_EQ(80, s->GetValue());
  EXPECT_TRUE(w.log.empty());
}

TEST_F(SliderWindow, WheelStepsAndReportsEvenAtTheLimits) {
  s->ApplyAttribute(L"step", L"10");
  w.Wheel(50, 20, true);
  EXPECT_EQ(10, s->GetValue());
  w.Wheel(50, 20, false);
  w.Wheel(50, 20, false);  // would go below the minimum: stays
  EXPECT_EQ(0, s->GetValue());
  s->SetValue(95);
  w.Wheel(50, 20, true);  // 105 is outside: ignored, not clamped
  EXPECT_EQ(95, s->GetValue());
  s->SetValue(100);
  w.Wheel(50, 20, true);
  EXPECT_EQ(100, s->GetValue());
  EXPECT_EQ(5u, w.log.size());
}

TEST_F(SliderWindow, EmptyRangeBeforeAnyPaintIsSafe) {
  s->ApplyAttribute(L"max", L"10");
  s->ApplyAttribute(L"min", L"10");
  // No paint has repaired the limits yet: hit tests, drags and the cursor
  // all measure against the repaired range.
  w.Move(20, 20, false);
  w.Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(w.win.GetHWND()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  w.Down(15, 20);
  w.Move(100, 20);
  w.Up(118, 20);
  EXPECT_EQ(11, s->GetValue());
  EXPECT_EQ(Log({L"volume:valuechanged"}), w.log);
}

TEST_F(SliderWindow, DisabledSliderIgnoresTheMouse) {
  s->SetEnabled(false);
  EXPECT_EQ(0u, s->CapabilityFlags());
  w.Click(65, 20);
  w.Wheel(65, 20, true);
  EXPECT_EQ(0, s->GetValue());
  EXPECT_TRUE(w.log.empty());
  s->SetEnabled(true);
  EXPECT_EQ(UINT(UIFLAG_SETCURSOR), s->CapabilityFlags());
}

TEST(SliderTest, IdentityAndAttributes) {
  CSliderUI s;
  EXPECT_STREQ(L"SliderUI", s.ClassName());
  EXPECT_EQ(&s, s.FindInterface(L"Slider"));
  EXPECT_EQ(&s, s.FindInterface(L"Progress"));
  EXPECT_EQ(&s, s.FindInterface(L"Label"));
  s.ApplyAttribute(L"thumbsize", L"14,8");
  s.ApplyAttribute(L"step", L"5");
  EXPECT_EQ(14, s.GetThumbSize().cx);
  EXPECT_EQ(8, s.GetThumbSize().cy);
  EXPECT_EQ(5, s.GetChangeStep());
}

struct SliderThumbPaint : ::testing::Test {
  ImageFolder folder;
  WidgetWindow w;
  CSliderUI* s = nullptr;
  void SetUp() override {
    ASSERT_TRUE(folder.Write(L"red.png", SolidPng(0xFF0000FF)));
    ASSERT_TRUE(folder.Write(L"green.png", SolidPng(0x00FF00FF)));
    ASSERT_TRUE(folder.Write(L"blue.png", SolidPng(0x0000FFFF)));
    s = w.Add(new CSliderUI, L"s", RECT{10, 10, 120, 30});
    s->SetValue(50);
  }
  // The colour at the middle of the thumb (60..70 by 15..25).
  uint32_t ThumbColour() {
    Canvas canvas(200, 100, 0xFFFFFFFF);
    s->Paint(canvas.dc(), RECT{0, 0, 200, 100});
    return canvas.At(65, 20);
  }
};

TEST_F(SliderThumbPaint, ThumbImageFollowsTheState) {
  EXPECT_EQ(0xFFFFFFu, ThumbColour());  // no thumb image: nothing drawn
  s->ApplyAttribute(L"thumbimage", L"red.png");
  EXPECT_EQ(0xFF0000u, ThumbColour());
  w.Move(65, 20, false);  // hot, but no hot image yet
  EXPECT_EQ(0xFF0000u, ThumbColour());
  s->ApplyAttribute(L"thumbhotimage", L"blue.png");
  EXPECT_EQ(0x0000FFu, ThumbColour());
  w.Down(65, 20);  // captured without a pushed image: the plain thumb
  EXPECT_EQ(0xFF0000u, ThumbColour());
  s->ApplyAttribute(L"thumbpushedimage", L"green.png");
  EXPECT_EQ(0x00FF00u, ThumbColour());
  w.Up(65, 20);
  EXPECT_EQ(0x0000FFu, ThumbColour());
}
