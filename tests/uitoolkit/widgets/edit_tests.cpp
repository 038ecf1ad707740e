// Edit boxes: the native window opened with the focus, typing that comes
// back as "textchanged", Return, the input modes, and the window's end
// (focus lost, edit hidden or deleted while open).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/uitoolkit/fixtures/canvas.h"
#include "tests/uitoolkit/resources/image_folder.h"
#include "tests/uitoolkit/widgets/widget_window.h"
#include "uitoolkit/controls/container.h"
#include "uitoolkit/controls/edit.h"

using namespace uitest;
using fixtures::Canvas;
using Log = std::vector<std::wstring>;

namespace {

std::wstring WindowText(HWND hwnd) {
  wchar_t buffer[512] = {};
  ::GetWindowTextW(hwnd, buffer, 512);
  return buffer;
}

void Type(HWND hwnd, const std::wstring& text) {
  for (wchar_t ch : text) ::SendMessageW(hwnd, WM_CHAR, ch, 1);
}

}  // namespace

TEST(EditTextAreaTest, PaddingAndACentredBandOfTheFontHeight) {
  const RECT padding = {4, 3, 4, 3};
  struct Case {
    RECT bounds;
    int font;
    RECT area;
  } cases[] = {
      {{10, 10, 110, 40}, 16, {14, 17, 106, 33}},  // 24 high inside: (24-16)/2 down
      {{10, 10, 110, 40}, 15, {14, 17, 106, 32}},  // 9/2 truncates
      {{10, 10, 110, 40}, 24, {14, 13, 106, 37}},  // exactly the band
      {{10, 10, 110, 40}, 30, {14, 13, 106, 37}},  // a taller font keeps the band
      {{0, 0, 8, 6}, 12, {4, 3, 4, 3}},
  };
  for (const Case& c : cases) {
    RECT r = EditTextArea(c.bounds, padding, c.font);
    EXPECT_TRUE(EqualRect(&r, &c.area))
        << c.font << ": " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
  }
}

TEST(EditPasswordTest, OneMaskCharacterPerCharacter) {
  struct Case {
    const wchar_t* text;
    const wchar_t* shown;
  } cases[] = {
      {L"", L""},
      {L"a", L"*"},
      {L"secret", L"******"},
      {L"\xD83D\xDE00", L"*"},            // one character outside the basic plane
      {L"a\xD83D\xDE00z", L"***"},
      {L"\xD83D", L"*"},                  // a lone high surrogate is still shown
      {L"\xDE00\xD83D", L"**"},
      {L"\x4E2D\x6587", L"**"},
  };
  for (const Case& c : cases)
    EXPECT_STREQ(c.shown, MaskPasswordText(c.text, L'*').GetData()) << std::wstring(c.text).size();
  EXPECT_STREQ(L"", MaskPasswordText(nullptr, L'*').GetData());
  EXPECT_STREQ(L"##", MaskPasswordText(L"ab", L'#').GetData());
}

TEST(EditTest, DefaultsAndIdentity) {
  WidgetWindow w;
  CEditUI* e = w.Add(new CEditUI, L"name", RECT{10, 10, 160, 40});
  EXPECT_STREQ(L"EditUI", e->ClassName());
  EXPECT_EQ(e, e->FindInterface(L"Edit"));
  EXPECT_EQ(e, e->FindInterface(L"Label"));
  EXPECT_EQ(255, e->GetMaxChar());
  EXPECT_EQ(0xFFFFFFFFu, e->GetBkColor());
  const RECT padding = e->GetTextPadding();
  EXPECT_EQ(4, padding.left);
  EXPECT_EQ(3, padding.top);
  // Without a fixed height: the font's height plus 6.
  const int font = w.win.manager.FontAt(-1)->tm.tmHeight;
  EXPECT_EQ(font + 6, e->MeasureSize(SIZE{500, 500}).cy);
  e->SetFixedHeight(30);
  EXPECT_EQ(30, e->MeasureSize(SIZE{500, 500}).cy);
  EXPECT_EQ(nullptr, e->GetNativeWindow());
}

struct EditWindow : ::testing::Test {
  WidgetWindow w;
  CEditUI* e = nullptr;
  CEditUI* other = nullptr;
  void SetUp() override {
    e = w.Add(new CEditUI, L"name", RECT{10, 10, 160, 40});
    other = w.Add(new CEditUI, L"other", RECT{10, 60, 160, 90});
  }
  HWND Open() {
    e->SetFocus();
    HWND hwnd = e->GetNativeWindow();
    EXPECT_TRUE(hwnd != nullptr);
    return hwnd;
  }
};

