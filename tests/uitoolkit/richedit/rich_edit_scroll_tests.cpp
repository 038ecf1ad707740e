// The engine's scroll bar is the control's own skinned bar: long text
// shows it, the wheel and the bar scroll bar and lines together, and a text
// that fits again hides it.
#include <gtest/gtest.h>

#include <string>

#include "tests/uitoolkit/richedit/rich_edit_window.h"
#include "uitoolkit/controls/scroll_bar.h"
#include "uitoolkit/controls/text_host.h"

using namespace uitest;

namespace {

LONG FirstVisibleLine(CRichEditUI* edit) {
  LRESULT line = -1;
  edit->TxSendMessage(EM_GETFIRSTVISIBLELINE, 0, 0, &line);
  return static_cast<LONG>(line);
}

int BarPos(CRichEditUI* edit) { return edit->GetVerticalScrollBar()->GetScrollPos(); }

// How many pixels of the text area differ between two pictures.
int Changed(const DibCanvas& a, const DibCanvas& b, const RECT& area) {
  int n = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) n += a.At(x, y) != b.At(x, y) ? 1 : 0;
  return n;
}

class RichEditScrollTest : public ::testing::Test {
 protected:
  // One window for every case: opening and closing one costs seconds.
  // The box: bounds (10,10)-(310,130), inset 5, so the text area starts at
  // (15,15) and the bar sits at its right. Beside it the licence box.
  static void SetUpTestSuite() {
    window = new RichEditWindow(
        L"<VerticalLayout><HorizontalLayout height=\"170\" inset=\"10,10,10,10\" "
        L"childpadding=\"10\">"
        L"<RichEdit name=\"edit\" height=\"120\" width=\"300\" inset=\"5,5,5,5\" "
        L"vscrollbar=\"true\" bkcolor=\"#FFFFFFFF\" />"
        L"<RichEdit name=\"licence\" width=\"300\" height=\"150\" readonly=\"true\" "
        L"vscrollbar=\"true\" /></HorizontalLayout>"
        L"<RichEdit name=\"wide\" height=\"50\" width=\"300\" hscrollbar=\"true\" />"
        L"</VerticalLayout>",
        640, 240);
  }
  static void TearDownTestSuite() {
    delete window;
    window = nullptr;
  }
  void SetUp() override {
    edit = window->Edit();
    edit->SetText(Lines(40).c_str());
    edit->ScrollToTop();
    window->Paint();
    bar = edit->GetVerticalScrollBar();
  }
  static POINT TextPoint(CRichEditUI* control) {
    RECT area = control->GetTextArea();
    return POINT{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
  }
  static RichEditWindow* window;
  CRichEditUI* edit = nullptr;
  CScrollBarUI* bar = nullptr;
};

RichEditWindow* RichEditScrollTest::window = nullptr;

}  // namespace

TEST_F(RichEditScrollTest, LongTextShowsTheBarBesideTheTextArea) {
  ASSERT_NE(nullptr, bar);
  EXPECT_TRUE(bar->IsVisible());
  EXPECT_GT(bar->GetScrollRange(), 300);
  EXPECT_EQ(0, BarPos(edit));
  const RECT area = edit->GetTextArea();
  const RECT placed = bar->GetBounds();
  const RECT expected_area = {15, 15, 289, 125};
  EXPECT_TRUE(::EqualRect(&expected_area, &area))
      << area.left << "," << area.top << "," << area.right << "," << area.bottom;
  const RECT expected_bar = {289, 15, 305, 125};
  EXPECT_TRUE(::EqualRect(&expected_bar, &placed))
      << placed.left << "," << placed.top << "," << placed.right << "," << placed.bottom;
  const RECT told = edit->GetHost()->GetClientRect();
  EXPECT_TRUE(::EqualRect(&expected_area, &told));
}

