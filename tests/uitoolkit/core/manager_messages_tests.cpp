#include <gtest/gtest.h>

#include "tests/uitoolkit/core/ui_test_fixtures.h"

using namespace uitest;

namespace {


struct Receiver : INotifyUI {
  std::vector<std::wstring> got;
  std::vector<std::wstring> vwnds;
  void Notify(TUiNotify& msg) override {
    got.push_back(msg.sType.GetData());
    vwnds.push_back(msg.sVirtualWnd.GetData());
  }
};

TEST(ManagerMessages, HoverShowsTheToolTip) {
  ThreeControlWindow t;
  t.b->SetToolTip(L"line one<n>line two");
  t.Send(WM_MOUSEMOVE, 0, Pt(150, 50));
  t.log.clear();
  t.Send(WM_MOUSEHOVER, 0, Pt(150, 50));
  ASSERT_EQ(1u, t.log.size());
  EXPECT_EQ(std::wstring(L"B:12"), t.log[0]);
  HWND tip = nullptr;
  for (HWND w = ::FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); w;
       w = ::FindWindowExW(nullptr, w, TOOLTIPS_CLASSW, nullptr))
    if (::GetWindow(w, GW_OWNER) == t.win.GetHWND()) tip = w;
  ASSERT_NE(nullptr, tip);
  EXPECT_EQ(1, ::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0));
  TOOLINFOW ti = {};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  ti.hwnd = t.win.GetHWND();
  ti.uId = reinterpret_cast<UINT_PTR>(t.win.GetHWND());
  wchar_t text[64] = {};
  ti.lpszText = text;
  ::SendMessageW(tip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&ti));
  EXPECT_STREQ(L"line one\r\nline two", text);
  EXPECT_EQ(300, ::SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0));
  // Nothing under the point: not handled, no hover event.
  t.log.clear();
  t.b->SetVisible(false);
  t.Send(WM_MOUSEHOVER, 0, Pt(150, 50));
  EXPECT_TRUE(t.log.empty());
}

HWND ToolTipOf(HWND owner) {
  for (HWND w = ::FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); w;
       w = ::FindWindowExW(nullptr, w, TOOLTIPS_CLASSW, nullptr))
    if (::GetWindow(w, GW_OWNER) == owner) return w;
  return nullptr;
}

// A click that opens a menu leaves the pointer on its control: the tip
// that shows there must neither stay over the menu nor take its click.
TEST(ManagerMessages, APressHidesTheTipUntilThePointerLeavesAndATipTakesNoClick) {
  ThreeControlWindow t;
  t.b->SetToolTip(L"menu");
  t.Send(WM_MOUSEMOVE, 0, Pt(150, 50));
  t.Send(WM_MOUSEHOVER, 0, Pt(150, 50));
  HWND tip = ToolTipOf(t.win.GetHWND());
  ASSERT_NE(nullptr, tip);
  ASSERT_TRUE(::IsWindowVisible(tip));

  // Whatever lies under the tip gets the click, not the tip.
  RECT at;
  ::GetWindowRect(tip, &at);
  POINT middle = {(at.left + at.right) / 2, (at.top + at.bottom) / 2};
  EXPECT_NE(tip, ::WindowFromPoint(middle));
  EXPECT_EQ(HTTRANSPARENT, ::SendMessageW(tip, WM_NCHITTEST, 0, MAKELPARAM(middle.x, middle.y)));

  for (UINT press : {WM_LBUTTONDOWN, WM_RBUTTONDOWN}) {
    t.Send(press, press == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON, Pt(150, 50));
    EXPECT_FALSE(::IsWindowVisible(tip)) << press;
    t.Send(press + 1, 0, Pt(150, 50));  // the matching button up
    // Resting on the pressed control shows no tip again.
    t.Send(WM_MOUSEMOVE, 0, Pt(151, 50));
    t.Send(WM_MOUSEHOVER, 0, Pt(151, 50));
    EXPECT_FALSE(::IsWindowVisible(tip)) << press;
    // Once the pointer has been elsewhere, the tip comes back.
    t.Send(WM_MOUSEMOVE, 0, Pt(50, 50));
    t.Send(WM_MOUSEMOVE, 0, Pt(150, 50));
    t.Send(WM_MOUSEHOVER, 0, Pt(150, 50));
    EXPECT_TRUE(::IsWindowVisible(tip)) << press;
  }
}

