// Painting with a manager's resources: image strings over controls, plain
// and markup text, and a popup that borrows its owner's fonts, colours and
// default attribute lists but loads images of its own.
#include <gtest/gtest.h>

#include <string>

#include "tests/uitoolkit/core/ui_test_fixtures.h"
#include "tests/uitoolkit/fixtures/canvas.h"
#include "tests/uitoolkit/resources/image_folder.h"
#include "uitoolkit/core/ui_render.h"
#include "uitoolkit/image/image_string.h"

using namespace uitest;
using fixtures::Canvas;

namespace {

const uint32_t kWhite = 0xFFFFFF, kRedRgb = 0xFF0000, kBlueRgb = 0x0000FF;

struct PaintedImages : ::testing::Test {
  ImageFolder folder;
  void SetUp() override {
    ASSERT_TRUE(folder.Write(L"red.png", SolidPng(0xFF0000FF)));
    ASSERT_TRUE(folder.Write(L"blue.png", SolidPng(0x0000FFFF)));
    // 20 by 20, the left half magenta, the right half red: drawn over the
    // test control at its own size, so no stretching blurs the halves.
    std::vector<uint8_t> btn;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x) {
        const uint8_t px[4] = {255, 0, static_cast<uint8_t>(x < 10 ? 255 : 0), 255};
        btn.insert(btn.end(), px, px + 4);
      }
    ASSERT_TRUE(folder.Write(L"btn.png", fixtures::EncodePng(btn, 20, 20)));
    ASSERT_TRUE(folder.Write(L"bar.png", SolidPng(0xFF0000FF, 6, 30)));
    ASSERT_TRUE(folder.UseResources(L"PNG", {{105, SolidPng(0x0000FFFF)}}));
  }
};

TEST_F(PaintedImages, ControlImagesAreLoadedIntoTheManagerAndDrawn) {
  struct Probe {
    int x, y;
    uint32_t rgb;
  };
  struct Case {
    const wchar_t* image;
    int loaded;
    std::vector<Probe> probes;
  } cases[] = {
      {L"red.png", 1, {{10, 10, kRedRgb}, {29, 29, kRedRgb}, {9, 10, kWhite}, {30, 30, kWhite}}},
      {L"file='red.png' dest='0,0,10,20' file='blue.png' dest='10,0,20,20'",
       2,
       {{12, 20, kRedRgb}, {25, 20, kBlueRgb}}},
      {L"file='btn.png' mask='#FFFF00FF'", 1, {{12, 20, kWhite}, {27, 20, kRedRgb}}},
      {L"file='btn.png'", 1, {{12, 20, 0xFF00FF}, {27, 20, kRedRgb}}},
      {L"res='105' restype='PNG'", 1, {{20, 20, kBlueRgb}}},
      {L"missing.png", 0, {{20, 20, kWhite}}},
      {L"file='red.png' dest='0,0,40,40'", 1, {{29, 29, kRedRgb}, {31, 31, kWhite}}},  // cut to the control
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.image);
    CWindowManagerUI m;
    CControlUI* control = new CControlUI;
    m.AttachRoot(control);
    control->SetBounds(RECT{10, 10, 30, 30});
    control->SetBkImage(c.image);
    Canvas canvas(40, 40, 0xFFFFFFFF);
    control->Paint(canvas.dc(), RECT{0, 0, 40, 40});
    EXPECT_EQ(c.loaded, m.ImageCount());
    for (const Probe& p : c.probes) EXPECT_EQ(p.rgb, canvas.At(p.x, p.y)) << p.x << "," << p.y;
  }
}

