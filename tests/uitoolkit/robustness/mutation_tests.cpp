// Robustness: mutated skins, zips and images go to the parser, the zip
// reader and the image loader. The run passes when the process survives
// every input; it reports the inputs fed, the time taken and the slowest
// input, so a run that grows slow shows.
#include <gtest/gtest.h>

#include "tests/uitoolkit/fixtures/skin_fixtures.h"
#include "tests/uitoolkit/robustness/feed_mutations.h"
#include "tests/uitoolkit/robustness/mutator.h"
#include "uitoolkit/core/ui_render.h"
#include "uitoolkit/image/ui_image.h"
#include "uitoolkit/markup/markup_text_draw.h"
#include "uitoolkit/markup/xml_markup.h"
#include "uitoolkit/zip/skin_files.h"
#include "uitoolkit/zip/ui_zip_reader.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace UiToolkit;
using robustness::FeedMutations;
using robustness::MutationCount;

namespace {

// Walks every element and attribute the way the skin builder does.
int WalkDocument(CXmlMarkup& doc) {
    int seen = 0;
    std::vector<CXmlMarkupNode> pending;
    if (doc.RootNode().IsValid()) pending.push_back(doc.RootNode());
    wchar_t value[CXmlMarkupNode::kValueBufferSize];
    while (!pending.empty()) {
        CXmlMarkupNode node = pending.back();
        pending.pop_back();
        ++seen;
        seen += static_cast<int>(wcslen(node.TagName())) & 1;
        const int count = node.AttrCount();
        for (int i = 0; i < count; ++i) {
            std::wstring name = node.AttrNameAt(i);
            if (node.ValueOf(name.c_str(), value)) seen += static_cast<int>(wcslen(value)) & 1;
        }
        for (CXmlMarkupNode child = node.FirstChildNode(); child.IsValid(); child = child.NextSiblingNode())
            pending.push_back(child);
    }
    return seen;
}

std::string Pattern(int width, int height, int channels) {
    std::string px;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < channels; ++c)
                px.push_back(static_cast<char>(c == 3 ? (x * 40) & 0xFF : (x * 13 + y * 29 + c * 70) & 0xFF));
    return px;
}

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

std::vector<std::string> ImageSeeds() {
    const std::vector<uint8_t> palette = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};
    std::vector<fixtures::GifFrame> frames = {
        {std::vector<uint8_t>(48, 1), 0, -1}, {std::vector<uint8_t>(48, 2), 10, 3}, {std::vector<uint8_t>(48, 3), 20, 0}};
    for (int i = 0; i < 48; ++i) frames[1].indices[i] = static_cast<uint8_t>(i % 4);
    return {
        fixtures::EncodePng(Bytes(Pattern(8, 6, 4)), 8, 6),
        fixtures::EncodeBmp(Bytes(Pattern(7, 5, 3)), 7, 5),
        fixtures::EncodeJpg(Bytes(Pattern(16, 16, 3)), 16, 16),
        fixtures::EncodeTga(Bytes(Pattern(6, 6, 4)), 6, 6),
        fixtures::MakeGif(8, 6, palette, frames),
    };
}

std::string ZipSeed() {
    std::vector<fixtures::ZipItem> items;
    items.push_back({"skin/main.xml", fixtures::MakeSkinDocument(1500), true,
                     fixtures::UtBlock(7, {978307200, -31536000, 1009843200})});
    items.push_back({"skin/logo.png", ImageSeeds()[0], false,
                     fixtures::ExtraBlock(0x4242, std::string(150, 'x')) + fixtures::UtBlock(1, {978307200})});
    fixtures::ZipItem unixItem{"skin/anim.gif", ImageSeeds()[4], true};
    unixItem.versionMadeBy = 0x031E;
    unixItem.externalAttributes = 0100444u << 16;
    items.push_back(unixItem);
    items.push_back({"skin/empty.txt", "", false});
    return fixtures::MakeZip(items);
}

}  // namespace

