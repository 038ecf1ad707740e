// The label's effect mode: the text drawn through the GDI+ flat API with
// gradient-filled glyphs, an optional one-pixel outline and a drop shadow.
#include <windows.h>

#include <objidl.h>  // PROPID, which a lean windows.h leaves out
#include <gdiplus.h>

#include "uitoolkit/controls/gdiplus_session.h"
#include "uitoolkit/controls/label.h"
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {
namespace {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

ARGB WithAlpha(DWORD color, int alpha) {
  return (static_cast<ARGB>(alpha & 0xFF) << 24) | (color & 0x00FFFFFF);
}

GpLineGradient* MakeBrush(int startX, int length, ARGB from, ARGB to) {
  GpPoint a = {startX, 0};
  GpPoint b = {0, length};
  GpLineGradient* brush = nullptr;
  if (GdipCreateLineBrushI(&a, &b, from, to, WrapModeTile, &brush) != Ok) return nullptr;
  return brush;
}

// Deletes the GDI+ objects of one paint whatever path it leaves by.
struct PaintObjects {
  GpFont* font = nullptr;
  GpGraphics* graphics = nullptr;
  GpStringFormat* format = nullptr;
  GpLineGradient* shadow = nullptr;
  GpLineGradient* text = nullptr;
  GpLineGradient* stroke = nullptr;
  ~PaintObjects() {
    if (stroke) GdipDeleteBrush(stroke);
    if (text) GdipDeleteBrush(text);
    if (shadow) GdipDeleteBrush(shadow);
    if (format) GdipDeleteStringFormat(format);
    if (graphics) GdipDeleteGraphics(graphics);
    if (font) GdipDeleteFont(font);
  }
};

}  // namespace

void CLabelUI::PaintEffectText(HDC hdc, const RECT& rc) {
  if (!hdc || m_effectText.IsEmpty() || !EnsureGdiplusStarted()) return;
  PaintObjects o;
  HFONT hfont = m_manager ? m_manager->FontAt(m_font)->hFont : nullptr;
  LOGFONTW lf = {};
  if (hfont && ::GetObjectW(hfont, sizeof(lf), &lf)) {
    // The wide call keeps face names such as Chinese ones intact.
    GdipCreateFontFromLogfontW(hdc, &lf, &o.font);
  } else {
    GdipCreateFontFromDC(hdc, &o.font);
  }
  if (!o.font || GdipCreateFromHDC(hdc, &o.graphics) != Ok) return;
  GdipSetTextRenderingHint(o.graphics, static_cast<TextRenderingHint>(m_renderingHint));
  if (GdipCreateStringFormat(0, LANG_NEUTRAL, &o.format) != Ok) return;
  GdipSetStringFormatAlign(o.format, StringAlignmentNear);
  GdipSetStringFormatLineAlign(o.format, StringAlignmentCenter);

  const int height = rc.bottom - rc.top;
  RectF layout(static_cast<REAL>(rc.left), static_cast<REAL>(rc.top),
               static_cast<REAL>(rc.right - rc.left), static_cast<REAL>(height));
  RectF shadowRect = layout;
  shadowRect.X += m_shadowDx;
  shadowRect.Y += m_shadowDy;
  const int length = m_gradientLength != 0 ? m_gradientLength : height;

  DWORD shadowB = m_shadowColorB == 0xFFFFFFFF ? m_shadowColorA : m_shadowColorB;
  DWORD text1 = m_textColor1 == 0xFFFFFFFF ? m_textColor : m_textColor1;
  o.shadow = MakeBrush(m_gradientAngle, length, WithAlpha(m_shadowColorA, m_shadowAlpha),
                       WithAlpha(shadowB, m_shadowAlpha1));
  o.text = MakeBrush(m_gradientAngle, length, WithAlpha(m_textColor, m_textAlpha),
                     WithAlpha(text1, m_textAlpha1));

  const wchar_t* s = m_effectText;
  const INT n = static_cast<INT>(wcslen(s));
  if (m_stroke && m_strokeColor != 0) {
    ARGB c = WithAlpha(m_strokeColor, m_strokeAlpha);
    o.stroke = MakeBrush(m_gradientAngle, height + 2, c, c);
    if (o.stroke) {
      const REAL moves[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
      for (const auto& m : moves) {
        RectF r = layout;
        r.X += m[0];
        r.Y += m[1];
        GdipDrawString(o.graphics, s, n, o.font, &r, o.format, o.stroke);
      }
    }
  }
  if (m_shadow && (m_shadowColorA != 0 || m_shadowColorB != 0) && o.shadow)
    GdipDrawString(o.graphics, s, n, o.font, &shadowRect, o.format, o.shadow);
  if (o.text) GdipDrawString(o.graphics, s, n, o.font, &layout, o.format, o.text);
}

}  // namespace UiToolkit
