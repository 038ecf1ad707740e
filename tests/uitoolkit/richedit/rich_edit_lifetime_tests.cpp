// The rich edit and its engine part safely: a control deleted while the
// engine holds its host, a timer or the mouse, or from inside the engine's
// own notifications; notifications without the engine's data; and a
// control whose engine cannot be made at all.
#include <gtest/gtest.h>

#include <string>

#include "tests/uitoolkit/richedit/rich_edit_window.h"
#include "uitoolkit/controls/container.h"
#include "uitoolkit/controls/scroll_bar.h"
#include "uitoolkit/controls/text_host.h"

using namespace uitest;

namespace {

class RichEditLifetimeTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    window = new RichEditWindow(L"<VerticalLayout name=\"root\" inset=\"10,10,10,10\" />");
    Root()->SetDelayedDestroy(false);
  }
  static void TearDownTestSuite() {
    delete window;
    window = nullptr;
  }
  void TearDown() override {
    Root()->RemoveAll();
    window->win.notifies.clear();
    window->win.onNotify = nullptr;
    window->returns.entries.clear();
    window->returns.onReturn = nullptr;
    CTxtWinHost::SetTextServicesLibrary(nullptr);
    window->Paint();
  }
  static CContainerUI* Root() { return static_cast<CContainerUI*>(window->root); }
  // A new rich edit in the window, configured by `attributes`, laid out
  // and painted.
  static CRichEditUI* AddEdit(std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> attributes) {
    CRichEditUI* edit = new CRichEditUI;
    edit->SetName(L"edit");
    edit->SetFixedHeight(100);
    for (const auto& a : attributes) edit->ApplyAttribute(a.first, a.second);
    Root()->Add(edit);
    window->Paint();
    return edit;
  }
  static POINT Middle(CRichEditUI* edit) {
    RECT area = edit->GetTextArea();
    return POINT{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
  }
  static RichEditWindow* window;
};

RichEditWindow* RichEditLifetimeTest::window = nullptr;

}  // namespace

TEST_F(RichEditLifetimeTest, DeletedWhileTheEngineStillHoldsTheHost) {
  CRichEditUI* edit = AddEdit({{L"text", L"some text"}, {L"vscrollbar", L"true"}});
  CTxtWinHost* host = edit->GetHost();
  ASSERT_NE(nullptr, host);
  ITextServices* engine = host->GetTextServices();
  // What an engine that outlives the control would hold.
  host->AddRef();
  engine->AddRef();
  Root()->Remove(edit);
  EXPECT_EQ(nullptr, host->GetOwner());
  EXPECT_EQ(nullptr, host->GetTextServices());
  EXPECT_FALSE(host->IsInPlaceActive());

  // The engine goes on and calls its host: nothing reaches the window.
  LRESULT result = 0;
  engine->TxSendMessage(WM_CHAR, L'x', 0, &result);
  engine->TxSetText(Lines(40).c_str());
  engine->TxSendMessage(WM_VSCROLL, SB_PAGEDOWN, 0, &result);
  RECT area = {10, 10, 200, 60};
  engine->OnTxInPlaceActivate(&area);
  engine->OnTxInPlaceDeactivate();

  // And each request on its own.
  EXPECT_NE(nullptr, host->TxGetDC());
  host->TxInvalidateRect(nullptr, FALSE);
  host->TxViewChange(TRUE);
  EXPECT_FALSE(host->TxShowScrollBar(SB_VERT, TRUE));
  EXPECT_FALSE(host->TxEnableScrollBar(SB_BOTH, ESB_ENABLE_BOTH));
  EXPECT_FALSE(host->TxSetScrollRange(SB_VERT, 0, 900, TRUE));
  EXPECT_FALSE(host->TxSetScrollPos(SB_VERT, 40, TRUE));
  EXPECT_FALSE(host->TxSetTimer(3, 10));
  host->TxKillTimer(3);
  host->TxSetCapture(TRUE);
  EXPECT_EQ(nullptr, ::GetCapture());
  host->TxSetFocus();
  EXPECT_FALSE(host->TxCreateCaret(nullptr, 1, 10));
  POINT pt = {5, 5};
  EXPECT_FALSE(host->TxScreenToClient(&pt));
  EXPECT_EQ(S_OK, host->TxNotify(EN_SELCHANGE, nullptr));
  window->Paint();
  EXPECT_TRUE(window->win.notifies.empty());
  EXPECT_EQ(nullptr, window->win.manager.FindControl(L"edit"));

  engine->Release();
  host->Release();
}

