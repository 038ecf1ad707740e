#pragma once
// The native edit window an edit box places over its text area while it
// has the focus. It copies every change back into the edit box, reports
// Return, and closes itself as soon as it loses the focus.
#include "uitoolkit/core/window_wnd.h"

namespace UiToolkit {

class CEditUI;

class CEditWnd : public CWindowWnd {
 public:
  CEditWnd();

  // Creates and shows the window over the owner's edit rectangle and gives
  // it the focus. False (and the object deleted) when no window could be
  // made.
  bool Init(CEditUI* owner);
  // The owner is going away: the window stops reporting to it.
  void Detach() { m_owner = nullptr; }

 protected:
  const wchar_t* WindowClassName() const override;
  const wchar_t* BaseClassName() const override;
  LRESULT ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void OnWindowGone(HWND hwnd) override;

 private:
  ~CEditWnd() override;
  LRESULT OnColor(HDC dc);
  void OnChange();

  CEditUI* m_owner;
  HBRUSH m_backBrush;
  bool m_initialised;
};

}  // namespace UiToolkit
