#include <gtest/gtest.h>

#include "tests/support/test_support.h"
#include "tests/uitoolkit/fixtures/skin_fixtures.h"
#include "uitoolkit/core/ui_render.h"
#include "uitoolkit/image/image_decode.h"
#include "uitoolkit/image/ui_image.h"
#include "uitoolkit/zip/skin_files.h"

#include <memory>
#include <string>
#include <vector>

using namespace UiToolkit;

namespace {

struct ImageDeleter {
    void operator()(TUiImageInfo* image) const { FreeImageInfo(image); }
};
using ImagePtr = std::unique_ptr<TUiImageInfo, ImageDeleter>;

// The 32-bit pixel values (0xAARRGGBB) of a DIB section, row by row.
std::vector<uint32_t> Pixels(HBITMAP bitmap) {
    DIBSECTION ds{};
    if (GetObjectW(bitmap, sizeof ds, &ds) != sizeof ds || !ds.dsBm.bmBits) return {};
    EXPECT_EQ(32, ds.dsBm.bmBitsPixel);
    const uint32_t* p = static_cast<const uint32_t*>(ds.dsBm.bmBits);
    return std::vector<uint32_t>(p, p + ds.dsBm.bmWidth * ds.dsBm.bmHeight);
}

ImagePtr Decode(const std::string& bytes, DWORD mask = 0) {
    return ImagePtr(CUiRender::DecodeImage(bytes.data(), bytes.size(), mask));
}

std::string SolidPng(uint8_t r, uint8_t g, uint8_t b) {
    return fixtures::EncodePng({r, g, b, 255, r, g, b, 255}, 2, 1);
}

const std::vector<uint8_t> kPalette = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};  // black, red, green, blue

}  // namespace

TEST(ImageLoader, PixelsArePremultipliedAndAlphaIsNoted) {
    struct Case {
        uint8_t r, g, b, a;
        uint32_t stored;
    } cases[] = {
        {200, 100, 50, 255, 0xFFC86432}, {255, 255, 255, 128, 0x80808080}, {255, 128, 0, 128, 0x80804000},
        {200, 100, 50, 0, 0x00000000},   {1, 1, 1, 1, 0x01000000},          {255, 255, 255, 254, 0xFEFEFEFE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.stored);
        ImagePtr image = Decode(fixtures::EncodePng({c.r, c.g, c.b, c.a}, 1, 1));
        ASSERT_TRUE(image);
        EXPECT_EQ(1, image->width);
        EXPECT_EQ(1, image->height);
        EXPECT_EQ(std::vector<uint32_t>{c.stored}, Pixels(image->bitmap));
        EXPECT_EQ(c.a != 255, image->hasAlpha);
    }
}

TEST(ImageLoader, TransparentBorderBecomesZeroAndRowsStayInOrder) {
    std::vector<uint8_t> rgba;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            const bool inside = x > 0 && x < 3 && y == 0;
            const uint8_t px[4] = {static_cast<uint8_t>(inside ? 10 * x : 77), static_cast<uint8_t>(inside ? 200 : 66),
                                   55, static_cast<uint8_t>(inside ? 255 : 0)};
            rgba.insert(rgba.end(), px, px + 4);
        }
    ImagePtr image = Decode(fixtures::EncodePng(rgba, 4, 3));
    ASSERT_TRUE(image);
    EXPECT_EQ(4, image->width);
    EXPECT_EQ(3, image->height);
    EXPECT_TRUE(image->hasAlpha);
    // Top-down rows: the opaque pixels are in the first row.
    const std::vector<uint32_t> expected = {0, 0xFF0AC837, 0xFF14C837, 0,  //
                                            0, 0,          0,          0,  //
                                            0, 0,          0,          0};
    EXPECT_EQ(expected, Pixels(image->bitmap));
}

