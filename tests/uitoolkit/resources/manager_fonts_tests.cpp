// Fonts of a manager and of the managers it borrows resources from.
#include <gtest/gtest.h>

#include <string>

#include "tests/uitoolkit/core/ui_test_fixtures.h"

using namespace uitest;

namespace {

// Metrics of a font as a fresh screen DC reads them.
TEXTMETRICW MetricsOf(HFONT font) {
  TEXTMETRICW tm = {};
  HDC dc = ::GetDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, font);
  ::GetTextMetricsW(dc, &tm);
  ::SelectObject(dc, old);
  ::ReleaseDC(nullptr, dc);
  return tm;
}

bool IsLiveFont(HFONT font) { return ::GetObjectType(font) == OBJ_FONT; }

// top <- mid <- popup, each with fonts of its own.
struct FontChain {
  CWindowManagerUI top, mid, popup;
  HFONT t0, t1, t2, m0, p0;
  FontChain() {
    t0 = top.AddFontEntry(L"Tahoma", 10, false, false, false);
    t1 = top.AddFontEntry(L"Tahoma", 11, false, false, false);
    t2 = top.AddFontEntry(L"Tahoma", 12, true, false, false);
    m0 = mid.AddFontEntry(L"Tahoma", 13, false, false, false);
    p0 = popup.AddFontEntry(L"Tahoma", 14, false, false, false);
    mid.SetResourceParent(&top);
    popup.SetResourceParent(&mid);
  }
};

TEST(ManagerFontChain, IndexesOutsideAListAreLookedUpThroughTheParents) {
  FontChain c;
  ASSERT_TRUE(c.t0 && c.t1 && c.t2 && c.m0 && c.p0);
  HFONT top_default = c.top.DefaultFont()->hFont;
  struct Case {
    CWindowManagerUI* manager;
    int index;
    HFONT expected;
  } cases[] = {
      {&c.popup, 0, c.p0},         {&c.popup, 1, c.t1},         {&c.popup, 2, c.t2},
      {&c.popup, 3, top_default},  {&c.popup, -1, top_default}, {&c.popup, 1000, top_default},
      {&c.mid, 0, c.m0},           {&c.mid, 1, c.t1},           {&c.mid, 3, top_default},
      {&c.top, 0, c.t0},           {&c.top, 3, top_default},    {&c.top, -5, top_default},
  };
  for (const Case& k : cases) {
    EXPECT_EQ(k.expected, k.manager->FontAt(k.index)->hFont)
        << (k.manager == &c.popup ? "popup " : k.manager == &c.mid ? "mid " : "top ") << k.index;
  }
  // The default font is always the top manager's, whatever the popup's own.
  c.popup.ReplaceDefaultFont(L"Tahoma", 30, false, false, false);
  EXPECT_EQ(top_default, c.popup.DefaultFont()->hFont);
  EXPECT_EQ(top_default, c.popup.FontAt(9)->hFont);
}

TEST(ManagerFontChain, EqualFontsAreFoundNearestFirstAndCompareExactly) {
  FontChain c;
  HFONT twin = c.popup.AddFontEntry(L"Tahoma", 10, false, false, false);  // equals t0
  c.top.AddFontEntry(L"Tahoma", 16, true, true, true);
  HFONT all = c.top.FindFontEntry(L"Tahoma", 16, true, true, true);
  ASSERT_NE(nullptr, all);
  struct Case {
    const wchar_t* face;
    int size;
    bool bold, underline, italic;
    CWindowManagerUI* asked;
    HFONT expected;
  } cases[] = {
      {L"Tahoma", 10, false, false, false, &c.popup, twin},  // the popup's own first
      {L"Tahoma", 10, false, false, false, &c.mid, c.t0},
      {L"Tahoma", 13, false, false, false, &c.popup, c.m0},
      {L"Tahoma", 16, true, true, true, &c.popup, all},
      {L"Tahoma", 16, false, true, true, &c.popup, nullptr},
      {L"Tahoma", 16, true, false, true, &c.popup, nullptr},
      {L"Tahoma", 16, true, true, false, &c.popup, nullptr},
      {L"Tahoma", 15, true, true, true, &c.popup, nullptr},
      {L"TAHOMA", 16, true, true, true, &c.popup, nullptr},
      {L"Tahoma ", 16, true, true, true, &c.popup, nullptr},
      {L"Tahoma", 14, false, false, false, &c.mid, nullptr},  // the child's fonts are not seen
      {nullptr, 10, false, false, false, &c.popup, nullptr},
  };
  for (const Case& k : cases) {
    EXPECT_EQ(k.expected,
              k.asked->FindFontEntry(k.face, k.size, k.bold, k.underline, k.italic))
        << (k.face ? k.face : L"(null)") << " " << k.size << k.bold << k.underline << k.italic;
  }
}