TEST_F(RichEditLifetimeTest, DeletedWhileItsTimerRunsAndTheEngineHoldsTheMouse) {
  CRichEditUI* edit = AddEdit({{L"vscrollbar", L"true"}});
  edit->SetText(Lines(40).c_str());
  window->Paint();
  CTxtWinHost* host = edit->GetHost();
  const POINT pt = Middle(edit);
  window->Send(WM_MOUSEMOVE, 0, Pt(pt.x, pt.y));
  window->Send(WM_LBUTTONDOWN, MK_LBUTTON, Pt(pt.x, pt.y));
  EXPECT_TRUE(host->IsMouseCaptured());
  EXPECT_EQ(window->hwnd(), ::GetCapture());
  EXPECT_TRUE(edit->IsFocused());
  // The engine's timer (it starts one to scroll while the mouse selects
  // past the edge).
  EXPECT_TRUE(host->TxSetTimer(5, 10));
  EXPECT_NE(0u, window->win.manager.TimerWin32Id(edit, 5));

  const CControlUI* gone = edit;
  Root()->Remove(edit);
  EXPECT_EQ(nullptr, ::GetCapture());
  EXPECT_EQ(0u, window->win.manager.TimerWin32Id(const_cast<CControlUI*>(gone), 5));
  window->Send(WM_MOUSEMOVE, MK_LBUTTON, Pt(pt.x, pt.y + 200));
  PumpFor(100);
  window->Send(WM_LBUTTONUP, 0, Pt(pt.x, pt.y + 200));
  window->Send(WM_KEYDOWN, 'A', 0);
  window->Send(WM_CHAR, 'a', 0);
  window->Paint();
}

TEST_F(RichEditLifetimeTest, DeletedFromInsideItsOwnNotifications) {
  // "return", sent while the key-down is being filtered.
  CRichEditUI* edit = AddEdit({{L"wantreturn", L"false"}});
  edit->SetFocus();
  window->returns.onReturn = [](TUiNotify& msg) { Root()->Remove(msg.pSender); };
  window->Send(WM_KEYDOWN, VK_RETURN, 0);
  window->Send(WM_CHAR, L'\r', 0);
  window->Send(WM_KEYUP, VK_RETURN, 0);
  EXPECT_EQ(1u, window->returns.entries.size());
  EXPECT_EQ(0, Root()->GetCount());

  // An engine notification, sent while the engine handles a click.
  edit = AddEdit({{L"text", L"select me"}});
  edit->TxSendMessage(EM_SETEVENTMASK, 0, ENM_SELCHANGE, nullptr);
  window->win.onNotify = [](const NMHDR&) {
    if (Root()->GetCount() > 0) Root()->RemoveAt(0);
  };
  const POINT pt = Middle(edit);
  window->Send(WM_MOUSEMOVE, 0, Pt(pt.x, pt.y));
  window->Send(WM_LBUTTONDOWN, MK_LBUTTON, Pt(pt.x, pt.y));
  window->Send(WM_LBUTTONUP, 0, Pt(pt.x, pt.y));
  window->Paint();
  EXPECT_FALSE(window->win.notifies.empty());
  EXPECT_EQ(0, Root()->GetCount());
  EXPECT_EQ(nullptr, ::GetCapture());
}

