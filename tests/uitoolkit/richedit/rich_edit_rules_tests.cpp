// What the rich edit tells its engine, worked out from its settings: the
// formats, the property bits, the scroll ranges, the alignment, and which
// Return key messages reach the engine.
#include <gtest/gtest.h>

#include <vector>

#include "uitoolkit/controls/text_host.h"
#include "uitoolkit/controls/rich_edit_rules.h"

using namespace UiToolkit;

TEST(RichEditRulesTest, RecordSizesAreThoseTheEngineExpects) {
  // Neither record holds a pointer, so both flavours share these sizes.
  EXPECT_EQ(116u, sizeof(CHARFORMAT2W));
  EXPECT_EQ(188u, sizeof(PARAFORMAT2));
}

TEST(RichEditRulesTest, DefaultCharFormatFollowsTheFontAndColour) {
  struct Case {
    LONG height;
    LONG weight;
    BYTE italic, underline;
    int dpi;
    DWORD argb;
    LONG twips;
    DWORD effects;
    COLORREF colour;
  } cases[] = {
      {-12, FW_NORMAL, 0, 0, 96, 0xFF000000, 180, 0, 0x000000},
      {-16, FW_BOLD, 0, 0, 96, 0xFFFF0000, 240, CFE_BOLD, 0x0000FF},
      {-13, FW_SEMIBOLD, 1, 1, 96, 0xFF123456, 195, CFE_ITALIC | CFE_UNDERLINE, 0x563412},
      {-12, FW_HEAVY, 0, 0, 120, 0x00ABCDEF, 144, CFE_BOLD, 0xEFCDAB},
      // A cell height is taken as it stands, never as a negative size.
      {14, FW_NORMAL, 0, 0, 96, 0, 210, 0, 0},
  };
  for (const Case& c : cases) {
    LOGFONTW font = {};
    font.lfHeight = c.height;
    font.lfWeight = c.weight;
    font.lfItalic = c.italic;
    font.lfUnderline = c.underline;
    font.lfCharSet = GB2312_CHARSET;
    font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    wcscpy(font.lfFaceName, L"WenQuanYi Micro Hei");
    CHARFORMAT2W format;
    MakeDefaultCharFormat(font, c.dpi, c.argb, &format);
    EXPECT_EQ(sizeof(format), format.cbSize);
    EXPECT_EQ(0xF8000007u, format.dwMask) << c.height;
    EXPECT_EQ(c.twips, format.yHeight) << c.height;
    EXPECT_EQ(c.effects, format.dwEffects) << c.height;
    EXPECT_EQ(c.colour, format.crTextColor) << c.height;
    EXPECT_EQ(GB2312_CHARSET, format.bCharSet);
    EXPECT_EQ(VARIABLE_PITCH | FF_SWISS, format.bPitchAndFamily);
    EXPECT_STREQ(L"WenQuanYi Micro Hei", format.szFaceName);
  }
}

TEST(RichEditRulesTest, DefaultParaFormatAlignsByStyleWithOneTabStop) {
  struct Case {
    DWORD style;
    WORD alignment;
  } cases[] = {
      {ES_MULTILINE, PFA_LEFT},
      {ES_MULTILINE | ES_CENTER, PFA_CENTER},
      {ES_RIGHT, PFA_RIGHT},
      {ES_CENTER | ES_RIGHT, PFA_CENTER},
  };
  for (const Case& c : cases) {
    PARAFORMAT2 format;
    MakeDefaultParaFormat(c.style, &format);
    EXPECT_EQ(sizeof(format), format.cbSize);
    EXPECT_EQ(0x8001003Fu, format.dwMask);
    EXPECT_EQ(c.alignment, format.wAlignment) << c.style;
    EXPECT_EQ(1, format.cTabCount);
    EXPECT_EQ(720, format.rgxTabs[0]);
  }
}

TEST(RichEditRulesTest, PropertyBitsFollowTheStyle) {
  struct Case {
    DWORD style;
    bool rich;
    DWORD bits;
  } cases[] = {
      {ES_MULTILINE, true,
       TXTBIT_RICHTEXT | TXTBIT_MULTILINE | TXTBIT_HIDESELECTION | TXTBIT_WORDWRAP},
      {0, false, TXTBIT_HIDESELECTION | TXTBIT_WORDWRAP},
      {ES_MULTILINE | ES_READONLY, true,
       TXTBIT_RICHTEXT | TXTBIT_MULTILINE | TXTBIT_READONLY | TXTBIT_HIDESELECTION |
           TXTBIT_WORDWRAP},
      {ES_PASSWORD | ES_NOHIDESEL, false, TXTBIT_USEPASSWORD | TXTBIT_WORDWRAP},
      // Text that may scroll sideways does not wrap.
      {ES_MULTILINE | ES_AUTOHSCROLL, false, TXTBIT_MULTILINE | TXTBIT_HIDESELECTION},
      {ES_MULTILINE | WS_HSCROLL, false, TXTBIT_MULTILINE | TXTBIT_HIDESELECTION},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.bits, PropertyBitsFor(c.style, c.rich, WrapsWords(c.style))) << std::hex << c.style;
  EXPECT_EQ(static_cast<DWORD>(WS_VSCROLL | ES_AUTOVSCROLL | ES_DISABLENOSCROLL),
            ScrollBarBitsOf(WS_VSCROLL | ES_AUTOVSCROLL | ES_DISABLENOSCROLL | ES_MULTILINE |
                            ES_READONLY | WS_VISIBLE));
}