TEST(ImageLoader, MaskColourKeysOutExactlyThatOpaqueColour) {
    // A 24-bit BMP: magenta, white, almost-magenta.
    const std::string bmp = fixtures::EncodeBmp({255, 0, 255, 255, 255, 255, 255, 1, 255}, 3, 1);
    struct Case {
        DWORD mask;
        std::vector<uint32_t> pixels;
        bool hasAlpha;
    } cases[] = {
        {0xFFFF00FF, {0, 0xFFFFFFFF, 0xFFFF01FF}, true},
        {0, {0xFFFF00FF, 0xFFFFFFFF, 0xFFFF01FF}, false},
        {0x00FF00FF, {0xFFFF00FF, 0xFFFFFFFF, 0xFFFF01FF}, false},  // alpha byte must match too
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mask);
        ImagePtr image = Decode(bmp, c.mask);
        ASSERT_TRUE(image);
        EXPECT_EQ(c.pixels, Pixels(image->bitmap));
        EXPECT_EQ(c.hasAlpha, image->hasAlpha);
    }
}

TEST(ImageLoader, BytesThatAreNoImageGiveNone) {
    const std::string png = SolidPng(1, 2, 3);
    // A header that claims 20000 x 20000 pixels is refused before decoding.
    std::string huge = png;
    fixtures::WriteLe32(&huge, 16, 0x204E0000);  // big-endian 20000
    fixtures::WriteLe32(&huge, 20, 0x204E0000);
    for (const std::string& bytes : {std::string(), std::string("not an image"), png.substr(0, png.size() / 2),
                                     std::string("GIF89a"), huge}) {
        EXPECT_FALSE(Decode(bytes));
    }
}

// Callers that must refuse large pictures before anything decodes them
// (icons from the services) read the declared size from the header alone.
TEST(ImageLoader, HeaderSizeIsReadWithoutDecoding) {
    const std::string png = fixtures::EncodePng(std::vector<uint8_t>(3 * 2 * 4, 9), 3, 2);
    std::string declared = png;
    fixtures::WriteLe32(&declared, 16, 0x204E0000);  // big-endian 20000
    fixtures::WriteLe32(&declared, 20, 0x10270000);  // big-endian 10000
    std::string beyond = png;
    fixtures::WriteLe32(&beyond, 16, 0x409C0000);  // big-endian 40000: over any dimension decoded
    const std::string gif = fixtures::MakeGif(6, 5, kPalette, {{std::vector<uint8_t>(30, 1), 0, -1}});
    struct Case {
        const char* what;
        std::string bytes;
        bool read;
        int width, height;
    } cases[] = {
        {"png", png, true, 3, 2},
        {"png header only", png.substr(0, 33), true, 3, 2},
        {"png declaring 20000x10000, no pixels for it", declared.substr(0, 33), true, 20000, 10000},
        {"png beyond the largest dimension", beyond, false, 0, 0},
        {"bmp", fixtures::EncodeBmp(std::vector<uint8_t>(5 * 4 * 3, 7), 5, 4), true, 5, 4},
        {"jpeg", fixtures::EncodeJpg(std::vector<uint8_t>(7 * 3 * 3, 200), 7, 3), true, 7, 3},
        {"tga", fixtures::EncodeTga(std::vector<uint8_t>(2 * 9 * 4, 1), 2, 9), true, 2, 9},
        {"gif", gif, true, 6, 5},
        {"text", "not an image at all", false, 0, 0},
        {"empty", "", false, 0, 0},
    };
    for (const Case& c : cases) {
        int width = -1, height = -1;
        EXPECT_EQ(c.read, ReadImageHeaderSize(c.bytes.data(), c.bytes.size(), &width, &height)) << c.what;
        EXPECT_EQ(c.width, width) << c.what;
        EXPECT_EQ(c.height, height) << c.what;
    }
}

// Skin images keep the toolkit's own limit: a picture larger than any icon
// may be still loads.
TEST(ImageLoader, SkinPicturesLargerThanAnyIconStillLoad) {
    const int width = 1300, height = 1000;
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4, 0);
    for (size_t i = 0; i < rgba.size(); i += 4) {
        rgba[i] = 30;
        rgba[i + 1] = 60;
        rgba[i + 2] = 90;
        rgba[i + 3] = 255;
    }
    ImagePtr image = Decode(fixtures::EncodePng(rgba, width, height));
    ASSERT_TRUE(image);
    EXPECT_EQ(width, image->width);
    EXPECT_EQ(height, image->height);
    EXPECT_EQ(0xFF1E3C5Au, Pixels(image->bitmap).back());
}

