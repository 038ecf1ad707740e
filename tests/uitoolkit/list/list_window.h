#pragma once
// A shown window whose root is a list, rows of fixed height, and a
// receiver that records the list notifications as
// "<sender>:<type>:<wParam>:<lParam>".
#include <string>
#include <vector>

#include "tests/uitoolkit/core/ui_test_fixtures.h"
#include "uitoolkit/controls/control_state.h"
#include "uitoolkit/controls/list.h"
#include "uitoolkit/controls/list_container_element.h"
#include "uitoolkit/controls/list_element.h"
#include "uitoolkit/controls/list_header.h"
#include "uitoolkit/controls/list_header_item.h"
#include "uitoolkit/controls/list_text_element.h"
#include "uitoolkit/controls/scroll_bar.h"

namespace listtest {

using namespace uitest;
using Log = std::vector<std::wstring>;

class ListNotes : public INotifyUI {
 public:
  void Notify(TUiNotify& msg) override {
    static const wchar_t* const kKept[] = {L"itemselect", L"itemclick", L"itemactivate", L"link",
                                           L"headerclick"};
    bool kept = false;
    for (const wchar_t* k : kKept) kept = kept || msg.sType == k;
    if (!kept) return;
    std::wstring sender = msg.pSender ? std::wstring(msg.pSender->GetName()) : L"-";
    entries.push_back(sender + L":" + std::wstring(msg.sType) + L":" +
                      std::to_wstring(static_cast<int>(msg.wParam)) + L":" +
                      std::to_wstring(static_cast<int>(msg.lParam)));
    if (msg.sType == L"itemclick" && list) selectionAtClick.push_back(list->GetSelectedIndex());
  }
  CListUI* list = nullptr;
  Log entries;
  std::vector<int> selectionAtClick;
};

// A label row named "r<n>", 20 pixels tall.
inline CListLabelElementUI* Row(int n, int height = 20) {
  CListLabelElementUI* row = new CListLabelElementUI;
  row->SetName((L"r" + std::to_wstring(n)).c_str());
  row->SetText((L"row " + std::to_wstring(n)).c_str());
  row->SetFixedHeight(height);
  return row;
}

inline CListHeaderItemUI* HeaderItem(int width, const wchar_t* name = nullptr) {
  CListHeaderItemUI* item = new CListHeaderItemUI;
  if (width) item->SetFixedWidth(width);
  if (name) item->SetName(name);
  return item;
}

inline std::wstring Str(const RECT& rc) {
  return std::to_wstring(rc.left) + L"," + std::to_wstring(rc.top) + L"," +
         std::to_wstring(rc.right) + L"," + std::to_wstring(rc.bottom);
}

struct ListWindow {
  HostWindow win;
  CListUI* list = new CListUI;
  ListNotes notes;
  RECT area;

  // A list of `rows` label rows filling a window of w x h.
  explicit ListWindow(int rows = 0, int w = 300, int h = 200, const wchar_t* attrs = nullptr) {
    area = RECT{0, 0, w, h};
    list->SetName(L"list");
    if (attrs) list->ApplyAttributeList(attrs);
    for (int i = 0; i < rows; ++i) list->Add(Row(i));
    win.CreateAt(40, 40, w, h);
    win.manager.AttachRoot(list);
    win.manager.AddNotifyReceiver(&notes);
    notes.list = list;
    Layout();
    ::UpdateWindow(win.GetHWND());
    notes.entries.clear();
  }
  void Layout() { list->SetBounds(area); }
  // Windows are slow to make under Wine: a table of cases reuses one and
  // starts each case from `rows` fresh rows, nothing selected.
  void Reset(int rows) {
    list->RemoveAll();
    list->SetScrollPos(SIZE{0, 0});
    for (int i = 0; i < rows; ++i) list->Add(Row(i));
    list->SetFocus();
    Layout();
    notes.entries.clear();
    notes.selectionAtClick.clear();
  }
  CControlUI* RowAt(int i) { return list->GetItemAt(i); }
  std::vector<std::wstring> Indexes() {
    std::vector<std::wstring> out;
    for (int i = 0; i < list->GetCount(); ++i) {
      auto* item = static_cast<IListItemUI*>(list->GetItemAt(i)->FindInterface(L"ListItem"));
      out.push_back(std::wstring(list->GetItemAt(i)->GetName()) + L"@" +
                    std::to_wstring(item->GetIndex()));
    }
    return out;
  }
  LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageW(win.GetHWND(), msg, wParam, lParam);
  }
  void Move(int x, int y) { Send(WM_MOUSEMOVE, 0, Pt(x, y)); }
  void Down(int x, int y) {
    Move(x, y);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, Pt(x, y));
  }
  void Up(int x, int y) { Send(WM_LBUTTONUP, 0, Pt(x, y)); }
  void Drag(int x, int y) { Send(WM_MOUSEMOVE, MK_LBUTTON, Pt(x, y)); }
  void Key(WPARAM vk) { Send(WM_KEYDOWN, vk, 0); }
  // One wheel notch at client point (x, y); towards the user when `down`.
  void Wheel(int x, int y, bool down) {
    POINT pt = {x, y};
    ::ClientToScreen(win.GetHWND(), &pt);
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, down ? -WHEEL_DELTA : WHEEL_DELTA), MAKELPARAM(pt.x, pt.y));
  }
};

}  // namespace listtest
