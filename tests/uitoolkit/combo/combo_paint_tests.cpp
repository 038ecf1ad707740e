// What a combo paints: the state image chosen by state, the drop-down's
// border, back colour and items in the combo's item style, and the combo
// box's arrow cut from its strip, with the text kept clear of it.
#include <gtest/gtest.h>

#include "tests/uitoolkit/combo/combo_window.h"
#include "tests/uitoolkit/fixtures/canvas.h"
#include "tests/uitoolkit/resources/image_folder.h"

using namespace combotest;
using fixtures::Canvas;

namespace {

// Lets a test put the combo into any state.
template <class Base>
class StateCombo : public Base {
 public:
  void Force(UINT bits) { this->m_state = bits; }
};

// A strip of five 20-pixel parts, one colour each (RGB).
const uint32_t kParts[5] = {0x101010, 0x2080F0, 0x20C040, 0xF0A020, 0x909090};

std::string StripPng() {
  std::vector<uint8_t> px;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 100; ++x) {
      const uint32_t c = kParts[x / 20];
      px.push_back(static_cast<uint8_t>(c >> 16));
      px.push_back(static_cast<uint8_t>(c >> 8));
      px.push_back(static_cast<uint8_t>(c));
      px.push_back(255);
    }
  return fixtures::EncodePng(px, 100, 20);
}

struct PaintFixture : ::testing::Test {
  ImageFolder folder;
  void SetUp() override {
    ASSERT_TRUE(folder.Write(L"normal.png", SolidPng(0xFF0000FF)));
    ASSERT_TRUE(folder.Write(L"hot.png", SolidPng(0x0000FFFF)));
    ASSERT_TRUE(folder.Write(L"pushed.png", SolidPng(0x00FF00FF)));
    ASSERT_TRUE(folder.Write(L"focused.png", SolidPng(0xFFFF00FF)));
    ASSERT_TRUE(folder.Write(L"disabled.png", SolidPng(0x808080FF)));
    ASSERT_TRUE(folder.Write(L"strip.png", StripPng()));
  }
};

const wchar_t kAllImages[] =
    L"normalimage=\"normal.png\" hotimage=\"hot.png\" pushedimage=\"pushed.png\" "
    L"focusedimage=\"focused.png\" disabledimage=\"disabled.png\"";

uint32_t PaintedAt(CControlUI* control, int x, int y) {
  Canvas canvas(200, 60, 0xFFFFFFFF);
  control->Paint(canvas.dc(), RECT{0, 0, 200, 60});
  return canvas.At(x, y);
}

}  // namespace

TEST_F(PaintFixture, StateImageByStateDisabledPushedHotFocusedNormal) {
  struct Case {
    const char* what;
    UINT bits;
    bool focused;
    bool enabled;
    const wchar_t* without;  // an image attribute cleared for the case
    uint32_t expected;
  } cases[] = {
      {"nothing: normal", 0, false, true, nullptr, 0xFF0000},
      {"hot", UISTATE_HOT, false, true, nullptr, 0x0000FF},
      {"pushed over hot", UISTATE_PUSHED | UISTATE_HOT, false, true, nullptr, 0x00FF00},
      {"focused", 0, true, true, nullptr, 0xFFFF00},
      {"hot over focused", UISTATE_HOT, true, true, nullptr, 0x0000FF},
      {"disabled over everything", UISTATE_PUSHED | UISTATE_HOT, false, false, nullptr, 0x808080},
      {"pushed without its image: hot", UISTATE_PUSHED | UISTATE_HOT, false, true, L"pushedimage",
       0x0000FF},
      {"disabled without its image: normal", 0, false, false, L"disabledimage", 0xFF0000},
  };
  ComboWindow& w = ComboWindow::Shared();
  auto* combo = w.Add(new StateCombo<CComboUI>, L"c", RECT{10, 10, 170, 34}, 2);
  auto* other = w.Add(new CComboUI, L"o", RECT{10, 40, 170, 64}, 0);
  for (const Case& c : cases) {
    combo->ApplyAttributeList(kAllImages);
    if (c.without) combo->ApplyAttribute(c.without, L"");
    combo->SetEnabled(c.enabled);
    if (c.focused)
      combo->SetFocus();
    else
      other->SetFocus();
    combo->Force(c.bits);
    EXPECT_EQ(c.expected, PaintedAt(combo, 12, 12)) << c.what;
    combo->SetEnabled(true);
  }
}

