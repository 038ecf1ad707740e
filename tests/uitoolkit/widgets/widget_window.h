#pragma once
// The controls' test window with a second log that keeps what widgets
// report ("valuechanged", "textchanged", "return", ...) as "<sender>:<type>"
// (window, focus and timer notifications are left out), and a wheel.
#include <string>
#include <vector>

#include "tests/uitoolkit/controls/control_window.h"

namespace uitest {

class WidgetNotes : public INotifyUI {
 public:
  void Notify(TUiNotify& msg) override {
    static const wchar_t* const kLeftOut[] = {L"windowinit", L"setfocus", L"killfocus",
                                              L"timer"};
    for (const wchar_t* k : kLeftOut)
      if (msg.sType == k) return;
    std::wstring sender = msg.pSender ? std::wstring(msg.pSender->GetName()) : L"-";
    entries.push_back(sender + L":" + std::wstring(msg.sType));
  }
  std::vector<std::wstring> entries;
};

struct WidgetWindow : ControlWindow {
  WidgetNotes widgetNotes;
  std::vector<std::wstring>& log = widgetNotes.entries;

  WidgetWindow() { win.manager.AddNotifyReceiver(&widgetNotes); }
  template <class T>
  T* Add(T* control, const wchar_t* name, RECT rc) {
    control->SetName(name);
    return ControlWindow::Add(control, rc);
  }
  // A wheel notch over client point (x, y): up when `up`.
  void Wheel(int x, int y, bool up) {
    POINT pt = {x, y};
    ::ClientToScreen(win.GetHWND(), &pt);
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, up ? WHEEL_DELTA : -WHEEL_DELTA), Pt(pt.x, pt.y));
  }
};

}  // namespace uitest
