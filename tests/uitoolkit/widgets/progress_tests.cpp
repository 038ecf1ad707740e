// Progress bars: the fill arithmetic, the value rules, and the fore image
// as painted, checked by pixels.
#include <gtest/gtest.h>

#include "tests/uitoolkit/fixtures/canvas.h"
#include "tests/uitoolkit/resources/image_folder.h"
#include "tests/uitoolkit/widgets/widget_window.h"
#include "uitoolkit/controls/progress.h"
#include "uitoolkit/controls/progress_geometry.h"

using namespace uitest;
using fixtures::Canvas;

namespace {

const uint32_t kWhite = 0xFFFFFF, kRed = 0xFF0000, kBlue = 0x0000FF;

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Left half red, right half blue, `w` by `h`.
std::string HalvesPng(int w, int h) {
  std::vector<uint8_t> px;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint8_t p[4] = {static_cast<uint8_t>(x < w / 2 ? 255 : 0), 0,
                            static_cast<uint8_t>(x < w / 2 ? 0 : 255), 255};
      px.insert(px.end(), p, p + 4);
    }
  return fixtures::EncodePng(px, w, h);
}

}  // namespace

TEST(ProgressGeometryTest, FilledPartAndRepairedLimits) {
  struct Case {
    int w, h, min, max, value;
    bool horizontal;
    RECT fill;
  } cases[] = {
      {200, 20, 0, 100, 50, true, {0, 0, 100, 20}},
      {200, 20, 0, 100, 0, true, {0, 0, 0, 20}},
      {200, 20, 0, 100, 100, true, {0, 0, 200, 20}},
      {30, 80, 0, 100, 50, false, {0, 40, 30, 80}},   // from the bottom
      {30, 80, 0, 100, 100, false, {0, 0, 30, 80}},
      {30, 80, 0, 100, 0, false, {0, 80, 30, 80}},
      {100, 10, 10, 20, 13, true, {0, 0, 30, 10}},
      {100, 10, 0, 3, 1, true, {0, 0, 33, 10}},       // truncated
      {100, 10, -50, 50, 0, true, {0, 0, 50, 10}},
      {100, 10, 0, 100, 150, true, {0, 0, 100, 10}},  // value pulled to the maximum
      {100, 10, 0, 100, -5, true, {0, 0, 0, 10}},
      {100, 10, 10, 10, 10, true, {0, 0, 0, 10}},     // empty range: max becomes 11
      {100, 10, 10, 10, 11, true, {0, 0, 100, 10}},
      {100, 10, 20, 5, 30, false, {0, 0, 100, 10}},   // max below min: 21
      {1000, 10, 0, 2000000000, 1000000000, true, {0, 0, 500, 10}},  // no overflow
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.min << ".." << c.max << " v" << c.value);
    const RECT fill = ProgressFillRect(c.w, c.h, TUiRangeValue{c.min, c.max, c.value}, c.horizontal);
    EXPECT_TRUE(SameRect(c.fill, fill)) << fill.left << "," << fill.top << "," << fill.right << ","
                                        << fill.bottom;
  }
  const TUiRangeValue r = RepairRange(10, 10, 50);
  EXPECT_EQ(10, r.minimum);
  EXPECT_EQ(11, r.maximum);
  EXPECT_EQ(11, r.value);
}

TEST(ProgressTest, ValuesAreTakenOnlyInsideTheLimitsOfTheMoment) {
  struct Step {
    const wchar_t* attribute;
    const wchar_t* value;
    int expected;
  };
  const std::vector<Step> steps = {
      {L"value", L"50", 50},   {L"value", L"150", 50},  // outside: ignored, not clamped
      {L"value", L"-1", 50},   {L"max", L"200", 50},
      {L"value", L"150", 150}, {L"value", L"200", 200},
      {L"min", L"300", 200},   {L"value", L"250", 200},  // min above max: nothing fits
      {L"min", L"0", 200},     {L"value", L"0", 0},
  };
  CProgressUI p;
  for (const Step& s : steps) {
    p.ApplyAttribute(s.attribute, s.value);
    EXPECT_EQ(s.expected, p.GetValue()) << s.attribute << "=" << s.value;
  }
}

