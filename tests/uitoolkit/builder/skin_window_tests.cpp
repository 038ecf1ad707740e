// Skinned windows on the virtual display: skin sources, hit testing in the
// caption band, round-corner regions, Escape, the generic buttons and the
// fatal path of a skin that cannot be loaded.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "tests/support/test_support.h"
#include "tests/uitoolkit/fixtures/skin_fixtures.h"
#include "tests/uitoolkit/builder/skinned_test_window.h"
#include "uitoolkit/controls/container.h"
#include "uitoolkit/controls/option.h"
#include "uitoolkit/controls/scroll_bar.h"
#include "uitoolkit/core/control.h"
#include "uitoolkit/window/modal_dialog.h"

using namespace UiToolkit;

namespace {

std::wstring FixtureFolder() { return test_support::WinePath(BUILDER_FIXTURES) + L"\\"; }

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (!CWindowManagerUI::TranslateMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
}

class SkinWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CWindowManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    CWindowManagerUI::SetResourceFolder(FixtureFolder().c_str());
  }
  void TearDown() override {
    CWindowManagerUI::UseSkinZipFile(L"");
    CWindowManagerUI::SetResourceFolder(nullptr);
  }
  // Opens `w` at (100, 100) and paints it once.
  void Open(SkinnedTestWindow& w) {
    ASSERT_NE(nullptr, w.Create(nullptr, L"skinned", WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW, 100,
                                100, 50, 50));
    ::UpdateWindow(w.GetHWND());
    Pump();
  }
  // (x, y) in the window's own coordinates.
  LRESULT HitAt(SkinnedTestWindow& w, int x, int y) {
    RECT rc;
    ::GetWindowRect(w.GetHWND(), &rc);
    return ::SendMessageW(w.GetHWND(), WM_NCHITTEST, 0, MAKELPARAM(rc.left + x, rc.top + y));
  }
};

}  // namespace

TEST(SkinHitTestTest, SizeBoxCaptionBandAndControls) {
  const RECT client = {0, 0, 300, 200}, box = {4, 4, 4, 4}, caption = {0, 0, 20, 40};
  struct Case {
    int x, y;
    bool maximized;
    const wchar_t* control;
    LRESULT expected;
  } cases[] = {
      {1, 1, false, nullptr, HTTOPLEFT},
      {298, 1, false, nullptr, HTTOPRIGHT},
      {150, 1, false, L"LabelUI", HTTOP},
      {1, 199, false, nullptr, HTBOTTOMLEFT},
      {299, 199, false, nullptr, HTBOTTOMRIGHT},
      {150, 199, false, nullptr, HTBOTTOM},
      {1, 100, false, nullptr, HTLEFT},
      {299, 100, false, nullptr, HTRIGHT},
      {1, 1, true, L"LabelUI", HTCAPTION},  // maximised: no sizing edges
      {50, 20, false, L"LabelUI", HTCAPTION},
      {50, 20, false, L"ContainerUI", HTCAPTION},
      {50, 20, false, L"ButtonUI", HTCLIENT},
      {50, 20, false, L"optionui", HTCLIENT},
      {50, 20, false, L"TextUI", HTCLIENT},
      {50, 20, false, L"CheckBoxUI", HTCAPTION},
      {50, 20, false, L"EditUI", HTCAPTION},
      {50, 20, false, nullptr, HTCLIENT},    // nothing under the point
      {50, 40, false, L"LabelUI", HTCLIENT},  // bottom is an offset: 40 is out
      {285, 20, false, L"LabelUI", HTCLIENT},  // right of the band
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, SkinHitTest(POINT{c.x, c.y}, client, box, caption, c.maximized, c.control))
        << c.x << "," << c.y << " " << (c.control ? c.control : L"(none)");
  }
}

