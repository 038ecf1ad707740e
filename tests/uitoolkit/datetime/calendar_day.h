#pragma once
// Finds a day on a month calendar, as a click would need it.
#include <windows.h>
#include <commctrl.h>

namespace datetest {

// The client point in the middle of day `day` of the month the calendar
// has selected; false when that day is not shown.
inline bool FindCalendarDay(HWND calendar, int day, POINT* at) {
  SYSTEMTIME shown = {};
  ::SendMessageW(calendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&shown));
  RECT rc;
  ::GetClientRect(calendar, &rc);
  auto is_day = [&](int x, int y) {
    MCHITTESTINFO hit = {};
    hit.cbSize = sizeof(hit);
    hit.pt = POINT{x, y};
    ::SendMessageW(calendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    return hit.uHit == MCHT_CALENDARDATE && hit.st.wDay == day && hit.st.wMonth == shown.wMonth;
  };
  for (int y = 0; y < rc.bottom; y += 2) {
    for (int x = 0; x < rc.right; x += 2) {
      if (!is_day(x, y)) continue;
      // The first hit is the cell's top left corner: on to its far edges.
      int right = x, bottom = y;
      while (is_day(right + 1, y)) ++right;
      while (is_day(x, bottom + 1)) ++bottom;
      *at = POINT{(x + right) / 2, (y + bottom) / 2};
      return true;
    }
  }
  return false;
}

}  // namespace datetest
