// Where a combo's drop-down opens, and how a combo box cuts the part of
// its arrow strip for a state.
#include <gtest/gtest.h>

#include <string>

#include "uitoolkit/controls/combo_geometry.h"
#include "uitoolkit/controls/control_state.h"

using namespace UiToolkit;

namespace {

std::wstring Str(const RECT& rc) {
  return std::to_wstring(rc.left) + L"," + std::to_wstring(rc.top) + L"," +
         std::to_wstring(rc.right) + L"," + std::to_wstring(rc.bottom);
}

}  // namespace

TEST(ComboDropRectTest, BelowAsTallAsTheItemsOrTheDropBoxAboveAtTheBottom) {
  const RECT work = {0, 0, 1280, 1000};
  const RECT combo = {100, 200, 260, 224};  // 160 wide
  struct Case {
    const char* what;
    RECT combo;
    SIZE drop;
    int items;
    const wchar_t* expected;
  } cases[] = {
      {"cx 0: as wide as the combo; items + 4 under cy", combo, {0, 150}, 60, L"100,224,260,288"},
      {"cx above 0 gives the width", combo, {220, 150}, 60, L"100,224,320,288"},
      {"cy below items + 4 caps the height", combo, {0, 50}, 60, L"100,224,260,274"},
      {"cy exactly items + 4", combo, {0, 64}, 60, L"100,224,260,288"},
      {"no items: the border alone", combo, {0, 150}, 0, L"100,224,260,228"},
      {"negative cy: no height, never a negative one", combo, {0, -40}, 60, L"100,224,260,224"},
      {"negative cx: as wide as the combo", combo, {-30, 150}, 60, L"100,224,260,288"},
      {"would pass the bottom: above, same height", {100, 950, 260, 974}, {0, 150}, 60,
       L"100,886,260,950"},
      {"reaching the bottom exactly stays below", {100, 932, 260, 936}, {0, 150}, 60,
       L"100,936,260,1000"},
      {"one pixel more opens above", {100, 933, 260, 937}, {0, 150}, 60, L"100,869,260,933"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, Str(ComboDropRect(c.combo, c.drop, c.items, work))) << c.what;
  }
  EXPECT_EQ(160, ComboDropWidth(combo, SIZE{0, 10}));
  EXPECT_EQ(90, ComboDropWidth(combo, SIZE{90, 10}));
}

TEST(ComboArrowTest, PartByStateDisabledFirstThenPushedHotFocused) {
  struct Case {
    UINT state;
    int part;
  } cases[] = {
      {0, 0},
      {UISTATE_HOT, 1},
      {UISTATE_PUSHED, 2},
      {UISTATE_FOCUSED, 3},
      {UISTATE_DISABLED, 4},
      {UISTATE_DISABLED | UISTATE_PUSHED | UISTATE_HOT | UISTATE_FOCUSED, 4},
      {UISTATE_PUSHED | UISTATE_HOT | UISTATE_FOCUSED, 2},
      {UISTATE_HOT | UISTATE_FOCUSED, 1},
      {UISTATE_CAPTURED | UISTATE_SELECTED, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(c.part, ComboArrowPart(c.state)) << c.state;
}

TEST(ComboArrowTest, StripOf100GivesPartsOf20AndDisabledTakes80To100) {
  const RECT strip = {0, 0, 100, 16};
  const RECT dest = {120, 1, 140, 23};
  const wchar_t* expected[] = {
      L"source='0,0,20,16' dest='120,1,140,23'",  L"source='20,0,40,16' dest='120,1,140,23'",
      L"source='40,0,60,16' dest='120,1,140,23'", L"source='60,0,80,16' dest='120,1,140,23'",
      L"source='80,0,100,16' dest='120,1,140,23'",
  };
  for (int part = 0; part < 5; ++part)
    EXPECT_STREQ(expected[part], ArrowPartModifier(strip, part, dest).GetData()) << part;
  // A strip that starts further in keeps its offset; 103 wide still cuts 20.
  EXPECT_STREQ(L"source='90,4,110,20' dest='0,0,20,20'",
               ArrowPartModifier(RECT{10, 4, 113, 20}, 4, RECT{0, 0, 20, 20}).GetData());
}

TEST(ComboArrowTest, FirstReadableSourcePairIsTakenOutOfTheString) {
  struct Case {
    const wchar_t* image;
    bool ok;
    const wchar_t* source;
    const wchar_t* rest;
  } cases[] = {
      {L"file='arrow.png' source='0,0,100,20'", true, L"0,0,100,20", L"file='arrow.png' "},
      {L"source='0,0,100,20' file='arrow.png' corner='2,2,2,2'", true, L"0,0,100,20",
       L" file='arrow.png' corner='2,2,2,2'"},
      {L"file='a.png' source = '5,6,55,26' fade='200'", true, L"5,6,55,26",
       L"file='a.png'  fade='200'"},
      // With two pairs the first is used; the second stays (the modifier
      // drawn after it wins).
      {L"file='a.png' source='0,0,50,10' source='0,0,100,20'", true, L"0,0,50,10",
       L"file='a.png'  source='0,0,100,20'"},
      // A "source" inside a file name is no key.
      {L"file='source.png' source='0,0,100,20'", true, L"0,0,100,20", L"file='source.png' "},
      {L"file='source.png'", false, nullptr, nullptr},
      {L"arrow.png", false, nullptr, nullptr},
      {L"", false, nullptr, nullptr},
      {L"file='a.png' source='0,0,100'", false, nullptr, nullptr},
      {L"file='a.png' source='0,0,100,20", false, nullptr, nullptr},
      {L"file='a.png' source='x,0,100,20'", false, nullptr, nullptr},
      {L"file='a.png' source='0;0;100;20'", false, nullptr, nullptr},
      {L"file='a.png' source='0,0,100,20,7'", false, nullptr, nullptr},
      {L"file='a.png' source=", false, nullptr, nullptr},
      {L"file='a.png' source", false, nullptr, nullptr},
      // The right edge must lie above the left one.
      {L"file='a.png' source='50,0,50,20'", false, nullptr, nullptr},
      {L"file='a.png' source='60,0,10,20'", false, nullptr, nullptr},
  };
  for (const Case& c : cases) {
    RECT source = {-1, -1, -1, -1};
    CUiString rest(L"unchanged");
    EXPECT_EQ(c.ok, SplitArrowSource(c.image, &source, &rest)) << c.image;
    if (c.ok) {
      EXPECT_EQ(c.source, Str(source)) << c.image;
      EXPECT_STREQ(c.rest, rest.GetData()) << c.image;
    } else {
      EXPECT_STREQ(L"unchanged", rest.GetData()) << c.image;
    }
  }
  RECT source;
  CUiString rest;
  EXPECT_FALSE(SplitArrowSource(nullptr, &source, &rest));
}