TEST_F(SkinWindowTest, FileSkinBuildsAndAnswersHitTestsInTheCaptionBand) {
  SkinnedTestWindow w(UISKIN_FILE, L"window.xml");
  Open(w);
  EXPECT_EQ(1, w.readyCount);
  ASSERT_NE(nullptr, w.Manager().GetRoot());
  RECT rc;
  ::GetWindowRect(w.GetHWND(), &rc);
  EXPECT_EQ(320, rc.right - rc.left);
  EXPECT_EQ(240, rc.bottom - rc.top);
  EXPECT_EQ(0, ::GetWindowLongW(w.GetHWND(), GWL_STYLE) & WS_CAPTION);
  EXPECT_TRUE(w.Manager().IsBackgroundSnapshot());
  EXPECT_EQ(HTCAPTION, HitAt(w, 20, 20));    // the title label drags
  EXPECT_EQ(HTCLIENT, HitAt(w, 290, 20));    // the close button clicks
  EXPECT_EQ(HTCLIENT, HitAt(w, 170, 20));    // an option
  EXPECT_EQ(HTCLIENT, HitAt(w, 230, 20));    // a link text
  EXPECT_EQ(HTCAPTION, HitAt(w, 155, 20));   // the container between them
  EXPECT_EQ(HTCLIENT, HitAt(w, 50, 110));    // below the band
  EXPECT_EQ(HTLEFT, HitAt(w, 1, 110));
  EXPECT_EQ(HTBOTTOMRIGHT, HitAt(w, 318, 238));
}

TEST_F(SkinWindowTest, ResourceAndZipResourceSkins) {
  SkinnedTestWindow fromXml(UISKIN_RESOURCE, L"301");
  Open(fromXml);
  ASSERT_NE(nullptr, fromXml.Manager().GetRoot());
  EXPECT_NE(nullptr, fromXml.Manager().FindControl(L"closebtn"));

  SkinnedTestWindow fromZip(UISKIN_ZIP_RESOURCE, L"window.xml", L"WINDOW_SKIN");
  Open(fromZip);
  ASSERT_NE(nullptr, fromZip.Manager().GetRoot());
  EXPECT_STREQ(L"membuffer", CWindowManagerUI::GetSkinZipName());
  EXPECT_NE(nullptr, fromZip.Manager().FindControl(L"ok"));
}

TEST_F(SkinWindowTest, ZipFileSkinStaysOpenForLaterWindows) {
  std::wstring dir = test_support::MakeTempDir(L"winzip");
  std::string xml;
  ASSERT_TRUE(test_support::ReadFileBytes(FixtureFolder() + L"window.xml", &xml));
  ASSERT_TRUE(test_support::WriteFileBytes(dir + L"\\skin.zip", fixtures::MakeZip({{"window.xml", xml}})));
  CWindowManagerUI::SetResourceFolder(dir.c_str());
  {
    SkinnedTestWindow w(UISKIN_ZIP_FILE, L"window.xml", L"skin.zip");
    Open(w);
    EXPECT_NE(nullptr, w.Manager().FindControl(L"closebtn"));
    EXPECT_STREQ(L"skin.zip", CWindowManagerUI::GetSkinZipName());
  }
  {
    // Kind 1 now reads through the open zip.
    SkinnedTestWindow w(UISKIN_FILE, L"window.xml");
    Open(w);
    EXPECT_NE(nullptr, w.Manager().FindControl(L"ok"));
  }
  CWindowManagerUI::UseSkinZipFile(L"");
  test_support::RemoveTree(dir);
}

TEST_F(SkinWindowTest, MaximisedWindowFillsTheWorkAreaWithoutSizingEdges) {
  SkinnedTestWindow w(UISKIN_FILE, L"window.xml");
  Open(w);
  ::ShowWindow(w.GetHWND(), SW_MAXIMIZE);
  Pump();
  ASSERT_TRUE(::IsZoomed(w.GetHWND()));
  MONITORINFO info = {sizeof(info)};
  ::GetMonitorInfoW(::MonitorFromWindow(w.GetHWND(), MONITOR_DEFAULTTONEAREST), &info);
  RECT client;
  ::GetClientRect(w.GetHWND(), &client);
  EXPECT_EQ(info.rcWork.right - info.rcWork.left, client.right);
  EXPECT_EQ(info.rcWork.bottom - info.rcWork.top, client.bottom);
  EXPECT_NE(HTLEFT, HitAt(w, 1, 110));
  EXPECT_NE(HTTOPLEFT, HitAt(w, 1, 1));
}