TEST_F(RichEditScrollTest, TheWheelScrollsBarAndLinesTogether) {
  const POINT pt = TextPoint(edit);
  const RECT area = edit->GetTextArea();
  DibCanvas top(640, 240);
  window->Render(top);
  int last = 0;
  for (int notch = 1; notch <= 3; ++notch) {
    window->Wheel(pt.x, pt.y, false);
    EXPECT_GT(BarPos(edit), last) << notch;
    last = BarPos(edit);
  }
  EXPECT_GT(FirstVisibleLine(edit), 0);
  DibCanvas scrolled(640, 240);
  window->Render(scrolled);
  EXPECT_GT(Changed(top, scrolled, area), 100);

  for (int notch = 0; notch < 10; ++notch) window->Wheel(pt.x, pt.y, true);
  EXPECT_EQ(0, BarPos(edit));
  EXPECT_EQ(0, FirstVisibleLine(edit));
  DibCanvas back(640, 240);
  window->Render(back);
  EXPECT_EQ(0, Changed(top, back, area));

  // Ctrl with the wheel belongs to the engine, which zooms.
  int numerator = 0, denominator = 0;
  edit->TxSendMessage(EM_GETZOOM, reinterpret_cast<WPARAM>(&numerator),
                        reinterpret_cast<LPARAM>(&denominator), nullptr);
  EXPECT_EQ(0, numerator);
  BYTE keys[256];
  ::GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  ::SetKeyboardState(keys);
  window->Wheel(pt.x, pt.y, true, MK_CONTROL);
  keys[VK_CONTROL] = 0;
  ::SetKeyboardState(keys);
  edit->TxSendMessage(EM_GETZOOM, reinterpret_cast<WPARAM>(&numerator),
                        reinterpret_cast<LPARAM>(&denominator), nullptr);
  EXPECT_NE(0, numerator);
}

TEST_F(RichEditScrollTest, TheBarsButtonsTrackAndThumbScrollTheText) {
  const RECT button2 = bar->GetButton2Rect();
  const RECT button1 = bar->GetButton1Rect();
  auto press = [&](int x, int y) {
    window->Click(x, y);
    PumpFor(20);
  };
  press((button2.left + button2.right) / 2, (button2.top + button2.bottom) / 2);
  const int after_line = BarPos(edit);
  EXPECT_GT(after_line, 0);
  EXPECT_GT(FirstVisibleLine(edit), 0);

  // Below the thumb: a page, more than a line.
  RECT thumb = bar->GetThumbRect();
  press((thumb.left + thumb.right) / 2, (thumb.bottom + button2.top) / 2);
  EXPECT_GT(BarPos(edit) - after_line, after_line);

  // The thumb dragged to the end of the track scrolls to the end.
  thumb = bar->GetThumbRect();
  const int x = (thumb.left + thumb.right) / 2, y = (thumb.top + thumb.bottom) / 2;
  window->Send(WM_MOUSEMOVE, 0, Pt(x, y));
  window->Send(WM_LBUTTONDOWN, MK_LBUTTON, Pt(x, y));
  window->Send(WM_MOUSEMOVE, MK_LBUTTON, Pt(x, button2.bottom + 40));
  PumpFor(150);
  window->Send(WM_LBUTTONUP, 0, Pt(x, button2.bottom + 40));
  window->Paint();
  EXPECT_EQ(bar->GetScrollRange(), BarPos(edit));
  const LONG last_line = FirstVisibleLine(edit);
  EXPECT_GT(last_line, 30);

  press((button1.left + button1.right) / 2, (button1.top + button1.bottom) / 2);
  EXPECT_LT(BarPos(edit), bar->GetScrollRange());
  EXPECT_LT(FirstVisibleLine(edit), last_line);
}

TEST_F(RichEditScrollTest, AShortTextHidesTheBarAtTheNextPaint) {
  const POINT pt = TextPoint(edit);
  window->Wheel(pt.x, pt.y, false);
  ASSERT_TRUE(bar->IsVisible());
  edit->SetText(L"short");
  window->Paint();
  EXPECT_FALSE(bar->IsVisible());
  EXPECT_EQ(0, edit->GetScrollPos().cy);
  // The text area takes the bar's room back.
  EXPECT_EQ(305, edit->GetTextArea().right);
  EXPECT_EQ(0, FirstVisibleLine(edit));

  edit->SetText(Lines(40).c_str());
  window->Paint();
  EXPECT_TRUE(bar->IsVisible());
  EXPECT_EQ(289, edit->GetTextArea().right);
}

