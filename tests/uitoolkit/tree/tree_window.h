#pragma once
// A shown window whose root is a tree of three levels,
//   a{a1{a11, a12}, a2{a21}}, b{b1}
// rows of 18 pixels, and a receiver that records the tree's notifications
// as "<sender>:<type>".
#include <string>
#include <vector>

#include "tests/uitoolkit/core/ui_test_fixtures.h"
#include "tests/uitoolkit/tree/tree_fixtures.h"

namespace treetest {

using namespace uitest;

class TreeNotes : public INotifyUI {
 public:
  void Notify(TUiNotify& msg) override {
    if (msg.sType != L"itemdbclick" && msg.sType != L"itemselect" && msg.sType != L"itemactivate")
      return;
    std::wstring sender = msg.pSender ? std::wstring(msg.pSender->GetName()) : L"-";
    entries.push_back(sender + L":" + std::wstring(msg.sType));
  }
  std::vector<std::wstring> entries;
};

inline CTreeViewUI* ThreeLevelTree(const wchar_t* attributes = nullptr) {
  CTreeViewUI* tree = new CTreeViewUI;
  tree->SetName(L"tree");
  if (attributes) tree->ApplyAttributeList(attributes);
  CTreeNodeUI* a = Node(L"a");
  CTreeNodeUI* a1 = Node(L"a1");
  CTreeNodeUI* a2 = Node(L"a2");
  a->Add(a1);
  a1->Add(Node(L"a11"));
  a1->Add(Node(L"a12"));
  a->Add(a2);
  a2->Add(Node(L"a21"));
  CTreeNodeUI* b = Node(L"b");
  b->Add(Node(L"b1"));
  tree->AddNode(a);
  tree->AddNode(b);
  return tree;
}

struct TreeWindow {
  HostWindow win;
  CTreeViewUI* tree = nullptr;
  TreeNotes notes;

  // Windows take seconds to go under Wine: the tests share this one, with
  // a fresh tree for each.
  static TreeWindow& Shared(const wchar_t* attributes = nullptr) {
    static TreeWindow* shared = new TreeWindow;
    shared->Send(WM_MOUSEMOVE, 0, Pt(299, 199));
    shared->tree = ThreeLevelTree(attributes);
    shared->win.manager.AttachRoot(shared->tree);
    shared->notes.entries.clear();
    PumpMessages();
    shared->Layout();
    return *shared;
  }
  TreeWindow() {
    win.CreateAt(40, 40, 300, 200);
    win.manager.AddNotifyReceiver(&notes);
  }
  void Layout() {
    tree->SetBounds(RECT{0, 0, 300, 200});
    ::UpdateWindow(win.GetHWND());
  }
  CTreeNodeUI* operator[](const wchar_t* name) { return Find(tree, name); }
  // The rows on show, by name.
  std::wstring Shown() {
    std::wstring out;
    for (int i = 0; i < tree->GetCount(); ++i) {
      CControlUI* row = tree->GetItemAt(i);
      if (!row->IsVisible()) continue;
      if (!out.empty()) out += L" ";
      out += row->GetName().GetData();
    }
    return out;
  }
  std::wstring Checked() {
    std::wstring out;
    for (int i = 0; i < tree->GetCount(); ++i) {
      CTreeNodeUI* node = NodeOf(tree->GetItemAt(i));
      if (!node || !node->GetCheckBox()->IsSelected()) continue;
      if (!out.empty()) out += L" ";
      out += node->GetName().GetData();
    }
    return out;
  }
  LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageW(win.GetHWND(), msg, wParam, lParam);
  }
  static POINT Middle(CControlUI* control) {
    const RECT& rc = control->GetBounds();
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
  }
  void Click(CControlUI* control) {
    Layout();
    const POINT pt = Middle(control);
    Send(WM_MOUSEMOVE, 0, Pt(pt.x, pt.y));
    Send(WM_LBUTTONDOWN, MK_LBUTTON, Pt(pt.x, pt.y));
    Send(WM_LBUTTONUP, 0, Pt(pt.x, pt.y));
  }
  // A double click on the node's text.
  void DoubleClick(CTreeNodeUI* node) {
    Layout();
    const POINT pt = Middle(node->GetItemButton());
    Send(WM_LBUTTONDOWN, MK_LBUTTON, Pt(pt.x, pt.y));
    Send(WM_LBUTTONUP, 0, Pt(pt.x, pt.y));
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, Pt(pt.x, pt.y));
    Send(WM_LBUTTONUP, 0, Pt(pt.x, pt.y));
  }
  void MoveTo(CControlUI* control) {
    const POINT pt = Middle(control);
    Send(WM_MOUSEMOVE, 0, Pt(pt.x, pt.y));
  }
};

}  // namespace treetest
