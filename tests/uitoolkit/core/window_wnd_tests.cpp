#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "tests/uitoolkit/core/ui_test_fixtures.h"
#include "uitoolkit/core/window_wnd.h"

using namespace uitest;

namespace {

const UINT kRecordOwner = WM_APP + 50;
const UINT kSendClose = WM_APP + 51;

class ModalWindow : public CWindowWnd {
 public:
  HWND owner = nullptr;
  int ownerEnabledDuringLoop = -1;
  const wchar_t* WindowClassName() const override { return L"UiTestModal"; }
  LRESULT ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == kRecordOwner) ownerEnabledDuringLoop = ::IsWindowEnabled(owner) ? 1 : 0;
    if (msg == kSendClose) ::SendMessageW(m_hwnd, WM_CLOSE, 9, 0);
    return CWindowWnd::ProcessMessage(msg, wParam, lParam);
  }
};

struct ModalCase {
  const char* name;
  void (*prepare)(ModalWindow& modal);
  int expected;
  int quitPosted;  // -1: none expected
};

TEST(WindowWnd, RunModalResults) {
  ModalCase cases[] = {
      {"posted close 7", [](ModalWindow& w) { ::PostMessageW(w.GetHWND(), WM_CLOSE, 7, 0); }, 7,
       -1},
      {"PostClose gives 1",
       [](ModalWindow& w) {
         ::PostMessageW(w.GetHWND(), kRecordOwner, 0, 0);
         w.PostClose();
       },
       1, -1},
      {"sent close keeps 0",
       [](ModalWindow& w) { ::PostMessageW(w.GetHWND(), kSendClose, 0, 0); }, 0, -1},
      {"quit ends the loop", [](ModalWindow&) { ::PostQuitMessage(5); }, 0, 5},
  };
  for (const ModalCase& c : cases) {
    HostWindow owner;
    ASSERT_TRUE(owner.CreateAt(100, 100, 300, 200));
    ModalWindow modal;
    modal.owner = owner.GetHWND();
    ASSERT_TRUE(modal.Create(owner.GetHWND(), L"modal", WS_POPUP, 0, 120, 120, 100, 80));
    c.prepare(modal);
    EXPECT_EQ(c.expected, modal.RunModal()) << c.name;
    EXPECT_TRUE(::IsWindowEnabled(owner.GetHWND())) << c.name;
    if (modal.ownerEnabledDuringLoop >= 0) {
      EXPECT_EQ(0, modal.ownerEnabledDuringLoop) << c.name;
    }
    MSG msg;
    bool quit = ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
    EXPECT_EQ(c.quitPosted >= 0, quit) << c.name;
    if (quit) {
      EXPECT_EQ(static_cast<WPARAM>(c.quitPosted), msg.wParam) << c.name;
    }
    if (c.quitPosted >= 0) {
      EXPECT_TRUE(::IsWindow(modal.GetHWND())) << "a quit leaves the window alive";
      ::DestroyWindow(modal.GetHWND());
    } else {
      EXPECT_EQ(nullptr, modal.GetHWND()) << c.name;
    }
  }
}

// Runs `step` once from whatever message loop runs `delay_ms` from now.
std::map<UINT_PTR, std::function<void()>>& LaterSteps() {
  static std::map<UINT_PTR, std::function<void()>> steps;
  return steps;
}
void CALLBACK LaterTimer(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  auto it = LaterSteps().find(id);
  if (it == LaterSteps().end()) return;
  std::function<void()> step = std::move(it->second);
  LaterSteps().erase(it);
  step();
}
UINT_PTR RunLater(DWORD delay_ms, std::function<void()> step) {
  UINT_PTR id = ::SetTimer(nullptr, 0, delay_ms, &LaterTimer);
  LaterSteps()[id] = std::move(step);
  return id;
}
void CancelLater(UINT_PTR id) {
  ::KillTimer(nullptr, id);
  LaterSteps().erase(id);
}

// Escape as the keyboard sends it: to the focused window of the foreground.
void PressEscapeOnTheKeyboard() {
  INPUT keys[2] = {};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = VK_ESCAPE;
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, keys, sizeof(INPUT));
}

class KeyModal : public CWindowWnd {
 public:
  int escapes = 0;
  const wchar_t* WindowClassName() const override { return L"UiTestKeyModal"; }
  LRESULT ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_KEYDOWN && wParam == VK_ESCAPE) {
      ++escapes;
      PostClose();
    }
    return CWindowWnd::ProcessMessage(msg, wParam, lParam);
  }
};