// The setup program's licence box: a long text, read-only and disabled,
// still scrolls with the wheel and the bar.
TEST_F(RichEditScrollTest, AReadOnlyDisabledLicenceScrollsWithWheelAndBar) {
  CRichEditUI* licence_box = window->Edit(L"licence");
  ASSERT_NE(nullptr, licence_box);
  CRichEditUI* edit = licence_box;
  EXPECT_TRUE(edit->IsReadOnly());
  edit->SetReadOnly(true);
  edit->SetEnabled(false);
  std::wstring licence;
  while (licence.size() < 2702)
    licence += L"The user may install and use the program on any number of computers. ";
  licence.resize(2702);
  edit->SetText(licence.c_str());
  window->Paint();
  EXPECT_EQ(licence, std::wstring(edit->GetText().GetData()));
  CScrollBarUI* bar = edit->GetVerticalScrollBar();
  ASSERT_TRUE(bar->IsVisible());
  const RECT area = edit->GetTextArea();
  window->Wheel((area.left + area.right) / 2, (area.top + area.bottom) / 2, false);
  const int wheeled = bar->GetScrollPos();
  EXPECT_GT(wheeled, 0);
  const RECT button2 = bar->GetButton2Rect();
  window->Click((button2.left + button2.right) / 2, (button2.top + button2.bottom) / 2);
  EXPECT_GT(bar->GetScrollPos(), wheeled);
  EXPECT_GT(FirstVisibleLine(edit), 0);
}

// Text that does not wrap scrolls sideways through the horizontal bar.
TEST_F(RichEditScrollTest, ALongLineScrollsSidewaysThroughTheHorizontalBar) {
  CRichEditUI* wide = window->Edit(L"wide");
  ASSERT_NE(nullptr, wide);
  std::wstring line;
  for (int i = 0; i < 30; ++i) line += L"word" + std::to_wstring(i) + L" ";
  wide->SetText(line.c_str());
  window->Paint();
  CScrollBarUI* hbar = wide->GetHorizontalScrollBar();
  ASSERT_NE(nullptr, hbar);
  ASSERT_TRUE(hbar->IsVisible());
  EXPECT_GT(hbar->GetScrollRange(), 100);
  const RECT area = wide->GetTextArea();
  EXPECT_EQ(hbar->GetBounds().top, area.bottom);
  EXPECT_EQ(wide->GetBounds().bottom, hbar->GetBounds().bottom);
  wide->ScrollLineRight();
  wide->ScrollPageRight();
  window->Paint();
  const int moved = hbar->GetScrollPos();
  EXPECT_GT(moved, 0);
  POINTL first = {0, 0};
  wide->TxSendMessage(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&first), 0, nullptr);
  EXPECT_EQ(area.left - moved, first.x);
  wide->ScrollToLeftEnd();
  window->Paint();
  EXPECT_EQ(0, hbar->GetScrollPos());
}

// The engine takes the mouse over the text area, yet the manager still
// follows it, so the control the mouse came from learns that it left.
TEST_F(RichEditScrollTest, MovesOverTheTextStillReachTheManager) {
  CRichEditUI* licence = window->Edit(L"licence");
  const POINT in_licence = TextPoint(licence);
  const POINT in_edit = TextPoint(edit);
  window->Send(WM_MOUSEMOVE, 0, Pt(in_licence.x, in_licence.y));
  EXPECT_EQ(licence, window->win.manager.GetHoverControl());
  window->Send(WM_MOUSEMOVE, 0, Pt(in_edit.x, in_edit.y));
  EXPECT_EQ(edit, window->win.manager.GetHoverControl());
  window->Send(WM_MOUSEMOVE, 0, Pt(630, 230));
  EXPECT_NE(edit, window->win.manager.GetHoverControl());
}
