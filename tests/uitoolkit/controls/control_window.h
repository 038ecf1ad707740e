#pragma once
// A shown window whose root panel holds the controls under test, and a
// receiver that records the notifications of clickable controls as
// "<sender>:<type>:<wParam>" (window and focus notifications are left out).
#include <string>
#include <vector>

#include "tests/uitoolkit/core/ui_test_fixtures.h"

namespace uitest {

class NotifyLog : public INotifyUI {
 public:
  void Notify(TUiNotify& msg) override {
    static const wchar_t* const kKept[] = {L"click", L"selectchanged", L"link", L"menu"};
    bool kept = false;
    for (const wchar_t* k : kKept) kept = kept || msg.sType == k;
    if (!kept) return;
    std::wstring sender = msg.pSender ? std::wstring(msg.pSender->GetName()) : L"-";
    entries.push_back(sender + L":" + std::wstring(msg.sType) + L":" +
                      std::to_wstring(msg.wParam));
  }
  std::vector<std::wstring> entries;
};

struct ControlWindow {
  HostWindow win;
  TestPanel* root = new TestPanel;
  NotifyLog notes;

  ControlWindow() {
    win.CreateAt(40, 40, 400, 200);
    win.manager.AttachRoot(root);
    win.manager.AddNotifyReceiver(&notes);
    root->SetBounds(RECT{0, 0, 400, 200});
    ::UpdateWindow(win.GetHWND());
  }
  // Adds a control at `rc` (the panel does not lay out).
  template <class T>
  T* Add(T* control, RECT rc) {
    root->Add(control);
    control->SetBounds(rc);
    return control;
  }
  // Deletes every control under test and lets go of the mouse, so that one
  // window serves every case of a table (opening a window costs seconds).
  void Clear() {
    Up(399, 199);
    Move(399, 199, false);
    for (CControlUI* c : root->children) delete c;
    root->children.clear();
    notes.entries.clear();
  }
  LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageW(win.GetHWND(), msg, wParam, lParam);
  }
  void Down(int x, int y) { Send(WM_LBUTTONDOWN, MK_LBUTTON, Pt(x, y)); }
  void Move(int x, int y, bool pressed = true) {
    Send(WM_MOUSEMOVE, pressed ? MK_LBUTTON : 0, Pt(x, y));
  }
  void Up(int x, int y) { Send(WM_LBUTTONUP, 0, Pt(x, y)); }
  void Click(int x, int y) {
    Move(x, y, false);
    Down(x, y);
    Up(x, y);
  }
};

}  // namespace uitest