TEST_F(SkinWindowTest, RoundCornersClipTheWindowAfterEveryResize) {
  SkinnedTestWindow w(UISKIN_FILE, L"window.xml");
  Open(w);
  ::SetWindowPos(w.GetHWND(), nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  HRGN rgn = ::CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(ERROR, ::GetWindowRgn(w.GetHWND(), rgn));
  RECT box;
  ::GetRgnBox(rgn, &box);
  EXPECT_EQ(0, box.left);
  EXPECT_EQ(400, box.right);
  EXPECT_EQ(300, box.bottom);
  EXPECT_FALSE(::PtInRegion(rgn, 0, 0));      // the corner is cut
  EXPECT_FALSE(::PtInRegion(rgn, 399, 299));
  EXPECT_TRUE(::PtInRegion(rgn, 4, 4));
  EXPECT_TRUE(::PtInRegion(rgn, 200, 0));     // an edge is not
  EXPECT_TRUE(::PtInRegion(rgn, 399, 150));
  // Minimised: the region is left as it was.
  ::SendMessageW(w.GetHWND(), WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0));
  HRGN after = ::CreateRectRgn(0, 0, 0, 0);
  ::GetWindowRgn(w.GetHWND(), after);
  EXPECT_TRUE(::EqualRgn(rgn, after));
  ::DeleteObject(after);
  ::DeleteObject(rgn);
}

