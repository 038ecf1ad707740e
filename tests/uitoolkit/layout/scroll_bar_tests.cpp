#include <gtest/gtest.h>

#include "tests/uitoolkit/core/dib_canvas.h"
#include "tests/uitoolkit/core/ui_test_fixtures.h"
#include "tests/uitoolkit/layout/layout_fixtures.h"
#include "uitoolkit/controls/scroll_bar_geometry.h"

using namespace layouttest;

namespace {

TEST(ScrollBarGeometry, ButtonsAndThumb) {
  struct Case {
    RECT bounds;
    bool horizontal, show1, show2;
    int range, pos;
    const wchar_t *button1, *button2, *thumb;
  } cases[] = {
      // 100 long, T 16, range 300: track 68, thumb 100 x 68 / 400 = 17.
      {{0, 0, 16, 100}, false, true, true, 300, 0, L"0,0,16,16", L"0,84,16,100", L"0,16,16,33"},
      {{0, 0, 16, 100}, false, true, true, 300, 300, L"0,0,16,16", L"0,84,16,100", L"0,67,16,84"},
      {{0, 0, 16, 100}, false, true, true, 300, 150, L"0,0,16,16", L"0,84,16,100", L"0,41,16,58"},
      {{0, 0, 16, 100}, false, true, true, 0, 0, L"0,0,16,16", L"0,84,16,100", L"0,16,16,84"},
      {{0, 0, 16, 100}, false, true, true, 10000, 0, L"0,0,16,16", L"0,84,16,100",
       L"0,16,16,32"},  // never thinner than T
      {{0, 0, 16, 100}, false, false, true, 300, 300, L"0,0,0,0", L"0,84,16,100", L"0,63,16,84"},
      {{0, 0, 16, 100}, false, true, false, 300, 300, L"0,0,16,16", L"0,100,0,100",
       L"0,79,16,100"},
      // At most 3 T long: two buttons of at most half the length, no thumb.
      {{0, 0, 16, 48}, false, true, true, 300, 0, L"0,0,16,16", L"0,32,16,48", L"0,0,0,0"},
      {{0, 0, 16, 20}, false, true, true, 300, 0, L"0,0,16,10", L"0,10,16,20", L"0,0,0,0"},
      {{10, 20, 110, 36}, true, true, true, 300, 300, L"10,20,26,36", L"94,20,110,36",
       L"77,20,94,36"},
  };
  for (const Case& c : cases) {
    TScrollBarParts parts =
        LayoutScrollBar(c.bounds, 16, c.horizontal, c.show1, c.show2, c.range, c.pos);
    std::wstring what = Str(c.bounds) + L" range " + std::to_wstring(c.range) + L" pos " +
                        std::to_wstring(c.pos);
    EXPECT_EQ(std::wstring(c.button1), Str(parts.button1)) << what;
    EXPECT_EQ(std::wstring(c.button2), Str(parts.button2)) << what;
    EXPECT_EQ(std::wstring(c.thumb), Str(parts.thumb)) << what;
  }
}

TEST(ScrollBarGeometry, ThumbTravelIsTheTrackLessTheThumb) {
  struct Case {
    int length;
    bool show1, show2;
    int travel;
  } cases[] = {
      {98, true, true, 50},    // thumb 98 x 66 / 398 = 16
      {100, true, true, 51},   // thumb 17
      {100, false, true, 63},  // track 84, thumb 21 (not 100 - 2 T - 21)
      {100, false, false, 75},  // track 100, thumb 25
      {40, true, true, 0},     // no thumb: nothing to drag
  };
  for (const Case& c : cases) {
    RECT bounds = {0, 0, 16, c.length};
    TScrollBarParts parts = LayoutScrollBar(bounds, 16, false, c.show1, c.show2, 300, 0);
    EXPECT_EQ(c.travel, ThumbTravel(bounds, 16, false, c.show1, c.show2, parts.thumb))
        << c.length << " " << c.show1 << c.show2;
  }
  EXPECT_EQ(60, DragToPositionDelta(10, 300, 50));
  EXPECT_EQ(-60, DragToPositionDelta(-10, 300, 50));
  EXPECT_EQ(0, DragToPositionDelta(10, 300, 0));
}

TEST(ScrollBar, RangeAndPositionAreClamped) {
  CScrollBarUI bar;
  EXPECT_EQ(16, bar.GetFixedWidth());
  bar.SetBounds(RECT{0, 0, 16, 100});
  bar.SetScrollRange(300);
  bar.SetScrollPos(500);
  EXPECT_EQ(300, bar.GetScrollPos());
  EXPECT_EQ(L"0,67,16,84", Str(bar.GetThumbRect()));
  bar.SetScrollRange(-5);
  EXPECT_EQ(0, bar.GetScrollRange());
  EXPECT_EQ(0, bar.GetScrollPos());
  bar.SetScrollPos(-3);
  EXPECT_EQ(0, bar.GetScrollPos());
  bar.ApplyAttributeList(L"hor=\"true\" range=\"50\" value=\"20\" showbutton1=\"false\"");
  EXPECT_TRUE(bar.IsHorizontal());
  EXPECT_EQ(0, bar.GetFixedWidth());
  EXPECT_EQ(16, bar.GetFixedHeight());
  EXPECT_EQ(20, bar.GetScrollPos());
  EXPECT_FALSE(bar.IsShowButton1());
  EXPECT_EQ(&bar, bar.FindInterface(L"ScrollBar"));
  EXPECT_EQ(nullptr, bar.FindInterface(L"Container"));
}

struct ScrollCounter : INotifyUI {
  int scrolls = 0;
  void Notify(TUiNotify& msg) override {
    if (msg.sType == L"scroll") ++scrolls;
  }
};

// A standalone vertical bar filling a window of the given height.
struct BarWindow {
  uitest::HostWindow win;
  CScrollBarUI* bar = new CScrollBarUI;
  ScrollCounter counter;
  explicit BarWindow(int height, int range) {
    win.CreateAt(0, 0, 16, height);
    bar->SetScrollRange(range);
    win.manager.AttachRoot(bar);
    win.manager.AddNotifyReceiver(&counter);
    ::UpdateWindow(win.GetHWND());
  }
  ~BarWindow() { win.manager.RemoveNotifyReceiver(&counter); }
  void Send(UINT msg, int x, int y) {
    ::SendMessageW(win.GetHWND(), msg, msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, y));
  }
  void Tick() {
    UINT id = win.manager.TimerWin32Id(bar, CScrollBarUI::kRepeatTimerId);
    ::SendMessageW(win.GetHWND(), WM_TIMER, id, 0);
  }
};

