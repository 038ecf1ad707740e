#include <gtest/gtest.h>

#include "tests/uitoolkit/fixtures/canvas.h"

#include "uitoolkit/core/ui_render.h"
#include "uitoolkit/image/ui_image.h"
#include "uitoolkit/markup/markup_text_draw.h"

#include <string>
#include <vector>

using namespace UiToolkit;

namespace {

// Fonts, colours and one image, as a window manager would hand them out.
class FakeHost : public IMarkupTextHost {
public:
    FakeHost() { defaultFont_ = Make(L"Tahoma", 14, false, false, false); }
    ~FakeHost() override {
        DeleteObject(defaultFont_);
        for (auto& f : fonts_) DeleteObject(f.font);
        if (image_.bitmap) DeleteObject(image_.bitmap);
    }
    HFONT DefaultFont() override { return defaultFont_; }
    HFONT FontAt(int index) override {
        return index >= 0 && index < static_cast<int>(fonts_.size()) ? fonts_[index].font : defaultFont_;
    }
    HFONT FindOrAddFont(const wchar_t* face, int size, bool bold, bool underline, bool italic) override {
        for (auto& f : fonts_)
            if (f.face == face && f.size == size && f.bold == bold && f.underline == underline && f.italic == italic)
                return f.font;
        fonts_.push_back({face, size, bold, underline, italic, Make(face, size, bold, underline, italic)});
        return fonts_.back().font;
    }
    DWORD LinkColor() override { return 0xFF0000FF; }
    DWORD LinkHoverColor() override { return 0xFFFF0000; }
    DWORD SelectedColor() override { return 0xFF00FF00; }
    POINT MousePos() override { return mouse; }
    const TUiImageInfo* ImageFor(const wchar_t* name, const wchar_t*) override {
        return std::wstring(name) == L"icons.png" && image_.bitmap ? &image_ : nullptr;
    }

    // icons.png: 4x4, left half red, right half blue.
    void AddImage() {
        std::vector<unsigned char> rgba;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) {
                const unsigned char px[4] = {static_cast<unsigned char>(x < 2 ? 255 : 0), 0,
                                             static_cast<unsigned char>(x < 2 ? 0 : 255), 255};
                rgba.insert(rgba.end(), px, px + 4);
            }
        CUiRender::MakePremultipliedBitmap(rgba.data(), 4, 4, 0, &image_);
    }

    int FontCount() const { return static_cast<int>(fonts_.size()); }
    POINT mouse = {-1, -1};

private:
    static HFONT Make(const wchar_t* face, int size, bool bold, bool underline, bool italic) {
        return CreateFontW(-size, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, underline, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, face);
    }
    struct Font {
        std::wstring face;
        int size;
        bool bold, underline, italic;
        HFONT font;
    };
    HFONT defaultFont_;
    std::vector<Font> fonts_;
    TUiImageInfo image_;
};

using fixtures::Canvas;

const uint32_t kWhiteRgb = 0xFFFFFF;

// Extents of a plain text in a font of the host.
int Width(HDC dc, HFONT font, const wchar_t* text) {
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
    SelectObject(dc, old);
    return size.cx;
}
int LineHeight(HDC dc, HFONT font) {
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    return tm.tmHeight + tm.tmExternalLeading;
}

RECT Measure(FakeHost& host, HDC dc, const wchar_t* text, int width, UINT style = 0) {
    RECT r = {0, 0, width, 1000};
    int none = 0;
    DrawMarkupTextWith(dc, &host, r, text, 0xFF000000, nullptr, nullptr, none, style | DT_CALCRECT);
    return r;
}

bool Reddish(uint32_t rgb) { return ((rgb >> 16) & 0xFF) > 180 && ((rgb >> 8) & 0xFF) < 90 && (rgb & 0xFF) < 90; }
bool Bluish(uint32_t rgb) { return (rgb & 0xFF) > 180 && ((rgb >> 8) & 0xFF) < 90 && ((rgb >> 16) & 0xFF) < 90; }

}  // namespace