TEST(ManagerMessages, ContextMenuCursorAndClose) {
  ThreeControlWindow t;
  Receiver r;
  t.win.manager.AddNotifyReceiver(&r);
  t.c->SetContextMenuEnabled(true);
  t.Send(WM_RBUTTONDOWN, MK_RBUTTON, Pt(250, 10));
  EXPECT_EQ(t.c, t.win.manager.GetCaptureControl());
  POINT screen = {250, 10};
  ::ClientToScreen(t.win.GetHWND(), &screen);
  r.got.clear();
  t.Send(WM_CONTEXTMENU, 0, MAKELPARAM(screen.x, screen.y));
  EXPECT_EQ(static_cast<LPARAM>(reinterpret_cast<INT_PTR>(t.c)), t.c->last.lParam);
  ASSERT_FALSE(r.got.empty());
  EXPECT_EQ(std::wstring(L"menu"), r.got.back());
  EXPECT_EQ(nullptr, t.win.manager.GetCaptureControl());

  // Set-cursor events only for controls that ask for them.
  ::SetCursorPos(screen.x - 100, screen.y);  // over B
  t.log.clear();
  t.Send(WM_SETCURSOR, 0, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  ASSERT_FALSE(t.log.empty());
  EXPECT_EQ(std::wstring(L"B:23"), t.log[0]);

  // Closing ends hover and capture and drops the focus.
  t.Send(WM_MOUSEMOVE, 0, Pt(10, 10));
  t.Send(WM_LBUTTONDOWN, MK_LBUTTON, Pt(10, 10));
  t.log.clear();
  t.Send(WM_CLOSE, 0, 0);  // the host passes it on: the window is destroyed
  std::vector<std::wstring> expected = {L"A:10", L"A:14", L"A:20"};
  EXPECT_EQ(expected, t.log);
  EXPECT_EQ(nullptr, t.win.manager.GetFocusControl());
}

TEST(ManagerMessages, MinMaxInfoAndFilters) {
  ThreeControlWindow t;
  t.win.manager.SetMinInfo(SIZE{120, 0});
  t.win.manager.SetMaxInfo(SIZE{0, 400});
  MINMAXINFO info = {};
  info.ptMinTrackSize.y = 7;
  info.ptMaxTrackSize.x = 9;
  t.Send(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(120, info.ptMinTrackSize.x);
  EXPECT_EQ(7, info.ptMinTrackSize.y);
  EXPECT_EQ(9, info.ptMaxTrackSize.x);
  EXPECT_EQ(400, info.ptMaxTrackSize.y);

  // Message filters run in order; the first that handles ends it. One that
  // removes itself does not make the next miss the message.
  struct Filter : IMessageFilterUI {
    Filter(CWindowManagerUI* m, bool handle, bool remove_self)
        : m(m), handle(handle), remove_self(remove_self) {}
    CWindowManagerUI* m;
    bool handle, remove_self;
    int seen = 0;
    LRESULT FilterMessage(UINT msg, WPARAM, LPARAM, bool& handled) override {
      if (msg != WM_APP + 9) return 0;
      ++seen;
      if (remove_self) m->RemoveWindowMessageFilter(this);
      handled = handle;
      return 77;
    }
  };
  Filter first(&t.win.manager, false, true), second(&t.win.manager, true, false),
      third(&t.win.manager, true, false);
  t.win.manager.AddWindowMessageFilter(&first);
  t.win.manager.AddWindowMessageFilter(&second);
  t.win.manager.AddWindowMessageFilter(&third);
  EXPECT_EQ(77, t.Send(WM_APP + 9, 0, 0));
  EXPECT_EQ(1, first.seen);
  EXPECT_EQ(1, second.seen);
  EXPECT_EQ(0, third.seen);
  t.Send(WM_APP + 9, 0, 0);
  EXPECT_EQ(1, first.seen);
  EXPECT_EQ(2, second.seen);
}

TEST(ManagerMessages, ChildWindowKeysAndTranslators) {
  ThreeControlWindow t;
  HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20,
                                t.win.GetHWND(), nullptr, nullptr, nullptr);
  ASSERT_TRUE(edit);
  t.a->SetFocus();
  MSG tab = {edit, WM_KEYDOWN, VK_TAB, 0};
  EXPECT_TRUE(CWindowManagerUI::TranslateMessage(&tab));  // the window's manager took it
  EXPECT_EQ(t.b, t.win.manager.GetFocusControl());
  MSG other = {edit, WM_KEYDOWN, 'A', 0};
  EXPECT_FALSE(CWindowManagerUI::TranslateMessage(&other));

  struct Translator : ITranslateAccelerator {
    int seen = 0;
    LRESULT TranslateKeyMessage(MSG* msg) override {
      ++seen;
      return msg->wParam == 'Z' ? 0 : 1;
    }
  } translator;
  t.win.manager.AddKeyTranslator(&translator);
  MSG z = {edit, WM_KEYDOWN, 'Z', 0};
  EXPECT_TRUE(CWindowManagerUI::TranslateMessage(&z));
  EXPECT_FALSE(CWindowManagerUI::TranslateMessage(&other));
  EXPECT_EQ(2, translator.seen);
  t.win.manager.RemoveKeyTranslator(&translator);
  // A window no manager knows is not taken.
  struct Stranger : CWindowWnd {
    const wchar_t* WindowClassName() const override { return L"UiTestStranger"; }
  } stranger;
  ASSERT_TRUE(stranger.Create(nullptr, L"", WS_POPUP, 0, 0, 0, 10, 10));
  MSG foreign = {stranger.GetHWND(), WM_KEYDOWN, VK_TAB, 0};
  EXPECT_FALSE(CWindowManagerUI::TranslateMessage(&foreign));
  ::DestroyWindow(stranger.GetHWND());
}

TEST(ManagerMessages, FocusOnNextPaint) {
  ThreeControlWindow t;
  t.a->SetFocus();
  t.log.clear();
  t.win.manager.FocusOnNextPaint(t.c);
  // Parked on the tab stop before C without events; A lost the focus.
  EXPECT_EQ(t.b, t.win.manager.GetFocusControl());
  ::UpdateWindow(t.win.GetHWND());
  EXPECT_EQ(t.c, t.win.manager.GetFocusControl());
  std::vector<std::wstring> expected = {L"A:20", L"B:20", L"C:21"};
  EXPECT_EQ(expected, t.log);
}

TEST(ManagerMessages, VirtualWindowNames) {
  ThreeControlWindow t;
  Receiver r;
  t.win.manager.AddNotifyReceiver(&r);
  t.win.manager.EmitNotify(t.a, L"plain");
  t.root->SetVirtualWindow(L"page");
  t.win.manager.EmitNotify(t.a, L"inherited");
  t.a->SetVirtualWindow(L"own");
  t.win.manager.EmitNotify(t.a, L"own");
  t.win.manager.EmitNotify(t.a, L"queued", 0, 0, true);
  t.Send(WM_NULL, 0, 0);
  std::vector<std::wstring> expected = {L"", L"page", L"own", L""};
  EXPECT_EQ(expected, r.vwnds);
}

}  // namespace

