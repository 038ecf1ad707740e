#pragma once
// Fixtures for container, scroll bar and layout tests: fixed-size boxes,
// list-item stand-ins, a destruction counter and a window-less tree.
#include <windows.h>

#include <string>
#include <vector>

#include "uitoolkit/controls/container.h"
#include "uitoolkit/controls/scroll_bar.h"
#include "uitoolkit/core/window_manager.h"

namespace layouttest {

using namespace UiToolkit;

// A control of the given fixed size (0 = automatic) and attributes.
inline CControlUI* Box(int w, int h, const wchar_t* attrs = nullptr, const wchar_t* name = nullptr) {
  CControlUI* c = new CControlUI;
  if (w) c->SetFixedWidth(w);
  if (h) c->SetFixedHeight(h);
  if (attrs) c->ApplyAttributeList(attrs);
  if (name) c->SetName(name);
  return c;
}

// Answers "ListItem" like the rows of a list.
class ListItemStub : public CControlUI {
 public:
  LPVOID FindInterface(const wchar_t* name) override {
    if (name && wcscmp(name, L"ListItem") == 0) return this;
    return CControlUI::FindInterface(name);
  }
};

// Counts its own destruction.
class Counted : public CControlUI {
 public:
  explicit Counted(int* deaths) : deaths_(deaths) {}
  ~Counted() override { ++*deaths_; }

 private:
  int* deaths_;
};

// A tree attached to a manager without a window: layout and search work,
// nothing is painted or timed.
template <class Root>
struct Tree {
  CWindowManagerUI manager;
  Root* root = new Root;
  Tree() { manager.AttachRoot(root); }
  void Layout(RECT rc) { root->SetBounds(rc); }
};

inline std::wstring Str(const RECT& rc) {
  return std::to_wstring(rc.left) + L"," + std::to_wstring(rc.top) + L"," +
         std::to_wstring(rc.right) + L"," + std::to_wstring(rc.bottom);
}

}  // namespace layouttest