TEST_F(EditWindow, FocusOpensTheNativeWindowOverTheTextArea) {
  e->SetText(L"hello");
  HWND hwnd = Open();
  ASSERT_TRUE(hwnd);
  EXPECT_TRUE(::IsWindowVisible(hwnd));
  EXPECT_EQ(w.win.GetHWND(), ::GetParent(hwnd));
  EXPECT_EQ(hwnd, ::GetFocus());
  EXPECT_EQ(L"hello", WindowText(hwnd));
  wchar_t cls[64] = {};
  ::GetClassNameW(hwnd, cls, 64);
  EXPECT_STREQ(L"EditWnd", cls);
  RECT placed;
  ::GetWindowRect(hwnd, &placed);
  ::MapWindowPoints(HWND_DESKTOP, w.win.GetHWND(), reinterpret_cast<POINT*>(&placed), 2);
  RECT expected = e->GetEditRect();
  EXPECT_TRUE(EqualRect(&placed, &expected))
      << placed.left << "," << placed.top << "," << placed.right << "," << placed.bottom;
  EXPECT_EQ(255, static_cast<int>(::SendMessageW(hwnd, EM_GETLIMITTEXT, 0, 0)));
  EXPECT_TRUE(w.log.empty());  // focusing reports no change

  // Moving the control moves the window with it.
  e->SetBounds(RECT{20, 100, 170, 130});
  ::GetWindowRect(hwnd, &placed);
  ::MapWindowPoints(HWND_DESKTOP, w.win.GetHWND(), reinterpret_cast<POINT*>(&placed), 2);
  expected = e->GetEditRect();
  EXPECT_TRUE(EqualRect(&placed, &expected));
}

TEST_F(EditWindow, TypedTextReachesTheControlAndReturnIsReported) {
  HWND hwnd = Open();
  ASSERT_TRUE(hwnd);
  Type(hwnd, L"abc");
  EXPECT_STREQ(L"abc", e->GetText().GetData());
  EXPECT_EQ(Log({L"name:textchanged", L"name:textchanged", L"name:textchanged"}), w.log);
  w.log.clear();
  ::SendMessageW(hwnd, WM_KEYDOWN, VK_RETURN, 1);
  ::SendMessageW(hwnd, WM_CHAR, L'\r', 1);
  EXPECT_EQ(Log({L"name:return"}), w.log);
  EXPECT_STREQ(L"abc", e->GetText().GetData());
  EXPECT_EQ(L"abc", WindowText(hwnd));
  // Text set on the control goes into the open window at once.
  e->SetText(L"xyz");
  EXPECT_EQ(L"xyz", WindowText(hwnd));
  EXPECT_STREQ(L"xyz", e->GetText().GetData());
}