TEST(ProgressTest, DefaultsAndIdentity) {
  CProgressUI p;
  EXPECT_EQ(12, p.GetFixedHeight());
  EXPECT_EQ(12, p.MeasureSize(SIZE{100, 100}).cy);
  EXPECT_EQ(UINT(DT_SINGLELINE | DT_CENTER), p.GetTextStyle());
  EXPECT_TRUE(p.IsHorizontal());
  EXPECT_TRUE(p.IsStretchForeImage());
  EXPECT_EQ(0, p.GetMinValue());
  EXPECT_EQ(100, p.GetMaxValue());
  EXPECT_STREQ(L"ProgressUI", p.ClassName());
  EXPECT_EQ(&p, p.FindInterface(L"Progress"));
  EXPECT_EQ(&p, p.FindInterface(L"Label"));
  EXPECT_EQ(nullptr, p.FindInterface(L"Slider"));
  p.ApplyAttribute(L"hor", L"false");
  p.ApplyAttribute(L"isstretchfore", L"no");
  EXPECT_FALSE(p.IsHorizontal());
  EXPECT_FALSE(p.IsStretchForeImage());
}

struct ProgressPaint : ::testing::Test {
  ImageFolder folder;
  CWindowManagerUI manager;
  CProgressUI* bar = new CProgressUI;
  void SetUp() override {
    ASSERT_TRUE(folder.Write(L"red.png", SolidPng(0xFF0000FF)));
    ASSERT_TRUE(folder.Write(L"halves.png", HalvesPng(200, 20)));
    manager.AttachRoot(bar);
  }
  void PaintInto(Canvas& canvas) { bar->Paint(canvas.dc(), RECT{0, 0, 300, 200}); }
};

TEST_F(ProgressPaint, HorizontalBarFillsFromTheLeft) {
  bar->SetBounds(RECT{10, 10, 210, 30});
  bar->ApplyAttribute(L"foreimage", L"red.png");
  bar->ApplyAttribute(L"value", L"50");
  Canvas canvas(300, 200, 0xFFFFFFFF);
  PaintInto(canvas);
  EXPECT_EQ(100 * 20, canvas.Count(10, 10, 110, 30, [](uint32_t c) { return c == kRed; }));
  EXPECT_EQ(100 * 20, canvas.Count(110, 10, 210, 30, [](uint32_t c) { return c == kWhite; }));
}

TEST_F(ProgressPaint, VerticalBarFillsFromTheBottom) {
  bar->SetBounds(RECT{10, 10, 40, 90});
  bar->ApplyAttribute(L"foreimage", L"red.png");
  bar->ApplyAttribute(L"hor", L"false");
  bar->ApplyAttribute(L"value", L"50");
  Canvas canvas(300, 200, 0xFFFFFFFF);
  PaintInto(canvas);
  EXPECT_EQ(30 * 40, canvas.Count(10, 10, 40, 50, [](uint32_t c) { return c == kWhite; }));
  EXPECT_EQ(30 * 40, canvas.Count(10, 50, 40, 90, [](uint32_t c) { return c == kRed; }));
}

TEST_F(ProgressPaint, StretchedForeImageIsSqueezedAndUnstretchedIsCut) {
  bar->SetBounds(RECT{0, 0, 200, 20});
  bar->ApplyAttribute(L"foreimage", L"halves.png");
  bar->ApplyAttribute(L"value", L"25");
  {
    Canvas canvas(300, 200, 0xFFFFFFFF);
    PaintInto(canvas);  // the whole image in the left 50 pixels
    EXPECT_EQ(kRed, canvas.At(10, 10));
    EXPECT_EQ(kBlue, canvas.At(40, 10));
    EXPECT_EQ(kWhite, canvas.At(60, 10));
  }
  bar->ApplyAttribute(L"isstretchfore", L"false");
  {
    Canvas canvas(300, 200, 0xFFFFFFFF);
    PaintInto(canvas);  // the image at its scale, only its left 50 pixels
    EXPECT_EQ(50 * 20, canvas.Count(0, 0, 50, 20, [](uint32_t c) { return c == kRed; }));
    EXPECT_EQ(kWhite, canvas.At(60, 10));
  }
}

TEST_F(ProgressPaint, PaintRepairsTheLimitsAndStoresThemBack) {
  bar->SetBounds(RECT{0, 0, 100, 10});
  bar->ApplyAttribute(L"max", L"10");
  bar->ApplyAttribute(L"min", L"10");
  Canvas canvas(300, 200, 0xFFFFFFFF);
  PaintInto(canvas);
  EXPECT_EQ(11, bar->GetMaxValue());
  EXPECT_EQ(10, bar->GetValue());  // 0 was below the minimum
  bar->SetValue(11);
  EXPECT_EQ(11, bar->GetValue());
}
