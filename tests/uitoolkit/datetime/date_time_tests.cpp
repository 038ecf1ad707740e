// The date-time control: its text, the native picker placed over it when
// it gets the focus or is clicked, and how the edit ends: the focus
// leaving takes the date, Delete and Backspace clear the text, Escape
// keeps it. Nothing is ever reported.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/uitoolkit/datetime/date_window.h"
#include "tests/uitoolkit/fixtures/log_capture.h"

using namespace datetest;

TEST(DateTextTest, YearPaddedWithBlanksMonthAndDayWithZeros) {
  struct Case {
    SYSTEMTIME date;
    const wchar_t* text;
  } cases[] = {
      {Day(2014, 3, 31), L"2014-03-31"}, {Day(2015, 1, 5), L"2015-01-05"},
      {Day(2015, 12, 9), L"2015-12-09"}, {Day(999, 1, 5), L" 999-01-05"},
      {Day(7, 10, 10), L"   7-10-10"},   {Day(30827, 12, 31), L"30827-12-31"},
  };
  for (const Case& c : cases) EXPECT_STREQ(c.text, FormatDateText(c.date).GetData());
}

TEST(DateTimeTest, ANewControlShowsTodayAndOpensOverItself) {
  DateWindow& d = DateWindow::Shared();
  EXPECT_STREQ(L"DateTimeUI", d.date->ClassName());
  EXPECT_EQ(d.date, d.date->FindInterface(L"DateTime"));
  EXPECT_NE(nullptr, d.date->FindInterface(L"Label"));
  EXPECT_EQ(Today(), std::wstring(d.date->GetText()));
  EXPECT_EQ(nullptr, d.Picker());

  d.w.Click(50, 20);
  HWND picker = d.Picker();
  ASSERT_TRUE(picker);
  wchar_t cls[64] = {};
  ::GetClassNameW(picker, cls, 64);
  EXPECT_STREQ(L"DateTimeWnd", cls);
  EXPECT_EQ(d.w.win.GetHWND(), ::GetParent(picker));
  EXPECT_TRUE(::IsWindowVisible(picker));
  EXPECT_EQ(picker, ::GetFocus());
  RECT placed;
  ::GetWindowRect(picker, &placed);
  ::MapWindowPoints(HWND_DESKTOP, d.w.win.GetHWND(), reinterpret_cast<POINT*>(&placed), 2);
  EXPECT_TRUE(::EqualRect(&placed, &d.date->GetBounds()));
  EXPECT_EQ(std::wstring(d.date->GetText()), std::wstring(FormatDateText(d.PickerDate())));
  EXPECT_EQ(CDateTimeUI::kPickerOpen, d.date->GetUpdateMode());
  // The wheel changes nothing while it is open.
  d.w.Wheel(50, 20, true);
  EXPECT_EQ(picker, d.Picker());
}

TEST(DateTimeTest, HowTheEditEnds) {
  struct Case {
    const char* what;
    UINT keyUp;  // 0: the focus moves to the other control
    const wchar_t* text;
    int mode;
  } cases[] = {
      {"focus elsewhere takes the date", 0, L"2015-01-05", CDateTimeUI::kSetDate},
      {"Escape keeps the text", VK_ESCAPE, L"2014-03-31", CDateTimeUI::kCancelled},
      {"Delete empties it", VK_DELETE, L"", CDateTimeUI::kClearText},
      {"Backspace empties it", VK_BACK, L"", CDateTimeUI::kClearText},
  };
  DateWindow& d = DateWindow::Shared();
  for (const Case& c : cases) {
    // Every case starts from 2014-03-31, set through the picker.
    d.date->SetFocus();
    ASSERT_TRUE(d.Picker()) << c.what;
    d.SetPickerDate(Day(2014, 3, 31));
    d.other->SetFocus();
    PumpMessages();
    ASSERT_STREQ(L"2014-03-31", d.date->GetText().GetData());
    d.w.log.clear();

    d.date->SetFocus();
    HWND picker = d.Picker();
    ASSERT_TRUE(picker) << c.what;
    // Opened on a date, the picker starts at it.
    EXPECT_STREQ(L"2014-03-31", FormatDateText(d.PickerDate()).GetData()) << c.what;
    d.SetPickerDate(Day(2015, 1, 5));
    if (c.keyUp) {
      ::SendMessageW(picker, WM_KEYDOWN, c.keyUp, 1);
      ::SendMessageW(picker, WM_KEYUP, c.keyUp, 0xC0000001);
    } else {
      d.other->SetFocus();
    }
    PumpMessages();
    EXPECT_FALSE(::IsWindow(picker)) << c.what;
    EXPECT_EQ(nullptr, d.Picker()) << c.what;
    EXPECT_STREQ(c.text, d.date->GetText().GetData()) << c.what;
    EXPECT_EQ(c.mode, d.date->GetUpdateMode()) << c.what;
    EXPECT_TRUE(d.w.log.empty()) << c.what << ": " << (d.w.log.empty() ? "" : "reported");
    d.other->SetFocus();
    PumpMessages();
  }
  // Opened on a cleared text, the picker starts at today.
  ASSERT_STREQ(L"", d.date->GetText().GetData());
  d.date->SetFocus();
  ASSERT_TRUE(d.Picker());
  EXPECT_EQ(Today(), std::wstring(FormatDateText(d.PickerDate())));
  d.other->SetFocus();
  PumpMessages();
  EXPECT_EQ(Today(), std::wstring(d.date->GetText()));
}

