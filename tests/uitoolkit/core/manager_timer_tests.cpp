#include <gtest/gtest.h>

#include "tests/uitoolkit/core/ui_test_fixtures.h"

using namespace uitest;

namespace {

TEST(ManagerTimers, StartStopRestart) {
  HostWindow win;
  ASSERT_TRUE(win.CreateAt(0, 0, 100, 100, nullptr, false));
  CWindowManagerUI& m = win.manager;
  CControlUI a, b;
  EXPECT_TRUE(m.StartTimer(&a, 1, 1000));
  EXPECT_EQ(17u, m.TimerWin32Id(&a, 1));  // (4096 + 1) mod 255
  EXPECT_FALSE(m.StartTimer(&a, 1, 50));   // running: refused
  EXPECT_TRUE(m.StartTimer(&a, 2, 1000));
  EXPECT_EQ(18u, m.TimerWin32Id(&a, 2));
  EXPECT_TRUE(m.StopTimer(&a, 1));
  EXPECT_FALSE(m.StopTimer(&a, 1));  // already stopped
  EXPECT_FALSE(m.StopTimer(&b, 1));  // never started
  EXPECT_TRUE(m.StartTimer(&a, 1, 10));  // restarted under the same id
  EXPECT_EQ(17u, m.TimerWin32Id(&a, 1));
  EXPECT_TRUE(m.StartTimer(&b, 1, 1000));
  EXPECT_EQ(19u, m.TimerWin32Id(&b, 1));
  m.StopTimers(&a);
  EXPECT_EQ(0u, m.TimerWin32Id(&a, 1));
  EXPECT_EQ(19u, m.TimerWin32Id(&b, 1));
  m.ClearTimers();
  EXPECT_EQ(0u, m.TimerWin32Id(&b, 1));
}

TEST(ManagerTimers, IdsWrapAndSkipHeldIds) {
  HostWindow win;
  ASSERT_TRUE(win.CreateAt(0, 0, 100, 100, nullptr, false));
  CWindowManagerUI& m = win.manager;
  CControlUI c;
  struct Check {
    UINT nth, id;
  } checks[] = {{1, 17}, {238, 254}, {239, 0}, {240, 1}, {255, 16}};
  UINT n = 0;
  for (const Check& k : checks) {
    while (n < k.nth) ASSERT_TRUE(m.StartTimer(&c, ++n, 100000)) << n;
    EXPECT_EQ(k.id, m.TimerWin32Id(&c, k.nth)) << k.nth;
  }
  // All 255 ids are held (stopped records keep theirs): no id is handed out
  // twice, so a further timer is refused.
  EXPECT_TRUE(m.StopTimer(&c, 5));
  EXPECT_FALSE(m.StartTimer(&c, 1000, 100));
  // Once a control's records are gone their ids are free again.
  CControlUI d;
  m.StopTimers(&c);
  EXPECT_TRUE(m.StartTimer(&d, 1, 100000));
  EXPECT_TRUE(m.StartTimer(&d, 2, 100000));
  EXPECT_NE(m.TimerWin32Id(&d, 1), m.TimerWin32Id(&d, 2));
}

TEST(ManagerTimers, IdsAfterWrapNeverCollide) {
  HostWindow win;
  ASSERT_TRUE(win.CreateAt(0, 0, 100, 100, nullptr, false));
  CWindowManagerUI& m = win.manager;
  CControlUI keeper, churn;
  ASSERT_TRUE(m.StartTimer(&keeper, 7, 100000));  // holds id 17 all along
  for (UINT i = 0; i < 300; ++i) {
    ASSERT_TRUE(m.StartTimer(&churn, i, 100000));
    EXPECT_NE(17u, m.TimerWin32Id(&churn, i)) << i;
    m.StopTimers(&churn);
  }
  EXPECT_EQ(17u, m.TimerWin32Id(&keeper, 7));
}

class TickingControl : public CControlUI {
 public:
  int ticks = 0;
  UINT lastId = 0;
  void OnEvent(TUiEvent& event) override {
    if (event.Type == UIEVENT_TIMER) {
      ++ticks;
      lastId = static_cast<UINT>(event.wParam);
    }
    CControlUI::OnEvent(event);
  }
};

TEST(ManagerTimers, TicksReachTheControlAndNotify) {
  HostWindow win;
  ASSERT_TRUE(win.CreateAt(0, 0, 100, 100, nullptr, false));
  TickingControl* t = new TickingControl;
  win.manager.AttachRoot(t);
  struct R : INotifyUI {
    int timers = 0;
    WPARAM id = 0;
    void Notify(TUiNotify& msg) override {
      if (msg.sType == L"timer") {
        ++timers;
        id = msg.wParam;
      }
    }
  } r;
  win.manager.AddNotifyReceiver(&r);
  ASSERT_TRUE(win.manager.StartTimer(t, 42, 10));
  DWORD start = ::GetTickCount();
  while (t->ticks < 2 && ::GetTickCount() - start < 30000) {
    PumpMessages();
    ::Sleep(5);
  }
  EXPECT_GE(t->ticks, 2);
  EXPECT_EQ(42u, t->lastId);
  EXPECT_GE(r.timers, 2);
  EXPECT_EQ(42u, r.id);
  // A stopped timer delivers no more ticks.
  win.manager.StopTimer(t, 42);
  PumpMessages();
  int after = t->ticks;
  ::Sleep(50);
  PumpMessages();
  EXPECT_EQ(after, t->ticks);
}

TEST(ManagerTimers, NoWindowNoTimer) {
  CWindowManagerUI m;
  CControlUI c;
  EXPECT_FALSE(m.StartTimer(&c, 1, 10));
  EXPECT_EQ(0u, m.TimerWin32Id(&c, 1));
  MSG msg;
  ::Sleep(30);
  EXPECT_FALSE(::PeekMessageW(&msg, reinterpret_cast<HWND>(-1), WM_TIMER, WM_TIMER, PM_NOREMOVE));
}

int g_deleted = 0;
class CountedControl : public CControlUI {
 public:
  CWindowManagerUI* chain = nullptr;
  CControlUI* next = nullptr;
  ~CountedControl() override {
    ++g_deleted;
    // A destructor that hands another control over while the list is
    // being deleted.
    if (chain && next) chain->DeleteLater(next);
  }
};

TEST(ManagerDeferredDeletion, WaitsForItsMessage) {
  HostWindow win;
  ASSERT_TRUE(win.CreateAt(0, 0, 100, 100, nullptr, false));
  g_deleted = 0;
  CountedControl* first = new CountedControl;
  CountedControl* second = new CountedControl;
  first->chain = &win.manager;
  first->next = second;
  win.manager.DeleteLater(first);
  EXPECT_EQ(0, g_deleted);
  EXPECT_EQ(1, win.manager.PendingDeletionCount());
  EXPECT_EQ(&win.manager, first->GetManager());
  EXPECT_EQ(nullptr, first->GetParent());
  PumpMessages();
  EXPECT_EQ(2, g_deleted);
  EXPECT_EQ(0, win.manager.PendingDeletionCount());
}

TEST(ManagerDeferredDeletion, ManagerEndDeletesWaitingControls) {
  g_deleted = 0;
  {
    CWindowManagerUI m;
    m.DeleteLater(new CountedControl);
    m.AttachRoot(new CountedControl);
    m.AttachRoot(new CountedControl);  // the old root waits for deletion
    EXPECT_EQ(2, m.PendingDeletionCount());
  }
  EXPECT_EQ(3, g_deleted);
}

}  // namespace