TEST_F(PaintedImages, ResultsOfTheImageEntryPoints) {
  CWindowManagerUI m;
  Canvas canvas(10, 10, 0xFFFFFFFF);
  const RECT rc = {0, 0, 10, 10};
  EXPECT_FALSE(CUiRender::PaintImageSpec(nullptr, &m, rc, rc, L"red.png", nullptr));
  EXPECT_FALSE(CUiRender::PaintImageSpec(canvas.dc(), nullptr, rc, rc, L"red.png", nullptr));
  EXPECT_TRUE(CUiRender::PaintImageSpec(canvas.dc(), &m, rc, rc, L"missing.png", nullptr));
  EXPECT_TRUE(CUiRender::PaintImageSpec(canvas.dc(), &m, rc, rc, L"", nullptr));
  EXPECT_EQ(kWhite, canvas.At(5, 5));

  TUiImageDrawState state;
  state.dest = rc;
  state.source = state.corner = RECT{0, 0, 0, 0};
  EXPECT_FALSE(CUiRender::PaintNamedImage(canvas.dc(), &m, rc, rc, state));  // no name
  state.name = L"missing.png";
  EXPECT_FALSE(CUiRender::PaintNamedImage(canvas.dc(), &m, rc, rc, state));
  state.name = L"105";
  state.type = L"PNG";
  EXPECT_TRUE(CUiRender::PaintNamedImage(canvas.dc(), &m, rc, rc, state));
  EXPECT_EQ(kBlueRgb, canvas.At(5, 5));
  // Drawn nowhere, but the image is there: still true.
  state.name = L"red.png";
  state.type.Clear();
  state.dest = RECT{20, 20, 30, 30};
  EXPECT_TRUE(CUiRender::PaintNamedImage(canvas.dc(), &m, rc, rc, state));
  EXPECT_EQ(kBlueRgb, canvas.At(5, 5));
  EXPECT_EQ(2, m.ImageCount());
  // A modifier's file replaces the name without drawing the first.
  EXPECT_TRUE(CUiRender::PaintImageSpec(canvas.dc(), &m, rc, rc, L"missing.png", L"file='red.png'"));
  EXPECT_EQ(kRedRgb, canvas.At(5, 5));
}

// Rows of the canvas that hold a pixel other than white.
int InkRows(Canvas& canvas, int width, int height) {
  int rows = 0;
  for (int y = 0; y < height; ++y)
    if (canvas.Count(0, y, width, y + 1, [](uint32_t px) { return px != kWhite; }) > 0) ++rows;
  return rows;
}

// The owner window of a combo box and the popup manager of its list.
struct OwnerAndPopup : PaintedImages {
  HostWindow owner_win;
  CWindowManagerUI popup;
  HFONT small = nullptr, big = nullptr;
  void SetUp() override {
    PaintedImages::SetUp();
    ASSERT_TRUE(owner_win.CreateAt(0, 0, 100, 100, nullptr, false));
    CWindowManagerUI& owner = owner_win.manager;
    small = owner.AddFontEntry(L"Tahoma", 10, false, false, false);
    big = owner.AddFontEntry(L"Tahoma", 40, false, false, false);
    ASSERT_TRUE(small && big);
    owner.AddDefaultAttributes(L"VScrollBar", L"width=\"8\"");
    owner.SetLinkColor(0xFF00C000);
    popup.SetResourceParent(&owner);
  }
};

