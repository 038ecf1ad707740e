#pragma once
// A shown window whose root panel holds combos at given places, label
// items of fixed height, and a receiver that records the combo
// notifications as "<sender>:<type>:<wParam>:<lParam>".
#include <functional>
#include <string>
#include <vector>

#include "tests/uitoolkit/core/ui_test_fixtures.h"
#include "uitoolkit/controls/combo.h"
#include "uitoolkit/controls/combo_box.h"
#include "uitoolkit/controls/control_state.h"
#include "uitoolkit/controls/list_element.h"
#include "uitoolkit/layouts/vertical_layout.h"

namespace combotest {

using namespace uitest;
using Log = std::vector<std::wstring>;

class ComboNotes : public INotifyUI {
 public:
  void Notify(TUiNotify& msg) override {
    if (msg.sType != L"dropdown" && msg.sType != L"itemselect") return;
    std::wstring sender = msg.pSender ? std::wstring(msg.pSender->GetName()) : L"-";
    entries.push_back(sender + L":" + std::wstring(msg.sType) + L":" +
                      std::to_wstring(static_cast<int>(msg.wParam)) + L":" +
                      std::to_wstring(static_cast<int>(msg.lParam)));
    if (msg.sType == L"dropdown" && onDropDown) onDropDown(msg.pSender);
  }
  Log entries;
  std::function<void(CControlUI*)> onDropDown;
};

// A label item named "i<n>" with the text "item <n>", 20 pixels tall.
inline CListLabelElementUI* Item(int n, int height = 20) {
  CListLabelElementUI* item = new CListLabelElementUI;
  item->SetName((L"i" + std::to_wstring(n)).c_str());
  item->SetText((L"item " + std::to_wstring(n)).c_str());
  item->SetFixedHeight(height);
  return item;
}

inline std::wstring Str(const RECT& rc) {
  return std::to_wstring(rc.left) + L"," + std::to_wstring(rc.top) + L"," +
         std::to_wstring(rc.right) + L"," + std::to_wstring(rc.bottom);
}

inline RECT ScreenRect(HWND hwnd) {
  RECT rc = {};
  ::GetWindowRect(hwnd, &rc);
  return rc;
}

struct ComboWindow {
  HostWindow win;
  TestPanel* root = new TestPanel;
  ComboNotes notes;

  explicit ComboWindow(int x = 40, int y = 40, int w = 400, int h = 300) {
    win.CreateAt(x, y, w, h);
    win.manager.AttachRoot(root);
    win.manager.AddNotifyReceiver(&notes);
    root->SetBounds(RECT{0, 0, w, h});
    ::UpdateWindow(win.GetHWND());
  }
  // Windows take seconds to go under Wine: the tests of a program share
  // this one, emptied for each.
  static ComboWindow& Shared() {
    static ComboWindow* shared = new ComboWindow;
    shared->Clear();
    return *shared;
  }
  void Clear() {
    Send(WM_MOUSEMOVE, 0, Pt(399, 299));
    win.manager.SetFocusControl(nullptr);
    for (CControlUI* c : root->children) delete c;
    root->children.clear();
    notes.entries.clear();
    notes.onDropDown = nullptr;
    PumpMessages();
  }
  // A combo named `name` at `rc` with `items` items.
  template <class T>
  T* Add(T* combo, const wchar_t* name, RECT rc, int items) {
    combo->SetName(name);
    for (int i = 0; i < items; ++i) combo->Add(Item(i));
    root->Add(combo);
    combo->SetBounds(rc);
    return combo;
  }
  LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageW(win.GetHWND(), msg, wParam, lParam);
  }
  void Click(int x, int y) {
    Send(WM_MOUSEMOVE, 0, Pt(x, y));
    Send(WM_LBUTTONDOWN, MK_LBUTTON, Pt(x, y));
    Send(WM_LBUTTONUP, 0, Pt(x, y));
  }
  void Key(WPARAM vk) { Send(WM_KEYDOWN, vk, 0); }
  // One wheel notch over client point (x, y); towards the user when `down`.
  void Wheel(int x, int y, bool down) {
    POINT pt = {x, y};
    ::ClientToScreen(win.GetHWND(), &pt);
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, down ? -WHEEL_DELTA : WHEEL_DELTA), Pt(pt.x, pt.y));
  }
};

// Sends a message to an open popup and lets what it posts run.
inline void ToPopup(CComboUI* combo, UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND popup = combo->GetPopupWindow();
  if (popup) ::SendMessageW(popup, msg, wParam, lParam);
  PumpMessages();
}

}  // namespace combotest