TEST(ScrollBar, HoldingAButtonRepeatsOnTheControlTimer) {
  BarWindow w(200, 1000);
  ASSERT_EQ(L"0,184,16,200", Str(w.bar->GetButton2Rect()));
  w.Send(WM_LBUTTONDOWN, 8, 190);
  EXPECT_EQ(8, w.bar->GetScrollPos());  // one line at the press
  EXPECT_EQ(1, w.counter.scrolls);
  EXPECT_NE(0u, w.win.manager.TimerWin32Id(w.bar, CScrollBarUI::kRepeatTimerId));
  EXPECT_TRUE(w.bar->GetButton2State() & CScrollBarUI::kStatePushed);
  for (int tick = 1; tick <= 5; ++tick) {  // 50 to 250 ms: nothing yet
    w.Tick();
    EXPECT_EQ(8, w.bar->GetScrollPos()) << tick;
  }
  EXPECT_EQ(1, w.counter.scrolls);
  w.Tick();  // 300 ms: the first repeat
  EXPECT_EQ(16, w.bar->GetScrollPos());
  w.Tick();
  EXPECT_EQ(24, w.bar->GetScrollPos());
  EXPECT_EQ(3, w.counter.scrolls);
  w.Send(WM_LBUTTONUP, 8, 190);
  EXPECT_FALSE(w.bar->GetButton2State() & CScrollBarUI::kStatePushed);
  w.Tick();  // the timer is stopped: a stray tick does nothing
  EXPECT_EQ(24, w.bar->GetScrollPos());

  // Button 1 steps back the same way.
  w.Send(WM_LBUTTONDOWN, 8, 5);
  EXPECT_EQ(16, w.bar->GetScrollPos());
  w.Send(WM_LBUTTONUP, 8, 5);
}