TEST_F(PaintFixture, TheListHasABorderABackAndItemsInTheComboItemStyle) {
  struct Case {
    const wchar_t* dropbox;
    uint32_t border;
    uint32_t back;
  } cases[] = {
      {L"", 0xC6C7D2, 0xFFFFFF},
      {L"bkcolor=\"#FF123456\" bordercolor=\"#FF654321\"", 0x654321, 0x123456},
  };
  ComboWindow& w = ComboWindow::Shared();
  CComboUI* combo = w.Add(new CComboUI, L"c", RECT{20, 30, 180, 54}, 2);
  combo->ApplyAttributeList(
      L"itembkcolor=\"#FF00C000\" itemselectedbkcolor=\"#FF0000C0\" itemtextcolor=\"#FF000000\"");
  combo->SelectItem(1);
  for (const Case& c : cases) {
    combo->ApplyAttribute(L"dropbox", c.dropbox);
    ASSERT_TRUE(combo->Activate());
    HWND popup = combo->GetPopupWindow();
    ::UpdateWindow(popup);
    RECT client;
    ::GetClientRect(popup, &client);
    ASSERT_EQ(L"0,0,160,44", Str(client));
    Canvas canvas(160, 44, 0xFF777777);
    ::SendMessageW(popup, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    EXPECT_EQ(c.border, canvas.At(0, 20));
    EXPECT_EQ(c.border, canvas.At(80, 43));
    EXPECT_EQ(c.border, canvas.At(159, 5));
    EXPECT_EQ(c.back, canvas.At(80, 42));   // below the items, inside the border
    EXPECT_EQ(0x00C000u, canvas.At(150, 10));  // item 0
    EXPECT_EQ(0x0000C0u, canvas.At(150, 30));  // item 1, selected
    // Item text in the item style's colour.
    EXPECT_GT(canvas.Count(1, 1, 80, 21, [](uint32_t px) { return px == 0; }), 5);
    ToPopup(combo, WM_KEYDOWN, VK_RETURN, 0);
  }
}

TEST_F(PaintFixture, ComboBoxArrowIsThePartOfTheStateInsideTheBorder) {
  struct Case {
    const char* what;
    UINT bits;
    bool focused;
    bool enabled;
    int part;
  } cases[] = {
      {"normal", 0, false, true, 0},
      {"hot", UISTATE_HOT, false, true, 1},
      {"pushed", UISTATE_PUSHED | UISTATE_HOT, false, true, 2},
      {"focused", 0, true, true, 3},
      {"disabled: pixels 80 to 100 of the strip", UISTATE_HOT, false, false, 4},
  };
  ComboWindow& w = ComboWindow::Shared();
  auto* box = w.Add(new StateCombo<CComboBoxUI>, L"b", RECT{10, 10, 170, 34}, 2);
  auto* other = w.Add(new CComboUI, L"o", RECT{10, 40, 170, 64}, 0);
  box->ApplyAttributeList(L"bordersize=\"1\" bordercolor=\"#FF000000\" bkcolor=\"#FFFFFFFF\"");
  box->ApplyAttributeList(kAllImages);
  for (const Case& c : cases) {
    box->ApplyAttribute(L"arrowimage", L"file='strip.png' source='0,0,100,20'");
    box->SetEnabled(c.enabled);
    if (c.focused)
      box->SetFocus();
    else
      other->SetFocus();
    box->Force(c.bits);
    Canvas canvas(200, 60, 0xFFFFFFFF);
    box->Paint(canvas.dc(), RECT{0, 0, 200, 60});
    EXPECT_EQ(20, box->GetArrowWidth()) << c.what;
    // Inside the one-pixel border: x 149..168, y 11..32.
    EXPECT_EQ(kParts[c.part], canvas.At(149, 12)) << c.what;
    EXPECT_EQ(kParts[c.part], canvas.At(168, 32)) << c.what;
    EXPECT_EQ(0xFFFFFFu, canvas.At(148, 20)) << c.what;  // left of the arrow
    EXPECT_EQ(0u, canvas.At(169, 20)) << c.what;         // the border
    // With an arrow, no state image is painted.
    EXPECT_EQ(0xFFFFFFu, canvas.At(30, 20)) << c.what;
    box->SetEnabled(true);
  }
}

TEST_F(PaintFixture, AnArrowThatCannotBeCutIsClearedAndTheStateImagePaints) {
  const wchar_t* broken[] = {
      L"strip.png",
      L"file='strip.png'",
      L"file='strip.png' source='0,0,100'",
      L"file='strip.png' source='x,0,100,20'",
      L"file='strip.png' source='100,0,100,20'",
      L"file='strip.png' source='60,0,10,20'",
      L"file='strip.png' source='0,0,100,20",
  };
  ComboWindow& w = ComboWindow::Shared();
  CComboBoxUI* box = w.Add(new CComboBoxUI, L"b", RECT{10, 10, 170, 34}, 2);
  box->ApplyAttribute(L"normalimage", L"normal.png");
  for (const wchar_t* arrow : broken) {
    box->ApplyAttribute(L"arrowimage", arrow);
    EXPECT_EQ(0xFF0000u, PaintedAt(box, 160, 20)) << arrow;
    EXPECT_TRUE(box->GetArrowImage().IsEmpty()) << arrow;
    EXPECT_EQ(0, box->GetArrowWidth()) << arrow;
  }
  // Several pairs: the first is used.
  box->ApplyAttribute(L"arrowimage", L"file='strip.png' source='20,0,70,20' source='0,0,100,20'");
  EXPECT_EQ(kParts[1], PaintedAt(box, 160, 20));
  EXPECT_EQ(10, box->GetArrowWidth());
}

TEST_F(PaintFixture, TheSelectedTextPaintsInsideThePaddingAndClearOfTheArrow) {
  ComboWindow& w = ComboWindow::Shared();
  CComboUI* combo = w.Add(new CComboUI, L"c", RECT{10, 10, 170, 34}, 0);
  CComboBoxUI* box = w.Add(new CComboBoxUI, L"b", RECT{10, 10, 170, 34}, 0);
  for (CComboUI* c : {combo, static_cast<CComboUI*>(box)}) {
    c->ApplyAttributeList(
        L"itemalign=\"right\" itemtextcolor=\"#FF000000\" itemselectedtextcolor=\"#FF000000\" "
        L"textpadding=\"2,0,3,0\"");
    CListLabelElementUI* item = Item(0);
    item->SetText(L"Right aligned");
    c->Add(item);
    c->SelectItem(0);
  }
  box->ApplyAttribute(L"arrowimage", L"file='strip.png' source='0,0,100,20'");
  box->Paint(Canvas(200, 60, 0xFFFFFFFF).dc(), RECT{0, 0, 200, 60});  // learns the arrow width
  ASSERT_EQ(20, box->GetArrowWidth());
  Canvas plain(200, 60, 0xFFFFFFFF), narrowed(200, 60, 0xFFFFFFFF);
  combo->PaintText(plain.dc());
  box->PaintText(narrowed.dc());
  const int plain_right = plain.RightmostInk(0xFFFFFF);
  const int narrowed_right = narrowed.RightmostInk(0xFFFFFF);
  EXPECT_LT(plain_right, 167);  // 170 less the right padding
  EXPECT_GT(plain_right, 160);
  EXPECT_LT(narrowed_right, 147);  // and less the arrow
  EXPECT_GT(narrowed_right, 140);
  // Nothing selected, nothing painted.
  combo->SelectItem(-1);
  Canvas none(200, 60, 0xFFFFFFFF);
  combo->PaintText(none.dc());
  EXPECT_EQ(-1, none.RightmostInk(0xFFFFFF));
}
