#include <math.h>

#include "uitoolkit/core/ui_render.h"

namespace UiToolkit {

COLORREF CUiRender::ToColorRef(DWORD argb) {
  return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

DWORD CUiRender::MixColors(double a, double b, DWORD c, DWORD d) {
  DWORD result = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    double channel = a * ((d >> shift) & 0xFF) + b * ((c >> shift) & 0xFF);
    int value = static_cast<int>(channel);
    if (value < 0) value = 0;
    if (value > 255) value = 255;
    result |= static_cast<DWORD>(value) << shift;
  }
  return result;
}

namespace {

double HueToChannel(double p, double q, double t) {
  if (t < 0) t += 1;
  if (t > 1) t -= 1;
  if (t < 1.0 / 6) return p + (q - p) * 6 * t;
  if (t < 0.5) return q;
  if (t < 2.0 / 3) return p + (q - p) * (2.0 / 3 - t) * 6;
  return p;
}

}  // namespace

DWORD CUiRender::ShiftColorHsl(DWORD color, short hue, short saturation, short lightness) {
  if (hue == 180 && saturation == 100 && lightness == 100) return color;
  double r = ((color >> 16) & 0xFF) / 255.0;
  double g = ((color >> 8) & 0xFF) / 255.0;
  double b = (color & 0xFF) / 255.0;
  double mx = fmax(r, fmax(g, b)), mn = fmin(r, fmin(g, b));
  double h = 0, s = 0, l = (mx + mn) / 2;
  if (mx > mn) {
    double d = mx - mn;
    s = l > 0.5 ? d / (2 - mx - mn) : d / (mx + mn);
    if (mx == r)
      h = (g - b) / d + (g < b ? 6 : 0);
    else if (mx == g)
      h = (b - r) / d + 2;
    else
      h = (r - g) / d + 4;
    h /= 6;
  }
  h += (hue - 180) / 360.0;
  h -= floor(h);
  s = fmin(1.0, fmax(0.0, s * saturation / 100.0));
  l = fmin(1.0, fmax(0.0, l * lightness / 100.0));
  double q = l < 0.5 ? l * (1 + s) : l + s - l * s;
  double p = 2 * l - q;
  int R = static_cast<int>(HueToChannel(p, q, h + 1.0 / 3) * 255 + 0.5);
  int G = static_cast<int>(HueToChannel(p, q, h) * 255 + 0.5);
  int B = static_cast<int>(HueToChannel(p, q, h - 1.0 / 3) * 255 + 0.5);
  return (color & 0xFF000000) | (R << 16) | (G << 8) | B;
}

HBITMAP CUiRender::CreateDib32(HDC hdc, int w, int h, bool top_down, DWORD** bits) {
  BITMAPINFO bmi = {};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = w;
  bmi.bmiHeader.biHeight = top_down ? -h : h;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  void* p = nullptr;
  HBITMAP bmp = ::CreateDIBSection(hdc, &bmi, DIB_RGB_COLORS, &p, nullptr, 0);
  if (bits) *bits = static_cast<DWORD*>(p);
  return bmp;
}

BOOL WINAPI CUiRender::SoftAlphaBlend(HDC dest, int x, int y, int w, int h, HDC src, int xs, int ys,
                                      int ws, int hs, BLENDFUNCTION blend) {
  if (w <= 0 || h <= 0) return FALSE;
  HDC mem = ::CreateCompatibleDC(dest);
  if (!mem) return FALSE;
  DWORD* src_bits = nullptr;
  DWORD* dst_bits = nullptr;
  HBITMAP src_bmp = CreateDib32(dest, w, h, false, &src_bits);
  HBITMAP dst_bmp = src_bmp ? CreateDib32(dest, w, h, false, &dst_bits) : nullptr;
  if (!src_bmp || !dst_bmp) {
    if (src_bmp) ::DeleteObject(src_bmp);
    ::DeleteDC(mem);
    return FALSE;
  }
  HGDIOBJ old = ::SelectObject(mem, src_bmp);
  ::StretchBlt(mem, 0, 0, w, h, src, xs, ys, ws, hs, SRCCOPY);
  ::SelectObject(mem, dst_bmp);
  ::BitBlt(mem, 0, 0, w, h, dest, x, y, SRCCOPY);
  ::GdiFlush();
  for (int i = 0; i < w * h; ++i) {
    double weight = (src_bits[i] >> 24) * blend.SourceConstantAlpha / 255.0 / 255.0;
    if (weight < 0) weight = 0;
    dst_bits[i] = MixColors(weight, 1 - weight, dst_bits[i], src_bits[i]);
  }
  ::BitBlt(dest, x, y, w, h, mem, 0, 0, SRCCOPY);
  ::SelectObject(mem, old);
  ::DeleteObject(src_bmp);
  ::DeleteObject(dst_bmp);
  ::DeleteDC(mem);
  return TRUE;
}

CUiRender::AlphaBlendFn CUiRender::AlphaBlender() {
  static AlphaBlendFn fn = [] {
    HMODULE module = ::LoadLibraryW(L"msimg32.dll");
    AlphaBlendFn found =
        module ? reinterpret_cast<AlphaBlendFn>(::GetProcAddress(module, "AlphaBlend")) : nullptr;
    return found ? found : &CUiRender::SoftAlphaBlend;
  }();
  return fn;
}

}  // namespace UiToolkit