TEST(ManagerFontChain, FontInfoOfFindsAHandleUpTheChainElseTheTopDefault) {
  FontChain c;
  HFONT stranger = ::CreateFontW(-9, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                                 L"Tahoma");
  TUiFontInfo* top_default = c.top.DefaultFont();
  struct Case {
    CWindowManagerUI* asked;
    HFONT font;
    HFONT expected;
    int size;
  } cases[] = {
      {&c.popup, c.p0, c.p0, 14},  {&c.popup, c.m0, c.m0, 13}, {&c.popup, c.t2, c.t2, 12},
      {&c.mid, c.p0, top_default->hFont, top_default->iSize},
      {&c.popup, stranger, top_default->hFont, top_default->iSize},
      {&c.popup, nullptr, top_default->hFont, top_default->iSize},
  };
  for (const Case& k : cases) {
    TUiFontInfo* info = k.asked->FontInfoOf(k.font);
    ASSERT_NE(nullptr, info);
    EXPECT_EQ(k.expected, info->hFont);
    EXPECT_EQ(k.size, info->iSize);
  }
  EXPECT_TRUE(c.top.FontInfoOf(c.t2)->bBold);
  ::DeleteObject(stranger);
}

TEST(ManagerFontChain, MetricsAreReadWithTheWindowOfTheManagerHoldingTheFont) {
  HostWindow owner_win;
  ASSERT_TRUE(owner_win.CreateAt(0, 0, 50, 50, nullptr, false));
  CWindowManagerUI& owner = owner_win.manager;
  // Outlives the popup's manager, which releases its DC when it goes.
  struct PlainWindow {
    HWND hwnd = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, 50, 50,
                                  nullptr, nullptr, nullptr, nullptr);
    ~PlainWindow() { ::DestroyWindow(hwnd); }
  } popup_window;
  ASSERT_NE(nullptr, popup_window.hwnd);
  CWindowManagerUI popup;  // no window of its own yet
  popup.SetResourceParent(&owner);

  // The owner has a window DC: its fonts are measured as they are added.
  HFONT owned = owner.AddFontEntry(L"Tahoma", 20, false, false, false);
  ASSERT_NE(nullptr, owned);
  TEXTMETRICW expected = MetricsOf(owned);
  ASSERT_GT(expected.tmHeight, 0);
  EXPECT_EQ(expected.tmHeight, owner.FontAt(0)->tm.tmHeight);

  // The popup's own font waits for a DC; asking for it without one reads
  // nothing.
  HFONT own = popup.AddFontEntry(L"Tahoma", 24, false, false, false);
  ASSERT_NE(nullptr, own);
  EXPECT_EQ(0, popup.FontAt(0)->tm.tmHeight);
  EXPECT_EQ(0, popup.FontInfoOf(own)->tm.tmHeight);

  // The owner's fonts reached through the popup carry the owner's reading.
  EXPECT_EQ(expected.tmHeight, popup.FontInfoOf(owned)->tm.tmHeight);
  EXPECT_EQ(MetricsOf(owner.DefaultFont()->hFont).tmHeight, popup.DefaultFont()->tm.tmHeight);

  // Once the popup has its window, first use reads the metrics.
  popup.AttachWindow(popup_window.hwnd);
  EXPECT_EQ(MetricsOf(own).tmHeight, popup.FontAt(0)->tm.tmHeight);
  EXPECT_GT(popup.FontAt(0)->tm.tmHeight, expected.tmHeight);
}

