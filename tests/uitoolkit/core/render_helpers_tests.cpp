#include <gtest/gtest.h>

#include "tests/uitoolkit/core/dib_canvas.h"
#include "uitoolkit/core/ui_clip.h"
#include "uitoolkit/core/ui_render.h"

using namespace UiToolkit;

namespace {

TEST(RenderColor, MixColors) {
  struct Case {
    double a, b;
    DWORD c, d, expected;
  } cases[] = {
      {0.25, 0.75, 0xFF000000, 0xFFFFFFFF, 0x003F3F3F},  // a * d + b * c
      {1.0, 0.0, 0xFF102030, 0x80405060, 0x00405060},
      {0.0, 1.0, 0xFF102030, 0x80405060, 0x00102030},
      {0.5, 0.5, 0x00FF0000, 0x000000FF, 0x007F007F},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.expected, CUiRender::MixColors(c.a, c.b, c.c, c.d)) << std::hex << c.expected;
}

TEST(RenderColor, ShiftColorHsl) {
  for (DWORD color : {0x00000000u, 0xFF123456u, 0x80FFFFFFu, 0x01ABCDEFu})
    EXPECT_EQ(color, CUiRender::ShiftColorHsl(color, 180, 100, 100));
  struct Case {
    DWORD in;
    short h, s, l;
    DWORD expected;
  } cases[] = {
      {0xFFFF0000, 300, 100, 100, 0xFF00FF00},  // +120 degrees: red to green
      {0xFFFF0000, 60, 100, 100, 0xFF0000FF},   // -120 degrees: red to blue
      {0x80FF0000, 180, 0, 100, 0x80808080},    // no saturation: grey, alpha kept
      {0xFF808080, 180, 100, 0, 0xFF000000},    // no lightness: black
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.expected, CUiRender::ShiftColorHsl(c.in, c.h, c.s, c.l)) << std::hex << c.in;
}

TEST(RenderColor, SoftAlphaBlend) {
  struct Case {
    DWORD src, dst;
    BYTE constant;
    DWORD expected;
  } cases[] = {
      {0xFF102030, 0x00C0C0C0, 255, 0x00102030},  // opaque source copied
      {0x00102030, 0x00C0C0C0, 255, 0x00C0C0C0},  // transparent source: unchanged
      {0xFFFFFFFF, 0x00000000, 0, 0x00000000},    // constant alpha 0: unchanged
      {0xFFFFFFFF, 0x00000000, 51, 0x00333333},   // 20% of white over black
  };
  for (const Case& c : cases) {
    DibCanvas src(4, 4, c.src), dst(4, 4, c.dst);
    BLENDFUNCTION bf = {AC_SRC_OVER, 0, c.constant, AC_SRC_ALPHA};
    EXPECT_TRUE(CUiRender::SoftAlphaBlend(dst.dc(), 0, 0, 4, 4, src.dc(), 0, 0, 4, 4, bf));
    EXPECT_EQ(c.expected, dst.At(1, 1)) << std::hex << c.src << " over " << c.dst;
    EXPECT_EQ(0u, dst.Raw(1, 1) >> 24);
  }
  // Scaled: a 2x2 source stretched over 8x8.
  DibCanvas src(2, 2, 0xFF00FF00), dst(8, 8, 0);
  BLENDFUNCTION bf = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  EXPECT_TRUE(CUiRender::SoftAlphaBlend(dst.dc(), 0, 0, 8, 8, src.dc(), 0, 0, 2, 2, bf));
  EXPECT_EQ(0x0000FF00u, dst.At(7, 7));
  EXPECT_FALSE(CUiRender::SoftAlphaBlend(dst.dc(), 0, 0, 0, 8, src.dc(), 0, 0, 2, 2, bf));
}

TEST(RenderClip, NestedGuardsRestoreTheClipBox) {
  DibCanvas canvas(100, 100);
  RECT box;
  GetClipBox(canvas.dc(), &box);
  EXPECT_EQ(100, box.right);
  {
    CUiClip outer;
    CUiClip::ClipRect(outer, canvas.dc(), RECT{10, 10, 90, 90});
    {
      CUiClip inner;
      CUiClip::ClipRect(inner, canvas.dc(), RECT{0, 0, 50, 50});
      GetClipBox(canvas.dc(), &box);
      EXPECT_EQ(10, box.left);
      EXPECT_EQ(50, box.right);
    }
    GetClipBox(canvas.dc(), &box);
    EXPECT_EQ(10, box.left);
    EXPECT_EQ(90, box.right);
  }
  GetClipBox(canvas.dc(), &box);
  EXPECT_EQ(0, box.left);
  EXPECT_EQ(100, box.right);
}

TEST(RenderClip, RoundClipCutsTheCorners) {
  DibCanvas canvas(40, 40);
  {
    CUiClip clip;
    RECT box = {0, 0, 39, 39};
    CUiClip::ClipRoundRect(clip, canvas.dc(), RECT{0, 0, 40, 40}, box, 20, 20);
    CUiRender::FillColor(0xFFFF0000, canvas.dc(), RECT{0, 0, 40, 40});
  }
  EXPECT_EQ(0u, canvas.At(0, 0));
  EXPECT_EQ(0u, canvas.At(39, 39));
  EXPECT_EQ(0x00FF0000u, canvas.At(20, 20));
  EXPECT_EQ(0x00FF0000u, canvas.At(20, 0));
}

TEST(RenderFill, ColorsAndGradients) {
  DibCanvas canvas(64, 64, 0x00FFFFFF);
  CUiRender::FillColor(0x00123456, canvas.dc(), RECT{0, 0, 64, 64});  // alpha 0: nothing
  EXPECT_EQ(0x00FFFFFFu, canvas.At(5, 5));
  CUiRender::FillColor(0xFF123456, canvas.dc(), RECT{0, 0, 32, 64});
  EXPECT_EQ(0x00123456u, canvas.At(5, 5));
  EXPECT_EQ(0x00FFFFFFu, canvas.At(40, 5));
  CUiRender::FillColor(0x80000000, canvas.dc(), RECT{32, 0, 64, 64});  // half black over white
  DWORD half = canvas.At(40, 5) & 0xFF;
  EXPECT_NEAR(0x7F, static_cast<int>(half), 2);

  DibCanvas g(16, 64);
  CUiRender::FillGradient(RECT{0, 0, 16, 64}, g.dc(), 0xFF000000, 0xFF0000FF, 16);
  EXPECT_LT(g.At(8, 1) & 0xFF, 0x10u);
  EXPECT_GT(g.At(8, 62) & 0xFF, 0xEFu);
  DWORD mid = g.At(8, 32) & 0xFF;
  EXPECT_NEAR(0x80, static_cast<int>(mid), 8);
}

}  // namespace
