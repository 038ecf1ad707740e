#include "uitoolkit/markup/markup_text_draw.h"

#include "uitoolkit/core/ui_render.h"
#include "uitoolkit/image/ui_image.h"
#include "uitoolkit/markup/markup_text_tokens.h"

#include <cwctype>
#include <string>
#include <vector>

namespace UiToolkit {

namespace {

COLORREF Rgb(DWORD argb) { return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF); }

bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

// Everything that changes while text is walked and must be restored to
// lay a line out twice.
struct WalkState {
    const wchar_t* p = nullptr;
    std::vector<HFONT> fonts;
    std::vector<DWORD> colours;
    std::vector<int> paragraphs;
    bool raw = false;
    bool selected = false;
    bool inLink = false;
    CUiString linkText;
};

class MarkupText {
public:
    MarkupText(HDC hdc, IMarkupTextHost* host, const RECT& rect, DWORD colour, RECT* linkRects,
               CUiString* linkTexts, int capacity, UINT style)
        : hdc_(hdc),
          host_(host),
          rect_(rect),
          defaultColour_(colour),
          linkRects_(linkRects),
          linkTexts_(linkTexts),
          capacity_(linkRects && linkTexts && capacity > 0 ? capacity : 0),
          style_(style),
          measuring_((style & DT_CALCRECT) != 0),
          singleLine_((style & DT_SINGLELINE) != 0) {}

    void SetHover(const CUiString& text) { hover_ = text; }

    // Lays out and draws every line; returns the extent reached.
    RECT Run(const wchar_t* text) {
        WalkState state;
        state.p = text;
        SelectFont(state);
        int top = rect_.top;
        int widest = rect_.left;
        int lowest = rect_.top;
        while (*state.p) {
            if (!measuring_ && top > rect_.bottom) break;
            const WalkState start = state;
            Line line = Walk(state, top, 0, -1, false);
            widest = line.right > widest ? line.right : widest;
            lowest = line.lowest > lowest ? line.lowest : lowest;
            if (!measuring_) {
                int shift = 0;
                if (!singleLine_ && (style_ & (DT_CENTER | DT_RIGHT))) {
                    const int free = rect_.right - line.right;
                    shift = (style_ & DT_CENTER) ? free / 2 : free;
                }
                WalkState again = start;
                SelectFont(again);
                Walk(again, top, shift, line.height, true);
            }
            top += line.height;
            lowest = top > lowest ? top : lowest;
            if (singleLine_) break;
        }
        SelectFont(state);
        return RECT{rect_.left, rect_.top, widest < rect_.right ? widest : rect_.right, lowest};
    }

    int Found() const { return found_; }

private:
    struct Line {
        int height = 0;
        int right = 0;
        int lowest = 0;
    };

    const TEXTMETRICW& Metrics() {
        HFONT font = static_cast<HFONT>(GetCurrentObject(hdc_, OBJ_FONT));
        for (auto& m : metrics_)
            if (m.first == font) return m.second;
        TEXTMETRICW tm{};
        GetTextMetricsW(hdc_, &tm);
        metrics_.emplace_back(font, tm);
        return metrics_.back().second;
    }
    int FontHeight() {
        const TEXTMETRICW& tm = Metrics();
        return tm.tmHeight + tm.tmExternalLeading;
    }
    int TextWidth(const wchar_t* text, int n) {
        SIZE size{};
        if (n > 0) GetTextExtentPoint32W(hdc_, text, n, &size);
        return size.cx;
    }

    // How many leading characters of the text fit in `room` pixels, in one
    // measurement rather than one per character.
    int FitCount(const wchar_t* text, int n, int room) {
        if (room <= 0) return 0;
        INT fit = 0;
        SIZE size{};
        if (!GetTextExtentExPointW(hdc_, text, n, room, &fit, nullptr, &size)) return 0;
        return fit < 0 ? 0 : (fit > n ? n : fit);
    }

    HFONT Current(const WalkState& s) const { return s.fonts.empty() ? host_->DefaultFont() : s.fonts.back(); }
    void SelectFont(const WalkState& s) {
        HFONT font = Current(s);
        if (font) SelectObject(hdc_, font);
    }
    void ApplyColour(const WalkState& s) {
        SetTextColor(hdc_, Rgb(s.colours.empty() ? defaultColour_ : s.colours.back()));
    }
    void ApplySelection(const WalkState& s) {
        SetBkMode(hdc_, s.selected ? OPAQUE : TRANSPARENT);
        SetBkColor(hdc_, Rgb(host_->SelectedColor()));
    }