TEST(DateTimeTest, TheDropDownCalendarKeepsTheEditOpenUntilAClickElsewhere) {
  DateWindow& d = DateWindow::Shared();
  // A day picked in the calendar: the edit goes on in the picker, and the
  // focus leaving takes that day.
  d.date->SetFocus();
  ASSERT_TRUE(d.Picker());
  d.SetPickerDate(Day(2015, 1, 20));
  HWND calendar = d.DropDown();
  ASSERT_TRUE(calendar);
  EXPECT_EQ(calendar, ::GetFocus());
  PumpMessages();
  ASSERT_TRUE(d.Picker());
  EXPECT_EQ(CDateTimeUI::kPickerOpen, d.date->GetUpdateMode());
  ASSERT_TRUE(DateWindow::PickDay(calendar, 5));
  PumpMessages();
  ASSERT_TRUE(d.Picker());
  EXPECT_FALSE(::IsWindowVisible(calendar));
  EXPECT_EQ(d.Picker(), ::GetFocus());
  EXPECT_STREQ(L"2015-01-05", FormatDateText(d.PickerDate()).GetData());
  EXPECT_EQ(Today(), std::wstring(d.date->GetText()));  // not yet taken
  d.w.Click(300, 150);  // on no control at all
  PumpMessages();
  EXPECT_EQ(nullptr, d.Picker());
  EXPECT_STREQ(L"2015-01-05", d.date->GetText().GetData());

  // A click elsewhere while the calendar is down ends the edit too; the
  // calendar goes with the picker. (The control kept the window's focus:
  // a click opens it again.)
  d.w.Click(50, 20);
  ASSERT_TRUE(d.Picker());
  d.SetPickerDate(Day(2016, 2, 29));
  calendar = d.DropDown();
  ASSERT_TRUE(calendar);
  d.w.Click(300, 150);
  PumpMessages();
  EXPECT_EQ(nullptr, d.Picker());
  EXPECT_FALSE(::IsWindow(calendar) && ::IsWindowVisible(calendar));
  EXPECT_STREQ(L"2016-02-29", d.date->GetText().GetData());

  // And so does another control taking the focus.
  d.w.Click(50, 20);
  ASSERT_TRUE(d.Picker());
  d.SetPickerDate(Day(2017, 7, 7));
  ASSERT_TRUE(d.DropDown());
  d.w.Click(50, 70);
  PumpMessages();
  EXPECT_EQ(nullptr, d.Picker());
  EXPECT_STREQ(L"2017-07-07", d.date->GetText().GetData());
  EXPECT_TRUE(d.other->GetPickerWindow());
  EXPECT_TRUE(d.w.log.empty());
}

TEST(DateTimeTest, DeletingTheControlWithItsPickerOpen) {
  DateWindow& d = DateWindow::Shared();
  d.date->SetFocus();
  HWND picker = d.Picker();
  ASSERT_TRUE(picker);
  HWND calendar = d.DropDown();
  ASSERT_TRUE(calendar);
  auto& children = d.w.root->children;
  children.erase(std::find(children.begin(), children.end(), d.date));
  delete d.date;
  d.date = nullptr;
  EXPECT_FALSE(::IsWindow(picker));
  // Whatever was queued for the picker finds nothing to call.
  ::PostMessageW(picker, WM_KEYUP, VK_DELETE, 0);
  ::PostMessageW(picker, WM_KILLFOCUS, 0, 0);
  PumpMessages();
  EXPECT_FALSE(::IsWindow(calendar) && ::IsWindowVisible(calendar));
  d.other->SetFocus();
  EXPECT_TRUE(d.other->GetPickerWindow());
}

TEST(DateTimeTest, APickerThatCannotBeMadeLeavesALabelAndALogLine) {
  fixtures::LogCapture log;
  ASSERT_TRUE(log.IsOpen());
  // A manager with no window: there is nothing to put a picker in.
  CWindowManagerUI manager;
  TestPanel* root = new TestPanel;
  manager.AttachRoot(root);
  CDateTimeUI* date = new CDateTimeUI;
  root->Add(date);
  date->SetBounds(RECT{0, 0, 150, 24});
  const std::wstring before(date->GetText());
  date->SetFocus();
  EXPECT_EQ(nullptr, date->GetPickerWindow());
  EXPECT_EQ(before, std::wstring(date->GetText()));
  EXPECT_NE(std::string::npos, log.Text().find("no date picker window")) << log.Text();
  // Clicked, it tries again, and stays a label.
  TUiEvent click = {};
  click.Type = UIEVENT_BUTTONDOWN;
  click.ptMouse = POINT{10, 10};
  date->HandleEvent(click);
  EXPECT_EQ(nullptr, date->GetPickerWindow());
}
