#include <gtest/gtest.h>

#include "tests/uitoolkit/layout/layout_fixtures.h"
#include "uitoolkit/layouts/horizontal_layout.h"
#include "uitoolkit/layouts/tab_layout.h"
#include "uitoolkit/layouts/tile_layout.h"
#include "uitoolkit/layouts/vertical_layout.h"

using namespace layouttest;

namespace {

// A child: fixed width and height (0 = automatic) and more attributes.
struct Child {
  int w, h;
  const wchar_t* attrs;
};

struct GeometryCase {
  const char* what;
  const wchar_t* layout_attrs;
  RECT bounds;
  std::vector<Child> children;
  std::vector<const wchar_t*> expected;  // the children's bounds, in order
};

template <class Layout>
void RunCases(const std::vector<GeometryCase>& cases) {
  for (const GeometryCase& c : cases) {
    Tree<Layout> t;
    if (c.layout_attrs) t.root->ApplyAttributeList(c.layout_attrs);
    for (const Child& ch : c.children) t.root->Add(Box(ch.w, ch.h, ch.attrs));
    t.Layout(c.bounds);
    ASSERT_EQ(c.expected.size(), c.children.size()) << c.what;
    for (size_t i = 0; i < c.expected.size(); ++i)
      EXPECT_EQ(std::wstring(c.expected[i]), Str(t.root->GetItemAt(static_cast<int>(i))->GetBounds()))
          << c.what << ", child " << i;
  }
}

TEST(HorizontalLayout, Geometry) {
  RunCases<CHorizontalLayoutUI>({
      {"fixed 100 and two automatic with gaps of 10: 90 and 70", L"childpadding=\"10\"",
       {0, 0, 300, 50}, {{100, 0}, {0, 0}, {0, 0}},
       {L"0,0,100,50", L"110,0,200,50", L"210,0,280,50"}},
      {"automatic children share evenly; the last takes the rest", nullptr, {0, 0, 301, 50},
       {{0, 0}, {0, 0}, {0, 0}}, {L"0,0,100,50", L"100,0,200,50", L"200,0,301,50"}},
      {"a minimum above the share wins; the last is worked out after it", nullptr,
       {0, 0, 300, 50}, {{0, 0, L"minwidth=\"150\""}, {0, 0}, {0, 0}},
       {L"0,0,150,50", L"150,0,250,50", L"250,0,300,50"}},
      {"a maximum below the share", nullptr, {0, 0, 300, 50},
       {{0, 0, L"maxwidth=\"40\""}, {0, 0}}, {L"0,0,40,50", L"40,0,300,50"}},
      {"fixed widths past the edge are not shrunk", nullptr, {0, 0, 300, 50},
       {{200, 0}, {200, 0}}, {L"0,0,200,50", L"200,0,400,50"}},
      {"paddings: the right one inside the rectangle, still counted in the fixed part", nullptr,
       {0, 0, 300, 50}, {{100, 0, L"padding=\"5,3,7,2\""}, {0, 0}},
       {L"5,3,112,48", L"112,0,288,50"}},
      {"fixed heights and height limits", nullptr, {0, 0, 300, 50},
       {{100, 20}, {100, 0, L"maxheight=\"30\""}, {100, 0, L"minheight=\"60\""}},
       {L"0,0,100,20", L"100,0,200,30", L"200,0,300,60"}},
      {"the inset", L"inset=\"10,5,10,5\"", {0, 0, 300, 50}, {{0, 0}, {0, 0}},
       {L"10,5,150,45", L"150,5,290,45"}},
      {"hidden and floating children take no room", nullptr, {0, 0, 300, 50},
       {{0, 0}, {100, 0, L"visible=\"false\""}, {0, 0, L"float=\"true\" pos=\"-60,10,-10,40\""},
        {0, 0}},
       {L"0,0,150,50", L"0,0,0,0", L"240,10,290,40", L"150,0,300,50"}},
  });
}

TEST(VerticalLayout, Geometry) {
  RunCases<CVerticalLayoutUI>({
      {"fixed 100 and two automatic with gaps of 10: 90 and 70", L"childpadding=\"10\"",
       {0, 0, 50, 300}, {{0, 100}, {0, 0}, {0, 0}},
       {L"0,0,50,100", L"0,110,50,200", L"0,210,50,280"}},
      {"paddings: the bottom one inside the rectangle", nullptr, {0, 0, 50, 300},
       {{0, 100, L"padding=\"3,5,2,7\""}, {0, 0}}, {L"3,5,48,112", L"0,112,50,288"}},
      {"fixed widths and width limits", nullptr, {0, 0, 50, 300},
       {{20, 100}, {0, 100, L"maxwidth=\"30\""}, {0, 100, L"minwidth=\"60\""}},
       {L"0,0,20,100", L"0,100,30,200", L"0,200,60,300"}},
      {"a floating child at the bottom right", L"inset=\"4,4,4,4\"", {10, 10, 110, 310},
       {{0, 0, L"float=\"true\" pos=\"-30,-30,-10,-10\""}, {0, 0}},
       {L"80,280,100,300", L"14,14,106,306"}},
  });
}

TEST(TileLayout, Geometry) {
  RunCases<CTileLayoutUI>({
      {"item width 100 in 350: three columns of 116, children centred", L"itemsize=\"100,80\"",
       {0, 0, 350, 300}, {{100, 80}, {100, 80}, {100, 80}, {100, 80}},
       {L"8,0,108,80", L"124,0,224,80", L"240,0,340,80", L"8,80,108,160"}},
      {"gaps: half on each inner side of a cell", L"itemsize=\"100,80\" childpadding=\"10\"",
       {0, 0, 350, 300}, {{100, 80}, {100, 80}, {100, 80}, {100, 80}},
       {L"5,0,105,80", L"124,0,224,80", L"242,0,342,80", L"5,90,105,170"}},
      {"the tallest child sets the row", L"columns=\"2\"", {0, 0, 300, 300},
       {{100, 40}, {100, 80}, {100, 20}},
       {L"25,20,125,60", L"175,0,275,80", L"25,80,125,100"}},
      {"automatic width fills the cell", L"columns=\"2\"", {0, 0, 300, 300},
       {{0, 50}, {0, 50, L"padding=\"10,0,10,0\""}},
       {L"0,0,150,50", L"160,0,290,50"}},
      {"columns below 1 are ignored", L"columns=\"0\"", {0, 0, 300, 300}, {{100, 50}, {100, 50}},
       {L"100,0,200,50", L"100,50,200,100"}},
  });
}

TEST(TabLayout, Geometry) {
  RunCases<CTabLayoutUI>({
      {"only the first visible child is shown, over the inner rectangle less its padding",
       L"inset=\"5,5,5,5\"", {0, 0, 200, 100},
       {{0, 0, L"padding=\"1,2,3,4\""}, {0, 0}, {0, 0}},
       {L"6,7,192,91", L"0,0,0,0", L"0,0,0,0"}},
      {"a fixed size sits at the top left", nullptr, {0, 0, 200, 100}, {{50, 20}, {0, 0}},
       {L"0,0,50,20", L"0,0,0,0"}},
      {"a child hidden by the skin does not become current",
       nullptr, {0, 0, 200, 100}, {{0, 0, L"visible=\"false\""}, {0, 0}},
       {L"0,0,0,0", L"0,0,200,100"}},
  });
}

}  // namespace