    // Pushes a bold, italic or underlined variant of the current font,
    // unless the font has that style already.
    void PushVariant(WalkState& s, wchar_t letter) {
        LOGFONTW lf{};
        if (!GetObjectW(Current(s), sizeof lf, &lf)) return;
        bool bold = lf.lfWeight >= FW_BOLD, italic = lf.lfItalic != 0, underline = lf.lfUnderline != 0;
        bool* flag = letter == L'b' ? &bold : letter == L'i' ? &italic : &underline;
        if (*flag) return;
        *flag = true;
        const int size = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
        if (HFONT font = host_->FindOrAddFont(lf.lfFaceName, size, bold, underline, italic)) s.fonts.push_back(font);
    }

    void PopFont(WalkState& s, int& x) {
        if (s.fonts.empty()) return;
        LOGFONTW ended{}, now{};
        GetObjectW(Current(s), sizeof ended, &ended);
        s.fonts.pop_back();
        GetObjectW(Current(s), sizeof now, &now);
        SelectFont(s);
        if (ended.lfItalic && !now.lfItalic) {
            ABC abc{};
            if (GetCharABCWidthsW(hdc_, L' ', L' ', &abc)) x += static_cast<int>(abc.abcB) / 2;
        }
    }

    void OpenLinkPiece(WalkState& s, int x, int top) {
        if (found_ >= capacity_) return;
        linkRects_[found_] = RECT{x, top, x, top};
        linkTexts_[found_] = s.linkText;
        pieceOpen_ = true;
    }
    void CloseLinkPiece(int x, int bottom) {
        if (!pieceOpen_) return;
        linkRects_[found_].right = x;
        linkRects_[found_].bottom = bottom;
        ++found_;
        pieceOpen_ = false;
    }

    // One line from `s`. The layout pass (draw false) measures, records link
    // pieces and returns the line; the drawing pass repeats it with the
    // line's height known and draws, shifted by `shift`.
    Line Walk(WalkState& s, int top, int shift, int knownHeight, bool draw) {
        const int left = rect_.left, right = rect_.right;
        int x = left;
        int height = knownHeight >= 0 ? knownHeight
                                      : FontHeight() + (s.paragraphs.empty() ? 0 : s.paragraphs.back());
        int lowest = top;
        const int firstPiece = found_;
        ApplyColour(s);
        ApplySelection(s);
        if (!draw && s.inLink) OpenLinkPiece(s, x, top);
        auto grow = [&](int h) {
            if (knownHeight < 0 && h > height) height = h;
        };
        auto baseline = [&]() { return top + height - FontHeight(); };
        bool lineEnds = false;
        while (!lineEnds) {
            TMarkupToken t;
            const wchar_t* next = NextMarkupToken(s.p, s.raw, &t);
            switch (t.kind) {
                case MarkupToken::End:
                    lineEnds = true;
                    break;
                case MarkupToken::LineFeed:
                    s.p = next;
                    lineEnds = true;
                    break;
                case MarkupToken::Text: {
                    grow(FontHeight() + (s.paragraphs.empty() ? 0 : s.paragraphs.back()));
                    int n = t.length;
                    bool ellipsis = false;
                    // The estimate uses the widest character, so a run that might
                    // pass the edge is always measured.
                    if (x + Metrics().tmMaxCharWidth * n >= right && x + TextWidth(t.text, n) > right) {
                        // Does not fit: keep what does, at least one character
                        // at the left edge so every line makes progress.
                        n = FitCount(t.text, n, right - x);
                        if (n == 0 && x == left) n = 1;
                        if (style_ & DT_WORDBREAK) {
                            int cut = n;
                            while (cut > 0 && IsAsciiLetter(t.text[cut - 1])) --cut;
                            if (cut > 0) n = cut;
                            else if (x > left) n = 0;  // the word starts the next line
                        }
                        if (style_ & DT_END_ELLIPSIS) {
                            const int dots = TextWidth(L"...", 3);
                            for (int drop = 0; drop < 2 && n > 0 && x + TextWidth(t.text, n) + dots > right; ++drop) --n;
                            ellipsis = true;
                        }
                        lineEnds = true;
                    }
                    if (draw && n > 0) TextOutW(hdc_, x + shift, baseline(), t.text, n);
                    x += TextWidth(t.text, n);
                    if (ellipsis) {
                        if (draw) TextOutW(hdc_, x + shift, baseline(), L"...", 3);
                        x = right;
                    }
                    // A cut run goes on at the next line, a run that did not
                    // start here starts it; an ellipsis stands for the rest.
                    // (An escape's text is a literal elsewhere, one character
                    // long, so it is only ever taken whole or not at all.)
                    if (n == t.length || ellipsis) s.p = next;
                    else if (n > 0) s.p = t.text + n;
                    break;
                }
                case MarkupToken::Tag:
                    lineEnds = Tag(s, t, next, x, top, height, lowest, knownHeight, shift, draw);
                    break;
                case MarkupToken::CloseTag:
                    s.p = next;
                    lineEnds = CloseTag(s, t.letter, x, top);
                    break;
            }
        }
        if (!draw) {
            if (s.inLink && pieceOpen_) CloseLinkPiece(x < right ? x : right, top);
            for (int i = firstPiece; i < found_; ++i) linkRects_[i].bottom = top + height;
        }
        Line line;
        line.height = height;
        line.right = x;
        line.lowest = lowest > top + height ? lowest : top + height;
        return line;
    }

