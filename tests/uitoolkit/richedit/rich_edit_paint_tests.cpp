// The rich edit paints its engine's text into the picture being painted,
// inside its text area and nowhere else.
#include <gtest/gtest.h>

#include "tests/uitoolkit/richedit/rich_edit_window.h"
#include "uitoolkit/controls/text_host.h"

using namespace uitest;

namespace {

bool Reddish(DWORD rgb) {
  int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
  return r > 150 && g < 120 && b < 120;
}

}  // namespace

TEST(RichEditPaintTest, TextIsDrawnInTheTextAreaAndNothingOutside) {
  RichEditWindow w(
      L"<VerticalLayout bkcolor=\"#FF808080\" inset=\"20,20,20,20\">"
      L"<RichEdit name=\"edit\" height=\"120\" inset=\"8,8,8,8\" bkcolor=\"#FFFFFFFF\" "
      L"textcolor=\"#FFFF0000\" /></VerticalLayout>");
  CRichEditUI* edit = w.Edit();
  ASSERT_NE(nullptr, edit);
  ASSERT_NE(nullptr, edit->GetHost());
  edit->SetText(Lines(30).c_str());
  w.Paint();
  const RECT bounds = edit->GetBounds();
  const RECT area = edit->GetTextArea();
  EXPECT_EQ(20, bounds.left);
  EXPECT_EQ(140, bounds.bottom);
  EXPECT_EQ(28, area.left);
  EXPECT_EQ(132, area.bottom);

  DibCanvas printed(360, 220, 0x00123456);
  w.Render(printed);
  DibCanvas shown(360, 220, 0x00123456);
  w.Capture(shown);
  for (DibCanvas* canvas : {&printed, &shown}) {
    int inside = 0, stray = 0;
    for (int y = 0; y < 220; ++y)
      for (int x = 0; x < 360; ++x) {
        POINT pt = {x, y};
        DWORD px = canvas->At(x, y);
        if (::PtInRect(&area, pt))
          inside += Reddish(px) ? 1 : 0;
        else if (px != (::PtInRect(&bounds, pt) ? 0xFFFFFFu : 0x808080u))
          ++stray;
      }
    EXPECT_GT(inside, 200) << (canvas == &printed ? "printed" : "shown");
    EXPECT_EQ(0, stray) << (canvas == &printed ? "printed" : "shown");
  }
}
