// Animated-GIF buttons: frames stepped by the control timer with each
// frame's delay, per-state animations, and files that are missing.
#include <gtest/gtest.h>

#include "tests/uitoolkit/fixtures/canvas.h"
#include "tests/uitoolkit/resources/image_folder.h"
#include "tests/uitoolkit/widgets/widget_window.h"
#include "uitoolkit/controls/gif_button.h"
#include "uitoolkit/image/ui_render.h"

using namespace uitest;
using fixtures::Canvas;

namespace {

const uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kYellow = 0xFFFF00,
               kWhite = 0xFFFFFF;
// Palette indices 0..3: red, green, blue, yellow.
const std::vector<uint8_t> kPalette = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0};

// A 4 by 4 GIF whose frames are solid palette colours with these delays
// (hundredths of a second).
std::string SolidFramesGif(const std::vector<std::pair<uint8_t, int>>& frames) {
  std::vector<fixtures::GifFrame> out;
  for (const auto& f : frames) {
    fixtures::GifFrame frame;
    frame.indices.assign(16, f.first);
    frame.delayHundredths = f.second;
    out.push_back(frame);
  }
  return fixtures::MakeGif(4, 4, kPalette, out);
}

struct GifButtonWindow : ::testing::Test {
  ImageFolder folder;
  WidgetWindow w;
  CButtonGifUI* b = nullptr;
  void SetUp() override {
    ASSERT_TRUE(folder.Write(L"three.gif", SolidFramesGif({{0, 10}, {1, 10}, {2, 20}})));
    ASSERT_TRUE(folder.Write(L"nodelay.gif", SolidFramesGif({{0, 0}, {1, 0}})));
    ASSERT_TRUE(folder.Write(L"yellow.gif", SolidFramesGif({{3, 5}, {2, 5}})));
    ASSERT_TRUE(folder.Write(L"red.png", SolidPng(0xFF0000FF)));
    b = w.Add(new CButtonGifUI, L"loading", RECT{10, 10, 50, 50});
  }
  // Paints the button and returns the colour at its middle.
  uint32_t Painted() {
    Canvas canvas(100, 100, 0xFFFFFFFF);
    b->Paint(canvas.dc(), RECT{0, 0, 100, 100});
    return canvas.At(30, 30);
  }
  bool TimerRuns() { return w.win.manager.TimerWin32Id(b, CButtonGifUI::kAnimationTimer) != 0; }
  // True when no Win32 timer stands behind the animation timer (checking
  // kills a live one, which fails the test anyway).
  bool TimerStopped() {
    UINT id = w.win.manager.TimerWin32Id(b, CButtonGifUI::kAnimationTimer);
    return id == 0 || !::KillTimer(w.win.GetHWND(), id);
  }
  void Tick() {
    UINT id = w.win.manager.TimerWin32Id(b, CButtonGifUI::kAnimationTimer);
    ASSERT_NE(0u, id);
    w.Send(WM_TIMER, id, 0);
  }
};

}  // namespace

TEST_F(GifButtonWindow, FramesAdvanceOnTheTimerByTheirDelays) {
  b->ApplyAttribute(L"NormalGifFile", L"three.gif");
  EXPECT_TRUE(b->IsGifMode());
  EXPECT_FALSE(TimerRuns());  // armed by the first paint
  struct Expect {
    uint32_t colour;
    UINT delay;
  } steps[] = {{kRed, 100}, {kGreen, 100}, {kBlue, 200}, {kRed, 100}, {kGreen, 100}};
  for (size_t i = 0; i < sizeof(steps) / sizeof(steps[0]); ++i) {
    SCOPED_TRACE(i);
    if (i > 0) Tick();
    EXPECT_EQ(steps[i].colour, Painted());
    EXPECT_EQ(steps[i].delay, b->GetArmedDelay());
    EXPECT_TRUE(TimerRuns());
  }
  // A paint without a timer event shows the same frame again.
  EXPECT_EQ(kGreen, Painted());
  EXPECT_EQ(kGreen, Painted());
}

TEST_F(GifButtonWindow, FramesWithoutDelayPlayAt150Milliseconds) {
  b->ApplyAttribute(L"NormalGifFile", L"nodelay.gif");
  EXPECT_EQ(kRed, Painted());
  EXPECT_EQ(150u, b->GetArmedDelay());
  Tick();
  EXPECT_EQ(kGreen, Painted());
  EXPECT_EQ(150u, b->GetArmedDelay());
}