TEST(ScrollBar, ThumbDragMovesOnTheNextTick) {
  BarWindow w(98, 300);  // travel 50
  ASSERT_EQ(L"0,16,16,32", Str(w.bar->GetThumbRect()));
  w.Send(WM_LBUTTONDOWN, 8, 20);
  EXPECT_EQ(CScrollBarUI::kStatePushed | CScrollBarUI::kStateCaptured,
            w.bar->GetThumbState() & (CScrollBarUI::kStatePushed | CScrollBarUI::kStateCaptured));
  w.Send(WM_MOUSEMOVE, 8, 30);
  EXPECT_EQ(0, w.bar->GetScrollPos());  // not before the tick
  w.Tick();
  EXPECT_EQ(60, w.bar->GetScrollPos());
  w.Send(WM_MOUSEMOVE, 8, 25);
  w.Tick();
  EXPECT_EQ(30, w.bar->GetScrollPos());
  w.Send(WM_MOUSEMOVE, 8, 500);
  w.Tick();
  EXPECT_EQ(300, w.bar->GetScrollPos());  // clamped to the range
  w.Send(WM_LBUTTONUP, 8, 500);
  EXPECT_EQ(0u, w.bar->GetThumbState() & (CScrollBarUI::kStatePushed | CScrollBarUI::kStateCaptured));
}

TEST(ScrollBar, TrackPressPagesAndRangeZeroStaysPut) {
  BarWindow w(100, 300);
  w.Send(WM_LBUTTONDOWN, 8, 70);  // below the thumb: one bar length forward
  w.Send(WM_LBUTTONUP, 8, 70);
  EXPECT_EQ(100, w.bar->GetScrollPos());
  w.bar->SetScrollRange(0);
  EXPECT_EQ(L"0,16,16,84", Str(w.bar->GetThumbRect()));  // the thumb fills the track
  w.Send(WM_LBUTTONDOWN, 8, 50);
  w.Send(WM_LBUTTONUP, 8, 50);
  EXPECT_EQ(0, w.bar->GetScrollPos());
  // A disabled bar ignores presses.
  w.bar->SetScrollRange(300);
  w.bar->SetEnabled(false);
  int before = w.counter.scrolls;
  w.Send(WM_LBUTTONDOWN, 8, 90);
  w.Send(WM_LBUTTONUP, 8, 90);
  EXPECT_EQ(0, w.bar->GetScrollPos());
  EXPECT_EQ(before, w.counter.scrolls);
}

TEST(ScrollBar, HotStatesFollowThePointer) {
  BarWindow w(100, 300);  // thumb 16..33
  const UINT hot = CScrollBarUI::kStateHot;
  w.Send(WM_MOUSEMOVE, 8, 20);
  EXPECT_TRUE(w.bar->GetThumbState() & hot);
  EXPECT_TRUE(w.bar->GetButton1State() & hot);
  EXPECT_TRUE(w.bar->GetButton2State() & hot);
  w.Send(WM_MOUSEMOVE, 8, 60);
  EXPECT_FALSE(w.bar->GetThumbState() & hot);
  EXPECT_TRUE(w.bar->GetButton1State() & hot);
  ::SendMessageW(w.win.GetHWND(), WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(w.bar->GetButton1State() & hot);
  EXPECT_FALSE(w.bar->GetButton2State() & hot);
  // A disabled bar loses every state and takes no new ones.
  w.Send(WM_MOUSEMOVE, 8, 20);
  w.bar->SetEnabled(false);
  EXPECT_EQ(0u, w.bar->GetThumbState());
  EXPECT_EQ(0u, w.bar->GetButton1State());
}

TEST(ScrollBar, PartsWithoutImagesAreFramed) {
  CScrollBarUI bar;
  bar.SetBounds(RECT{0, 0, 16, 100});
  bar.SetScrollRange(300);
  DibCanvas canvas(16, 100, 0x00FFFFFF);
  bar.Paint(canvas.dc(), RECT{0, 0, 16, 100});
  const DWORD frame = 0x85E4FF;
  struct Case {
    POINT at;
    DWORD expected;
  } cases[] = {
      {{0, 8}, frame},   {{15, 8}, frame},  {{8, 0}, frame},  {{8, 8}, 0xFFFFFF},  // button 1
      {{1, 24}, frame},  {{8, 17}, frame},  {{8, 24}, 0xFFFFFF},                     // thumb
      {{0, 90}, frame},  {{8, 99}, frame},                                          // button 2
      {{8, 60}, 0xFFFFFF},                                                          // track
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.expected, canvas.At(c.at.x, c.at.y)) << c.at.x << "," << c.at.y;
}

}  // namespace
