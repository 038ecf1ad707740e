// Labels: alignment words, default colours, effect text through GDI+.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "tests/uitoolkit/controls/control_window.h"
#include "tests/uitoolkit/core/dib_canvas.h"
#include "uitoolkit/controls/gdiplus_session.h"
#include "uitoolkit/controls/label.h"

using namespace uitest;

TEST(LabelAlignTest, WordsSetAndClearStyleBits) {
  struct Case {
    const wchar_t* value;
    UINT expected;
  } cases[] = {
      {L"left", 0},
      {L"center", DT_VCENTER | DT_CENTER},
      {L"right", DT_RIGHT},
      {L"top", DT_SINGLELINE},
      {L"bottom", DT_BOTTOM | DT_SINGLELINE},
      // "center" occurs inside "vcenter", so it centres horizontally too.
      {L"vcenter", DT_CENTER | DT_VCENTER | DT_SINGLELINE},
      {L"left vcenter", DT_CENTER | DT_VCENTER | DT_SINGLELINE},
      {L"right bottom", DT_RIGHT | DT_BOTTOM | DT_SINGLELINE},
      {L"nothing", DT_VCENTER},
  };
  for (const Case& c : cases) {
    CLabelUI label;
    label.ApplyAttribute(L"align", c.value);
    EXPECT_EQ(c.expected, label.GetTextStyle()) << c.value;
  }
  CLabelUI label;
  label.ApplyAttribute(L"endellipsis", L"true");
  EXPECT_EQ(UINT(DT_VCENTER | DT_END_ELLIPSIS), label.GetTextStyle());
  label.ApplyAttribute(L"endellipsis", L"yes");
  EXPECT_EQ(UINT(DT_VCENTER), label.GetTextStyle());
}

TEST(LabelAttributeTest, EffectAttributes) {
  CLabelUI label;
  struct Case {
    const wchar_t* name;
    const wchar_t* value;
  } attrs[] = {{L"rhaa", L"7"},           {L"transtext", L"200"},     {L"transshadow1", L"10"},
               {L"textcolor1", L"#FF00FF00"}, {L"strokecolor", L"FF112233"},
               {L"shadowoffset", L"2,-90"}};
  for (const Case& a : attrs) label.ApplyAttribute(a.name, a.value);
  EXPECT_EQ(0, label.GetRenderingHint());
  label.ApplyAttribute(L"rhaa", L"4");
  EXPECT_EQ(4, label.GetRenderingHint());
  EXPECT_EQ(200, label.GetTextAlpha());
  EXPECT_EQ(10, label.GetShadowAlpha1());
  EXPECT_EQ(0xFF00FF00u, label.GetTextColor1());
  EXPECT_EQ(0xFF112233u, label.GetStrokeColor());
  // Angle -90 points down: the shadow moves 2 pixels down.
  EXPECT_NEAR(0.0f, label.GetShadowOffsetX(), 0.01f);
  EXPECT_NEAR(2.0f, label.GetShadowOffsetY(), 0.01f);
  label.ApplyAttribute(L"shadowoffset", L"5,200");  // outside -180..180: ignored
  EXPECT_NEAR(2.0f, label.GetShadowOffsetY(), 0.01f);
}

namespace {

int CountColour(const DibCanvas& canvas, int w, int h, DWORD rgb) {
  int n = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (canvas.At(x, y) == rgb) ++n;
  return n;
}

int CountNot(const DibCanvas& canvas, int w, int h, DWORD rgb) {
  return w * h - CountColour(canvas, w, h, rgb);
}

}  // namespace

TEST(LabelPaintTest, UnsetColoursTakeTheWindowDefaults) {
  ControlWindow w;
  w.win.manager.SetDefaultTextColor(0xFF00A000);
  w.win.manager.SetDisabledTextColor(0xFFA00000);
  CLabelUI* label = w.Add(new CLabelUI, RECT{0, 0, 200, 40});
  label->SetText(L"\x2588\x2588\x2588 label");
  DibCanvas canvas(200, 40, 0xFFFFFF);
  RECT all = {0, 0, 200, 40};
  label->Paint(canvas.dc(), all);
  EXPECT_GT(CountColour(canvas, 200, 40, 0x00A000), 20);
  label->SetEnabled(false);
  DibCanvas disabled(200, 40, 0xFFFFFF);
  label->Paint(disabled.dc(), all);
  EXPECT_GT(CountColour(disabled, 200, 40, 0xA00000), 20);
  EXPECT_EQ(0, CountColour(disabled, 200, 40, 0x00A000));
}