TEST(ManagerFonts, ReplacingTheDefaultFontDeletesTheOldOneAndStoresTheNew) {
  HostWindow win;
  ASSERT_TRUE(win.CreateAt(0, 0, 50, 50, nullptr, false));
  CWindowManagerUI& m = win.manager;
  HFONT first = m.DefaultFont()->hFont;
  ASSERT_TRUE(IsLiveFont(first));
  m.ReplaceDefaultFont(L"Tahoma", 18, true, true, true);
  TUiFontInfo* info = m.DefaultFont();
  EXPECT_NE(first, info->hFont);
  EXPECT_FALSE(IsLiveFont(first));
  EXPECT_EQ(std::wstring(L"Tahoma"), std::wstring(info->sFontName));
  EXPECT_EQ(18, info->iSize);
  EXPECT_TRUE(info->bBold && info->bUnderline && info->bItalic);
  LOGFONTW lf = {};
  ASSERT_EQ(static_cast<int>(sizeof(lf)), ::GetObjectW(info->hFont, sizeof(lf), &lf));
  EXPECT_EQ(-18, lf.lfHeight);
  EXPECT_EQ(DEFAULT_CHARSET, lf.lfCharSet);
  EXPECT_TRUE(lf.lfUnderline && lf.lfItalic);
  EXPECT_GE(lf.lfWeight, 700);
  // Re-read at once, since the manager has a window DC.
  EXPECT_EQ(MetricsOf(info->hFont).tmHeight, info->tm.tmHeight);
}

TEST(ManagerFonts, LongAndMissingFaceNamesAreSafe) {
  CWindowManagerUI m;
  std::wstring long_face(200, L'F');
  HFONT font = m.AddFontEntry(long_face.c_str(), 12, false, false, false);
  ASSERT_NE(nullptr, font);
  LOGFONTW lf = {};
  ::GetObjectW(font, sizeof(lf), &lf);
  EXPECT_EQ(std::wstring(LF_FACESIZE - 1, L'F'), std::wstring(lf.lfFaceName));
  EXPECT_EQ(font, m.FindFontEntry(long_face.c_str(), 12, false, false, false));
  // No face: the stock face is kept and the record's face is empty.
  HFONT faceless = m.AddFontEntry(nullptr, 12, false, false, false);
  ASSERT_NE(nullptr, faceless);
  EXPECT_EQ(faceless, m.FindFontEntry(L"", 12, false, false, false));
}

TEST(ManagerFonts, ClearingFontsDeletesThemAndIndexesFallBack) {
  CWindowManagerUI owner, popup;
  HFONT shared = owner.AddFontEntry(L"Tahoma", 11, false, false, false);
  HFONT a = popup.AddFontEntry(L"Tahoma", 12, false, false, false);
  HFONT b = popup.AddFontEntry(L"Tahoma", 13, false, false, false);
  popup.SetResourceParent(&owner);
  popup.ClearFonts();
  EXPECT_EQ(0, popup.FontCount());
  EXPECT_FALSE(IsLiveFont(a));
  EXPECT_FALSE(IsLiveFont(b));
  EXPECT_TRUE(IsLiveFont(shared));
  EXPECT_EQ(shared, popup.FontAt(0)->hFont);
  EXPECT_EQ(owner.DefaultFont(), popup.FontAt(1));
  EXPECT_EQ(nullptr, popup.FindFontEntry(L"Tahoma", 12, false, false, false));
}

TEST(ManagerResourceParent, LinksThatWouldCloseACycleAreRefused) {
  CWindowManagerUI a, b, c;
  b.SetResourceParent(&a);
  c.SetResourceParent(&b);
  struct Case {
    CWindowManagerUI* child;
    CWindowManagerUI* parent;
    CWindowManagerUI* after;
  } cases[] = {
      {&a, &a, nullptr},  // itself
      {&a, &c, nullptr},  // a is already up c's chain
      {&a, &b, nullptr},
      {&b, &c, &a},       // refused: the old link stays
      {&c, &a, &a},       // a shorter chain is fine
      {&c, nullptr, nullptr},
  };
  for (const Case& k : cases) {
    k.child->SetResourceParent(k.parent);
    EXPECT_EQ(k.after, k.child->GetResourceParent());
  }
  // No cycle was made: every chain still ends.
  a.SetDefaultTextColor(0xFF010203);
  EXPECT_EQ(0xFF010203u, b.DefaultTextColor());
  EXPECT_EQ(c.DefaultTextColor(), 0xFF000000u);
}

}  // namespace