TEST(MarkupText, LinkPiecesCoverTheirWordsAndWrapIntoTwoPieces) {
    FakeHost host;
    Canvas canvas(400, 200, 0xFFFFFFFF);
    HDC dc = canvas.dc();
    const int h = LineHeight(dc, host.DefaultFont());
    const int before = Width(dc, host.DefaultFont(), L"Click ");
    const int word = Width(dc, host.DefaultFont(), L"here");

    RECT rects[8];
    CUiString texts[8];
    int count = 8;
    RECT area = {0, 0, 400, 200};
    DrawMarkupTextWith(dc, &host, area, L"Click {a page1}here{/a} please", 0xFF000000, rects, texts, count, 0);
    ASSERT_EQ(1, count);
    EXPECT_STREQ(L"page1", texts[0].GetData());
    EXPECT_EQ(before, rects[0].left);
    EXPECT_EQ(before + word, rects[0].right);
    EXPECT_EQ(0, rects[0].top);
    EXPECT_EQ(h, rects[0].bottom);
    // The link is drawn in the link colour.
    EXPECT_GT(canvas.Count(rects[0].left, 0, rects[0].right, h, Bluish), 0);
    EXPECT_EQ(0, canvas.Count(rects[0].left, 0, rects[0].right, h, Reddish));

    // With the mouse inside it, the next paint uses the hover colour.
    host.mouse = POINT{(rects[0].left + rects[0].right) / 2, h / 2};
    Canvas again(400, 200, 0xFFFFFFFF);
    count = 8;
    DrawMarkupTextWith(again.dc(), &host, area, L"Click {a page1}here{/a} please", 0xFF000000, rects, texts, count, 0);
    EXPECT_GT(again.Count(rects[0].left, 0, rects[0].right, h, Reddish), 0);
    EXPECT_EQ(0, again.Count(rects[0].left, 0, rects[0].right, h, Bluish));
    host.mouse = POINT{-1, -1};

    // A link that wraps gives two pieces with the same text.
    const int narrow = Width(dc, host.DefaultFont(), L"aaaa bb");
    RECT wrapArea = {10, 20, 10 + narrow, 200};
    count = 8;
    DrawMarkupTextWith(dc, &host, wrapArea, L"{a two}aaaa bbbb{/a} end", 0xFF000000, rects, texts, count,
                       DT_WORDBREAK);
    ASSERT_EQ(2, count);
    EXPECT_STREQ(L"two", texts[0].GetData());
    EXPECT_STREQ(L"two", texts[1].GetData());
    EXPECT_EQ(RECT({10, 20, 10 + Width(dc, host.DefaultFont(), L"aaaa "), 20 + h}).right, rects[0].right);
    EXPECT_EQ(10, rects[1].left);
    EXPECT_EQ(20 + h, rects[1].top);
    EXPECT_EQ(20 + 2 * h, rects[1].bottom);
    EXPECT_EQ(10 + Width(dc, host.DefaultFont(), L"bbbb"), rects[1].right);

    // No capacity, no pieces; pieces beyond the capacity are not recorded.
    count = 0;
    DrawMarkupTextWith(dc, &host, area, L"{a x}1{/a}{a y}2{/a}", 0xFF000000, rects, texts, count, 0);
    EXPECT_EQ(0, count);
    count = 1;
    DrawMarkupTextWith(dc, &host, area, L"{a x}1{/a}{a y}2{/a}", 0xFF000000, rects, texts, count, 0);
    EXPECT_EQ(1, count);
    EXPECT_STREQ(L"x", texts[0].GetData());
}