TEST_F(SkinWindowTest, MinimumTrackSizeComesFromTheSkin) {
  SkinnedTestWindow w(UISKIN_FILE, L"window.xml");
  Open(w);
  MINMAXINFO info = {};
  ::SendMessageW(w.GetHWND(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(200, info.ptMinTrackSize.x);
  EXPECT_EQ(150, info.ptMinTrackSize.y);
  EXPECT_GT(info.ptMaxTrackSize.x, 0);
}

TEST_F(SkinWindowTest, EscapeClosesWithOneAndSystemCloseWithZero) {
  {
    SkinnedTestWindow w(UISKIN_FILE, L"window.xml");
    Open(w);
    ::PostMessageW(w.GetHWND(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(1, w.RunModal());
    EXPECT_EQ(nullptr, w.GetHWND());
  }
  {
    SkinnedTestWindow w(UISKIN_FILE, L"window.xml");
    Open(w);
    ::PostMessageW(w.GetHWND(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(0, w.RunModal());
  }
  {
    SkinnedTestWindow w(UISKIN_FILE, L"window.xml");
    Open(w);
    w.Manager().FindControl(L"ok")->SetFocus();
    // Return clicks the focused button, which closes nothing.
    ::PostMessageW(w.GetHWND(), WM_KEYDOWN, VK_RETURN, 0);
    Pump();
    EXPECT_NE(nullptr, w.GetHWND());
  }
}

TEST_F(SkinWindowTest, CloseButtonClosesAWindowButNotADialog) {
  SkinnedTestWindow w(UISKIN_FILE, L"window.xml");
  Open(w);
  CControlUI* close = w.Manager().FindControl(L"closebtn");
  ASSERT_NE(nullptr, close);
  close->Activate();
  EXPECT_EQ(1, w.RunModal());

  CModalDialog dialog(L"window.xml", L"SkinnedTestDialog");
  ASSERT_NE(nullptr, dialog.Create(nullptr, L"dialog", WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW));
  dialog.Manager().FindControl(L"closebtn")->Activate();
  Pump();
  EXPECT_NE(nullptr, dialog.GetHWND());
  ::DestroyWindow(dialog.GetHWND());
}

namespace {

// Runs the helper, closes its message box from a watchdog thread and
// returns its exit code; `boxText` gets the box's text.
DWORD RunFatalHelper(const wchar_t* mode, std::wstring* boxText) {
  wchar_t exe[MAX_PATH];
  ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring path(exe);
  path = path.substr(0, path.rfind(L'\\') + 1) + L"skin_window_fatal_helper.exe";
  std::wstring cmd = L"\"" + path + L"\" " + mode;
  STARTUPINFOW si = {sizeof(si)};
  PROCESS_INFORMATION pi = {};
  if (!::CreateProcessW(path.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
    return 0xFFFFFFFF;
  std::atomic<bool> done(false);
  std::thread watchdog([&] {
    for (int i = 0; i < 600 && !done; ++i) {
      HWND box = ::FindWindowW(L"#32770", L"UiToolkit");
      if (box) {
        wchar_t text[128] = {};
        HWND label = ::GetDlgItem(box, 0xFFFF);
        if (label) ::GetWindowTextW(label, text, 128);
        *boxText = text;
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        return;
      }
      ::Sleep(50);
    }
  });
  DWORD waited = ::WaitForSingleObject(pi.hProcess, 60000);
  done = true;
  watchdog.join();
  DWORD code = 0xFFFFFFFE;
  if (waited == WAIT_OBJECT_0) ::GetExitCodeProcess(pi.hProcess, &code);
  else ::TerminateProcess(pi.hProcess, 99);
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  return code;
}

}  // namespace

TEST(SkinWindowFatalTest, MissingSkinOrZipResourceExitsWithOneAfterTheMessageBox) {
  for (const wchar_t* mode : {L"file", L"zipres"}) {
    std::wstring text;
    EXPECT_EQ(1u, RunFatalHelper(mode, &text)) << mode;
    EXPECT_EQ(L"\x52a0\x8f7d\x8d44\x6e90\x6587\x4ef6\x5931\x8d25", text) << mode;
  }
}

namespace {

// Writes the window's pixels as a 24-bit BMP.
bool SaveWindowBmp(HWND hwnd, const std::wstring& path) {
  RECT rc;
  ::GetWindowRect(hwnd, &rc);
  const int w = rc.right - rc.left, h = rc.bottom - rc.top;
  HDC screen = ::GetDC(nullptr);
  HDC mem = ::CreateCompatibleDC(screen);
  HBITMAP bmp = ::CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = ::SelectObject(mem, bmp);
  ::BitBlt(mem, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY);
  ::SelectObject(mem, old);
  BITMAPINFOHEADER bi = {sizeof(bi), w, h, 1, 24, BI_RGB};
  const int stride = (w * 3 + 3) & ~3;
  std::string pixels(static_cast<size_t>(stride) * h, '\0');
  ::GetDIBits(mem, bmp, 0, h, &pixels[0], reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
  ::DeleteObject(bmp);
  ::DeleteDC(mem);
  ::ReleaseDC(nullptr, screen);
  BITMAPFILEHEADER bf = {0x4D42, static_cast<DWORD>(sizeof(bf) + sizeof(bi) + pixels.size()), 0, 0,
                         sizeof(bf) + sizeof(bi)};
  std::string file(reinterpret_cast<const char*>(&bf), sizeof(bf));
  file.append(reinterpret_cast<const char*>(&bi), sizeof(bi));
  file += pixels;
  return test_support::WriteFileBytes(path, file);
}

}  // namespace

// The demo skin: nested layouts, a scrolled list, effect labels and every
// button kind. Set UIBUILDER_DEMO_SHOT to a folder to get a picture of it.
TEST_F(SkinWindowTest, DemoSkinShowsEveryPiece) {
  SkinnedTestWindow w(UISKIN_FILE, L"demo.xml");
  Open(w);
  ::SetWindowPos(w.GetHWND(), HWND_TOP, 100, 100, 0, 0, SWP_NOSIZE);
  ::UpdateWindow(w.GetHWND());
  Pump();
  CWindowManagerUI& m = w.Manager();
  CContainerUI* scrolled = static_cast<CContainerUI*>(m.FindControl(L"scrolled"));
  ASSERT_NE(nullptr, scrolled);
  ASSERT_NE(nullptr, scrolled->GetVerticalScrollBar());
  EXPECT_TRUE(scrolled->GetVerticalScrollBar()->IsVisible());  // 16 rows do not fit
  COptionUI* a = static_cast<COptionUI*>(m.FindControl(L"opt_a"));
  COptionUI* b = static_cast<COptionUI*>(m.FindControl(L"opt_b"));
  ASSERT_TRUE(a && b);
  EXPECT_TRUE(a->IsSelected());
  b->Activate();
  EXPECT_FALSE(a->IsSelected());
  a->Activate();
  EXPECT_STREQ(L"Gradient", m.FindControl(L"fx_gradient")->GetText());
  EXPECT_GT(m.FindControl(L"fx_gradient")->GetWidth(), 200);
  ::InvalidateRect(w.GetHWND(), nullptr, FALSE);
  ::UpdateWindow(w.GetHWND());
  std::string folder = test_support::Env("UIBUILDER_DEMO_SHOT");
  if (!folder.empty()) {
    EXPECT_TRUE(SaveWindowBmp(w.GetHWND(), test_support::WinePath(folder) + L"\\demo_skin.bmp"));
  }
}
