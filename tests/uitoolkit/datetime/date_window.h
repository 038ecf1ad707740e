#pragma once
// A shown window with two date-time controls, a receiver that records what
// the controls report (none of it is expected), and helpers that reach the
// open native picker and its drop-down calendar.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "tests/uitoolkit/datetime/calendar_day.h"
#include "tests/uitoolkit/widgets/widget_window.h"
#include "uitoolkit/controls/date_time.h"

namespace datetest {

using namespace uitest;

inline SYSTEMTIME Day(int year, int month, int day) {
  SYSTEMTIME st = {};
  st.wYear = static_cast<WORD>(year);
  st.wMonth = static_cast<WORD>(month);
  st.wDay = static_cast<WORD>(day);
  return st;
}

inline std::wstring Today() {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  return std::wstring(FormatDateText(now));
}

struct DateWindow {
  WidgetWindow w;
  CDateTimeUI* date = nullptr;
  CDateTimeUI* other = nullptr;

  // Windows take seconds to go under Wine: the tests share this one, with
  // two fresh controls for each.
  static DateWindow& Shared() {
    static DateWindow* shared = new DateWindow;
    shared->w.win.manager.SetFocusControl(nullptr);
    PumpMessages();
    shared->w.Clear();
    shared->w.log.clear();
    shared->date = shared->w.Add(new CDateTimeUI, L"date", RECT{10, 10, 160, 34});
    shared->other = shared->w.Add(new CDateTimeUI, L"other", RECT{10, 60, 160, 84});
    return *shared;
  }

  HWND Picker() const { return date->GetPickerWindow(); }
  SYSTEMTIME PickerDate() const {
    SYSTEMTIME st = {};
    ::SendMessageW(Picker(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
    return st;
  }
  void SetPickerDate(const SYSTEMTIME& st) {
    ::SendMessageW(Picker(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
  }
  // Clicks the picker's drop-down button; returns the calendar shown.
  HWND DropDown() {
    RECT rc;
    ::GetClientRect(Picker(), &rc);
    const LPARAM at = MAKELPARAM(rc.right - 5, rc.bottom / 2);
    ::SendMessageW(Picker(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(Picker(), WM_LBUTTONUP, 0, at);
    HWND calendar = reinterpret_cast<HWND>(::SendMessageW(Picker(), DTM_GETMONTHCAL, 0, 0));
    return calendar && ::IsWindowVisible(calendar) ? calendar : nullptr;
  }
  // Clicks day `day` of the month the calendar shows.
  static bool PickDay(HWND calendar, int day) {
    POINT at;
    if (!FindCalendarDay(calendar, day, &at)) return false;
    ::SendMessageW(calendar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    ::SendMessageW(calendar, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    return true;
  }
};

}  // namespace datetest