TEST_F(OwnerAndPopup, APopupBorrowsFontsColoursAndListsButLoadsItsOwnImages) {
  CWindowManagerUI& owner = owner_win.manager;
  CControlUI* item = new CControlUI;
  popup.AttachRoot(item);
  item->SetBounds(RECT{0, 0, 20, 20});
  item->SetBkImage(L"red.png");
  Canvas canvas(20, 20, 0xFFFFFFFF);
  item->Paint(canvas.dc(), RECT{0, 0, 20, 20});
  EXPECT_EQ(kRedRgb, canvas.At(10, 10));
  EXPECT_EQ(1, popup.ImageCount());
  EXPECT_EQ(0, owner.ImageCount());
  EXPECT_STREQ(L"width=\"8\"", popup.DefaultAttributes(L"VScrollBar"));

  // Plain text in font 1 of the popup is the owner's 40-pixel font.
  Canvas text(200, 60, 0xFFFFFFFF);
  CUiRender::DrawPlainText(1, 0xFF000000, text.dc(), &popup, RECT{0, 0, 200, 60}, L"H", DT_SINGLELINE);
  EXPECT_GT(InkRows(text, 200, 60), 20);
  Canvas small_text(200, 60, 0xFFFFFFFF);
  CUiRender::DrawPlainText(0, 0xFF000000, small_text.dc(), &popup, RECT{0, 0, 200, 60}, L"H",
                           DT_SINGLELINE);
  EXPECT_LT(InkRows(small_text, 200, 60), 12);
  EXPECT_GT(InkRows(small_text, 200, 60), 0);

  // Markup text measures in the owner's font of that index.
  RECT measured = {0, 0, 300, 100};
  int links = 0;
  CUiRender::DrawMarkupText(text.dc(), &popup, measured, L"{f 1}Hg{/f}", 0xFF000000, nullptr,
                            nullptr, links, DT_CALCRECT | DT_SINGLELINE);
  const TEXTMETRICW& tm = owner.FontAt(1)->tm;
  ASSERT_GT(tm.tmHeight, 0);
  EXPECT_EQ(tm.tmHeight + tm.tmExternalLeading, measured.bottom);

  // Links take the owner's link colour.
  Canvas link(200, 40, 0xFFFFFFFF);
  RECT where = {0, 0, 200, 40};
  RECT rects[2];
  CUiString texts[2];
  links = 2;
  CUiRender::DrawMarkupText(link.dc(), &popup, where, L"{a go}LINK{/a}", 0xFF000000, rects, texts,
                            links, DT_SINGLELINE);
  EXPECT_EQ(1, links);
  EXPECT_STREQ(L"go", texts[0].GetData());
  // Text is smoothed: look for clearly green ink, and for no dark ink.
  auto channel = [](uint32_t px, int shift) { return static_cast<int>((px >> shift) & 0xFF); };
  EXPECT_GT(link.Count(0, 0, 200, 40,
                       [&](uint32_t px) {
                         return channel(px, 8) > channel(px, 16) + 60 &&
                                channel(px, 8) > channel(px, 0) + 60;
                       }),
            10);
  EXPECT_EQ(0, link.Count(0, 0, 200, 40, [&](uint32_t px) {
              return channel(px, 16) < 0x40 && channel(px, 8) < 0x40 && channel(px, 0) < 0x40;
            }));
}

TEST_F(OwnerAndPopup, MarkupFontsAreAddedOnceAndFoundUpTheChain) {
  CWindowManagerUI& owner = owner_win.manager;
  Canvas canvas(200, 60, 0xFFFFFFFF);
  const wchar_t* text = L"{f Tahoma 17 bold}x{/f} {f Tahoma 10}y{/f}";
  for (int round = 0; round < 3; ++round) {
    RECT rc = {0, 0, 200, 60};
    int links = 0;
    CUiRender::DrawMarkupText(canvas.dc(), &popup, rc, text, 0xFF000000, nullptr, nullptr, links,
                              0);
  }
  // The 10-pixel font is the owner's; the bold one is added to the popup once.
  EXPECT_EQ(1, popup.FontCount());
  EXPECT_EQ(2, owner.FontCount());
  EXPECT_NE(nullptr, popup.FindFontEntry(L"Tahoma", 17, true, false, false));
  EXPECT_EQ(nullptr, owner.FindFontEntry(L"Tahoma", 17, true, false, false));
}

TEST_F(PaintedImages, MarkupImagesComeFromTheManagersMap) {
  CWindowManagerUI m;
  Canvas canvas(40, 40, 0xFFFFFFFF);
  RECT rc = {0, 0, 40, 40};
  int links = 0;
  CUiRender::DrawMarkupText(canvas.dc(), &m, rc, L"{i bar.png}{i missing.png}", 0xFF000000,
                            nullptr, nullptr, links, DT_SINGLELINE);
  EXPECT_EQ(1, m.ImageCount());
  EXPECT_EQ(kRedRgb, canvas.At(0, 0));
  EXPECT_EQ(kRedRgb, canvas.At(5, 29));
  EXPECT_EQ(kWhite, canvas.At(6, 10));
  EXPECT_EQ(kWhite, canvas.At(0, 30));
  // Without a manager nothing happens and no link is reported.
  links = 5;
  CUiRender::DrawMarkupText(canvas.dc(), nullptr, rc, L"{a x}y{/a}", 0xFF000000, nullptr, nullptr,
                            links, 0);
  EXPECT_EQ(0, links);
}

}  // namespace