// The keyboard follows a modal window: it becomes the foreground window
// with the focus although another window had both, so keys pressed on the
// keyboard reach it, a nested one first; running loops are counted.
TEST(WindowWnd, RunModalTakesTheKeyboardAndIsCounted) {
  for (bool created_visible : {true, false}) {
    SCOPED_TRACE(created_visible ? "created visible" : "created hidden");
    HostWindow owner, elsewhere;
    ASSERT_TRUE(owner.CreateAt(100, 100, 300, 200));
    ASSERT_TRUE(elsewhere.CreateAt(500, 100, 100, 100));
    ::SetForegroundWindow(elsewhere.GetHWND());
    ::SetFocus(elsewhere.GetHWND());
    ASSERT_EQ(elsewhere.GetHWND(), ::GetFocus());
    KeyModal modal, inner;
    ASSERT_TRUE(modal.Create(owner.GetHWND(), L"modal", WS_POPUP | (created_visible ? WS_VISIBLE : 0),
                             0, 120, 120, 100, 80));
    ASSERT_TRUE(inner.Create(modal.GetHWND(), L"inner", WS_POPUP, 0, 140, 140, 60, 40));
    const HWND outer_hwnd = modal.GetHWND(), inner_hwnd = inner.GetHWND();
    EXPECT_EQ(0, CWindowWnd::OpenModalCount());
    HWND outer_focus = nullptr, outer_foreground = nullptr, inner_focus = nullptr;
    int outer_count = -1, inner_count = -1, after_inner = -1;
    RunLater(50, [&] {
      outer_focus = ::GetFocus();
      outer_foreground = ::GetForegroundWindow();
      outer_count = CWindowWnd::OpenModalCount();
      RunLater(50, [&] {
        inner_focus = ::GetFocus();
        inner_count = CWindowWnd::OpenModalCount();
        PressEscapeOnTheKeyboard();
      });
      inner.RunModal();
      after_inner = CWindowWnd::OpenModalCount();
      PressEscapeOnTheKeyboard();
    });
    // A loop that the keys never end is ended here, and the test fails.
    const UINT_PTR give_up = RunLater(10000, [&] {
      if (::IsWindow(inner_hwnd)) ::DestroyWindow(inner_hwnd);
      if (::IsWindow(outer_hwnd)) ::DestroyWindow(outer_hwnd);
    });
    modal.RunModal();
    CancelLater(give_up);
    EXPECT_EQ(outer_hwnd, outer_focus);
    EXPECT_EQ(outer_hwnd, outer_foreground);
    EXPECT_EQ(inner_hwnd, inner_focus);
    EXPECT_EQ(1, outer_count);
    EXPECT_EQ(2, inner_count);
    EXPECT_EQ(1, after_inner);
    EXPECT_EQ(0, CWindowWnd::OpenModalCount());
    EXPECT_EQ(1, inner.escapes);
    EXPECT_EQ(1, modal.escapes);
  }
}

TEST(WindowWnd, CenteredOriginTable) {
  RECT work = {0, 0, 1280, 1000};
  struct Case {
    RECT window, centre;
    POINT expected;
  } cases[] = {
      {{0, 0, 200, 100}, {0, 0, 1280, 1000}, {540, 450}},      // on the work area
      {{0, 0, 200, 100}, {100, 100, 500, 300}, {200, 150}},    // on an owner
      {{0, 0, 400, 100}, {1100, 100, 1280, 300}, {880, 150}},  // pushed left
      {{0, 0, 400, 300}, {-300, -300, 0, 0}, {0, 0}},          // pushed right and down
      {{0, 0, 201, 101}, {0, 0, 11, 11}, {0, 0}},
      {{0, 0, 100, 600}, {0, 800, 100, 1000}, {0, 400}},       // pushed up
  };
  for (const Case& c : cases) {
    POINT pt = CenteredOrigin(c.window, c.centre, work);
    EXPECT_EQ(c.expected.x, pt.x);
    EXPECT_EQ(c.expected.y, pt.y);
  }
}

TEST(WindowWnd, CenterOnOwnerAndWorkArea) {
  RECT work;
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  HostWindow alone;
  ASSERT_TRUE(alone.CreateAt(0, 0, 200, 100));
  alone.CenterOnOwner();
  RECT rc;
  ::GetWindowRect(alone.GetHWND(), &rc);
  EXPECT_EQ((work.left + work.right) / 2 - 100, rc.left);
  EXPECT_EQ((work.top + work.bottom) / 2 - 50, rc.top);

  // An owner at the right edge: the window is pushed back inside.
  HostWindow owner;
  ASSERT_TRUE(owner.CreateAt(work.right - 100, 200, 100, 100));
  HostWindow child;
  ASSERT_TRUE(child.CreateAt(0, 0, 300, 100, owner.GetHWND()));
  child.CenterOnOwner();
  ::GetWindowRect(child.GetHWND(), &rc);
  EXPECT_EQ(work.right, rc.right);
  EXPECT_EQ(200, rc.top);
}

class EditSuperclass : public CWindowWnd {
 public:
  int messages = 0;
  bool gone = false;
  const wchar_t* WindowClassName() const override { return L"UiTestEdit"; }
  const wchar_t* BaseClassName() const override { return L"EDIT"; }
  LRESULT ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    ++messages;
    return CWindowWnd::ProcessMessage(msg, wParam, lParam);
  }
  void OnWindowGone(HWND) override { gone = true; }
};

TEST(WindowWnd, RegistrationAndSuperclass) {
  HostWindow a, b;  // the same own class registered twice
  EXPECT_TRUE(a.CreateAt(0, 0, 10, 10));
  EXPECT_TRUE(b.CreateAt(0, 0, 10, 10));
  EditSuperclass edit;
  ASSERT_TRUE(edit.Create(nullptr, L"", WS_POPUP, 0, 0, 0, 100, 20));
  ::SetWindowTextW(edit.GetHWND(), L"typed");
  wchar_t buf[32] = {};
  ::GetWindowTextW(edit.GetHWND(), buf, 32);
  EXPECT_STREQ(L"typed", buf);  // the system procedure did the work
  EXPECT_GT(edit.messages, 0);
  HWND hwnd = edit.GetHWND();
  ::DestroyWindow(hwnd);
  EXPECT_TRUE(edit.gone);
  EXPECT_EQ(nullptr, edit.GetHWND());
  EXPECT_EQ(nullptr, ::GetPropW(hwnd, L"WndX"));
}

}  // namespace
