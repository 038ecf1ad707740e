#pragma once
// A shown window built from a skin document for rich-edit tests: it keeps
// the "return" notifications and the WM_NOTIFY records the window gets,
// renders itself into a canvas, and can be typed into with real key
// presses (xdotool on the virtual display).
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/uitoolkit/core/dib_canvas.h"
#include "tests/uitoolkit/core/ui_test_fixtures.h"
#include "uitoolkit/controls/rich_edit.h"
#include "uitoolkit/skin/skin_builder.h"

namespace uitest {

// One WM_NOTIFY as the window saw it (the manager reflects it to the
// window named in its header).
struct NotifySeen {
  UINT code;
  HWND from;
  UINT_PTR id;
  const void* record;
};

class RichEditHostWindow : public HostWindow {
 public:
  std::vector<NotifySeen> notifies;
  // Called for each WM_NOTIFY after it is recorded.
  std::function<void(const NMHDR&)> onNotify;

 protected:
  LRESULT ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_NOTIFY + 0x2000 && lParam) {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      notifies.push_back({header->code, header->hwndFrom, header->idFrom, header});
      if (onNotify) onNotify(*header);
      return 0;
    }
    return HostWindow::ProcessMessage(msg, wParam, lParam);
  }
};

// Keeps "<sender>:<type>" of the notifications widgets send.
class ReturnLog : public INotifyUI {
 public:
  void Notify(TUiNotify& msg) override {
    if (msg.sType != L"return") return;
    entries.push_back(std::wstring(msg.pSender ? msg.pSender->GetName().GetData() : L"-") +
                      L":return");
    if (onReturn) onReturn(msg);
  }
  std::vector<std::wstring> entries;
  std::function<void(TUiNotify&)> onReturn;
};

struct RichEditWindow {
  RichEditHostWindow win;
  ReturnLog returns;
  CControlUI* root = nullptr;

  // `body`: the controls of the skin, inside a "Window" root.
  explicit RichEditWindow(const std::wstring& body, int width = 360, int height = 220) {
    win.CreateAt(60, 60, width, height);
    std::wstring doc = L"<Window>" + body + L"</Window>";
    CSkinBuilder builder;
    root = builder.BuildSkin(doc.c_str(), nullptr, nullptr, &win.manager);
    win.manager.AttachRoot(root);
    win.manager.AddNotifyReceiver(&returns);
    Paint();
  }
  HWND hwnd() const { return win.GetHWND(); }
  CRichEditUI* Edit(const wchar_t* name = L"edit") {
    return static_cast<CRichEditUI*>(win.manager.FindControl(name));
  }
  // Lays out and paints what is pending.
  void Paint() {
    for (int i = 0; i < 4; ++i) {
      ::UpdateWindow(hwnd());
      PumpMessages();
    }
  }
  LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageW(hwnd(), msg, wParam, lParam);
  }
  // A wheel notch over client point (x, y): toward the user unless `up`.
  void Wheel(int x, int y, bool up, WORD keys = 0) {
    POINT pt = {x, y};
    ::ClientToScreen(hwnd(), &pt);
    Send(WM_MOUSEWHEEL, MAKEWPARAM(keys, up ? WHEEL_DELTA : -WHEEL_DELTA), Pt(pt.x, pt.y));
    Paint();
  }
  void Click(int x, int y) {
    Send(WM_MOUSEMOVE, 0, Pt(x, y));
    Send(WM_LBUTTONDOWN, MK_LBUTTON, Pt(x, y));
    Send(WM_LBUTTONUP, 0, Pt(x, y));
    Paint();
  }
  // The window's picture through WM_PRINTCLIENT (the manager paints the
  // whole tree into the canvas it is given).
  void Render(DibCanvas& canvas) {
    Send(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
  }
  // What the window shows on the display.
  void Capture(DibCanvas& canvas) {
    Paint();
    HDC dc = ::GetDC(hwnd());
    RECT client;
    ::GetClientRect(hwnd(), &client);
    ::BitBlt(canvas.dc(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    ::ReleaseDC(hwnd(), dc);
  }
};

// "Line 1 of the text", "Line 2 of the text", ... one paragraph each.
inline std::wstring Lines(int count) {
  std::wstring text;
  for (int i = 1; i <= count; ++i) text += L"Line " + std::to_wstring(i) + L" of the text\r";
  return text;
}

// Pumps messages until `done` holds or `ms` pass; returns `done`.
inline bool PumpUntil(const std::function<bool()>& done, int ms = 3000) {
  const DWORD end = ::GetTickCount() + ms;
  while (!done()) {
    if (static_cast<int>(end - ::GetTickCount()) <= 0) return false;
    PumpMessages();
    ::Sleep(5);
  }
  return true;
}

inline void PumpFor(int ms) {
  PumpUntil([] { return false; }, ms);
}

// Runs xdotool on the display with these arguments and waits for it.
bool RunXdotool(const std::vector<std::string>& args);

// Gives the window the display's keyboard focus and `control` the
// toolkit's, so real key presses reach it.
bool FocusForTyping(RichEditWindow& w, CControlUI* control);

}  // namespace uitest
