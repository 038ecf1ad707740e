// Controls that are removed while one of their own events runs a nested
// message loop (a click that opens a box, a menu or a loading window), and
// receivers that are destroyed while registered.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/uitoolkit/core/ui_test_fixtures.h"
#include "uitoolkit/controls/button.h"
#include "uitoolkit/controls/container.h"
#include "uitoolkit/controls/option.h"

using namespace uitest;

namespace {

const UINT kLoopDone = WM_APP + 40;

// Any control, telling a flag when its destructor runs.
template <class Base>
class Watched : public Base {
 public:
  explicit Watched(bool* gone) : gone_(gone) {}
  ~Watched() override { *gone_ = true; }

 private:
  bool* gone_;
};

// Runs the thread's messages until a message posted now has come back:
// everything queued before it (the deferred deletion among them) has been
// dispatched, the way a modal loop dispatches them.
void RunNestedLoop(HWND hwnd) {
  ::PostMessageW(hwnd, kLoopDone, 0, 0);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == kLoopDone) return;
    if (!CWindowManagerUI::TranslateMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
}

struct Note {
  std::wstring type;
  CControlUI* sender;
};

struct CallbackReceiver : INotifyUI {
  std::function<void(TUiNotify&)> on;
  std::vector<Note> seen;
  void Notify(TUiNotify& msg) override {
    seen.push_back(Note{msg.sType.GetData(), msg.pSender});
    if (on) on(msg);
  }
};

// A list whose one row holds the clicked control; the window is filled by
// the list, the row and the control.
struct ListWindow {
  HostWindow win;
  CContainerUI* list = new CContainerUI;
  CallbackReceiver receiver;

  ListWindow() {
    win.CreateAt(60, 60, 200, 60);
    win.manager.AttachRoot(list);
    win.manager.AddNotifyReceiver(&receiver);
  }
  ~ListWindow() { win.manager.RemoveNotifyReceiver(&receiver); }
  CContainerUI* AddRow(CControlUI* control) {
    CContainerUI* row = new CContainerUI;
    row->Add(control);
    list->Add(row);
    ::UpdateWindow(win.GetHWND());
    return row;
  }
  void Click() {
    ::PostMessageW(win.GetHWND(), WM_MOUSEMOVE, 0, Pt(100, 30));
    ::PostMessageW(win.GetHWND(), WM_LBUTTONDOWN, MK_LBUTTON, Pt(100, 30));
    ::PostMessageW(win.GetHWND(), WM_LBUTTONUP, 0, Pt(100, 30));
    PumpMessages();
  }
  int Count(const wchar_t* type, CControlUI* sender) const {
    int n = 0;
    for (const Note& note : receiver.seen)
      if (note.type == type && note.sender == sender) ++n;
    return n;
  }
};

struct ClickCase {
  const char* name;
  std::function<CControlUI*(bool* gone)> make;
  // The notification the control sends after "click" when it is not
  // removed, or none.
  const wchar_t* after_click;
};

// The click's handler replaces the list's rows and runs a nested loop: the
// clicked control must outlive the loop and its own event, then be deleted,
// and once removed it sends nothing more.
TEST(ManagerLifetime, AClickSurvivesItsRowBeingReplacedInsideItsOwnLoop) {
  const ClickCase cases[] = {
      {"button", [](bool* gone) { return new Watched<CButtonUI>(gone); }, nullptr},
      {"check box", [](bool* gone) { return new Watched<CCheckBoxUI>(gone); },
       UI_NOTIFY_SELECTCHANGED},
      {"option of a group",
       [](bool* gone) {
         auto* option = new Watched<COptionUI>(gone);
         option->ApplyAttribute(L"group", L"rows");
         return option;
       },
       UI_NOTIFY_SELECTCHANGED},
  };
  for (const ClickCase& c : cases) {
    SCOPED_TRACE(c.name);
    ListWindow t;
    bool gone = false;
    CControlUI* clicked = c.make(&gone);
    t.AddRow(clicked);
    // A selected member of the same group in the next list: the removed
    // option must not take the selection from it.
    bool other_gone = false;
    auto* other = new Watched<COptionUI>(&other_gone);
    other->ApplyAttribute(L"group", L"rows");
    bool gone_in_loop = true;
    int pending_in_loop = 0;
    t.receiver.on = [&](TUiNotify& msg) {
      if (msg.sType != UI_NOTIFY_CLICK || msg.pSender != clicked) return;
      t.list->RemoveAll();
      t.AddRow(other);
      other->SetSelected(true);
      RunNestedLoop(t.win.GetHWND());
      gone_in_loop = gone;
      pending_in_loop = t.win.manager.PendingDeletionCount();
    };
    t.Click();
    ASSERT_EQ(1, t.Count(UI_NOTIFY_CLICK, clicked));
    EXPECT_FALSE(gone_in_loop);
    EXPECT_EQ(1, pending_in_loop);
    PumpMessages();
    EXPECT_TRUE(gone);
    EXPECT_EQ(0, t.win.manager.PendingDeletionCount());
    EXPECT_EQ(0, t.win.manager.DispatchDepth());
    if (c.after_click) EXPECT_EQ(0, t.Count(c.after_click, clicked)) << "sent after removal";
    EXPECT_TRUE(static_cast<COptionUI*>(other)->IsSelected());
    EXPECT_FALSE(other_gone);
    // The window goes on working: a click on the new row reaches it.
    t.receiver.on = nullptr;
    t.Click();
    EXPECT_EQ(1, t.Count(UI_NOTIFY_CLICK, other));
  }
}

// Without the nested loop nothing waits: a removed row is deleted at the
// next deletion message as before.
TEST(ManagerLifetime, ARemovedRowIsDeletedAtTheNextDeletionMessage) {
  ListWindow t;
  bool gone = false;
  CControlUI* button = new Watched<CButtonUI>(&gone);
  CContainerUI* row = t.AddRow(button);
  t.list->Remove(row);
  EXPECT_TRUE(row->IsRemoved());
  EXPECT_TRUE(button->IsRemoved());
  EXPECT_FALSE(gone);
  PumpMessages();
  EXPECT_TRUE(gone);
}

// A page is a control and a receiver: a queued notification whose handler
// runs a loop in which the page is replaced returns into the page, which is
// then deleted and leaves the receivers.
class ReceiverPage : public CContainerUI, public INotifyUI {
 public:
  explicit ReceiverPage(bool* gone) : gone_(gone) {}
  ~ReceiverPage() override { *gone_ = true; }
  void Notify(TUiNotify& msg) override {
    ++calls;
    if (on) on(msg);
  }
  std::function<void(TUiNotify&)> on;
  int calls = 0;