TEST(RichEditRulesTest, ExtentIsInHimetric) {
  SIZEL extent = HimetricExtent(96, 48, 96, 96);
  EXPECT_EQ(2540, extent.cx);
  EXPECT_EQ(1270, extent.cy);
  extent = HimetricExtent(120, 120, 120, 0);  // an unreadable resolution counts as 96
  EXPECT_EQ(2540, extent.cx);
  EXPECT_EQ(3175, extent.cy);
}

TEST(RichEditRulesTest, OverflowRangeIsWhatDoesNotFit) {
  struct Case {
    LONG minPos, maxPos;
    int extent;
    int range;
  } cases[] = {
      {0, 533, 110, 423}, {0, 110, 110, 0}, {0, 13, 110, 0},
      {10, 200, 100, 90}, {0, 0, 0, 0},     {0, 0x7FFFFFFF, -100, 0x7FFFFFFF},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.range, OverflowRange(c.minPos, c.maxPos, c.extent)) << c.maxPos;
}

TEST(RichEditRulesTest, AlignmentLooksForLeftCenterRightInThatOrder) {
  struct Case {
    DWORD style;
    const wchar_t* value;
    DWORD result;
  } cases[] = {
      {ES_MULTILINE, L"center", ES_MULTILINE | ES_CENTER},
      {ES_MULTILINE | ES_CENTER, L"right", ES_MULTILINE | ES_RIGHT},
      {ES_MULTILINE | ES_RIGHT, L"left", ES_MULTILINE},
      {ES_MULTILINE, L"leftright", ES_MULTILINE | ES_RIGHT},
      {ES_MULTILINE | ES_RIGHT, L"middle", ES_MULTILINE | ES_RIGHT},
      {ES_MULTILINE, L"Center", ES_MULTILINE},
  };
  for (const Case& c : cases) EXPECT_EQ(c.result, StyleWithAlignment(c.style, c.value)) << c.value;
}

TEST(RichEditRulesTest, ReturnNotWantedIsHeldBackWithItsCharacter) {
  typedef ReturnKeyGate G;
  struct Step {
    UINT msg;
    WPARAM key;
    bool ctrl;
    G::Outcome outcome;
  };
  struct Case {
    const char* name;
    bool wantReturn, wantCtrlReturn;
    std::vector<Step> steps;
  } cases[] = {
      {"wanted", true, true,
       {{WM_KEYDOWN, VK_RETURN, false, G::kPass}, {WM_CHAR, L'\r', false, G::kPass},
        {WM_KEYDOWN, VK_RETURN, true, G::kPass}, {WM_CHAR, L'\n', true, G::kPass}}},
      {"no return", false, true,
       {{WM_KEYDOWN, VK_RETURN, false, G::kHoldAndReport}, {WM_CHAR, L'\r', false, G::kHold},
        {WM_KEYUP, VK_RETURN, false, G::kPass},
        {WM_KEYDOWN, VK_CONTROL, true, G::kPass},
        {WM_KEYDOWN, VK_RETURN, true, G::kHoldAndReport}, {WM_CHAR, L'\n', true, G::kHold}}},
      {"no ctrl return", true, false,
       {{WM_KEYDOWN, VK_RETURN, false, G::kPass}, {WM_CHAR, L'\r', false, G::kPass},
        {WM_KEYDOWN, VK_RETURN, true, G::kHoldAndReport}, {WM_CHAR, L'\n', true, G::kHold}}},
      // Only the one character after a held key-down is held.
      {"one character", false, false,
       {{WM_KEYDOWN, VK_RETURN, false, G::kHoldAndReport}, {WM_CHAR, L'\r', false, G::kHold},
        {WM_CHAR, L'\r', false, G::kPass}}},
      {"other key between", false, false,
       {{WM_KEYDOWN, VK_RETURN, false, G::kHoldAndReport}, {WM_KEYDOWN, 'A', false, G::kPass},
        {WM_CHAR, L'\r', false, G::kPass}}},
      {"other character", false, false,
       {{WM_KEYDOWN, VK_RETURN, false, G::kHoldAndReport}, {WM_CHAR, L'a', false, G::kPass},
        {WM_CHAR, L'\r', false, G::kPass}}},
  };
  for (const Case& c : cases) {
    ReturnKeyGate gate;
    for (size_t i = 0; i < c.steps.size(); ++i) {
      const Step& s = c.steps[i];
      EXPECT_EQ(s.outcome, gate.Filter(s.msg, s.key, s.ctrl, c.wantReturn, c.wantCtrlReturn))
          << c.name << ", step " << i;
    }
  }
}
