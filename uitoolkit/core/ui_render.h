#pragma once
// The render engine: static drawing functions used inside control painting.
// Colours are 0xAARRGGBB; GDI receives the RGB part.
//
// The one definition of the class: colour helpers, fills, lines and plain
// text (uitoolkit/core), image loading (uitoolkit/image). Image strings and
// markup text plug into the same class (PaintImageSpec here is the entry
// point the controls call; see ui_render_image.cpp).
#include <windows.h>

#include <stddef.h>

namespace UiToolkit {

class CWindowManagerUI;
struct TUiImageInfo;
class CGifHandler;
class CUiString;
struct TUiSkinLocation;

class CUiRender {
 public:
  // Per channel: integer part of a * channel(d) + b * channel(c); alpha 0.
  static DWORD MixColors(double a, double b, DWORD c, DWORD d);
  // Software AlphaBlend, used when msimg32 has no AlphaBlend export.
  static BOOL WINAPI SoftAlphaBlend(HDC dest, int x, int y, int w, int h, HDC src, int xs, int ys,
                                    int ws, int hs, BLENDFUNCTION blend);
  // Hue 180 with saturation and lightness 100 is neutral and returns the
  // colour unchanged, alpha included.
  static DWORD ShiftColorHsl(DWORD color, short hue, short saturation, short lightness);
  // 0xAARRGGBB -> COLORREF.
  static COLORREF ToColorRef(DWORD argb);

  // Fills. Alpha 0 draws nothing; opaque colours fill directly, others blend.
  static void FillColor(DWORD color, HDC hdc, const RECT& rect);
  // Vertical gradient from `top` to `bottom`.
  static void FillGradient(const RECT& rect, HDC hdc, DWORD top, DWORD bottom, int steps);
  static void StrokeLine(HDC hdc, const RECT& rect, int width, DWORD color, int pen_style);
  static void StrokeRect(DWORD color, const RECT& rect, HDC hdc, int width);
  static void StrokeRoundRect(DWORD color, const RECT& rect, HDC hdc, int width, int ellipse_w,
                              int ellipse_h);

  // Image drawing (uitoolkit/image). Draws `source` of a bitmap into `dest`
  // as a 9-grid with `corner` borders, skipping pieces outside `paint`;
  // blended when the image has alpha or fade is below 255.
  static void PaintBitmap(HBITMAP bitmap, const RECT& paint, const RECT& source, HDC hdc,
                          const RECT& dest, const RECT& corner, bool hasAlpha, int fade, bool hole,
                          bool xtiled, bool ytiled);
  // Draws a loaded image as a draw state of an image string says: a source
  // of all zeros is the whole image, a wider or taller one is cut to it, and
  // nothing is drawn unless dest meets both the control and the paint
  // rectangle.
  static void PaintImageState(HDC hdc, const TUiImageInfo* image, const RECT& control,
                              const RECT& paint, const struct TUiImageDrawState& state);
  // Markup text (uitoolkit/markup) in the manager's fonts and colours.
  // `link_count` is in-out: the capacity of the two link arrays in, the
  // number of link pieces found out. DT_CALCRECT measures into `rect`.
  static void DrawMarkupText(HDC hdc, CWindowManagerUI* manager, RECT& rect, const wchar_t* text,
                             DWORD color, RECT* link_rects, class CUiString* link_texts,
                             int& link_count, UINT style);

  // Plain text in the manager's font of that index (DrawTextW).
  static void DrawPlainText(int font, DWORD color, HDC hdc, CWindowManagerUI* manager,
                            const RECT& rect, const wchar_t* text, UINT style);
  // Draws an image string over `control_rect`; false only without a DC or
  // a manager.
  static bool PaintImageSpec(HDC hdc, CWindowManagerUI* manager, const RECT& control_rect,
                             const RECT& paint_rect, const wchar_t* image, const wchar_t* modifier);
  // One image of an image string, taken from the manager's image map
  // (loaded on first use); false when the name is empty or the image
  // cannot be had.
  static bool PaintNamedImage(HDC hdc, CWindowManagerUI* manager, const RECT& control_rect,
                              const RECT& paint_rect, const struct TUiImageDrawState& state);
  // Markup text in the manager's fonts, colours and images. `linkCount` is
  // in-out: the capacity of the link arrays in, the link pieces found out.
  // With DT_CALCRECT nothing is drawn and `rect` gets the text's extent.
  static void DrawMarkupText(HDC hdc, CWindowManagerUI* manager, RECT& rect, const wchar_t* text,
                             DWORD colour, RECT* linkRects, CUiString* linkTexts,
                             int& linkCount, UINT style);

  // A 32-bit BI_RGB DIB section (zero-filled); `bits` receives its pixels.
  static HBITMAP CreateDib32(HDC hdc, int w, int h, bool top_down, DWORD** bits);

  // The AlphaBlend in use: msimg32's when present, else SoftAlphaBlend.
  typedef BOOL(WINAPI* AlphaBlendFn)(HDC, int, int, int, int, HDC, int, int, int, int,
                                     BLENDFUNCTION);
  static AlphaBlendFn AlphaBlender();

  // ---- image loading (uitoolkit/image) ----
  // `type` none: `name` is a file name, looked for in the skin zip (when
  // one is set) or the resource folder, then as a path of its own.
  // Otherwise `name` is a resource identifier and `type` its type.
  // `mask` (0xAARRGGBB) keys out pixels of exactly that value.
  static TUiImageInfo* LoadImageFile(const wchar_t* name, const wchar_t* type, DWORD mask);
  static TUiImageInfo* LoadImageFileFrom(const TUiSkinLocation& location, const wchar_t* name,
                                         const wchar_t* type, DWORD mask);
  // A handler without frames when the bytes are found but hold no GIF;
  // none when no bytes are found.
  static CGifHandler* LoadGifFile(const wchar_t* name);
  static CGifHandler* LoadGifFileFrom(const TUiSkinLocation& location, const wchar_t* name);
  // Decodes image bytes of any format stb_image reads.
  static TUiImageInfo* DecodeImage(const void* bytes, size_t length, DWORD mask);
  static CGifHandler* DecodeGif(const void* bytes, size_t length);
  // A premultiplied DIB section from RGBA pixels; false when none can be made.
  static bool MakePremultipliedBitmap(const unsigned char* rgba, int width, int height, DWORD mask,
                                      TUiImageInfo* image);
};

}  // namespace UiToolkit
