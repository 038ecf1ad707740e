#pragma once
// A date shown as label text ("2014-03-31") that the user changes with the
// system date picker: when the control gets the focus or is clicked, a
// native picker (CDateTimeWnd) sits exactly over it; when the picker loses
// the focus its date becomes the text, Delete or Backspace clears the
// text, Escape keeps it. The control sends no notification of its own.
#include "uitoolkit/controls/label.h"

namespace UiToolkit {

class CDateTimeWnd;

class CDateTimeUI : public CLabelUI {
 public:
  // What happens to the text when the picker closes.
  enum TUpdateMode {
    kPickerOpen = 0,  // the picker's date is taken when it loses the focus
    kSetDate = 1,     // the text becomes the date
    kClearText = 2,   // the text becomes empty
    kCancelled = 3,   // the text stays as it was
  };

  CDateTimeUI();
  // An open picker is unlinked and destroyed first, so it never reports to
  // a freed control.
  ~CDateTimeUI() override;

  const wchar_t* ClassName() const override;
  // "DateTime" -> the control; other names as the label.
  LPVOID FindInterface(const wchar_t* name) override;
  void OnEvent(TUiEvent& event) override;

  // Mode 1: the text becomes the date; mode 2: empty; others: unchanged.
  void UpdateText();
  const SYSTEMTIME& GetDate() const { return m_date; }
  int GetUpdateMode() const { return m_updateMode; }
  // The open picker's window, or none.
  HWND GetPickerWindow() const;

 private:
  friend class CDateTimeWnd;
  void OpenPicker();

  SYSTEMTIME m_date;
  int m_updateMode;
  CDateTimeWnd* m_window;
};

// "%4d-%02d-%02d": the year padded with blanks to four places, month and
// day with zeros to two.
CUiString FormatDateText(const SYSTEMTIME& date);

}  // namespace UiToolkit
