#include <gtest/gtest.h>

#include "tests/uitoolkit/fixtures/canvas.h"

#include "uitoolkit/core/ui_render.h"
#include "uitoolkit/core/ui_scratch_dc.h"
#include "uitoolkit/image/image_string.h"
#include "uitoolkit/image/ui_image.h"

#include <cstdlib>
#include <string>
#include <vector>

using namespace UiToolkit;

namespace {

const uint32_t kBack = 0xFF101010;
const uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kYellow = 0xFFFFFF00,
               kGrey = 0xFF808080, kWhite = 0xFFFFFFFF;

// A 32-bit top-down memory canvas.
using fixtures::Canvas;

// An image from 0xAARRGGBB pixels (straight alpha).
TUiImageInfo Image(int width, int height, const std::vector<uint32_t>& argb) {
    std::vector<unsigned char> rgba;
    for (uint32_t p : argb) {
        rgba.push_back((p >> 16) & 0xFF);
        rgba.push_back((p >> 8) & 0xFF);
        rgba.push_back(p & 0xFF);
        rgba.push_back(p >> 24);
    }
    TUiImageInfo image;
    EXPECT_TRUE(CUiRender::MakePremultipliedBitmap(rgba.data(), width, height, 0, &image));
    return image;
}

// A 6x6 nine-grid: 2-pixel corners red, green, blue, yellow; grey edges;
// white middle.
TUiImageInfo NineGrid() {
    std::vector<uint32_t> px;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool left = x < 2, right = x >= 4, top = y < 2, bottom = y >= 4;
            uint32_t c = kWhite;
            if (top && left) c = kRed;
            else if (top && right) c = kGreen;
            else if (bottom && left) c = kBlue;
            else if (bottom && right) c = kYellow;
            else if (top || bottom || left || right) c = kGrey;
            px.push_back(c);
        }
    return Image(6, 6, px);
}

int Channel(uint32_t p, int shift) { return (p >> shift) & 0xFF; }

void ExpectNear(uint32_t expected, uint32_t actual, int tolerance = 2) {
    for (int shift : {0, 8, 16})
        EXPECT_LE(abs(Channel(expected, shift) - Channel(actual, shift)), tolerance)
            << std::hex << "expected " << expected << " got " << actual;
}

struct Drawn {
    std::wstring name, type;
    RECT dest, source, corner;
    DWORD mask;
    int fade;
    bool hole, xtiled, ytiled;
};

std::vector<Drawn> Parse(const RECT& control, const wchar_t* image, const wchar_t* modifier = nullptr) {
    std::vector<Drawn> out;
    ParseImageStrings(control, image, modifier, [&](const TUiImageDrawState& s) {
        out.push_back({s.name.GetData(), s.type.GetData(), s.dest, s.source, s.corner, s.mask, s.fade, s.hole,
                       s.xtiled, s.ytiled});
    });
    return out;
}

bool Same(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; }

const RECT kControl = {100, 100, 150, 140};

}  // namespace

TEST(ImageString, KeysAndImagesInOrder) {
    struct Case {
        const wchar_t* image;
        const wchar_t* modifier;
        std::vector<std::wstring> names;  // "name|type" per draw, in order
    } cases[] = {
        {L"bk.png", nullptr, {L"bk.png|"}},
        {L"skin\\my bk.png", nullptr, {L"skin\\my bk.png|"}},
        {L"file=bk.png", nullptr, {L"file=bk.png|"}},                    // no apostrophes: a file name
        {L"file='a.png' dest='0,0,10,10' file='b.png'", nullptr, {L"a.png|", L"b.png|"}},
        {L"res='101' restype='png'", nullptr, {L"101|png"}},
        {L"file='a.png' restype='png'", nullptr, {L"a.png|", L"a.png|png"}},
        {L"file='a.png'", L"file='b.png'", {L"b.png|"}},                 // the modifier replaces without drawing
        {L"file='a.png'", L"", {L"a.png|"}},
        {L"file='' foo='bar'", nullptr, {L"file='' foo='bar'|"}},         // empty values and unknown keys do nothing
        {L"  file = 'a.png'  ", nullptr, {L"a.png|"}},
        {L"file='a.png'x file='b.png'", nullptr, {L"a.png|"}},           // no blank after the quote: stop
        {L"file='a.png' file='b.png", nullptr, {L"a.png|"}},             // unclosed: stop
        {L"File='a.png'", nullptr, {L"File='a.png'|"}},                  // keys are case-sensitive
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.image);
        std::vector<Drawn> drawn = Parse(kControl, c.image, c.modifier);
        std::vector<std::wstring> names;
        for (const Drawn& d : drawn) names.push_back(d.name + L"|" + d.type);
        EXPECT_EQ(c.names, names);
    }
}