TEST(MarkupText, MeasuringWithCalcRect) {
    FakeHost host;
    Canvas canvas(10, 10, 0xFFFFFFFF);
    HDC dc = canvas.dc();
    const int h = LineHeight(dc, host.DefaultFont());
    const wchar_t* longText = L"the quick brown fox jumps over the lazy dog again and again";
    struct Case {
        const wchar_t* text;
        int width;
        UINT style;
        int lines;        // expected height in lines (0: check only that it is above one)
        int rightAtMost;
    } cases[] = {
        {L"one line", 300, 0, 1, 300},
        {L"one{n}two{n}three", 300, 0, 3, 300},
        {L"one\ntwo", 300, 0, 2, 300},
        {L"one{n}two", 300, DT_SINGLELINE, 1, 300},
        {longText, 100, DT_WORDBREAK, 0, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        RECT r = Measure(host, dc, c.text, c.width, c.style);
        EXPECT_EQ(0, r.left);
        EXPECT_EQ(0, r.top);
        EXPECT_LE(r.right, c.rightAtMost);
        if (c.lines) EXPECT_EQ(c.lines * h, r.bottom);
        else EXPECT_GT(r.bottom, 2 * h);
    }
    EXPECT_EQ(Width(dc, host.DefaultFont(), L"one line"), Measure(host, dc, L"one line", 300).right);
    // Paragraph spacing is added to every line while it is open.
    EXPECT_EQ(h + 2 * (h + 6), Measure(host, dc, L"a{p 6}b{n}c{/p}", 300).bottom);
    // {y} sets the line's height.
    EXPECT_EQ(40, Measure(host, dc, L"{y 40}tall", 300).bottom);
    // Raw text draws tags as text.
    EXPECT_EQ(Width(dc, host.DefaultFont(), L"{b}"), Measure(host, dc, L"{r}{b}{/r}", 300).right);
    EXPECT_EQ(Width(dc, host.DefaultFont(), L"<<>{}"), Measure(host, dc, L"{<}{<}{>}<{><}>", 300).right);
}

TEST(MarkupText, FontTagsPushAndPopTheRightFonts) {
    FakeHost host;
    Canvas canvas(10, 10, 0xFFFFFFFF);
    HDC dc = canvas.dc();
    auto width = [&](const wchar_t* text) { return Measure(host, dc, text, 1000).right; };
    const int boldAll = width(L"{b}lWWWW{/b}");
    EXPECT_GT(boldAll, width(L"lWWWW"));
    // A link inside bold pushes no font, so its end leaves the text bold.
    EXPECT_EQ(boldAll, width(L"{b}{a x}l{/a}WWWW{/b}"));
    // {b} inside bold pushes nothing: the next {/b} ends the outer bold.
    EXPECT_EQ(width(L"{b}lW{/b}WWW"), width(L"{b}{b}lW{/b}WWW{/b}"));
    // Fonts named by face are added once and then reused.
    width(L"{f Tahoma 20 bold}x{/f}");
    width(L"{f Tahoma 20 bold}y{/f}");
    EXPECT_EQ(2, host.FontCount());  // the bold variant above and this one
    EXPECT_GT(width(L"{f Tahoma 20 bold}WW{/f}"), width(L"WW"));
    EXPECT_EQ(width(L"{f 1}WW{/f}"), width(L"{f Tahoma 20 bold}WW{/f}"));  // by index
}

TEST(MarkupText, EllipsisEndsALongSingleLineAtTheRightEdge) {
    FakeHost host;
    Canvas canvas(200, 40, 0xFFFFFFFF);
    HDC dc = canvas.dc();
    RECT area = {0, 0, 80, 40};
    int none = 0;
    const wchar_t* text = L"a text far longer than eighty pixels";
    DrawMarkupTextWith(dc, &host, area, text, 0xFF000000, nullptr, nullptr, none, DT_SINGLELINE | DT_END_ELLIPSIS);
    const int ink = canvas.RightmostInk(kWhiteRgb);
    EXPECT_LT(ink, 80);
    EXPECT_GT(ink, 80 - Width(dc, host.DefaultFont(), L"...") - 4);
    EXPECT_EQ(80, Measure(host, dc, text, 80, DT_SINGLELINE | DT_END_ELLIPSIS).right);
}

TEST(MarkupText, ColoursImagesAndAlignment) {
    FakeHost host;
    host.AddImage();
    const int h = [&] {
        Canvas c(1, 1, 0);
        return LineHeight(c.dc(), host.DefaultFont());
    }();
    {
        Canvas canvas(200, 40, 0xFF000000);
        RECT area = {0, 0, 200, 40};
        int none = 0;
        DrawMarkupTextWith(canvas.dc(), &host, area, L"{c #FF0000}red{/c} {c #80FF0000}white{/c}", 0xFF000000,
                           nullptr, nullptr, none, 0);
        const int redEnd = Width(canvas.dc(), host.DefaultFont(), L"red ");
        EXPECT_GT(canvas.Count(0, 0, redEnd, h, Reddish), 0);
        EXPECT_GT(canvas.Count(redEnd, 0, 200, h, [](uint32_t p) { return p == 0xFFFFFF; }), 0);
    }
    {
        // The second of two columns of icons.png (blue), bottom-aligned in
        // a line taller than the image and centred vertically.
        Canvas canvas(100, 40, 0xFFFFFFFF);
        RECT area = {0, 0, 100, 40};
        int none = 0;
        DrawMarkupTextWith(canvas.dc(), &host, area, L"{i icons.png 2 1}{i icons.png 2}", 0xFF000000, nullptr,
                           nullptr, none, 0);
        const int y = (h - 4) / 2 + 1;
        EXPECT_EQ(0x0000FFu, canvas.At(0, y));
        EXPECT_EQ(0x0000FFu, canvas.At(1, y));
        EXPECT_EQ(0xFF0000u, canvas.At(2, y));
        EXPECT_EQ(0xFF0000u, canvas.At(3, y));
        EXPECT_EQ(0xFFFFFFu, canvas.At(4, y));
        EXPECT_EQ(4 * 1, Measure(host, canvas.dc(), L"{i icons.png 2 1}{i icons.png 2}", 100).right);
        EXPECT_EQ(0, Measure(host, canvas.dc(), L"{i missing.png}", 100).right);
    }
    {
        // Right alignment of a single line puts the ink at the right edge.
        Canvas canvas(200, 40, 0xFFFFFFFF);
        RECT area = {0, 0, 200, 40};
        int none = 0;
        DrawMarkupTextWith(canvas.dc(), &host, area, L"right", 0xFF000000, nullptr, nullptr, none,
                           DT_SINGLELINE | DT_RIGHT);
        EXPECT_GT(canvas.RightmostInk(kWhiteRgb), 190);
        EXPECT_EQ(0, canvas.Count(0, 0, 150, 40, [](uint32_t p) { return p != 0xFFFFFF; }));
    }
}

TEST(MarkupText, NothingHappensWithoutTextHostOrRoom) {
    FakeHost host;
    Canvas canvas(20, 20, 0xFFFFFFFF);
    RECT rects[2];
    CUiString texts[2];
    RECT area = {0, 0, 20, 20};
    RECT empty = {5, 5, 5, 5};
    struct Case {
        IMarkupTextHost* host;
        RECT* rect;
        const wchar_t* text;
    } cases[] = {{nullptr, &area, L"{a x}t{/a}"}, {&host, &area, L""}, {&host, &area, nullptr},
                 {&host, &empty, L"{a x}t{/a}"}};
    for (const Case& c : cases) {
        int count = 2;
        DrawMarkupTextWith(canvas.dc(), c.host, *c.rect, c.text, 0xFF000000, rects, texts, count, 0);
        EXPECT_EQ(0, count);
    }
    EXPECT_EQ(-1, canvas.RightmostInk(kWhiteRgb));
}