TEST(Robustness, MutatedSkinDocumentsNeverCrashTheParser) {
    const std::vector<std::string> seeds = {
        fixtures::MakeSkinDocument(3000),
        "<?xml version=\"1.0\"?><!-- c --><a x=\"&lt;&amp;\" y=\"2\"><b/><c>t &gt; u</c></a>",
        "<r><a><b><c><d/></c></b></a></r>",
    };
    robustness::Mutator mutator(1);
    int elements = 0, loaded = 0;
    const int count = MutationCount();
    FeedMutations("parser", count, [&](int i) { return mutator.MutateMarkup(seeds[i % seeds.size()]); },
        [&](const std::string& input) {
            CXmlMarkup doc;
            if (doc.LoadFromUtf8(input.data(), static_cast<int>(input.size()))) {
                ++loaded;
                elements += WalkDocument(doc);
            } else {
                EXPECT_NE(L'\0', doc.LastError()[0]);
                EXPECT_FALSE(doc.RootNode().IsValid());
            }
        });
    printf("parser: %d of %d loaded, %d elements walked\n", loaded, count, elements);
    // The mutations must exercise both outcomes to mean anything.
    EXPECT_GT(loaded, count / 20);
    EXPECT_LT(loaded, count);
}

TEST(Robustness, MutatedZipsNeverCrashTheReader) {
    const std::string seed = ZipSeed();
    ASSERT_FALSE(seed.empty());
    robustness::Mutator mutator(2);
    int opened = 0, extracted = 0;
    const int count = MutationCount();
    FeedMutations("zip", count, [&](int) { return mutator.Mutate(seed); },
        [&](const std::string& input) {
            CUiZipReader* zip = CUiZipReader::Open(kZipFromMemory, input.data(), static_cast<unsigned>(input.size()));
            if (!zip) return;
            ++opened;
            TUiZipEntry summary{};
            CUiZipReader::ItemInfo(zip, -1, &summary);
            TUiSkinLocation location;
            location.skinZipName = L"membuffer";
            location.openZip = zip;
            for (int i = 0; i < summary.index && i < 8; ++i) {
                TUiZipEntry entry{};
                if (CUiZipReader::ItemInfo(zip, i, &entry) != kZipOk) continue;
                TUiBytes bytes;
                if (ReadSkinZipEntry(location, entry.name, 0, &bytes) == SkinRead::Ok) ++extracted;
                // Chunked reads stop on their own.
                char chunk[97];
                for (int calls = 0; calls < 100000; ++calls)
                    if (CUiZipReader::Extract(zip, chunk, i, sizeof chunk) != kZipMore) break;
            }
            CXmlMarkup doc;
            if (doc.LoadSkinFileFrom(location, L"skin\\main.xml")) WalkDocument(doc);
            for (const wchar_t* name : {L"skin/logo.png", L"SKIN/ANIM.GIF"}) {
                TUiImageInfo* image = CUiRender::LoadImageFileFrom(location, name, nullptr, 0xFFFF00FF);
                FreeImageInfo(image);
            }
            delete CUiRender::LoadGifFileFrom(location, L"skin/anim.gif");
            EXPECT_EQ(0, CUiZipReader::Close(zip));
        });
    printf("zip: %d of %d opened, %d entries extracted whole\n", opened, count, extracted);
    EXPECT_GT(opened, count / 20);
}

TEST(Robustness, MutatedImagesNeverCrashTheLoader) {
    const std::vector<std::string> seeds = ImageSeeds();
    robustness::Mutator mutator(3);
    int decoded = 0, frames = 0;
    const int count = MutationCount();
    FeedMutations("image", count, [&](int i) { return mutator.Mutate(seeds[i % seeds.size()]); },
        [&](const std::string& input) {
            TUiImageInfo* image = CUiRender::DecodeImage(input.data(), input.size(), 0xFFFF00FF);
            if (image) {
                ++decoded;
                EXPECT_NE(nullptr, image->bitmap);
            }
            FreeImageInfo(image);
            std::unique_ptr<CGifHandler> gif(CUiRender::DecodeGif(input.data(), input.size()));
            if (gif) frames += gif->FrameCount();
        });
    printf("image: %d of %d decoded, %d GIF frames\n", decoded, count, frames);
    EXPECT_GT(decoded, count / 20);
}

