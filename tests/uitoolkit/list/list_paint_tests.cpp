// A headered list of 50 text rows painted into a canvas: header, alternate,
// selected and disabled looks sampled by pixels, before and after a scroll.
// UILIST_SHOT=<file.bmp> writes the picture out for a person to look at.
#include <gtest/gtest.h>

#include <stdlib.h>

#include "tests/uitoolkit/core/dib_canvas.h"
#include "tests/uitoolkit/list/list_window.h"

using namespace listtest;

namespace {

// UILIST_SHOT names the file the picture is written to.
void SaveWhenAsked(const DibCanvas& canvas) {
  const char* path = getenv("UILIST_SHOT");
  if (path && *path) canvas.SaveAsBmp(path);
}

class Cells : public IListTextSource {
 public:
  const wchar_t* GetItemText(CControlUI*, int row, int column) override {
    static const wchar_t* const kinds[] = {L"Editor", L"Browser", L"Player", L"Archiver"};
    switch (column) {
      case 0: text_ = std::wstring(kinds[row % 4]) + L" " + std::to_wstring(row); break;
      case 1: text_ = L"3." + std::to_wstring(row % 10) + L".1"; break;
      default: text_ = std::to_wstring(10 + row * 3) + L" MB"; break;
    }
    return text_.c_str();
  }

 private:
  std::wstring text_;
};

}  // namespace

TEST(ListPaintTest, HeaderedListOfFiftyRows) {
  const int w = 320, h = 240;
  ListWindow win(0, w, h,
                 L"bkcolor=\"#FFFFFFFF\" vscrollbar=\"true\" itemaltbk=\"true\" "
                 L"itembkcolor=\"#FFEEF2F8\" itemselectedbkcolor=\"#FF3070D0\" "
                 L"itemselectedtextcolor=\"#FFFFFFFF\" itemlinecolor=\"#FFD0D0D0\" "
                 L"itemtextpadding=\"6,0,6,0\"");
  win.list->GetHeader()->ApplyAttributeList(L"height=\"26\" bkcolor=\"#FFDDDDDD\"");
  const wchar_t* captions[3] = {L"Name", L"Version", L"Size"};
  const int widths[3] = {140, 80, 80};
  for (int c = 0; c < 3; ++c) {
    CListHeaderItemUI* item = HeaderItem(widths[c]);
    item->SetText(captions[c]);
    item->ApplyAttributeList(L"bkcolor=\"#FFE4E4E4\" bordercolor=\"#FFB0B0B0\" bordersize=\"1\"");
    win.list->Add(item);
  }
  Cells cells;
  win.list->SetTextSource(&cells);
  for (int i = 0; i < 50; ++i) {
    CListTextElementUI* row = new CListTextElementUI;
    row->SetFixedHeight(22);
    win.list->Add(row);
  }
  win.RowAt(4)->SetEnabled(false);
  win.Layout();
  ASSERT_TRUE(win.list->SelectItem(2));

  DibCanvas canvas(w, h, 0);
  win.list->Paint(canvas.dc(), RECT{0, 0, w, h});
  SaveWhenAsked(canvas);
  // Header item, then rows 0 (even), 1 (odd), 2 (selected), 4 (disabled),
  // sampled at the right of the first column where no text reaches.
  const int x = 135;
  EXPECT_EQ(0xE4E4E4u, canvas.At(x, 10));
  EXPECT_EQ(0xEEF2F8u, canvas.At(x, 26 + 11));
  EXPECT_EQ(0xFFFFFFu, canvas.At(x, 26 + 22 + 11));
  EXPECT_EQ(0x3070D0u, canvas.At(x, 26 + 44 + 11));
  EXPECT_EQ(0xFFFFFFu, canvas.At(x, 26 + 88 + 11));  // the default disabled colour
  EXPECT_EQ(0xD0D0D0u, canvas.At(x, 26 + 21));        // the line under row 0
  // Text of the selected row is white on the selection colour.
  bool white_text = false;
  for (int px = 6; px < 100; ++px)
    for (int py = 26 + 44 + 4; py < 26 + 44 + 18; ++py)
      white_text = white_text || canvas.At(px, py) == 0xFFFFFF;
  EXPECT_TRUE(white_text);

  // Scrolled by one row: row 1 is at the top, under the unmoved header.
  win.list->SetScrollPos(SIZE{0, 22});
  DibCanvas scrolled(w, h, 0);
  win.list->Paint(scrolled.dc(), RECT{0, 0, w, h});
  EXPECT_EQ(0xE4E4E4u, scrolled.At(x, 10));
  EXPECT_EQ(0xFFFFFFu, scrolled.At(x, 26 + 11));
  EXPECT_EQ(0x3070D0u, scrolled.At(x, 26 + 22 + 11));
  win.list->SetTextSource(nullptr);
}
