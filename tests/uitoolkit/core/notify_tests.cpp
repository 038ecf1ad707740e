#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "tests/uitoolkit/core/ui_test_fixtures.h"
#include "uitoolkit/core/notify_pump.h"

using namespace uitest;

namespace {

class BasePump : public CNotifyPump {
 public:
  std::wstring log;
  void OnBaseFocus(TUiNotify&) { log += L"base-setfocus;"; }
  UI_DECLARE_MESSAGE_MAP()
};

UI_BEGIN_MESSAGE_MAP(BasePump, CNotifyPump)
UI_ON_NOTIFY(L"setfocus", L"", OnBaseFocus)
UI_END_MESSAGE_MAP()

class SecondBase {
 public:
  virtual ~SecondBase() {}
  int pad = 42;
};

// A second base before the pump makes the handler calls need an adjustment.
class DerivedPump : public SecondBase, public BasePump {
 public:
  void OnAnyA(TUiNotify&) { log += L"anyA;"; }
  void OnNamed(TUiNotify&) { log += L"named;"; }
  void OnAnyC(TUiNotify&) { log += L"anyC;"; }
  void OnWL(WPARAM w, LPARAM l) {
    log += L"wl" + std::to_wstring(w) + L"," + std::to_wstring(l) + L";" +
           std::to_wstring(pad) + L";";
  }
  UI_DECLARE_MESSAGE_MAP()
};

UI_BEGIN_MESSAGE_MAP(DerivedPump, BasePump)
UI_ON_NOTIFY(L"click", L"", OnAnyA)
UI_ON_NOTIFY(L"click", L"btn", OnNamed)
UI_ON_NOTIFY(L"click", L"", OnAnyC)
UI_ON_NOTIFY_WL(L"progress", L"", OnWL)
UI_END_MESSAGE_MAP()

class VirtualPump : public CNotifyPump {
 public:
  std::wstring log;
  void OnClick(TUiNotify&) { log += L"virtual-click;"; }
  UI_DECLARE_MESSAGE_MAP()
};

UI_BEGIN_MESSAGE_MAP(VirtualPump, CNotifyPump)
UI_ON_NOTIFY(L"click", L"", OnClick)
UI_END_MESSAGE_MAP()

TEST(NotifyPump, MessageMapLookup) {
  CControlUI btn, other;
  btn.SetName(L"btn");
  other.SetName(L"Btn");  // names compare exactly
  struct Case {
    const wchar_t* type;
    CControlUI* sender;
    const wchar_t* vwnd;
    const wchar_t* expected;
  } cases[] = {
      {L"click", &btn, L"", L"named;"},
      {L"click", &other, L"", L"anyC;"},
      {L"click", nullptr, L"", L"anyC;"},
      {L"Click", &btn, L"", L""},
      {L"setfocus", &btn, L"", L"base-setfocus;"},
      {L"progress", nullptr, L"", L"wl3,4;42;"},
      {L"unknown", &btn, L"", L""},
      {L"click", &btn, L"PAGE", L""},  // goes to the virtual window's pump
      {L"setfocus", &btn, L"page", L"base-setfocus;"},  // not there: own chain
  };
  for (const Case& c : cases) {
    DerivedPump pump;
    VirtualPump page;
    ASSERT_TRUE(pump.AddVirtualWindow(L"page", &page));
    TUiNotify msg;
    msg.sType = c.type;
    msg.pSender = c.sender;
    msg.sVirtualWnd = c.vwnd;
    msg.wParam = 3;
    msg.lParam = 4;
    pump.DispatchNotify(msg);
    EXPECT_EQ(std::wstring(c.expected), pump.log) << c.type;
    if (c.vwnd[0] && msg.sType == L"click") {
      EXPECT_EQ(std::wstring(L"virtual-click;"), page.log);
    }
  }
  // A pump class without its own map uses its base's.
  class Plain : public BasePump {};
  Plain plain;
  TUiNotify msg;
  msg.sType = L"setfocus";
  plain.DispatchNotify(msg);
  EXPECT_EQ(std::wstring(L"base-setfocus;"), plain.log);
}

class Receiver : public INotifyUI {
 public:
  std::vector<std::wstring> got;
  std::vector<CControlUI*> senders;
  std::function<void(TUiNotify&)> hook;
  void Notify(TUiNotify& msg) override {
    got.push_back(msg.sType.GetData());
    senders.push_back(msg.pSender);
    if (hook) hook(msg);
  }
};

bool g_delegateSaw = false;
bool StopDelegate(void*) {
  g_delegateSaw = true;
  return false;
}

TEST(Notifications, SyncQueuedAndDrainOrder) {
  HostWindow win;
  ASSERT_TRUE(win.CreateAt(0, 0, 200, 100));
  CWindowManagerUI& m = win.manager;
  Receiver r;
  m.AddNotifyReceiver(&r);
  CControlUI* sender = new CControlUI;
  sender->SetName(L"s");
  m.AttachRoot(sender);
  sender->OnNotifyDelegates += MakeDelegate(&StopDelegate);

  m.EmitNotify(sender, L"now", 1, 2);
  ASSERT_EQ(1u, r.got.size());  // synchronous
  EXPECT_TRUE(g_delegateSaw);   // the delegate's false does not stop receivers

  // A queued notification waits for the next window message; one queued
  // while it is delivered arrives in the same drain, after it.
  r.hook = [&](TUiNotify& msg) {
    if (msg.sType == L"first") m.EmitNotify(nullptr, L"second", 0, 0, true);
  };
  m.EmitNotify(sender, L"first", 0, 0, true);
  EXPECT_EQ(1u, r.got.size());
  EXPECT_EQ(1, m.QueuedNotifyCount());
  ::SendMessageW(win.GetHWND(), WM_NULL, 0, 0);
  ASSERT_EQ(3u, r.got.size());
  EXPECT_EQ(std::wstring(L"first"), r.got[1]);
  EXPECT_EQ(std::wstring(L"second"), r.got[2]);
  EXPECT_EQ(0, m.QueuedNotifyCount());
}

TEST(Notifications, DeletedSenderArrivesAsNone) {
  HostWindow win;
  ASSERT_TRUE(win.CreateAt(0, 0, 200, 100));
  Receiver r;
  win.manager.AddNotifyReceiver(&r);
  TestPanel* root = new TestPanel;
  win.manager.AttachRoot(root);
  CControlUI* child = new CControlUI;
  root->Add(child);
  win.manager.EmitNotify(child, L"late", 0, 0, true);
  root->children.clear();
  delete child;
  ::SendMessageW(win.GetHWND(), WM_NULL, 0, 0);
  ASSERT_EQ(1u, r.got.size());
  EXPECT_EQ(nullptr, r.senders[0]);
}

TEST(Notifications, ReceiversChangedDuringDelivery) {
  HostWindow win;
  ASSERT_TRUE(win.CreateAt(0, 0, 200, 100));
  CWindowManagerUI& m = win.manager;
  Receiver first, added, removed, last;
  first.hook = [&](TUiNotify&) {
    m.AddNotifyReceiver(&added);  // like a page switched in by a click
    m.RemoveNotifyReceiver(&removed);
  };
  m.AddNotifyReceiver(&first);
  m.AddNotifyReceiver(&removed);
  m.AddNotifyReceiver(&last);
  m.EmitNotify(nullptr, L"switch");
  EXPECT_EQ(1u, first.got.size());
  EXPECT_EQ(1u, added.got.size());  // reached in the same delivery
  EXPECT_EQ(1u, last.got.size());
  EXPECT_EQ(0u, removed.got.size());
  // A receiver that removes itself does not make the next one miss out.
  Receiver self_remover, after;
  HostWindow win2;
  ASSERT_TRUE(win2.CreateAt(0, 0, 200, 100));
  self_remover.hook = [&](TUiNotify&) { win2.manager.RemoveNotifyReceiver(&self_remover); };
  win2.manager.AddNotifyReceiver(&self_remover);
  win2.manager.AddNotifyReceiver(&after);
  win2.manager.EmitNotify(nullptr, L"x", 0, 0, true);
  ::SendMessageW(win2.GetHWND(), WM_NULL, 0, 0);
  EXPECT_EQ(1u, self_remover.got.size());
  EXPECT_EQ(1u, after.got.size());  // not skipped when the list shifted
  win2.manager.EmitNotify(nullptr, L"y");
  EXPECT_EQ(1u, self_remover.got.size());
  EXPECT_EQ(2u, after.got.size());
}

TEST(Notifications, QueuedFromAnotherThread) {
  HostWindow win;
  ASSERT_TRUE(win.CreateAt(0, 0, 200, 100));
  Receiver r;
  win.manager.AddNotifyReceiver(&r);
  HWND hwnd = win.GetHWND();
  DWORD ui_thread = ::GetCurrentThreadId();
  DWORD seen_thread = 0;
  r.hook = [&](TUiNotify&) { seen_thread = ::GetCurrentThreadId(); };
  bool posted = false;
  std::thread worker([&] { posted = CWindowManagerUI::PostNotifyToWindow(hwnd, L"on_task_complete", 11, 22); });
  worker.join();
  EXPECT_TRUE(posted);
  EXPECT_EQ(0u, r.got.size());
  PumpMessages();
  ASSERT_EQ(1u, r.got.size());
  EXPECT_EQ(std::wstring(L"on_task_complete"), r.got[0]);
  EXPECT_EQ(ui_thread, seen_thread);
  EXPECT_FALSE(CWindowManagerUI::PostNotifyToWindow(nullptr, L"x"));
}

}  // namespace