    // Returns whether the line ends here.
    bool Tag(WalkState& s, const TMarkupToken& t, const wchar_t* next, int& x, int top, int& height, int& lowest,
             int knownHeight, int shift, bool draw) {
        const int left = rect_.left, right = rect_.right;
        switch (t.letter) {
            case L'a': {
                s.linkText.Assign(t.text, t.length);
                const bool hovered = !hover_.IsEmpty() && hover_ == s.linkText.GetData();
                s.colours.push_back(hovered ? host_->LinkHoverColor() : host_->LinkColor());
                ApplyColour(s);
                s.inLink = true;
                if (!draw) OpenLinkPiece(s, x, top);
                break;
            }
            case L'b':
            case L'u':
                PushVariant(s, t.letter);
                SelectFont(s);
                break;
            case L'c':
                s.colours.push_back(MarkupColour(t.text, t.length));
                ApplyColour(s);
                break;
            case L'f': {
                TMarkupFontSpec spec = MarkupFont(t.text, t.length);
                HFONT font = spec.byIndex ? host_->FontAt(spec.index)
                                          : host_->FindOrAddFont(spec.face, spec.size, spec.bold, spec.underline,
                                                                 spec.italic);
                if (font) s.fonts.push_back(font);
                SelectFont(s);
                break;
            }
            case L'i': {
                if (t.length == 0) {
                    PushVariant(s, L'i');
                    SelectFont(s);
                    break;
                }
                TMarkupImageSpec spec = MarkupImage(t.text, t.length);
                const TUiImageInfo* image =
                    host_->ImageFor(spec.name, spec.type.IsEmpty() ? nullptr : spec.type.GetData());
                if (!image) break;
                const int column = image->width / spec.parts;
                if (x + column > right && x > left && !singleLine_) return true;  // the image starts the next line
                if (knownHeight < 0 && image->height > height) height = image->height;
                const int y = image->height < height ? top + (height - image->height) / 2 : top + height - image->height;
                if (draw) {
                    const RECT source = {column * spec.index, 0, column * (spec.index + 1), image->height};
                    const RECT dest = {x + shift, y, x + shift + column, y + image->height};
                    CUiRender::PaintBitmap(image->bitmap, rect_, source, hdc_, dest, RECT{0, 0, 0, 0},
                                           image->hasAlpha, 255, false, false, false);
                }
                if (y + image->height > lowest) lowest = y + image->height;
                x += column;
                break;
            }
            case L'n':
                if (!singleLine_) {
                    s.p = next;
                    return true;
                }
                break;
            case L'p': {
                s.paragraphs.push_back(MarkupNumber(t.text, t.length));
                if (x != left) {
                    s.p = next;
                    return true;
                }
                break;
            }
            case L'r':
                s.raw = true;
                break;
            case L's':
                s.selected = !s.selected;
                ApplySelection(s);
                break;
            case L'x':
                x += MarkupNumber(t.text, t.length);
                break;
            case L'y':
                if (knownHeight < 0) height = MarkupNumber(t.text, t.length);
                break;
            default:
                break;
        }
        s.p = next;
        return false;
    }