TEST(GifLoader, FramesComeComposedWithTheirDelays) {
    // Frame 0 red, frame 1 green with its first pixel transparent (the red
    // beneath shows), frame 2 blue. Delays 0, 10 and 20 hundredths.
    const std::string gif = fixtures::MakeGif(2, 2, kPalette,
                                              {{{1, 1, 1, 1}, 0, -1}, {{0, 2, 2, 2}, 10, 0}, {{3, 3, 3, 3}, 20, -1}});
    std::unique_ptr<CGifHandler> handler(CUiRender::DecodeGif(gif.data(), gif.size()));
    ASSERT_TRUE(handler);
    ASSERT_EQ(3, handler->FrameCount());
    const int delays[] = {150, 100, 200};
    const std::vector<uint32_t> pixels[] = {
        {0xFFFF0000, 0xFFFF0000, 0xFFFF0000, 0xFFFF0000},
        {0xFFFF0000, 0xFF00FF00, 0xFF00FF00, 0xFF00FF00},
        {0xFF0000FF, 0xFF0000FF, 0xFF0000FF, 0xFF0000FF},
    };
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        TUiGifFrame* frame = handler->FrameAt(i);
        ASSERT_NE(nullptr, frame);
        EXPECT_EQ(delays[i], frame->delay);
        EXPECT_EQ(2, frame->width);
        EXPECT_EQ(2, frame->height);
        EXPECT_EQ(pixels[i], Pixels(frame->bitmap));
    }
    EXPECT_EQ(nullptr, handler->FrameAt(3));
    handler->stopped = true;
    EXPECT_EQ(nullptr, handler->FrameAt(0));
}

TEST(GifLoader, CutFilesKeepTheFramesReadBeforeTheDamage) {
    const std::string gif =
        fixtures::MakeGif(2, 2, kPalette, {{{1, 1, 1, 1}, 5, -1}, {{2, 2, 2, 2}, 5, -1}, {{3, 3, 3, 3}, 5, -1}});
    // Without the trailer all three frames are there; cut before the last
    // frame, two remain.
    std::unique_ptr<CGifHandler> whole(CUiRender::DecodeGif(gif.data(), gif.size() - 1));
    ASSERT_TRUE(whole);
    EXPECT_EQ(3, whole->FrameCount());
    const size_t lastFrame = gif.rfind("\x21\xF9");
    std::unique_ptr<CGifHandler> cut(CUiRender::DecodeGif(gif.data(), lastFrame));
    ASSERT_TRUE(cut);
    EXPECT_EQ(2, cut->FrameCount());
    // Anything that is not a GIF gives a handler without frames.
    const std::string png = SolidPng(9, 9, 9);
    std::unique_ptr<CGifHandler> notGif(CUiRender::DecodeGif(png.data(), png.size()));
    ASSERT_TRUE(notGif);
    EXPECT_EQ(0, notGif->FrameCount());
}

class ImageFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = test_support::MakeTempDir(L"images");
        for (const wchar_t* sub : {L"\\skin", L"\\skin\\img", L"\\cwd", L"\\cwd\\img"})
            CreateDirectoryW((dir_ + sub).c_str(), nullptr);
        GetCurrentDirectoryW(MAX_PATH, savedCwd_);
        SetCurrentDirectoryW((dir_ + L"\\cwd").c_str());
    }
    void TearDown() override {
        SetCurrentDirectoryW(savedCwd_);
        test_support::RemoveTree(dir_);
    }
    void Write(const std::wstring& relative, const std::string& bytes) {
        ASSERT_TRUE(test_support::WriteFileBytes(dir_ + L"\\" + relative, bytes));
    }
    // The colour of the first pixel of the image found under `name`, or 0.
    uint32_t FirstPixel(const TUiSkinLocation& location, const wchar_t* name) {
        ImagePtr image(CUiRender::LoadImageFileFrom(location, name, nullptr, 0));
        if (!image) return 0;
        return Pixels(image->bitmap).at(0);
    }

    std::wstring dir_;
    wchar_t savedCwd_[MAX_PATH];
};