TEST_F(GifButtonWindow, StatesWithoutAGifPlayTheNormalOneAndEachStateKeepsItsFrame) {
  b->ApplyAttribute(L"NormalGifFile", L"three.gif");
  EXPECT_EQ(kRed, Painted());
  w.Move(30, 30, false);  // hot, no hot GIF
  Tick();
  EXPECT_EQ(kGreen, Painted());
  w.Down(30, 30);  // pushed, no pushed GIF
  Tick();
  EXPECT_EQ(kBlue, Painted());
  w.Up(30, 30);

  b->ApplyAttribute(L"HotGifFile", L"yellow.gif");
  EXPECT_EQ(kYellow, Painted());  // still hot
  Tick();
  EXPECT_EQ(kBlue, Painted());  // the hot GIF's second frame
  w.Move(90, 90, false);  // leaves: the normal GIF resumes where it was
  EXPECT_EQ(kBlue, Painted());
  Tick();
  EXPECT_EQ(kRed, Painted());
}

TEST_F(GifButtonWindow, MissingFileRunsNoTimerAndDrawsNothing) {
  b->ApplyAttribute(L"normalimage", L"red.png");
  EXPECT_EQ(kRed, Painted());  // a plain button until a GIF attribute comes
  b->ApplyAttribute(L"NormalGifFile", L"missing.gif");
  b->ApplyAttribute(L"HotGifFile", L"");
  EXPECT_TRUE(b->IsGifMode());
  EXPECT_EQ(nullptr, b->GetGifHandler(CButtonGifUI::kNormal));
  EXPECT_EQ(kWhite, Painted());
  w.Move(30, 30, false);
  EXPECT_EQ(kWhite, Painted());
  EXPECT_TRUE(TimerStopped());
  EXPECT_EQ(0u, b->GetArmedDelay());
  w.Send(WM_TIMER, 1, 0);  // a stray timer message finds nothing to step
  PumpMessages();
  EXPECT_EQ(kWhite, Painted());
}

TEST_F(GifButtonWindow, BytesThatAreNoGifGiveAHandlerWithoutFrames) {
  ASSERT_TRUE(folder.Write(L"broken.gif", "GIF89a not really"));
  b->ApplyAttribute(L"NormalGifFile", L"broken.gif");
  ASSERT_NE(nullptr, b->GetGifHandler(CButtonGifUI::kNormal));
  EXPECT_EQ(0, b->GetGifHandler(CButtonGifUI::kNormal)->FrameCount());
  EXPECT_EQ(kWhite, Painted());
  EXPECT_TRUE(TimerStopped());
}

TEST_F(GifButtonWindow, HidingStopsTheAnimationAndShowingResumesIt) {
  b->ApplyAttribute(L"NormalGifFile", L"three.gif");
  Painted();
  Tick();
  EXPECT_EQ(kGreen, Painted());
  const UINT id = w.win.manager.TimerWin32Id(b, CButtonGifUI::kAnimationTimer);
  b->SetVisible(false);
  EXPECT_TRUE(TimerStopped());
  EXPECT_EQ(0u, b->GetArmedDelay());
  w.Send(WM_TIMER, id, 0);  // a late message of the stopped timer steps nothing
  b->SetVisible(true);
  EXPECT_EQ(kGreen, Painted());  // the frame where it stopped
  EXPECT_TRUE(TimerRuns());
  EXPECT_EQ(100u, b->GetArmedDelay());
}

TEST_F(GifButtonWindow, ReloadingAStateStopsTheTimerUntilThePaint) {
  b->ApplyAttribute(L"NormalGifFile", L"three.gif");
  Painted();
  EXPECT_TRUE(TimerRuns());
  b->ApplyAttribute(L"NormalGifFile", L"yellow.gif");
  EXPECT_TRUE(TimerStopped());
  EXPECT_EQ(kYellow, Painted());
  EXPECT_EQ(50u, b->GetArmedDelay());
}

TEST_F(GifButtonWindow, DeletedButtonLeavesNoTimer) {
  b->ApplyAttribute(L"NormalGifFile", L"three.gif");
  Painted();
  UINT id = w.win.manager.TimerWin32Id(b, CButtonGifUI::kAnimationTimer);
  ASSERT_NE(0u, id);
  w.root->children.pop_back();
  delete b;
  b = nullptr;
  w.Send(WM_TIMER, id, 0);
  PumpMessages();
}

TEST(GifButtonTest, AnswersAsAGifButtonOnly) {
  CButtonGifUI b;
  EXPECT_STREQ(L"ButtonGifUI", b.ClassName());
  EXPECT_EQ(&b, b.FindInterface(L"ButtonGif"));
  EXPECT_EQ(&b, b.FindInterface(L"Control"));
  EXPECT_EQ(nullptr, b.FindInterface(L"Button"));
  EXPECT_EQ(nullptr, b.FindInterface(L"Label"));
  EXPECT_FALSE(b.IsGifMode());
}