    bool CloseTag(WalkState& s, wchar_t letter, int& x, int top) {
        switch (letter) {
            case L'a':
                // A link pushes a colour and no font: pop only the colour, so
                // text after a link inside bold stays bold.
                if (s.inLink) {
                    CloseLinkPiece(x, top + FontHeight());
                    s.inLink = false;
                }
                if (!s.colours.empty()) s.colours.pop_back();
                ApplyColour(s);
                break;
            case L'b':
            case L'f':
            case L'i':
            case L'u':
                PopFont(s, x);
                break;
            case L'c':
                if (!s.colours.empty()) s.colours.pop_back();
                ApplyColour(s);
                break;
            case L'p':
                if (!s.paragraphs.empty()) s.paragraphs.pop_back();
                return x != rect_.left;
            case L'r':
                s.raw = false;
                break;
            case L's':
                s.selected = !s.selected;
                ApplySelection(s);
                break;
            default:
                break;
        }
        return false;
    }

    HDC hdc_;
    IMarkupTextHost* host_;
    RECT rect_;
    DWORD defaultColour_;
    RECT* linkRects_;
    CUiString* linkTexts_;
    int capacity_;
    UINT style_;
    bool measuring_;
    bool singleLine_;
    CUiString hover_;
    int found_ = 0;
    bool pieceOpen_ = false;
    std::vector<std::pair<HFONT, TEXTMETRICW>> metrics_;
};

}  // namespace

void DrawMarkupTextWith(HDC hdc, IMarkupTextHost* host, RECT& rect, const wchar_t* text, DWORD colour,
                        RECT* linkRects, CUiString* linkTexts, int& linkCount, UINT style) {
    const int capacity = linkCount;
    linkCount = 0;
    if (!hdc || !host || !text || !*text || IsRectEmpty(&rect)) return;
    const bool measuring = (style & DT_CALCRECT) != 0;

    RECT box{};
    GetClipBox(hdc, &box);
    HRGN saved = CreateRectRgnIndirect(&box);
    HRGN clip = CreateRectRgnIndirect(&rect);
    if (!measuring) ExtSelectClipRgn(hdc, clip, RGN_AND);
    HGDIOBJ oldFont = GetCurrentObject(hdc, OBJ_FONT);

    RECT area = rect;
    if (!measuring && (style & (DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM))) {
        RECT size = {0, 0, 9999, 100};
        int none = 0;
        DrawMarkupTextWith(hdc, host, size, text, colour, nullptr, nullptr, none, style | DT_CALCRECT);
        const int w = size.right - size.left, h = size.bottom - size.top;
        if (style & DT_SINGLELINE) {
            if (style & DT_CENTER) area.left += ((area.right - area.left) - w) / 2;
            else if (style & DT_RIGHT) area.left = area.right - w;
            if (style & (DT_CENTER | DT_RIGHT)) area.right = area.left + w;
        }
        if (style & DT_VCENTER) area.top += ((area.bottom - area.top) - h) / 2;
        else if (style & DT_BOTTOM) area.top = area.bottom - h;
        if (style & (DT_VCENTER | DT_BOTTOM)) area.bottom = area.top + h;
    }

    MarkupText markup(hdc, host, area, colour, linkRects, linkTexts, capacity, style);
    // The link under the mouse, from the rectangles of the last paint.
    const POINT mouse = host->MousePos();
    for (int i = 0; linkRects && linkTexts && i < capacity; ++i) {
        if (PtInRect(&linkRects[i], mouse)) {
            markup.SetHover(linkTexts[i]);
            break;
        }
    }
    SetBkMode(hdc, TRANSPARENT);
    const RECT extent = markup.Run(text);
    linkCount = markup.Found();
    if (measuring) {
        rect.bottom = extent.bottom;
        rect.right = extent.right;
    }
    SelectClipRgn(hdc, saved);
    DeleteObject(saved);
    DeleteObject(clip);
    SelectObject(hdc, oldFont);
    SetBkMode(hdc, TRANSPARENT);
}

}  // namespace UiToolkit