namespace {

class ReflectTarget : public CWindowWnd {
 public:
  std::vector<UINT> seen;
  const wchar_t* WindowClassName() const override { return L"UiTestReflectTarget"; }
  LRESULT ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg >= 0x2000 && msg < 0x3000) {
      seen.push_back(msg);
      return 55;
    }
    return CWindowWnd::ProcessMessage(msg, wParam, lParam);
  }
};

TEST(ManagerMessages, ControlWindowMessagesAreReflected) {
  ThreeControlWindow t;
  ReflectTarget child;
  ASSERT_TRUE(child.Create(t.win.GetHWND(), L"", WS_CHILD, 0, 0, 0, 10, 10));
  LPARAM hwnd = reinterpret_cast<LPARAM>(child.GetHWND());
  NMHDR hdr = {child.GetHWND(), 1, 0};
  EXPECT_EQ(55, t.Send(WM_COMMAND, 1, hwnd));
  EXPECT_EQ(55, t.Send(WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&hdr)));
  EXPECT_EQ(55, t.Send(WM_CTLCOLOREDIT, 0, hwnd));
  EXPECT_EQ(55, t.Send(WM_CTLCOLORSTATIC, 0, hwnd));
  std::vector<UINT> expected = {WM_COMMAND + 0x2000, WM_NOTIFY + 0x2000,
                                WM_CTLCOLOREDIT + 0x2000, WM_CTLCOLORSTATIC + 0x2000};
  EXPECT_EQ(expected, child.seen);
  t.Send(WM_COMMAND, 1, 0);  // a menu command: nothing to reflect to
  EXPECT_EQ(4u, child.seen.size());
  ::DestroyWindow(child.GetHWND());
}

TEST(ManagerMessages, SizeTellsTheFocusAndRelaysOut) {
  ThreeControlWindow t;
  t.b->SetFocus();
  t.log.clear();
  t.Send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 100));
  ASSERT_FALSE(t.log.empty());
  EXPECT_EQ(std::wstring(L"B:22"), t.log[0]);
  EXPECT_TRUE(t.win.manager.IsUpdateNeeded());
  EXPECT_TRUE(t.root->IsUpdateNeeded());
}

TEST(ManagerMessages, PrintClientPaintsTheTree) {
  ThreeControlWindow t;
  t.b->SetBkColor(0xFF00FF00);
  HDC screen = ::GetDC(nullptr);
  HDC mem = ::CreateCompatibleDC(screen);
  HBITMAP bmp = ::CreateCompatibleBitmap(screen, 300, 100);
  HGDIOBJ old = ::SelectObject(mem, bmp);
  t.Send(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT);
  EXPECT_EQ(RGB(0, 255, 0), ::GetPixel(mem, 150, 50));
  ::SelectObject(mem, old);
  ::DeleteObject(bmp);
  ::DeleteDC(mem);
  ::ReleaseDC(nullptr, screen);
}

}  // namespace
