#include <gtest/gtest.h>

#include "tests/uitoolkit/fixtures/canvas.h"
#include "uitoolkit/core/ui_render.h"
#include "uitoolkit/core/window_manager.h"

using namespace UiToolkit;

TEST(MarkupTextWithManager, UsesTheManagersFontsAndFindsLinks) {
    CWindowManagerUI manager;
    fixtures::Canvas canvas(300, 60, 0xFFFFFFFF);
    RECT rects[4];
    CUiString texts[4];
    RECT area = {0, 0, 300, 60};
    int count = 4;
    CUiRender::DrawMarkupText(canvas.dc(), &manager, area, L"go {a home}home{/a} {f Tahoma 18 bold}big{/f}",
                              0xFF000000, rects, texts, count, 0);
    ASSERT_EQ(1, count);
    EXPECT_STREQ(L"home", texts[0].GetData());
    EXPECT_GT(rects[0].right, rects[0].left);
    EXPECT_EQ(0, rects[0].top);
    const int fonts = manager.FontCount();
    EXPECT_GE(fonts, 1);
    // A second paint reuses the font the first one added.
    count = 4;
    CUiRender::DrawMarkupText(canvas.dc(), &manager, area, L"{f Tahoma 18 bold}big{/f}", 0xFF000000, rects, texts,
                              count, 0);
    EXPECT_EQ(fonts, manager.FontCount());
    EXPECT_EQ(0, count);
    // Measuring draws nothing and gives the extent.
    fixtures::Canvas blank(300, 60, 0xFFFFFFFF);
    RECT measure = {0, 0, 300, 60};
    int none = 0;
    CUiRender::DrawMarkupText(blank.dc(), &manager, measure, L"one{n}two", 0xFF000000, nullptr, nullptr, none,
                              DT_CALCRECT);
    EXPECT_GT(measure.bottom, 0);
    EXPECT_LT(measure.right, 300);
    EXPECT_EQ(-1, blank.RightmostInk(0xFFFFFF));
    // No manager: nothing found.
    count = 4;
    CUiRender::DrawMarkupText(canvas.dc(), nullptr, area, L"{a x}x{/a}", 0xFF000000, rects, texts, count, 0);
    EXPECT_EQ(0, count);
}
