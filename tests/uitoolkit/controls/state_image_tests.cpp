// Which state image a button or option draws: disabled, then pushed, then
// hot, then focused, then normal; fore images on top.
#include <gtest/gtest.h>

#include "tests/support/test_support.h"
#include "tests/uitoolkit/controls/control_window.h"
#include "tests/uitoolkit/core/dib_canvas.h"
#include "tests/uitoolkit/fixtures/skin_fixtures.h"
#include "uitoolkit/controls/option.h"

using namespace uitest;

namespace {

struct Swatch {
  const wchar_t* file;
  DWORD rgb;
};
const Swatch kSwatches[] = {
    {L"normal.png", 0x808080},  {L"hot.png", 0x00C000},    {L"pushed.png", 0xC00000},
    {L"focused.png", 0x0000C0}, {L"disabled.png", 0x606000}, {L"fore.png", 0xC000C0},
    {L"hotfore.png", 0x00C0C0}, {L"selected.png", 0x402000}, {L"selhot.png", 0x004020},
};

class StateImageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = test_support::MakeTempDir(L"stateimg");
    for (const Swatch& s : kSwatches) {
      std::vector<uint8_t> rgba;
      for (int i = 0; i < 4; ++i) {
        rgba.push_back((s.rgb >> 16) & 0xFF);
        rgba.push_back((s.rgb >> 8) & 0xFF);
        rgba.push_back(s.rgb & 0xFF);
        rgba.push_back(0xFF);
      }
      test_support::WriteFileBytes(dir_ + L"\\" + s.file, fixtures::EncodePng(rgba, 2, 2));
    }
    CWindowManagerUI::SetResourceFolder(dir_.c_str());
  }
  static void TearDownTestSuite() {
    CWindowManagerUI::SetResourceFolder(nullptr);
    test_support::RemoveTree(dir_);
  }
  static std::wstring dir_;
};
std::wstring StateImageTest::dir_;

void SetImages(CButtonUI* b) {
  b->ApplyAttribute(L"normalimage", L"normal.png");
  b->ApplyAttribute(L"hotimage", L"hot.png");
  b->ApplyAttribute(L"pushedimage", L"pushed.png");
  b->ApplyAttribute(L"focusedimage", L"focused.png");
  b->ApplyAttribute(L"disabledimage", L"disabled.png");
}

// Centre and top-left corner after a paint.
std::pair<DWORD, DWORD> PaintedColours(CControlUI* c) {
  DibCanvas canvas(100, 40, 0xFFFFFF);
  RECT all = {0, 0, 100, 40};
  c->Paint(canvas.dc(), all);
  return {canvas.At(50, 20), canvas.At(2, 2)};
}

}  // namespace

TEST_F(StateImageTest, ButtonImagesFollowStatePrecedence) {
  struct Case {
    const char* name;
    bool hover, press, focus, disable, hotFore;
    DWORD centre, corner;
  } cases[] = {
      {"normal", false, false, false, false, false, 0x808080, 0xC000C0},
      {"focused", false, false, true, false, false, 0x0000C0, 0xC000C0},
      {"hot over focused", true, false, true, false, false, 0x00C000, 0xC000C0},
      {"hot fore replaces the fore image", true, false, false, false, true, 0x00C000, 0x00C0C0},
      {"pushed over hot", true, true, false, false, true, 0xC00000, 0xC000C0},
      {"disabled over all", false, false, true, true, false, 0x606000, 0xC000C0},
  };
  ControlWindow w;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    w.Clear();
    CButtonUI* b = w.Add(new CButtonUI, RECT{0, 0, 100, 40});
    SetImages(b);
    b->ApplyAttribute(L"foreimage", L"file='fore.png' dest='0,0,6,6'");
    if (c.hotFore) b->ApplyAttribute(L"hotforeimage", L"file='hotfore.png' dest='0,0,6,6'");
    if (c.hover) w.Move(50, 20, false);
    if (c.press) w.Down(50, 20);
    if (c.focus) b->SetFocus();
    if (c.disable) b->SetEnabled(false);
    auto colours = PaintedColours(b);
    EXPECT_EQ(c.centre, colours.first);
    EXPECT_EQ(c.corner, colours.second);
  }
}

TEST_F(StateImageTest, OptionsShowSelectedImagesAndNeverThePushedOne) {
  struct Case {
    const char* name;
    bool selected, hover, press;
    DWORD centre;
  } cases[] = {
      {"not selected", false, false, false, 0x808080},
      {"selected", true, false, false, 0x402000},
      {"selected and hot", true, true, false, 0x004020},
      {"pressed while not selected: hot, not pushed", false, true, true, 0x00C000},
  };
  ControlWindow w;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    w.Clear();
    COptionUI* o = w.Add(new COptionUI, RECT{0, 0, 100, 40});
    SetImages(o);
    o->ApplyAttribute(L"selectedimage", L"selected.png");
    o->ApplyAttribute(L"selectedhotimage", L"selhot.png");
    if (c.selected) o->SetSelected(true);
    if (c.hover) w.Move(50, 20, false);
    if (c.press) w.Down(50, 20);
    EXPECT_EQ(c.centre, PaintedColours(o).first);
  }
}

TEST_F(StateImageTest, MissingImagesDrawNothingAndAreKept) {
  ControlWindow w;
  CButtonUI* b = w.Add(new CButtonUI, RECT{0, 0, 100, 40});
  b->ApplyAttribute(L"normalimage", L"absent.png");
  EXPECT_EQ(0xFFFFFFu, PaintedColours(b).first);
  // Only a paint without a manager or DC reports failure and clears it.
  EXPECT_STREQ(L"absent.png", b->GetNormalImage());
}
