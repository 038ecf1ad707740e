// Drawing of loaded images: the 9-grid with stretched or tiled middle,
// holes, fades and sub-rectangles of the source.
#include "uitoolkit/core/ui_render.h"
#include "uitoolkit/core/ui_scratch_dc.h"
#include "uitoolkit/image/image_string.h"
#include "uitoolkit/image/ui_image.h"

namespace UiToolkit {

namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }
int Min(int a, int b) { return a < b ? a : b; }

class PiecePainter {
public:
    PiecePainter(HDC hdc, HDC mem, const RECT& paint, bool blended, int fade)
        : hdc_(hdc), mem_(mem), paint_(paint), blended_(blended) {
        blend_ = BLENDFUNCTION{AC_SRC_OVER, 0, static_cast<BYTE>(fade), AC_SRC_ALPHA};
    }

    // Draws the source rectangle (x, y, w, h) into `dest`, whole, when
    // `dest` meets the paint rectangle. Empty pieces on either side are
    // skipped: a negative extent would mirror the image.
    void Piece(const RECT& dest, int x, int y, int w, int h) const {
        if (Width(dest) <= 0 || Height(dest) <= 0 || w <= 0 || h <= 0) return;
        RECT meet;
        if (!IntersectRect(&meet, &dest, &paint_)) return;
        if (blended_) {
            CUiRender::AlphaBlender()(hdc_, dest.left, dest.top, Width(dest), Height(dest), mem_, x, y, w, h, blend_);
        } else if (Width(dest) == w && Height(dest) == h) {
            BitBlt(hdc_, dest.left, dest.top, w, h, mem_, x, y, SRCCOPY);
        } else {
            StretchBlt(hdc_, dest.left, dest.top, Width(dest), Height(dest), mem_, x, y, w, h, SRCCOPY);
        }
    }

    // The middle cell, repeated along the tiled axes. A source middle of
    // no width or height has nothing to repeat and is skipped.
    void Tiled(const RECT& dest, int x, int y, int w, int h, bool xtiled, bool ytiled) const {
        if (w <= 0 || h <= 0 || Width(dest) <= 0 || Height(dest) <= 0) return;
        const int stepX = xtiled ? w : Width(dest);
        const int stepY = ytiled ? h : Height(dest);
        for (int top = dest.top; top < dest.bottom; top += stepY) {
            for (int left = dest.left; left < dest.right; left += stepX) {
                RECT tile = {left, top, Min(left + stepX, dest.right), Min(top + stepY, dest.bottom)};
                Piece(tile, x, y, xtiled ? Width(tile) : w, ytiled ? Height(tile) : h);
            }
        }
    }

private:
    HDC hdc_;
    HDC mem_;
    RECT paint_;
    bool blended_;
    BLENDFUNCTION blend_;
};

}  // namespace

void CUiRender::PaintBitmap(HBITMAP bitmap, const RECT& paint, const RECT& s, HDC hdc, const RECT& d,
                            const RECT& c, bool hasAlpha, int fade, bool hole, bool xtiled, bool ytiled) {
    AlphaBlender();  // resolved once, on first use
    if (!bitmap || !hdc) return;
    const CUiScratchDC scratch(bitmap);
    HDC mem = scratch.Get();
    if (!mem) return;
    SetStretchBltMode(hdc, HALFTONE);
    const bool blended = hasAlpha || fade < 255;
    const PiecePainter painter(hdc, mem, paint, blended, fade);
    const int sw = Width(s), sh = Height(s);

    if (!blended && Width(d) == sw && Height(d) == sh && !c.left && !c.top && !c.right && !c.bottom) {
        RECT part;
        if (IntersectRect(&part, &d, &paint))
            BitBlt(hdc, part.left, part.top, Width(part), Height(part), mem, s.left + part.left - d.left,
                   s.top + part.top - d.top, SRCCOPY);
    } else {
        if (!hole) {
            const RECT middle = {d.left + c.left, d.top + c.top, d.right - c.right, d.bottom - c.bottom};
            const int mx = s.left + c.left, my = s.top + c.top;
            const int mw = sw - c.left - c.right, mh = sh - c.top - c.bottom;
            if (xtiled || ytiled) painter.Tiled(middle, mx, my, mw, mh, xtiled, ytiled);
            else painter.Piece(middle, mx, my, mw, mh);
        }
        const int innerW = sw - c.left - c.right, innerH = sh - c.top - c.bottom;
        if (c.left > 0 && c.top > 0)
            painter.Piece({d.left, d.top, d.left + c.left, d.top + c.top}, s.left, s.top, c.left, c.top);
        if (c.top > 0)
            painter.Piece({d.left + c.left, d.top, d.right - c.right, d.top + c.top}, s.left + c.left, s.top, innerW,
                          c.top);
        if (c.right > 0 && c.top > 0)
            painter.Piece({d.right - c.right, d.top, d.right, d.top + c.top}, s.right - c.right, s.top, c.right,
                          c.top);
        if (c.left > 0)
            painter.Piece({d.left, d.top + c.top, d.left + c.left, d.bottom - c.bottom}, s.left, s.top + c.top,
                          c.left, innerH);
        if (c.right > 0)
            painter.Piece({d.right - c.right, d.top + c.top, d.right, d.bottom - c.bottom}, s.right - c.right,
                          s.top + c.top, c.right, innerH);
        if (c.left > 0 && c.bottom > 0)
            painter.Piece({d.left, d.bottom - c.bottom, d.left + c.left, d.bottom}, s.left, s.bottom - c.bottom,
                          c.left, c.bottom);
        if (c.bottom > 0)
            painter.Piece({d.left + c.left, d.bottom - c.bottom, d.right - c.right, d.bottom}, s.left + c.left,
                          s.bottom - c.bottom, innerW, c.bottom);
        if (c.right > 0 && c.bottom > 0)
            painter.Piece({d.right - c.right, d.bottom - c.bottom, d.right, d.bottom}, s.right - c.right,
                          s.bottom - c.bottom, c.right, c.bottom);
    }
}

void CUiRender::PaintImageState(HDC hdc, const TUiImageInfo* image, const RECT& control, const RECT& paint,
                                const TUiImageDrawState& state) {
    if (!image || !image->bitmap) return;
    RECT source = state.source;
    if (!source.left && !source.top && !source.right && !source.bottom) source = {0, 0, image->width, image->height};
    if (source.right > image->width) source.right = image->width;
    if (source.bottom > image->height) source.bottom = image->height;
    RECT inControl, inPaint;
    if (!IntersectRect(&inControl, &state.dest, &control) || !IntersectRect(&inPaint, &state.dest, &paint)) return;
    PaintBitmap(image->bitmap, paint, source, hdc, state.dest, state.corner, image->hasAlpha, state.fade, state.hole,
                state.xtiled, state.ytiled);
}

void PaintImageStrings(HDC hdc, const ImageLookup& lookup, const RECT& control, const RECT& paint,
                       const wchar_t* image, const wchar_t* modifier) {
    ParseImageStrings(control, image, modifier, [&](const TUiImageDrawState& state) {
        if (state.name.IsEmpty()) return;
        CUiRender::PaintImageState(hdc, lookup(state), control, paint, state);
    });
}

}  // namespace UiToolkit