TEST_F(ImageFilesTest, ImagesAreFoundInTheZipOrFolderThenAsAPath) {
    std::string zip = fixtures::MakeZip({{"img/a.png", SolidPng(255, 0, 0)},
                                         {"img/damaged.png", SolidPng(0, 0, 1), false}});
    size_t at = zip.find("IDAT");
    ASSERT_NE(std::string::npos, at);
    zip[at + 6] ^= 0x40;  // the stored entry's CRC-32 no longer matches
    Write(L"skin\\skin.zip", zip);
    Write(L"skin\\img\\a.png", SolidPng(0, 255, 0));
    Write(L"skin\\folder.png", SolidPng(0, 255, 0));
    Write(L"cwd\\img\\a.png", SolidPng(0, 0, 255));
    Write(L"cwd\\only-here.png", SolidPng(0, 0, 255));
    Write(L"cwd\\img\\damaged.png", SolidPng(0, 0, 255));

    TUiSkinLocation zipped;
    zipped.resourceFolder = dir_ + L"\\skin\\";
    zipped.skinZipName = L"skin.zip";
    TUiSkinLocation folder;
    folder.resourceFolder = dir_ + L"\\skin\\";
    const std::wstring absolute = dir_ + L"\\cwd\\only-here.png";

    struct Case {
        const TUiSkinLocation* location;
        const wchar_t* name;
        uint32_t pixel;
    } cases[] = {
        {&zipped, L"img\\a.png", 0xFFFF0000},         // the zip wins
        {&zipped, L"folder.png", 0},                  // with a zip, the folder is not looked at
        {&zipped, L"only-here.png", 0xFF0000FF},      // not in the zip: the current folder
        {&zipped, L"img/damaged.png", 0xFF0000FF},    // a damaged entry counts as missing
        {&folder, L"img\\a.png", 0xFF00FF00},         // the resource folder
        {&folder, L"only-here.png", 0xFF0000FF},
        {&folder, absolute.c_str(), 0xFF0000FF},      // a full path
        {&folder, L"missing.png", 0},
        {&folder, L"", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.pixel, FirstPixel(*c.location, c.name));
    }

    std::unique_ptr<CGifHandler> gif(CUiRender::LoadGifFileFrom(folder, L"missing.gif"));
    EXPECT_FALSE(gif);
    Write(L"skin\\anim.gif", fixtures::MakeGif(1, 1, kPalette, {{{2}, 0, -1}, {{3}, 3, -1}}));
    gif.reset(CUiRender::LoadGifFileFrom(folder, L"anim.gif"));
    ASSERT_TRUE(gif);
    EXPECT_EQ(2, gif->FrameCount());
    EXPECT_EQ(30, gif->FrameAt(1)->delay);
    gif.reset(CUiRender::LoadGifFileFrom(folder, L"folder.png"));
    ASSERT_TRUE(gif);
    EXPECT_EQ(0, gif->FrameCount());
}

TEST_F(ImageFilesTest, ImagesAreReadFromResourcesOfTheResourceModule) {
    // A copy of this program with a PNG resource added stands for the
    // program's resources.
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring copy = dir_ + L"\\resources.exe";
    ASSERT_TRUE(CopyFileW(self, copy.c_str(), FALSE));
    const std::string png = SolidPng(0, 128, 255);
    HANDLE update = BeginUpdateResourceW(copy.c_str(), FALSE);
    ASSERT_NE(nullptr, update);
    ASSERT_TRUE(UpdateResourceW(update, L"PNG", MAKEINTRESOURCEW(101), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                const_cast<char*>(png.data()), static_cast<DWORD>(png.size())));
    ASSERT_TRUE(EndUpdateResourceW(update, FALSE));
    HMODULE module = LoadLibraryExW(copy.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, module);

    TUiSkinLocation location;
    location.resourceModule = module;
    ImagePtr image(CUiRender::LoadImageFileFrom(location, MAKEINTRESOURCEW(101), L"PNG", 0));
    ASSERT_TRUE(image);
    EXPECT_EQ(std::vector<uint32_t>({0xFF0080FF, 0xFF0080FF}), Pixels(image->bitmap));
    EXPECT_FALSE(ImagePtr(CUiRender::LoadImageFileFrom(location, MAKEINTRESOURCEW(102), L"PNG", 0)));
    EXPECT_FALSE(ImagePtr(CUiRender::LoadImageFileFrom(location, MAKEINTRESOURCEW(101), L"GIF", 0)));
    FreeLibrary(module);
}