TEST_F(EditWindow, PointerOverAnEnabledEditIsAnIBeam) {
  POINT pt = {50, 25};
  ::ClientToScreen(w.win.GetHWND(), &pt);
  ::SetCursorPos(pt.x, pt.y);
  HCURSOR ibeam = ::LoadCursorW(nullptr, IDC_IBEAM), arrow = ::LoadCursorW(nullptr, IDC_ARROW);
  ::SetCursor(arrow);
  w.Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(w.win.GetHWND()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(ibeam, ::GetCursor());
  e->SetEnabled(false);
  EXPECT_EQ(UINT(UIFLAG_TABSTOP), e->CapabilityFlags());
  ::SetCursor(arrow);
  w.Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(w.win.GetHWND()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(arrow, ::GetCursor());
}

TEST_F(EditWindow, ClickOpensTheWindowWithAllTextSelected) {
  e->SetText(L"hello");
  w.Click(12, 12);  // on the padding: the manager gets the click
  HWND hwnd = e->GetNativeWindow();
  ASSERT_TRUE(hwnd);
  DWORD from = 9, to = 9;
  ::SendMessageW(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  EXPECT_EQ(0u, from);
  EXPECT_EQ(5u, to);
  EXPECT_NE(w.win.GetHWND(), ::GetCapture());  // the press let go of the mouse
  Type(hwnd, L"x");  // typing replaces the selection
  EXPECT_STREQ(L"x", e->GetText().GetData());
}

TEST_F(EditWindow, TabMovesToTheNextEditAndResizeBringsTheFocusBack) {
  HWND first = Open();
  ASSERT_TRUE(first);
  ::PostMessageW(first, WM_KEYDOWN, VK_TAB, 1);
  PumpMessages();
  EXPECT_FALSE(::IsWindow(first));
  EXPECT_EQ(other, w.win.manager.GetFocusControl());
  ASSERT_TRUE(other->GetNativeWindow());

  // The window resized under an open edit: focus comes back to it once
  // laid out, in a fresh native window.
  HWND second = other->GetNativeWindow();
  w.Send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(400, 200));
  PumpMessages();  // the old window's close, then the paint that refocuses
  EXPECT_FALSE(::IsWindow(second));
  EXPECT_EQ(other, w.win.manager.GetFocusControl());
  EXPECT_TRUE(other->GetNativeWindow());
}

TEST_F(EditWindow, MaximumLengthStopsTyping) {
  e->ApplyAttribute(L"maxchar", L"5");
  HWND hwnd = Open();
  ASSERT_TRUE(hwnd);
  Type(hwnd, L"abcdefg");
  EXPECT_STREQ(L"abcde", e->GetText().GetData());
  EXPECT_EQ(5u, w.log.size());  // refused characters change nothing
  e->SetMaxChar(6);  // reaches the open window
  Type(hwnd, L"fg");
  EXPECT_STREQ(L"abcdef", e->GetText().GetData());
}

TEST_F(EditWindow, NumberOnlyAcceptsDigitsUntilTurnedOff) {
  e->ApplyAttribute(L"numberonly", L"true");
  EXPECT_TRUE(e->IsNumberOnly());
  HWND hwnd = Open();
  ASSERT_TRUE(hwnd);
  EXPECT_TRUE(::GetWindowLongW(hwnd, GWL_STYLE) & ES_NUMBER);
  Type(hwnd, L"1a2-3");
  EXPECT_STREQ(L"123", e->GetText().GetData());

  other->SetFocus();
  PumpMessages();
  e->ApplyAttribute(L"numberonly", L"false");
  hwnd = Open();
  ASSERT_TRUE(hwnd);
  EXPECT_FALSE(::GetWindowLongW(hwnd, GWL_STYLE) & ES_NUMBER);
  Type(hwnd, L"x");  // the caret of a fresh window is at the start
  EXPECT_STREQ(L"x123", e->GetText().GetData());
}

TEST_F(EditWindow, PasswordWindowMasksAndTheControlPaintsOneStarPerCharacter) {
  e->ApplyAttribute(L"password", L"true");
  HWND hwnd = Open();
  ASSERT_TRUE(hwnd);
  EXPECT_TRUE(::GetWindowLongW(hwnd, GWL_STYLE) & ES_PASSWORD);
  EXPECT_EQ(L'*', static_cast<wchar_t>(::SendMessageW(hwnd, EM_GETPASSWORDCHAR, 0, 0)));
  Type(hwnd, L"pw");
  EXPECT_STREQ(L"pw", e->GetText().GetData());  // the control keeps the real text

  // Painted: the same pixels as a plain edit showing "**".
  e->SetText(L"a\xD83D\xDE00");
  other->SetText(L"**");
  other->SetBounds(e->GetBounds());
  Canvas secret(200, 100, 0xFFFFFFFF), plain(200, 100, 0xFFFFFFFF);
  e->PaintText(secret.dc());
  other->PaintText(plain.dc());
  int differing = 0, inked = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 200; ++x) {
      differing += secret.At(x, y) != plain.At(x, y);
      inked += plain.At(x, y) != 0xFFFFFF;
    }
  EXPECT_GT(inked, 0);
  EXPECT_EQ(0, differing);
}

TEST_F(EditWindow, ReadOnlyWindowTakesNoTyping) {
  e->SetText(L"fixed");
  e->ApplyAttribute(L"readonly", L"true");
  HWND hwnd = Open();
  ASSERT_TRUE(hwnd);
  EXPECT_TRUE(::GetWindowLongW(hwnd, GWL_STYLE) & ES_READONLY);
  Type(hwnd, L"zz");
  EXPECT_STREQ(L"fixed", e->GetText().GetData());
  e->ApplyAttribute(L"readonly", L"false");  // reaches the open window
  EXPECT_FALSE(::GetWindowLongW(hwnd, GWL_STYLE) & ES_READONLY);
}

TEST_F(EditWindow, LosingTheFocusClosesTheWindowAndKeepsTheText) {
  HWND hwnd = Open();
  ASSERT_TRUE(hwnd);
  Type(hwnd, L"kept");
  other->SetFocus();
  PumpMessages();
  EXPECT_FALSE(::IsWindow(hwnd));
  EXPECT_EQ(nullptr, e->GetNativeWindow());
  EXPECT_STREQ(L"kept", e->GetText().GetData());
  ASSERT_TRUE(other->GetNativeWindow());
  // Focus back: a fresh window holding the text.
  e->SetFocus();
  PumpMessages();
  ASSERT_TRUE(e->GetNativeWindow());
  EXPECT_EQ(L"kept", WindowText(e->GetNativeWindow()));
}

TEST_F(EditWindow, DeletingTheEditWhileOpenDestroysTheWindow) {
  HWND hwnd = Open();
  ASSERT_TRUE(hwnd);
  Type(hwnd, L"ab");
  w.root->children.erase(std::find(w.root->children.begin(), w.root->children.end(), e));
  delete e;
  e = nullptr;
  EXPECT_FALSE(::IsWindow(hwnd));
  // Whatever was queued for the window finds nothing to call.
  ::SendMessageW(hwnd, WM_CHAR, L'c', 1);
  PumpMessages();
  EXPECT_EQ(Log({L"name:textchanged", L"name:textchanged"}), w.log);
  other->SetFocus();
  EXPECT_TRUE(other->GetNativeWindow());
}

TEST_F(EditWindow, DisablingTheEditWhileOpenClosesTheWindow) {
  HWND hwnd = Open();
  ASSERT_TRUE(hwnd);
  e->SetEnabled(false);
  PumpMessages();
  EXPECT_FALSE(::IsWindow(hwnd));
  EXPECT_EQ(nullptr, e->GetNativeWindow());
  e->SetFocus();  // a disabled edit takes no focus and opens nothing
  EXPECT_EQ(nullptr, e->GetNativeWindow());
}

TEST(EditHideTest, HidingTheParentWhileEditingClosesTheWindow) {
  WidgetWindow w;
  CContainerUI* box = w.Add(new CContainerUI, L"box", RECT{0, 0, 300, 100});
  CEditUI* e = new CEditUI;
  e->SetName(L"inner");
  box->Add(e);
  e->SetBounds(RECT{10, 10, 160, 40});
  e->SetFocus();
  HWND hwnd = e->GetNativeWindow();
  ASSERT_TRUE(hwnd);
  box->SetVisible(false);
  PumpMessages();
  EXPECT_FALSE(::IsWindow(hwnd));
  EXPECT_EQ(nullptr, e->GetNativeWindow());
  EXPECT_EQ(nullptr, w.win.manager.GetFocusControl());
}

TEST_F(EditWindow, NativeBackgroundColour) {
  struct Case {
    const wchar_t* colour;  // none: the system colours
    uint32_t expected;
  };
  const COLORREF window = ::GetSysColor(COLOR_WINDOW);
  const Case cases[] = {
      {nullptr, (uint32_t(GetRValue(window)) << 16) | (GetGValue(window) << 8) | GetBValue(window)},
      {L"FF00FF00", 0x00FF00}};
  for (const Case& c : cases) {
    if (c.colour) e->ApplyAttribute(L"nativebkcolor", c.colour);
    HWND hwnd = Open();
    ASSERT_TRUE(hwnd);
    RECT client;
    ::GetClientRect(hwnd, &client);
    Canvas canvas(client.right, client.bottom, 0xFF123456);
    ::SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()),
                   PRF_CLIENT | PRF_ERASEBKGND);
    EXPECT_EQ(c.expected, canvas.At(client.right - 2, client.bottom / 2)) << (c.colour ? c.colour : L"default");
    other->SetFocus();
    PumpMessages();
  }
}