TEST(ImageString, EverySettingKeyAndItsCarryOver) {
    std::vector<Drawn> d = Parse(kControl,
                                 L"file='a.png' dest='12,0,60,48' source='1,2,3,4' corner='40,8,8,8' "
                                 L"mask='#FFFF00FF' fade='384' hole='true' xtiled='true' ytiled='yes' file='b.png'");
    ASSERT_EQ(2u, d.size());
    for (const Drawn& one : d) {
        EXPECT_TRUE(Same(RECT{112, 100, 150, 140}, one.dest));  // cut at the control's right and bottom
        EXPECT_TRUE(Same(RECT{1, 2, 3, 4}, one.source));
        EXPECT_TRUE(Same(RECT{40, 8, 8, 8}, one.corner));
        EXPECT_EQ(0xFFFF00FFu, one.mask);
        EXPECT_EQ(128, one.fade);  // only the low 8 bits count
        EXPECT_TRUE(one.hole);
        EXPECT_TRUE(one.xtiled);
        EXPECT_FALSE(one.ytiled);
    }
    std::vector<Drawn> plain = Parse(kControl, L"bk.png");
    ASSERT_EQ(1u, plain.size());
    EXPECT_TRUE(Same(kControl, plain[0].dest));
    EXPECT_TRUE(Same(RECT{0, 0, 0, 0}, plain[0].source));
    EXPECT_EQ(255, plain[0].fade);
    EXPECT_EQ(0u, plain[0].mask);
    EXPECT_EQ(0xFF00FFu, Parse(kControl, L"mask='ff00ff'")[0].mask);
    EXPECT_TRUE(Same(RECT{7, 0, 0, 0}, Parse(kControl, L"source='7'")[0].source));
}

TEST(PaintBitmap, NineGridKeepsCornersAndStretchesTheRest) {
    TUiImageInfo image = NineGrid();
    struct Case {
        bool hole;
        uint32_t middle;
    } cases[] = {{false, kWhite}, {true, kBack}};
    for (const Case& c : cases) {
        Canvas canvas(40, 40, kBack);
        const RECT dest = {5, 5, 25, 25};
        CUiRender::PaintBitmap(image.bitmap, RECT{0, 0, 40, 40}, RECT{0, 0, 6, 6}, canvas.dc(), dest, RECT{2, 2, 2, 2},
                               false, 255, c.hole, false, false);
        struct Probe {
            int x, y;
            uint32_t colour;
        } probes[] = {{5, 5, kRed},     {6, 6, kRed},      {24, 5, kGreen}, {5, 24, kBlue},  {24, 24, kYellow},
                      {15, 5, kGrey},   {5, 15, kGrey},    {24, 15, kGrey}, {15, 24, kGrey}, {15, 15, c.middle},
                      {10, 12, c.middle}, {4, 4, kBack},   {25, 25, kBack}, {15, 26, kBack}};
        for (const Probe& p : probes) {
            SCOPED_TRACE(testing::Message() << p.x << "," << p.y << (c.hole ? " hole" : ""));
            ExpectNear(p.colour, canvas.At(p.x, p.y), 8);
        }
    }
    DeleteObject(image.bitmap);
}

TEST(PaintBitmap, TilingRepeatsTheMiddleAndCutsTheLastTile) {
    // Two columns: red, blue.
    TUiImageInfo image = Image(2, 2, {kRed, kBlue, kRed, kBlue});
    struct Case {
        bool xtiled, ytiled;
        std::vector<uint32_t> row;  // the first row, x = 0..4
    } cases[] = {
        {true, true, {kRed, kBlue, kRed, kBlue, kRed}},
        {true, false, {kRed, kBlue, kRed, kBlue, kRed}},
    };
    for (const Case& c : cases) {
        Canvas canvas(8, 8, kBack);
        // A corner of 0 with a source the size of the dest would take the
        // plain copy; a dest of 5x3 needs the tiles.
        CUiRender::PaintBitmap(image.bitmap, RECT{0, 0, 8, 8}, RECT{0, 0, 2, 2}, canvas.dc(), RECT{0, 0, 5, 3},
                               RECT{0, 0, 0, 0}, false, 255, false, c.xtiled, c.ytiled);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) {
                SCOPED_TRACE(testing::Message() << x << "," << y);
                ExpectNear(c.row[x], canvas.At(x, y), 8);
            }
        ExpectNear(kBack, canvas.At(5, 0), 0);
        ExpectNear(kBack, canvas.At(0, 3), 0);
    }
    DeleteObject(image.bitmap);
}

