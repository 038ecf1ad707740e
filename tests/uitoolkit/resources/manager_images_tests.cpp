// The manager's image map: loading on first use, masks, resource images,
// images kept per manager, and clearing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/uitoolkit/resources/image_folder.h"
#include "uitoolkit/core/image_resource_id.h"
#include "uitoolkit/core/window_manager.h"
#include "uitoolkit/image/ui_image.h"

using namespace UiToolkit;
using namespace uitest;

namespace {

const uint32_t kRed = 0xFF0000FF;  // RGBA
const uint32_t kBlue = 0x0000FFFF;
const uint32_t kMagenta = 0xFF00FFFF;

uint32_t PixelAt(const TUiImageInfo* image, int x, int y) {
  DIBSECTION ds = {};
  if (::GetObjectW(image->bitmap, sizeof(ds), &ds) != sizeof(ds)) return 0xDEADBEEF;
  ::GdiFlush();
  return static_cast<const uint32_t*>(ds.dsBm.bmBits)[y * image->width + x];
}

bool IsLiveBitmap(HBITMAP bitmap) { return ::GetObjectType(bitmap) == OBJ_BITMAP; }

TEST(ImageResourceId, NamesAreDecimalIdentifiersCutTo16Bits) {
  struct Case {
    const wchar_t* name;
    bool ok;
    WORD id;
  } cases[] = {
      {L"105", true, 105},     {L"1", true, 1},         {L"65535", true, 65535},
      {L"65641", true, 105},   {L"105abc", true, 105},  {L"007", true, 7},
      {L"abc", false, 0},      {L"", false, 0},         {nullptr, false, 0},
      {L" 105", false, 0},     {L"-105", false, 0},     {L"+105", false, 0},
      {L"0", false, 0},        {L"65536", false, 0},    {L"x105", false, 0},
      // Far beyond 32 bits: 12345678901234567890 mod 65536 = 2770.
      {L"12345678901234567890", true, 2770},
  };
  for (const Case& c : cases) {
    WORD id = 0;
    EXPECT_EQ(c.ok, ParseImageResourceId(c.name, &id)) << (c.name ? c.name : L"(null)");
    if (c.ok) {
      EXPECT_EQ(c.id, id) << c.name;
    }
  }
}

TEST(ManagerImages, AnImageIsLoadedOnFirstUseAndThenServedFromTheMap) {
  ImageFolder folder;
  ASSERT_TRUE(folder.Write(L"red.png", SolidPng(kRed, 3, 2)));
  CWindowManagerUI m;
  TUiImageInfo* red = m.ImageFor(L"red.png");
  ASSERT_NE(nullptr, red);
  EXPECT_EQ(3, red->width);
  EXPECT_EQ(2, red->height);
  EXPECT_EQ(0xFFFF0000u, PixelAt(red, 2, 1));
  EXPECT_TRUE(red->resourceType.IsEmpty());
  EXPECT_EQ(1, m.ImageCount());
  // Gone from the disk, the image is still served, by name alone.
  ASSERT_TRUE(folder.Remove(L"red.png"));
  EXPECT_EQ(red, m.ImageFor(L"red.png"));
  EXPECT_EQ(red, m.ImageFor(L"red.png", nullptr, 0xFF00FF00));
  EXPECT_EQ(1, m.ImageCount());
  // Names compare exactly.
  EXPECT_EQ(nullptr, m.ImageFor(L"RED.png"));
}

TEST(ManagerImages, AFailedLoadAddsNothingAndIsTriedAgainLater) {
  ImageFolder folder;
  ASSERT_TRUE(folder.Write(L"broken.png", "not an image at all"));
  CWindowManagerUI m;
  struct Case {
    const wchar_t* name;
    const wchar_t* type;
  } cases[] = {{L"missing.png", nullptr}, {L"broken.png", nullptr}, {L"", nullptr},
               {nullptr, nullptr},        {L"abc", L"PNG"},         {L"105", L"PNG"}};
  for (const Case& c : cases) {
    EXPECT_EQ(nullptr, m.ImageFor(c.name, c.type)) << (c.name ? c.name : L"(null)");
    EXPECT_EQ(nullptr, m.AddImageEntry(c.name, c.type)) << (c.name ? c.name : L"(null)");
  }
  EXPECT_EQ(0, m.ImageCount());
  ASSERT_TRUE(folder.Write(L"missing.png", SolidPng(kBlue)));
  TUiImageInfo* now = m.ImageFor(L"missing.png");
  ASSERT_NE(nullptr, now);
  EXPECT_EQ(0xFF0000FFu, PixelAt(now, 0, 0));
}

TEST(ManagerImages, TheMaskKeysOutItsColourAndIsKeptWithTheImage) {
  ImageFolder folder;
  // Left pixel magenta, right pixel red.
  ASSERT_TRUE(folder.Write(L"btn.png", fixtures::EncodePng({255, 0, 255, 255, 255, 0, 0, 255}, 2, 1)));
  CWindowManagerUI m;
  TUiImageInfo* keyed = m.ImageFor(L"btn.png", nullptr, 0xFFFF00FF);
  ASSERT_NE(nullptr, keyed);
  EXPECT_EQ(0xFFFF00FFu, keyed->maskColour);
  EXPECT_TRUE(keyed->hasAlpha);
  EXPECT_EQ(0u, PixelAt(keyed, 0, 0));
  EXPECT_EQ(0xFFFF0000u, PixelAt(keyed, 1, 0));
  // Without a mask the same file stays opaque.
  CWindowManagerUI plain;
  TUiImageInfo* opaque = plain.ImageFor(L"btn.png");
  ASSERT_NE(nullptr, opaque);
  EXPECT_FALSE(opaque->hasAlpha);
  EXPECT_EQ(0xFFFF00FFu, PixelAt(opaque, 0, 0));
}

TEST(ManagerImages, ResourceImagesAreNamedByNumberAndType) {
  ImageFolder folder;
  ASSERT_TRUE(folder.UseResources(L"PNG", {{105, SolidPng(kRed)}, {7, SolidPng(kBlue)}}));
  // A file named like a resource is not what a typed name reads.
  ASSERT_TRUE(folder.Write(L"106", SolidPng(kMagenta)));
  CWindowManagerUI m;
  struct Case {
    const wchar_t* name;
    const wchar_t* type;
    uint32_t pixel;  // 0: none
  } cases[] = {
      {L"105", L"PNG", 0xFFFF0000},   {L"65641", L"PNG", 0xFFFF0000}, {L"7", L"PNG", 0xFF0000FF},
      {L"007x", L"PNG", 0xFF0000FF},  {L"abc", L"PNG", 0},            {L"106", L"PNG", 0},
      {L"105", L"GIF", 0},            {L"0", L"PNG", 0},              {L"png7", L"PNG", 0},
      {L"106", nullptr, 0xFFFF00FF},  {L"106", L"", 0xFFFF00FF},  // no type: a file
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.name << " " << (c.type ? c.type : L"(none)"));
    CWindowManagerUI fresh;
    TUiImageInfo* image = fresh.ImageFor(c.name, c.type);
    if (!c.pixel) {
      EXPECT_EQ(nullptr, image);
      EXPECT_EQ(0, fresh.ImageCount());
      continue;
    }
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(c.pixel, PixelAt(image, 0, 0));
    const bool typed = c.type && *c.type;
    EXPECT_EQ(std::wstring(typed ? c.type : L""), std::wstring(image->resourceType));
  }
}

