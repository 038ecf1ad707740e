// Fills, gradients and lines of the render engine.
#include "uitoolkit/core/ui_render.h"

namespace UiToolkit {

namespace {

typedef BOOL(WINAPI* GradientFillFn)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

GradientFillFn GradientFiller() {
  static GradientFillFn fn = [] {
    HMODULE module = ::LoadLibraryW(L"msimg32.dll");
    return module ? reinterpret_cast<GradientFillFn>(::GetProcAddress(module, "GradientFill"))
                  : nullptr;
  }();
  return fn;
}

void SolidRect(HDC hdc, const RECT& rect, COLORREF color) {
  ::SetBkColor(hdc, color);
  ::ExtTextOutW(hdc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

int BandCount(int steps) {
  int k = steps < 4 ? 1 : steps < 8 ? 2 : steps < 16 ? 3 : steps < 32 ? 4 : steps < 64 ? 5 : 6;
  return 1 << k;
}

// Draws the opaque gradient at `rect` on `hdc`.
void GradientInto(HDC hdc, const RECT& rect, DWORD top, DWORD bottom, int steps) {
  GradientFillFn fill = GradientFiller();
  if (fill) {
    TRIVERTEX v[2] = {};
    v[0].x = rect.left;
    v[0].y = rect.top;
    v[0].Red = static_cast<COLOR16>(((top >> 16) & 0xFF) << 8);
    v[0].Green = static_cast<COLOR16>(((top >> 8) & 0xFF) << 8);
    v[0].Blue = static_cast<COLOR16>((top & 0xFF) << 8);
    v[0].Alpha = 0xFF00;
    v[1].x = rect.right;
    v[1].y = rect.bottom;
    v[1].Red = static_cast<COLOR16>(((bottom >> 16) & 0xFF) << 8);
    v[1].Green = static_cast<COLOR16>(((bottom >> 8) & 0xFF) << 8);
    v[1].Blue = static_cast<COLOR16>((bottom & 0xFF) << 8);
    v[1].Alpha = 0xFF00;
    GRADIENT_RECT gr = {0, 1};
    fill(hdc, v, 2, &gr, 1, GRADIENT_FILL_RECT_V);
    return;
  }
  int n = BandCount(steps);
  int height = rect.bottom - rect.top;
  for (int i = 0; i < n; ++i) {
    RECT band = {rect.left, rect.bottom - (i + 1) * height / n, rect.right,
                 rect.bottom - i * height / n};
    if (band.bottom <= band.top) continue;
    int ch[3];
    for (int c = 0; c < 3; ++c) {
      int shift = 16 - 8 * c;
      ch[c] = (static_cast<int>((bottom >> shift) & 0xFF) * (n - i) +
               static_cast<int>((top >> shift) & 0xFF) * i) / n;
    }
    SolidRect(hdc, band, RGB(ch[0], ch[1], ch[2]));
  }
}

}  // namespace

void CUiRender::FillColor(DWORD color, HDC hdc, const RECT& rect) {
  if (color <= 0x00FFFFFF || !hdc) return;
  if ((color >> 24) == 0xFF) {
    SolidRect(hdc, rect, ToColorRef(color));
    return;
  }
  // One 32-bit pixel holding the colour, blended over the rectangle.
  HDC mem = ::CreateCompatibleDC(hdc);
  DWORD* bits = nullptr;
  HBITMAP bmp = CreateDib32(hdc, 1, 1, false, &bits);
  if (mem && bmp && bits) {
    // AC_SRC_ALPHA expects premultiplied channels.
    DWORD a = color >> 24;
    DWORD r = ((color >> 16) & 0xFF) * a / 255, g = ((color >> 8) & 0xFF) * a / 255,
          b = (color & 0xFF) * a / 255;
    *bits = (a << 24) | (r << 16) | (g << 8) | b;
    HGDIOBJ old = ::SelectObject(mem, bmp);
    BLENDFUNCTION bf = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlender()(hdc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, mem, 0,
                   0, 1, 1, bf);
    ::SelectObject(mem, old);
  }
  if (bmp) ::DeleteObject(bmp);
  if (mem) ::DeleteDC(mem);
}

void CUiRender::FillGradient(const RECT& rect, HDC hdc, DWORD top, DWORD bottom, int steps) {
  int alpha = (static_cast<int>(top >> 24) + static_cast<int>(bottom >> 24)) / 2;
  if (alpha == 0 || !hdc) return;
  int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  if (alpha == 255) {
    GradientInto(hdc, rect, top, bottom, steps);
    return;
  }
  HDC mem = ::CreateCompatibleDC(hdc);
  HBITMAP bmp = ::CreateCompatibleBitmap(hdc, w, h);
  if (mem && bmp) {
    HGDIOBJ old = ::SelectObject(mem, bmp);
    RECT local = {0, 0, w, h};
    GradientInto(mem, local, top, bottom, steps);
    BLENDFUNCTION bf = {AC_SRC_OVER, 0, static_cast<BYTE>(alpha), 0};
    AlphaBlender()(hdc, rect.left, rect.top, w, h, mem, 0, 0, w, h, bf);
    ::SelectObject(mem, old);
  }
  if (bmp) ::DeleteObject(bmp);
  if (mem) ::DeleteDC(mem);
}

void CUiRender::StrokeLine(HDC hdc, const RECT& rect, int width, DWORD color, int pen_style) {
  LOGPEN lp = {static_cast<UINT>(pen_style), {width, 0}, ToColorRef(color)};
  HPEN pen = ::CreatePenIndirect(&lp);
  HGDIOBJ old = ::SelectObject(hdc, pen);
  ::MoveToEx(hdc, rect.left, rect.top, nullptr);
  ::LineTo(hdc, rect.right, rect.bottom);
  ::SelectObject(hdc, old);
  ::DeleteObject(pen);
}

void CUiRender::StrokeRect(DWORD color, const RECT& rect, HDC hdc, int width) {
  HPEN pen = ::CreatePen(PS_SOLID | PS_INSIDEFRAME, width, ToColorRef(color));
  HGDIOBJ old_pen = ::SelectObject(hdc, pen);
  HGDIOBJ old_brush = ::SelectObject(hdc, ::GetStockObject(NULL_BRUSH));
  ::Rectangle(hdc, rect.left, rect.top, rect.right, rect.bottom);
  ::SelectObject(hdc, old_brush);
  ::SelectObject(hdc, old_pen);
  ::DeleteObject(pen);
}

void CUiRender::StrokeRoundRect(DWORD color, const RECT& rect, HDC hdc, int width, int ellipse_w,
                                int ellipse_h) {
  HPEN pen = ::CreatePen(PS_SOLID | PS_INSIDEFRAME, width, ToColorRef(color));
  HGDIOBJ old_pen = ::SelectObject(hdc, pen);
  HGDIOBJ old_brush = ::SelectObject(hdc, ::GetStockObject(NULL_BRUSH));
  ::RoundRect(hdc, rect.left, rect.top, rect.right, rect.bottom, ellipse_w, ellipse_h);
  ::SelectObject(hdc, old_brush);
  ::SelectObject(hdc, old_pen);
  ::DeleteObject(pen);
}

}  // namespace UiToolkit