TEST(PaintBitmap, AMiddleOfNoWidthIsSkippedInsteadOfDividingByZero) {
    TUiImageInfo image = Image(4, 4, std::vector<uint32_t>(16, kGreen));
    for (bool xtiled : {true, false}) {
        Canvas canvas(20, 20, kBack);
        // Left and right borders take the whole source width: no middle.
        CUiRender::PaintBitmap(image.bitmap, RECT{0, 0, 20, 20}, RECT{0, 0, 4, 4}, canvas.dc(), RECT{0, 0, 20, 20},
                               RECT{2, 0, 2, 0}, false, 255, false, xtiled, !xtiled);
        ExpectNear(kGreen, canvas.At(0, 10), 8);   // left edge
        ExpectNear(kGreen, canvas.At(19, 10), 8);  // right edge
        ExpectNear(kBack, canvas.At(10, 10), 0);   // no middle
    }
    DeleteObject(image.bitmap);
}

TEST(PaintBitmap, FadeAndAlphaBlendOverWhatIsThere) {
    struct Case {
        uint32_t pixel;  // straight alpha
        int fade;
        uint32_t background;
        uint32_t expected;
    } cases[] = {
        {kWhite, 128, 0xFF000000, 0xFF808080},
        {kWhite, 255, 0xFF000000, kWhite},
        {0x80FFFFFF, 255, 0xFF000000, 0xFF808080},
        {0x80FFFFFF, 255, kWhite, kWhite},
        {0x00FF0000, 255, kBlue, kBlue},
        {0x80FF0000, 128, 0xFF000000, 0xFF400000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.pixel << " fade " << std::dec << c.fade);
        TUiImageInfo image = Image(2, 2, std::vector<uint32_t>(4, c.pixel));
        Canvas canvas(4, 4, c.background);
        CUiRender::PaintBitmap(image.bitmap, RECT{0, 0, 4, 4}, RECT{0, 0, 2, 2}, canvas.dc(), RECT{1, 1, 3, 3},
                               RECT{0, 0, 0, 0}, image.hasAlpha, c.fade, false, false, false);
        ExpectNear(c.expected, canvas.At(1, 1));
        ExpectNear(c.expected, canvas.At(2, 2));
        ExpectNear(c.background, canvas.At(0, 0), 0);
        DeleteObject(image.bitmap);
    }
}

// The images are drawn from one memory DC kept per thread: a drawing that
// starts while another holds it must draw from a DC of its own, and every
// image must leave the DC again (a bitmap held by a DC can be neither
// selected elsewhere nor freed).
TEST(PaintBitmap, ADrawingInsideAnotherAndTheImagesFreeAfterwards) {
    TUiImageInfo red = Image(2, 2, std::vector<uint32_t>(4, kRed));
    TUiImageInfo blue = Image(2, 2, std::vector<uint32_t>(4, kBlue));
    Canvas canvas(4, 4, kBack);
    {
        const CUiScratchDC outer(red.bitmap);
        ASSERT_NE(nullptr, outer.Get());
        CUiRender::PaintBitmap(blue.bitmap, RECT{0, 0, 4, 4}, RECT{0, 0, 2, 2}, canvas.dc(), RECT{0, 0, 2, 2},
                               RECT{0, 0, 0, 0}, false, 255, false, false, false);
        BitBlt(canvas.dc(), 2, 2, 2, 2, outer.Get(), 0, 0, SRCCOPY);
    }
    ExpectNear(kBlue, canvas.At(1, 1), 0);
    ExpectNear(kRed, canvas.At(3, 3), 0);
    ExpectNear(kBack, canvas.At(3, 0), 0);
    // Drawn again, then each selected into another DC: both were let go.
    CUiRender::PaintBitmap(red.bitmap, RECT{0, 0, 4, 4}, RECT{0, 0, 2, 2}, canvas.dc(), RECT{2, 0, 4, 2},
                           RECT{0, 0, 0, 0}, false, 255, false, false, false);
    ExpectNear(kRed, canvas.At(3, 0), 0);
    HDC other = CreateCompatibleDC(nullptr);
    for (HBITMAP bitmap : {red.bitmap, blue.bitmap}) {
        HGDIOBJ old = SelectObject(other, bitmap);
        EXPECT_NE(nullptr, old);
        if (old) SelectObject(other, old);
        EXPECT_TRUE(DeleteObject(bitmap));
    }
    DeleteDC(other);
}