TEST(ManagerImages, ImagesAreReadFromTheSkinZip) {
  ImageFolder folder;
  fixtures::ZipItem item;
  item.name = "images/ok.png";
  item.data = SolidPng(kBlue);
  ASSERT_TRUE(folder.Write(L"skin.zip", fixtures::MakeZip({item})));
  ASSERT_TRUE(folder.Write(L"outside.png", SolidPng(kRed)));
  folder.UseZip(L"skin.zip");
  CWindowManagerUI m;
  TUiImageInfo* image = m.ImageFor(L"images\\ok.png");
  ASSERT_NE(nullptr, image);
  EXPECT_EQ(0xFF0000FFu, PixelAt(image, 0, 0));
  // With a skin zip in use, the loose file beside it is not read.
  EXPECT_EQ(nullptr, m.ImageFor(L"outside.png"));
}

TEST(ManagerImages, EachManagerKeepsItsOwnImagesAlongTheChain) {
  ImageFolder folder;
  ASSERT_TRUE(folder.Write(L"red.png", SolidPng(kRed)));
  CWindowManagerUI owner, popup;
  popup.SetResourceParent(&owner);
  TUiImageInfo* owners = owner.ImageFor(L"red.png");
  ASSERT_NE(nullptr, owners);
  TUiImageInfo* popups = popup.ImageFor(L"red.png");
  ASSERT_NE(nullptr, popups);
  EXPECT_NE(owners, popups);
  EXPECT_EQ(1, owner.ImageCount());
  EXPECT_EQ(1, popup.ImageCount());
  // Once gone from the disk, the popup cannot borrow the owner's copy.
  ASSERT_TRUE(folder.Write(L"blue.png", SolidPng(kBlue)));
  ASSERT_NE(nullptr, owner.ImageFor(L"blue.png"));
  ASSERT_TRUE(folder.Remove(L"blue.png"));
  EXPECT_EQ(nullptr, popup.ImageFor(L"blue.png"));
}

TEST(ManagerImages, ASecondEntryUnderANameKeepsTheFirst) {
  ImageFolder folder;
  ASSERT_TRUE(folder.Write(L"a.png", SolidPng(kRed)));
  CWindowManagerUI m;
  TUiImageInfo* first = m.AddImageEntry(L"a.png");
  ASSERT_NE(nullptr, first);
  ASSERT_TRUE(folder.Write(L"a.png", SolidPng(kBlue)));
  EXPECT_EQ(first, m.AddImageEntry(L"a.png", nullptr, 0xFF0000FF));
  EXPECT_EQ(1, m.ImageCount());
  EXPECT_TRUE(IsLiveBitmap(first->bitmap));
  EXPECT_EQ(0xFFFF0000u, PixelAt(first, 0, 0));
}

TEST(ManagerImages, ClearingAndDestroyingFreeEveryBitmap) {
  ImageFolder folder;
  std::vector<HBITMAP> bitmaps;
  {
    CWindowManagerUI m;
    for (int i = 0; i < 120; ++i) {  // more images than buckets
      std::wstring name = L"img" + std::to_wstring(i) + L".png";
      ASSERT_TRUE(folder.Write(name, SolidPng(kRed, 1 + i % 3, 1)));
      TUiImageInfo* image = m.ImageFor(name.c_str());
      ASSERT_NE(nullptr, image);
      bitmaps.push_back(image->bitmap);
    }
    EXPECT_EQ(120, m.ImageCount());
    m.ClearImages();
    EXPECT_EQ(0, m.ImageCount());
    for (HBITMAP b : bitmaps) EXPECT_FALSE(IsLiveBitmap(b));
    // The map works as before after a clear.
    TUiImageInfo* again = m.ImageFor(L"img5.png");
    ASSERT_NE(nullptr, again);
    EXPECT_EQ(again, m.ImageFor(L"img5.png"));
    bitmaps.assign(1, again->bitmap);
  }
  EXPECT_FALSE(IsLiveBitmap(bitmaps[0]));
}

}  // namespace
