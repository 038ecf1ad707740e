// The skinned window's messages routed to a windowless object: one hit
// point for a move, a set-cursor and a wheel at one spot; keys only with the
// focus; mouse messages only inside the hit area; what stays the window's.
#include "tests/uitoolkit/activex/activex_fixture.h"

using namespace UiToolkit;
using namespace uitest;

namespace {

class ActiveXInputTest : public ActiveXTest {
 protected:
  // The windowless object at client (100,50)-(200,150).
  CActiveXUI* Windowless() {
    return Host<CActiveXUI>(fake_activex::kClsidWindowless, RECT{100, 50, 200, 150});
  }
  POINT ToScreen(int x, int y) {
    POINT pt = {x, y};
    ::ClientToScreen(hwnd(), &pt);
    return pt;
  }
};

TEST_F(ActiveXInputTest, MoveSetCursorAndWheelAtOneSpotGiveOneHitPoint) {
  Windowless();
  const POINT spots[] = {{130, 90}, {101, 51}, {199, 149}};
  for (const POINT& spot : spots) {
    SCOPED_TRACE(std::to_string(spot.x) + "," + std::to_string(spot.y));
    POINT screen = ToScreen(spot.x, spot.y);
    ASSERT_TRUE(::SetCursorPos(screen.x, screen.y));
    POINT now;
    ::GetCursorPos(&now);
    ASSERT_EQ(screen.x, now.x);
    ASSERT_EQ(screen.y, now.y);
    fake().Reset();
    window().Send(WM_MOUSEMOVE, 0, MAKELPARAM(spot.x, spot.y));
    window().Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd()),
                  MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    window().Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(screen.x, screen.y));
    const std::string point =
        "QueryHitPoint " + std::to_string(spot.x) + "," + std::to_string(spot.y);
    EXPECT_EQ(std::vector<std::string>(3, point), fake().Lines("QueryHitPoint"));
    EXPECT_EQ(1, fake().Count("OnWindowMessage 0x0200"));
    EXPECT_EQ(1, fake().Count("OnWindowMessage 0x0020"));
    EXPECT_EQ(1, fake().Count("OnWindowMessage 0x020a"));
  }
}

TEST_F(ActiveXInputTest, KeysReachTheObjectOnlyWithTheFocus) {
  CActiveXUI* control = Windowless();
  RecordingControl* other = new RecordingControl(L"other", nullptr, UIFLAG_TABSTOP);
  window().Add(other, RECT{0, 0, 50, 50});
  const UINT keys[] = {WM_KEYDOWN, WM_CHAR, WM_KEYUP};

  other->SetFocus();
  fake().Reset();
  for (UINT key : keys) window().Send(key, 'A', 1);
  EXPECT_EQ(0, fake().Count("OnWindowMessage")) << "the focus is elsewhere";

  control->SetFocus();
  ASSERT_EQ(control, manager().GetFocusControl());
  fake().Reset();
  for (UINT key : keys) window().Send(key, 'A', 1);
  EXPECT_EQ((std::vector<std::string>{"OnWindowMessage 0x0100", "OnWindowMessage 0x0102",
                                      "OnWindowMessage 0x0101"}),
            fake().Lines("OnWindowMessage"));
}

TEST_F(ActiveXInputTest, FilterTakesWhatHitsAndLeavesTheWindowItsOwnMessages) {
  CActiveXUI* control = Windowless();
  POINT inside = ToScreen(150, 100);
  struct Case {
    const char* what;
    UINT msg;
    LPARAM lParam;
    bool focused;
    bool mouseEnabled;
    HRESULT objectResult;
    bool routed;
    bool handled;
  };
  const Case cases[] = {
      {"move inside", WM_MOUSEMOVE, MAKELPARAM(150, 100), false, true, S_OK, true, true},
      {"move outside", WM_MOUSEMOVE, MAKELPARAM(20, 20), false, true, S_OK, false, false},
      {"press inside", WM_LBUTTONDOWN, MAKELPARAM(120, 60), false, true, S_OK, true, true},
      {"press, object declines", WM_LBUTTONDOWN, MAKELPARAM(120, 60), false, true, S_FALSE, true,
       false},
      {"press, mouse off", WM_LBUTTONDOWN, MAKELPARAM(120, 60), false, false, S_OK, false, false},
      {"wheel inside", WM_MOUSEWHEEL, MAKELPARAM(inside.x, inside.y), false, true, S_OK, true,
       true},
      {"set-cursor stays the window's", WM_SETCURSOR, MAKELPARAM(HTCLIENT, 0), false, true, S_OK,
       true, false},
      {"help stays the window's", WM_HELP, 0, false, true, S_OK, true, false},
      {"context menu stays the window's", WM_CONTEXTMENU, MAKELPARAM(0, 0), false, true, S_OK, true,
       false},
      {"key without focus", WM_KEYDOWN, 1, false, true, S_OK, false, false},
      {"key with focus", WM_KEYDOWN, 1, true, true, S_OK, true, true},
      {"other message", WM_TIMER, 0, true, true, S_OK, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ::SetCursorPos(inside.x, inside.y);
    manager().SetFocusControl(c.focused ? control : nullptr);
    control->SetMouseEnabled(c.mouseEnabled);
    fake().Reset();
    fake().SetOption("window_message_result", c.objectResult);
    bool handled = false;
    control->FilterMessage(c.msg, 0, c.lParam, handled);
    EXPECT_EQ(c.routed ? 1 : 0, fake().Count("OnWindowMessage"));
    EXPECT_EQ(c.handled, handled);
  }
  control->SetMouseEnabled(true);

  // Hidden (a page not shown) it takes nothing.
  control->SetVisible(false);
  fake().Reset();
  bool handled = false;
  control->FilterMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(120, 60), handled);
  EXPECT_EQ(0, fake().Count("OnWindowMessage"));
  EXPECT_FALSE(handled);
}

}  // namespace
