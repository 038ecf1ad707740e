#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>

#include "tests/uitoolkit/core/dib_canvas.h"
#include "tests/uitoolkit/layout/layout_fixtures.h"
#include "uitoolkit/layouts/horizontal_layout.h"
#include "uitoolkit/layouts/tile_layout.h"
#include "uitoolkit/layouts/vertical_layout.h"

using namespace layouttest;

namespace {

// Writes the canvas as a 32-bit BMP when UILAYOUT_SHOT names a file, so a
// person can look at what the layouts drew.
void SaveWhenAsked(HDC dc, int w, int h) {
  const char* path = getenv("UILAYOUT_SHOT");
  if (!path || !*path) return;
  BITMAPINFOHEADER info = {sizeof(info), w, -h, 1, 32, BI_RGB};
  std::vector<DWORD> pixels(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) pixels[static_cast<size_t>(y) * w + x] = ::GetPixel(dc, x, y);
  for (DWORD& p : pixels) p = ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
  BITMAPFILEHEADER file = {0x4D42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(info)};
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size() * 4);
  FILE* f = fopen(path, "wb");
  if (!f) return;
  fwrite(&file, sizeof(file), 1, f);
  fwrite(&info, sizeof(info), 1, f);
  fwrite(pixels.data(), 4, pixels.size(), f);
  fclose(f);
}

TEST(LayoutPaint, NestedLayoutsWithAScrolledColumn) {
  Tree<CVerticalLayoutUI> t;
  t.root->ApplyAttributeList(L"bkcolor=\"#FFF0F0F0\" inset=\"4,4,4,4\" childpadding=\"4\"");
  CHorizontalLayoutUI* header = new CHorizontalLayoutUI;
  header->ApplyAttributeList(L"height=\"30\" childpadding=\"4\"");
  header->Add(Box(60, 0, L"bkcolor=\"#FF2060C0\""));
  header->Add(Box(0, 0, L"bkcolor=\"#FF40A040\""));
  header->Add(Box(0, 0, L"bkcolor=\"#FFC04040\""));
  t.root->Add(header);

  CHorizontalLayoutUI* body = new CHorizontalLayoutUI;
  body->ApplyAttributeList(L"childpadding=\"4\"");
  CVerticalLayoutUI* list = new CVerticalLayoutUI;
  list->ApplyAttributeList(L"width=\"120\" vscrollbar=\"true\" bkcolor=\"#FFFFFFFF\" inset=\"2,2,2,2\"");
  for (int i = 0; i < 8; ++i)
    list->Add(Box(0, 24, i % 2 ? L"bkcolor=\"#FFD0D8F0\"" : L"bkcolor=\"#FFA0B0E0\""));
  body->Add(list);
  CTileLayoutUI* tiles = new CTileLayoutUI;
  tiles->ApplyAttributeList(L"itemsize=\"50,40\" bkcolor=\"#FFFFFFFF\"");
  for (int i = 0; i < 7; ++i) tiles->Add(Box(40, 30, L"bkcolor=\"#FFE0A040\""));
  body->Add(tiles);
  t.root->Add(body);
  t.Layout(RECT{0, 0, 320, 200});
  list->ScrollLineDown();

  DibCanvas canvas(320, 200, 0);
  t.root->Paint(canvas.dc(), RECT{0, 0, 320, 200});
  SaveWhenAsked(canvas.dc(), 320, 200);

  // The list's bar is shown at its right edge; the rows stop short of it
  // and are clipped to the list's inset when scrolled.
  CScrollBarUI* bar = list->GetVerticalScrollBar();
  ASSERT_TRUE(bar->IsVisible());
  // The body, the column's last automatic child, ends a gap short of the
  // column's inner bottom (196): the gap is kept in the fixed part.
  EXPECT_EQ(L"106,40,122,190", Str(bar->GetBounds()));
  EXPECT_EQ(0x85E4FFu, canvas.At(106, 60));  // the bar's frame (no images)
  EXPECT_EQ(0xFFFFFFu, canvas.At(20, 39));   // inset: the scrolled row is clipped
  EXPECT_EQ(0xA0B0E0u, canvas.At(20, 41));   // the first row, 8 pixels up (32..56)
  EXPECT_EQ(0xD0D8F0u, canvas.At(20, 57));   // the second row
  EXPECT_EQ(0xFFFFFFu, canvas.At(113, 165)); // the bar's track, not a row under it
  EXPECT_EQ(0x2060C0u, canvas.At(10, 10));   // header cells
  EXPECT_EQ(0x40A040u, canvas.At(100, 10));
  EXPECT_EQ(0xC04040u, canvas.At(300, 10));
  EXPECT_EQ(0xE0A040u, canvas.At(140, 50));  // the first tile, centred in a 61-wide cell
  EXPECT_EQ(0xFFFFFFu, canvas.At(134, 50));
}

}  // namespace
