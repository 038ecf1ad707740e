// A licence box as the setup program shows one: a skinned window with a
// title, a bordered rich edit holding a long read-only text with a bold
// heading, and a skinned scroll bar. UIRICHEDIT_SHOT=<file.bmp> saves the
// picture; UITOOLKIT_SHOWCASE_MS keeps the window on screen that long, so
// the virtual display can be captured.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/uitoolkit/resources/image_folder.h"
#include "tests/uitoolkit/richedit/rich_edit_window.h"
#include "uitoolkit/controls/scroll_bar.h"

using namespace uitest;

namespace {

// An image of `width` by `height` whose pixels (RGBA) come from `paint`.
template <class F>
std::string DrawnPng(int width, int height, F paint) {
  std::vector<uint8_t> px;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint32_t rgba = paint(x, y);
      for (int shift = 24; shift >= 0; shift -= 8) px.push_back(static_cast<uint8_t>(rgba >> shift));
    }
  return fixtures::EncodePng(px, width, height);
}

const uint32_t kTrack = 0xEEF1F5FF;
const uint32_t kThumb = 0x9AA7B8FF;

// The track: its colour with a hairline on the side facing the text.
std::string TrackPng() {
  return DrawnPng(16, 16, [](int x, int) { return x == 0 ? 0xD9DEE6FFu : kTrack; });
}

// A pill three pixels in from each side, rounded at both ends.
std::string ThumbPng(uint32_t fill) {
  return DrawnPng(16, 24, [fill](int x, int y) {
    if (x < 3 || x > 12) return kTrack;
    const int end = y < 5 ? 5 - y : (y > 18 ? y - 18 : 0);
    const int dx = x < 8 ? 8 - x : x - 7;
    return dx * dx + end * end <= 26 ? fill : kTrack;
  });
}

// An arrow head pointing up (or down) in the middle of a track square.
std::string ArrowPng(bool up) {
  return DrawnPng(16, 16, [up](int x, int y) {
    const int row = up ? y - 6 : 9 - y;  // 0 at the tip
    const bool ink = row >= 0 && row < 4 && x >= 7 - row && x <= 8 + row;
    return ink ? 0x6B7785FFu : kTrack;
  });
}

std::wstring LicenceText() {
  std::wstring text = L"Licence agreement\r";
  const wchar_t* paragraphs[] = {
      L"1. The maker grants you the right to install and use Kelvora on any number of "
      L"computers that you own or control.",
      L"2. You may not sell the program, nor pass it on as part of another product, "
      L"without the maker's written consent.",
      L"3. The program is provided as it is. The maker is not liable for any loss that "
      L"comes from its use, as far as the law allows.",
      L"4. The program may send anonymous usage reports; it sends nothing that names you.",
      L"5. Updates are offered from within the program; installing one is your choice, "
      L"and the same terms apply to it.",
      L"6. Programs from the catalogue are licensed to you by their own makers, under "
      L"their own terms, which the catalogue shows before each download.",
      L"7. You may end this agreement at any time by removing the program. The maker "
      L"may end it if you break its terms.",
      L"8. These terms are governed by the law of the maker's seat.",
  };
  for (const wchar_t* paragraph : paragraphs) text += std::wstring(paragraph) + L"\r";
  return text + L"Contact: licence@kelvora.example";
}

}  // namespace

TEST(RichEditShowcase, ALicenceBoxWithASkinnedBar) {
  ImageFolder folder;
  ASSERT_TRUE(folder.Write(L"track.png", TrackPng()));
  ASSERT_TRUE(folder.Write(L"thumb.png", ThumbPng(kThumb)));
  ASSERT_TRUE(folder.Write(L"thumb_hot.png", ThumbPng(0x7F8FA5FF)));
  ASSERT_TRUE(folder.Write(L"up.png", ArrowPng(true)));
  ASSERT_TRUE(folder.Write(L"down.png", ArrowPng(false)));

  RichEditWindow w(
      L"<Font name=\"Tahoma\" size=\"13\" />"
      L"<Font name=\"Tahoma\" size=\"16\" bold=\"true\" />"
      L"<Default name=\"VScrollBar\" value=\"bknormalimage=&quot;track.png&quot; "
      L"thumbnormalimage=&quot;file='thumb.png' corner='0,6,0,6'&quot; "
      L"thumbhotimage=&quot;file='thumb_hot.png' corner='0,6,0,6'&quot; "
      L"button1normalimage=&quot;up.png&quot; button2normalimage=&quot;down.png&quot;\" />"
      L"<VerticalLayout bkcolor=\"#FFF4F6F9\" inset=\"16,12,16,16\" childpadding=\"8\">"
      L"<Label text=\"Please read the licence agreement\" height=\"22\" font=\"1\" "
      L"textcolor=\"#FF2B3440\" />"
      L"<RichEdit name=\"licence\" readonly=\"true\" vscrollbar=\"true\" font=\"0\" "
      L"textcolor=\"#FF303A46\" bkcolor=\"#FFFFFFFF\" bordercolor=\"#FFC5CCD6\" bordersize=\"1\" "
      L"inset=\"8,6,1,1\" />"
      L"</VerticalLayout>",
      420, 260);
  CRichEditUI* licence = w.Edit(L"licence");
  ASSERT_NE(nullptr, licence);
  licence->SetText(LicenceText().c_str());
  // The heading in bold.
  CHARRANGE heading = {0, 17};
  licence->TxSendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&heading), nullptr);
  CHARFORMAT2W bold = {};
  bold.cbSize = sizeof(bold);
  bold.dwMask = CFM_BOLD;
  bold.dwEffects = CFE_BOLD;
  licence->TxSendMessage(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&bold), nullptr);
  CHARRANGE start = {0, 0};
  licence->TxSendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&start), nullptr);
  w.Paint();

  CScrollBarUI* bar = licence->GetVerticalScrollBar();
  ASSERT_TRUE(bar->IsVisible());
  DibCanvas shown(420, 260);
  w.Capture(shown);
  const RECT area = licence->GetTextArea();
  int ink = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) ink += (shown.At(x, y) & 0xFF) < 0x80 ? 1 : 0;
  EXPECT_GT(ink, 500);
  // The skin's thumb, not the frame drawn when a bar has no images.
  const RECT thumb = bar->GetThumbRect();
  EXPECT_EQ(kThumb >> 8, shown.At((thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2));

  if (const char* path = getenv("UIRICHEDIT_SHOT")) shown.SaveAsBmp(path);
  if (const char* hold = getenv("UITOOLKIT_SHOWCASE_MS")) PumpFor(atoi(hold));
}
