#pragma once
// The native date picker a date-time control places over itself while it
// is being edited: a superclass of the common controls' picker. It hands
// the picked date back when it loses the focus, clears the text on Delete
// or Backspace, keeps it on Escape, and closes itself in every case.
//
// Dropping down its calendar moves the focus into the calendar; that is
// still the picker's own edit, which goes on when the calendar closes. The
// focus leaving both ends the edit.
#include "uitoolkit/core/window_wnd.h"

namespace UiToolkit {

class CDateTimeUI;

class CDateTimeWnd : public CWindowWnd {
 public:
  CDateTimeWnd();

  // Creates the window over the owner when there is none yet, sets the
  // owner's date into it (today's when the owner's text is empty), shows
  // it and gives it the focus. False, with a log line and the object
  // deleted, when no window could be made.
  bool Init(CDateTimeUI* owner);
  // The owner is going away: the window stops reporting to it.
  void Detach() { m_owner = nullptr; }
  // Ends the edit as a loss of focus does, unless the focus is still in
  // the picker or its calendar.
  void EndUnlessFocused();
  // Whether `hwnd` is the picker, its calendar or a window inside them.
  bool IsOwnWindow(HWND hwnd) const;
  // The drop-down calendar while it is shown, or none.
  HWND GetCalendar() const;

 protected:
  const wchar_t* WindowClassName() const override;
  const wchar_t* BaseClassName() const override;
  LRESULT ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void OnWindowGone(HWND hwnd) override;

 private:
  ~CDateTimeWnd() override;
  // The picked date becomes the owner's text and the picker closes.
  void EndAsFocusLoss();
  void Finish(int mode);

  CDateTimeUI* m_owner;
  HBRUSH m_backBrush;
  bool m_initialised;
  bool m_creating;
};

}  // namespace UiToolkit