TEST(EditStateImageTest, FocusedWinsOverHotAndDisabledOverAll) {
  ImageFolder folder;
  ASSERT_TRUE(folder.Write(L"normal.png", SolidPng(0xFF0000FF)));
  ASSERT_TRUE(folder.Write(L"hot.png", SolidPng(0x0000FFFF)));
  ASSERT_TRUE(folder.Write(L"focused.png", SolidPng(0x00FF00FF)));
  ASSERT_TRUE(folder.Write(L"disabled.png", SolidPng(0x808080FF)));
  WidgetWindow w;
  CEditUI* e = w.Add(new CEditUI, L"e", RECT{10, 10, 160, 40});
  w.Add(new CEditUI, L"other", RECT{10, 60, 160, 90});
  auto corner = [&]() {
    Canvas canvas(200, 100, 0xFF000000);
    e->Paint(canvas.dc(), RECT{0, 0, 200, 100});
    return canvas.At(11, 11);  // on the padding, never under text
  };
  EXPECT_EQ(0xFFFFFFu, corner());  // opaque white back colour, no image yet
  e->ApplyAttributeList(
      L"normalimage=\"normal.png\" hotimage=\"hot.png\" focusedimage=\"focused.png\" "
      L"disabledimage=\"disabled.png\"");
  EXPECT_EQ(0xFF0000u, corner());
  w.Move(50, 25, false);
  EXPECT_EQ(0x0000FFu, corner());
  e->SetFocus();
  EXPECT_EQ(0x00FF00u, corner());  // focused and hot: focused
  e->SetEnabled(false);
  EXPECT_EQ(0x808080u, corner());
  e->SetEnabled(true);
  e->ApplyAttribute(L"focusedimage", L"missing.png");
  e->SetFocus();
  // A missing file is no failure of the image string: the state's image
  // still ends the painting, with nothing drawn.
  EXPECT_EQ(0xFFFFFFu, corner());
}