TEST(PaintImageState, SourceDefaultsCutsAndPaintLimits) {
    // Left half red, right half blue, 4x2.
    TUiImageInfo image = Image(4, 2, {kRed, kRed, kBlue, kBlue, kRed, kRed, kBlue, kBlue});
    struct Case {
        const wchar_t* spec;
        RECT paint;
        std::vector<uint32_t> row;  // canvas row 0, x = 0..5
    } cases[] = {
        {L"file='x' dest='0,0,4,2'", {0, 0, 6, 2}, {kRed, kRed, kBlue, kBlue, kBack, kBack}},
        {L"file='x' dest='0,0,4,2'", {0, 0, 2, 2}, {kRed, kRed, kBack, kBack, kBack, kBack}},  // cut to paint
        {L"file='x' source='2,0,4,2' dest='0,0,2,2'", {0, 0, 6, 2}, {kBlue, kBlue, kBack, kBack, kBack, kBack}},
        {L"file='x' source='2,0,9,2' dest='0,0,2,2'", {0, 0, 6, 2}, {kBlue, kBlue, kBack, kBack, kBack, kBack}},
        {L"file='x' dest='0,0,4,2'", {4, 0, 6, 2}, {kBack, kBack, kBack, kBack, kBack, kBack}},  // misses paint
    };
    const RECT control = {0, 0, 6, 2};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.spec);
        Canvas canvas(6, 2, kBack);
        ParseImageStrings(control, c.spec, nullptr, [&](const TUiImageDrawState& s) {
            CUiRender::PaintImageState(canvas.dc(), &image, control, c.paint, s);
        });
        for (int x = 0; x < 6; ++x) {
            SCOPED_TRACE(x);
            ExpectNear(c.row[x], canvas.At(x, 0), 0);
        }
    }
    DeleteObject(image.bitmap);
}

TEST(PaintImageStrings, SeveralImagesInOneStringAndMissingOnes) {
    TUiImageInfo red = Image(1, 1, {kRed});
    TUiImageInfo blue = Image(1, 1, {kBlue});
    std::vector<std::wstring> asked;
    const ImageLookup lookup = [&](const TUiImageDrawState& s) -> const TUiImageInfo* {
        asked.push_back(std::wstring(s.name.GetData()) + L"|" + s.type.GetData());
        if (std::wstring(s.name.GetData()) == L"red.png") return &red;
        if (std::wstring(s.name.GetData()) == L"blue.png") return &blue;
        return nullptr;
    };
    struct Case {
        const wchar_t* image;
        std::vector<uint32_t> row;  // canvas row 0, x = 0..3
        std::vector<std::wstring> asked;
    } cases[] = {
        {L"red.png", {kRed, kRed, kRed, kRed}, {L"red.png|"}},
        {L"file='red.png' dest='0,0,2,1' file='blue.png' dest='2,0,4,1'", {kRed, kRed, kBlue, kBlue},
         {L"red.png|", L"blue.png|"}},
        {L"file='red.png' dest='0,0,2,1' file='missing.png'", {kRed, kRed, kBack, kBack},
         {L"red.png|", L"missing.png|"}},
        {L"file='red.png x", {kBack, kBack, kBack, kBack}, {L"file='red.png x|"}},  // broken: the whole text as a name
    };
    const RECT control = {0, 0, 4, 1};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.image);
        asked.clear();
        Canvas canvas(4, 1, kBack);
        PaintImageStrings(canvas.dc(), lookup, control, control, c.image, nullptr);
        for (int x = 0; x < 4; ++x) ExpectNear(c.row[x], canvas.At(x, 0), 0);
        EXPECT_EQ(c.asked, asked);
    }
    DeleteObject(red.bitmap);
    DeleteObject(blue.bitmap);
}
