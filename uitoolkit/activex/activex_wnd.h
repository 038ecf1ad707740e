#pragma once
// The child window a windowed hosted object lives in. It hands focus and
// mouse activation to the object and paints nothing itself.
#include "uitoolkit/core/window_wnd.h"

namespace UiToolkit {

class CActiveXCtrl;

class CActiveXWnd : public CWindowWnd {
 public:
  explicit CActiveXWnd(CActiveXCtrl* site) : m_site(site) {}

  // Creates the window as a hidden-or-shown child of `parent` at 0,0 with
  // no size. None when it could not be made.
  HWND Init(HWND parent, bool visible);

 protected:
  const wchar_t* WindowClassName() const override;
  LRESULT ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void ActivateObject(LONG verb);

  CActiveXCtrl* m_site;
};

}  // namespace UiToolkit