TEST(LabelEffectTest, EffectTextIsSeparateAndRepaints) {
  ControlWindow w;
  CLabelUI* label = w.Add(new CLabelUI, RECT{0, 0, 200, 40});
  label->SetText(L"plain");
  label->ApplyAttribute(L"enabledeffect", L"true");
  EXPECT_STREQ(L"", label->GetText());  // the effect text is its own
  ::UpdateWindow(w.win.GetHWND());
  RECT dirty = {};
  EXPECT_FALSE(::GetUpdateRect(w.win.GetHWND(), &dirty, FALSE));
  label->SetText(L"effect");
  EXPECT_STREQ(L"effect", label->GetText());
  EXPECT_TRUE(::GetUpdateRect(w.win.GetHWND(), &dirty, FALSE));
  label->ApplyAttribute(L"enabledeffect", L"false");
  EXPECT_STREQ(L"plain", label->GetText());
}

TEST(LabelEffectTest, DrawsGradientTextOutlineAndShadow) {
  ControlWindow w;
  w.win.manager.ReplaceDefaultFont(L"Tahoma", 28, true, false, false);
  CLabelUI* label = w.Add(new CLabelUI, RECT{0, 0, 240, 60});
  label->ApplyAttribute(L"enabledeffect", L"true");
  label->ApplyAttribute(L"textcolor", L"#FF0000FF");
  label->ApplyAttribute(L"transtext", L"255");
  label->ApplyAttribute(L"transtext1", L"255");
  label->SetText(L"WWWW");
  RECT all = {0, 0, 240, 60};

  DibCanvas plain(240, 60, 0xFFFFFF);
  label->Paint(plain.dc(), all);
  EXPECT_GT(CountColour(plain, 240, 60, 0x0000FF), 30);

  // "strokecolor" 0 draws no outline even with the stroke on.
  label->ApplyAttribute(L"enabledstroke", L"true");
  DibCanvas noStroke(240, 60, 0xFFFFFF);
  label->Paint(noStroke.dc(), all);
  EXPECT_EQ(CountNot(plain, 240, 60, 0xFFFFFF), CountNot(noStroke, 240, 60, 0xFFFFFF));

  label->ApplyAttribute(L"strokecolor", L"#FFFF0000");
  DibCanvas stroked(240, 60, 0xFFFFFF);
  label->Paint(stroked.dc(), all);
  EXPECT_GT(CountColour(stroked, 240, 60, 0xFF0000), 10);

  label->ApplyAttribute(L"enabledstroke", L"false");
  label->ApplyAttribute(L"enabledshadow", L"true");
  label->ApplyAttribute(L"textshadowcolora", L"#FF00FF00");
  label->ApplyAttribute(L"transshadow", L"255");
  label->ApplyAttribute(L"transshadow1", L"255");
  label->ApplyAttribute(L"shadowoffset", L"3,-45");
  DibCanvas shadowed(240, 60, 0xFFFFFF);
  label->Paint(shadowed.dc(), all);
  EXPECT_GT(CountColour(shadowed, 240, 60, 0x00FF00), 30);
}

TEST(LabelEffectTest, ChineseFaceDrawsThroughGdiplus) {
  ControlWindow w;
  w.win.manager.ReplaceDefaultFont(L"\x5b8b\x4f53", 24, false, false, false);
  CLabelUI* label = w.Add(new CLabelUI, RECT{0, 0, 200, 50});
  label->ApplyAttribute(L"enabledeffect", L"true");
  label->ApplyAttribute(L"textcolor", L"#FF000000");
  label->SetText(L"\x4e2d\x6587\x6807\x7b7e");
  DibCanvas canvas(200, 50, 0xFFFFFF);
  RECT all = {0, 0, 200, 50};
  label->Paint(canvas.dc(), all);
  EXPECT_GT(CountNot(canvas, 200, 50, 0xFFFFFF), 40);
}

TEST(GdiplusSessionTest, LabelsMadeOnManyThreadsShareOneStart) {
  std::vector<std::thread> threads;
  std::vector<int> ok(8, 0);
  for (int i = 0; i < 8; ++i) {
    threads.emplace_back([&ok, i] {
      for (int k = 0; k < 20; ++k) {
        CLabelUI label;
        label.ApplyAttribute(L"enabledeffect", L"true");
        label.SetText(L"row");
        label.SetBounds(RECT{0, 0, 60, 20});
        DibCanvas canvas(60, 20, 0xFFFFFF);
        label.PaintText(canvas.dc());
      }
      ok[i] = UiToolkit::EnsureGdiplusStarted() ? 1 : 0;
    });
  }
  for (auto& t : threads) t.join();
  for (int v : ok) EXPECT_EQ(1, v);
}