 private:
  bool* gone_;
};

TEST(ManagerLifetime, AReplacedPageOutlivesItsNotifyAndLeavesTheReceivers) {
  ListWindow t;
  bool gone = false;
  ReceiverPage* page = new ReceiverPage(&gone);
  t.list->Add(page);
  t.win.manager.AddNotifyReceiver(page);
  ASSERT_EQ(2, t.win.manager.NotifyReceiverCount());
  bool gone_in_loop = true;
  page->on = [&](TUiNotify& msg) {
    if (msg.sType != L"reload") return;
    t.list->RemoveAll();
    RunNestedLoop(t.win.GetHWND());
    gone_in_loop = gone;
  };
  ASSERT_TRUE(CWindowManagerUI::PostNotifyToWindow(t.win.GetHWND(), L"reload"));
  PumpMessages();
  EXPECT_FALSE(gone_in_loop);
  PumpMessages();
  ASSERT_TRUE(gone);
  EXPECT_EQ(1, t.win.manager.NotifyReceiverCount());
  // The next notification reaches the receivers that are left.
  t.win.manager.EmitNotify(nullptr, L"after");
  EXPECT_EQ(1, t.Count(L"after", nullptr));
}

// A notification that a removed control's owner sends about it afterwards
// still arrives, without a sender.
TEST(ManagerLifetime, ARemovedSenderIsNotNamed) {
  ListWindow t;
  bool gone = false;
  CControlUI* button = new Watched<CButtonUI>(&gone);
  t.AddRow(button);
  t.list->RemoveAll();
  t.win.manager.EmitNotify(button, L"now");
  t.win.manager.EmitNotify(button, L"queued", 0, 0, true);
  PumpMessages();
  EXPECT_EQ(1, t.Count(L"now", nullptr));
  EXPECT_EQ(1, t.Count(L"queued", nullptr));
  EXPECT_TRUE(gone);
}

// Every manager lets go of a receiver that is destroyed.
TEST(ManagerLifetime, ADestroyedReceiverLeavesEveryManager) {
  HostWindow one, two;
  one.CreateAt(10, 10, 50, 50);
  two.CreateAt(70, 10, 50, 50);
  CallbackReceiver* doomed = new CallbackReceiver;
  CallbackReceiver kept;
  one.manager.AddNotifyReceiver(doomed);
  one.manager.AddNotifyReceiver(&kept);
  two.manager.AddNotifyReceiver(doomed);
  delete doomed;
  EXPECT_EQ(1, one.manager.NotifyReceiverCount());
  EXPECT_EQ(0, two.manager.NotifyReceiverCount());
  one.manager.EmitNotify(nullptr, L"after");
  two.manager.EmitNotify(nullptr, L"after");
  ASSERT_EQ(1u, kept.seen.size());
  one.manager.RemoveNotifyReceiver(&kept);
}

}  // namespace
