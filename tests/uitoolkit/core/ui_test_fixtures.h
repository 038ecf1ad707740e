#pragma once
// Small fixtures for toolkit tests: a window that hosts a manager, a control
// that records its events, and a panel that holds children.
#include <windows.h>

#include <string>
#include <vector>

#include "uitoolkit/core/control.h"
#include "uitoolkit/core/window_manager.h"
#include "uitoolkit/core/window_wnd.h"

namespace uitest {

using namespace UiToolkit;

// A top-level window whose messages go through its manager.
class HostWindow : public CWindowWnd {
 public:
  CWindowManagerUI manager;
  const wchar_t* WindowClassName() const override { return L"UiTestHostWindow"; }
  UINT ClassStyle() const override { return CS_DBLCLKS; }
  LRESULT ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_CREATE) manager.AttachWindow(m_hwnd);
    LRESULT result = 0;
    if (manager.HandleWindowMessage(msg, wParam, lParam, result)) return result;
    return CWindowWnd::ProcessMessage(msg, wParam, lParam);
  }
  HWND CreateAt(int x, int y, int w, int h, HWND owner = nullptr, bool visible = true) {
    // Tool windows are not handed to a window manager, so hiding one does
    // not wait for the manager to confirm.
    return Create(owner, L"ui test", WS_POPUP | (visible ? WS_VISIBLE : 0), WS_EX_TOOLWINDOW, x, y,
                  w, h);
  }
  ~HostWindow() override {
    if (m_hwnd) ::DestroyWindow(m_hwnd);
  }
};

// Records every event it handles as "<name>:<type>" in a shared log.
class RecordingControl : public CControlUI {
 public:
  RecordingControl(const wchar_t* name, std::vector<std::wstring>* log, UINT flags = 0)
      : log_(log), flags_(flags) {
    SetName(name);
  }
  UINT CapabilityFlags() const override { return flags_; }
  void OnEvent(TUiEvent& event) override {
    if (log_) log_->push_back(std::wstring(GetName()) + L":" + std::to_wstring(event.Type));
    last = event;
    if (event.Type == UIEVENT_SCROLLWHEEL) lastWheel = event;
    CControlUI::OnEvent(event);
  }
  TUiEvent last = {};
  TUiEvent lastWheel = {};

 private:
  std::vector<std::wstring>* log_;
  UINT flags_;
};

// A minimal container: children are placed by the test and searched and
// painted in order (last child first for hit tests).
class TestPanel : public CControlUI {
 public:
  ~TestPanel() override {
    for (CControlUI* c : children) delete c;
  }
  const wchar_t* ClassName() const override { return L"TestPanelUI"; }
  void Add(CControlUI* child) {
    children.push_back(child);
    if (m_manager) {
      child->AttachManager(m_manager, this, true);
      m_manager->RegisterNames(child);
    }
  }
  void AttachManager(CWindowManagerUI* manager, CControlUI* parent, bool init) override {
    for (CControlUI* c : children) c->AttachManager(manager, this, init);
    CControlUI::AttachManager(manager, parent, init);
  }
  CControlUI* Search(FindControlProc proc, LPVOID data, UINT flags) override {
    if ((flags & UIFIND_VISIBLE) && !IsVisible()) return nullptr;
    if ((flags & UIFIND_ENABLED) && !IsEnabled()) return nullptr;
    if ((flags & UIFIND_HITTEST) && !::PtInRect(&m_bounds, *static_cast<POINT*>(data)))
      return nullptr;
    if (flags & UIFIND_ME_FIRST) {
      if (CControlUI* r = CControlUI::Search(proc, data, flags)) return r;
    }
    int n = static_cast<int>(children.size());
    for (int k = 0; k < n; ++k) {
      int i = (flags & UIFIND_TOP_FIRST) ? n - 1 - k : k;
      if (CControlUI* r = children[i]->Search(proc, data, flags)) return r;
    }
    if (flags & UIFIND_HITTEST) return nullptr;  // the panel itself is not a target
    return (flags & UIFIND_ME_FIRST) ? nullptr : CControlUI::Search(proc, data, flags);
  }
  void Paint(HDC hdc, const RECT& dirty) override {
    CControlUI::Paint(hdc, dirty);
    for (CControlUI* c : children) c->Paint(hdc, dirty);
  }
  std::vector<CControlUI*> children;
};

// A shown window whose root panel holds three tab stops side by side:
// A (0..100), B (100..200, also wants set-cursor events), C (200..300).
// The first paint has laid out and focused A; the log starts empty.
struct ThreeControlWindow {
  HostWindow win;
  std::vector<std::wstring> log;
  TestPanel* root = new TestPanel;
  RecordingControl* a = new RecordingControl(L"A", &log, UIFLAG_TABSTOP);
  RecordingControl* b = new RecordingControl(L"B", &log, UIFLAG_TABSTOP | UIFLAG_SETCURSOR);
  RecordingControl* c = new RecordingControl(L"C", &log, UIFLAG_TABSTOP);

  ThreeControlWindow() {
    win.CreateAt(50, 50, 300, 100);
    root->Add(a);
    root->Add(b);
    root->Add(c);
    win.manager.AttachRoot(root);
    ::UpdateWindow(win.GetHWND());
    a->SetBounds(RECT{0, 0, 100, 100});
    b->SetBounds(RECT{100, 0, 200, 100});
    c->SetBounds(RECT{200, 0, 300, 100});
    ::UpdateWindow(win.GetHWND());
    log.clear();
  }
  LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageW(win.GetHWND(), msg, wParam, lParam);
  }
};

// Processes every pending message of this thread.
inline void PumpMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) break;
    if (!CWindowManagerUI::TranslateMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
}

inline LPARAM Pt(int x, int y) { return MAKELPARAM(x, y); }

}  // namespace uitest