TEST_F(RichEditLifetimeTest, NotificationsWithAndWithoutTheEnginesData) {
  CRichEditUI* edit = AddEdit({});
  CTxtWinHost* host = edit->GetHost();
  const RECT area = edit->GetTextArea();
  ENLINK link = {};
  SELCHANGE selection = {};
  REQRESIZE resize = {};
  resize.rc = RECT{0, 0, 50, 20};
  struct Case {
    DWORD code;
    void* data;
    bool sent;
  } cases[] = {
      {EN_SELCHANGE, nullptr, true},       {EN_SELCHANGE, &selection, true},
      {EN_LINK, &link, true},              {EN_MSGFILTER, nullptr, true},
      {EN_DRAGDROPDONE, nullptr, true},    {EN_REQUESTRESIZE, nullptr, false},
      {EN_CORRECTTEXT, nullptr, false},    {EN_IMECHANGE, nullptr, false},
      {EN_CHANGE, nullptr, false},         {EN_DRAGDROPDONE + 1, nullptr, false},
      {EN_REQUESTRESIZE, &resize, false},
  };
  const UINT_PTR id = static_cast<UINT_PTR>(::GetWindowLongPtrW(window->hwnd(), GWLP_ID));
  for (const Case& c : cases) {
    window->win.notifies.clear();
    EXPECT_EQ(S_OK, host->TxNotify(c.code, c.data)) << std::hex << c.code;
    ASSERT_EQ(c.sent ? 1u : 0u, window->win.notifies.size()) << std::hex << c.code;
    if (!c.sent) continue;
    const NotifySeen& seen = window->win.notifies[0];
    EXPECT_EQ(c.code, seen.code);
    EXPECT_EQ(window->hwnd(), seen.from);
    EXPECT_EQ(id, seen.id);
    // The engine's own record carries the header when there is one.
    if (c.data) {
      EXPECT_EQ(c.data, seen.record);
    }
  }
  // Without data a resize request leaves the text area alone; with it the
  // area takes the size asked.
  const RECT now = host->GetClientRect();
  EXPECT_EQ(area.left, now.left);
  EXPECT_EQ(area.top + 20, now.bottom);
  EXPECT_EQ(area.left + 50, now.right);
}

TEST_F(RichEditLifetimeTest, WithoutTheEngineTheControlShowsNothingAndIgnoresInput) {
  // No such library; a library without CreateTextServices.
  for (const wchar_t* library : {L"no_such_text_engine.dll", L"version.dll"}) {
    CTxtWinHost::SetTextServicesLibrary(library);
    CRichEditUI* edit = AddEdit({{L"text", L"kept"}, {L"vscrollbar", L"true"},
                                 {L"bkcolor", L"#FFFFFFFF"}, {L"textcolor", L"#FF000000"}});
    EXPECT_EQ(nullptr, edit->GetHost());
    EXPECT_STREQ(L"", edit->GetText().GetData());
    EXPECT_EQ(S_FALSE, edit->TxSendMessage(WM_CHAR, L'x', 0, nullptr));
    edit->SetText(Lines(30).c_str());
    EXPECT_STREQ(L"", edit->GetText().GetData());
    edit->SetFocus();
    const POINT pt = Middle(edit);
    window->Send(WM_KEYDOWN, 'A', 0);
    window->Send(WM_CHAR, 'a', 0);
    window->Click(pt.x, pt.y);
    window->Wheel(pt.x, pt.y, false);
    edit->ScrollLineDown();
    edit->SetReadOnly(true);
    edit->SetRich(false);
    bool handled = false;
    edit->FilterMessage(WM_CHAR, 'a', 0, handled);
    EXPECT_FALSE(handled);
    DibCanvas canvas(360, 220);
    window->Render(canvas);
    const RECT area = edit->GetTextArea();
    int ink = 0;
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x) ink += canvas.At(x, y) != 0xFFFFFF ? 1 : 0;
    EXPECT_EQ(0, ink) << std::wstring(library).size();
    Root()->RemoveAll();
  }
  CTxtWinHost::SetTextServicesLibrary(nullptr);
  CRichEditUI* edit = AddEdit({{L"text", L"back"}});
  EXPECT_NE(nullptr, edit->GetHost());
  EXPECT_STREQ(L"back", edit->GetText().GetData());
}