namespace {

// Fonts made on demand and kept, one image, a fixed mouse position.
class MarkupHost : public IMarkupTextHost {
public:
    MarkupHost() {
        const unsigned char rgba[16] = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 255, 9, 9, 9, 0};
        CUiRender::MakePremultipliedBitmap(rgba, 2, 2, 0, &image_);
    }
    ~MarkupHost() override {
        for (HFONT f : fonts_) DeleteObject(f);
        DeleteObject(image_.bitmap);
    }
    HFONT DefaultFont() override { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }
    HFONT FontAt(int index) override {
        return index >= 0 && index < static_cast<int>(fonts_.size()) ? fonts_[index] : DefaultFont();
    }
    HFONT FindOrAddFont(const wchar_t* face, int size, bool bold, bool underline, bool italic) override {
        if (fonts_.size() > 64) return fonts_.back();
        if (size > 200) size = 200;
        fonts_.push_back(CreateFontW(-size, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, underline, FALSE,
                                     DEFAULT_CHARSET, 0, 0, 0, 0, face));
        return fonts_.back();
    }
    DWORD LinkColor() override { return 0xFF0000FF; }
    DWORD LinkHoverColor() override { return 0xFFFF0000; }
    DWORD SelectedColor() override { return 0xFFBAE4FF; }
    POINT MousePos() override { return POINT{20, 8}; }
    const TUiImageInfo* ImageFor(const wchar_t* name, const wchar_t*) override {
        return name[0] == L'i' ? &image_ : nullptr;
    }

private:
    std::vector<HFONT> fonts_;
    TUiImageInfo image_;
};

std::string Utf8(const wchar_t* text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], n, nullptr, nullptr);
    return out;
}

}  // namespace

TEST(Robustness, MutatedMarkupTextAlwaysFinishesLayingOut) {
    const std::vector<std::string> seeds = {
        Utf8(L"{b}Bold{/b} text {a page1}a link that wraps{/a} {c #FF0000}red{/c} {i icon.png 2 1}{n}"
             L"{p 6}para {f Tahoma 14 bold}big{/f}{/p} {s}sel{/s} {x 8}{y 30}<{>{r}{b}raw{/r} \x4E2D\x6587\x5B57"),
        Utf8(L"{a x}{b}{i}{u}deep{/u}{/i}{/b}{/a}{a y}second link across the whole width of the box{/a}"),
    };
    const UINT styles[] = {DT_WORDBREAK, DT_SINGLELINE | DT_END_ELLIPSIS, DT_WORDBREAK | DT_CALCRECT,
                           DT_CENTER | DT_VCENTER | DT_SINGLELINE, DT_RIGHT | DT_BOTTOM | DT_WORDBREAK | DT_END_ELLIPSIS};
    MarkupHost host;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 120, 60);
    HGDIOBJ old = SelectObject(dc, bitmap);
    robustness::Mutator mutator(4);
    int links = 0;
    const int count = MutationCount() / 5;
    FeedMutations("markup text", count, [&](int i) { return mutator.MutateMarkup(seeds[i % seeds.size()]); },
                  [&](const std::string& input) {
                      int n = MultiByteToWideChar(CP_UTF8, 0, input.data(), static_cast<int>(input.size()), nullptr, 0);
                      std::wstring text(n, L'\0');
                      if (n) MultiByteToWideChar(CP_UTF8, 0, input.data(), static_cast<int>(input.size()), &text[0], n);
                      RECT rects[4];
                      CUiString texts[4];
                      for (UINT style : styles) {
                          RECT area = {2, 2, 118, 58};
                          int found = 4;
                          DrawMarkupTextWith(dc, &host, area, text.c_str(), 0xFF000000, rects, texts, found, style);
                          EXPECT_LE(found, 4);
                          links += found;
                      }
                  });
    printf("markup text: %d link pieces found\n", links);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}
