// The list and the widgets in one window, painted through the manager: a
// headered list of 50 rows (alternate rows, one selected), a progress bar,
// a slider, an edit box open for typing and an animated GIF. With
// UITOOLKIT_SHOWCASE_MS set the window stays on screen that long, so the
// virtual display can be captured.
#include <gtest/gtest.h>

#include <string>

#include "tests/uitoolkit/resources/image_folder.h"
#include "tests/uitoolkit/widgets/showcase_support.h"
#include "tests/uitoolkit/core/ui_test_fixtures.h"
#include "tests/uitoolkit/fixtures/skin_fixtures.h"
#include "uitoolkit/controls/edit.h"
#include "uitoolkit/controls/gif_button.h"
#include "uitoolkit/controls/list.h"
#include "uitoolkit/controls/list_header.h"
#include "uitoolkit/controls/list_header_item.h"
#include "uitoolkit/controls/list_text_element.h"
#include "uitoolkit/controls/progress.h"
#include "uitoolkit/controls/slider.h"

using namespace uitest;

namespace {

class Cells : public IListTextSource {
 public:
  const wchar_t* GetItemText(CControlUI*, int row, int column) override {
    static const wchar_t* const kinds[] = {L"Editor", L"Browser", L"Player", L"Archiver",
                                           L"Viewer"};
    switch (column) {
      case 0: text_ = std::wstring(kinds[row % 5]) + L" " + std::to_wstring(row + 1); break;
      case 1: text_ = L"2." + std::to_wstring(row % 7) + L"." + std::to_wstring(row % 3); break;
      default: text_ = std::to_wstring(4 + row * 7 % 90) + L" MB"; break;
    }
    return text_.c_str();
  }

 private:
  std::wstring text_;
};

}  // namespace

TEST(ListAndWidgetsShowcase, OneWindow) {
  ImageFolder folder;
  ASSERT_TRUE(folder.Write(L"fore.png", SolidPng(0x3CB371FF)));
  ASSERT_TRUE(folder.Write(L"thumb.png", SolidPng(0x2060C0FF)));
  ASSERT_TRUE(folder.Write(L"spinner.gif", SpinnerGif(32)));

  HostWindow win;
  ASSERT_TRUE(win.CreateAt(20, 20, 600, 400));
  TestPanel* root = new TestPanel;
  root->ApplyAttributeList(L"bkcolor=\"#FFF4F4F4\"");
  win.manager.AttachRoot(root);
  root->SetBounds(RECT{0, 0, 600, 400});
  auto add = [&](CControlUI* control, RECT rc) {
    root->Add(control);
    control->SetBounds(rc);
  };

  CListUI* list = new CListUI;
  list->ApplyAttributeList(
      L"bkcolor=\"#FFFFFFFF\" vscrollbar=\"true\" itemaltbk=\"true\" itembkcolor=\"#FFEEF2F8\" "
      L"itemselectedbkcolor=\"#FF3070D0\" itemselectedtextcolor=\"#FFFFFFFF\" "
      L"itemlinecolor=\"#FFD8D8D8\" itemtextpadding=\"6,0,6,0\" bordercolor=\"#FFB0B0B0\" "
      L"bordersize=\"1\"");
  list->GetHeader()->ApplyAttributeList(L"height=\"26\" bkcolor=\"#FFDDDDDD\"");
  const wchar_t* captions[3] = {L"Name", L"Version", L"Size"};
  const int widths[3] = {150, 70, 80};
  for (int c = 0; c < 3; ++c) {
    CListHeaderItemUI* item = new CListHeaderItemUI;
    item->SetFixedWidth(widths[c]);
    item->SetText(captions[c]);
    item->ApplyAttributeList(L"bkcolor=\"#FFE4E4E4\" bordercolor=\"#FFB0B0B0\" bordersize=\"1\"");
    list->Add(item);
  }
  Cells cells;
  list->SetTextSource(&cells);
  for (int i = 0; i < 50; ++i) {
    CListTextElementUI* row = new CListTextElementUI;
    row->SetFixedHeight(22);
    list->Add(row);
  }
  add(list, RECT{10, 10, 320, 390});
  ASSERT_TRUE(list->SelectItem(3));

  CProgressUI* bar = new CProgressUI;
  add(bar, RECT{340, 20, 590, 38});
  bar->ApplyAttributeList(
      L"bkcolor=\"#FFDDDDDD\" foreimage=\"fore.png\" value=\"64\" text=\"Downloading 64%\" "
      L"bordercolor=\"#FF999999\" bordersize=\"1\"");
  CSliderUI* slider = new CSliderUI;
  add(slider, RECT{340, 56, 590, 76});
  slider->ApplyAttributeList(
      L"bkimage=\"file='fore.png' dest='0,8,250,12'\" thumbimage=\"thumb.png\" thumbsize=\"12,20\" "
      L"value=\"40\"");
  CEditUI* search = new CEditUI;
  add(search, RECT{340, 96, 590, 122});
  search->ApplyAttributeList(L"bordercolor=\"#FF7A9CC6\" bordersize=\"1\" text=\"Search software\"");
  CEditUI* secret = new CEditUI;
  add(secret, RECT{340, 136, 590, 162});
  secret->ApplyAttributeList(L"bordercolor=\"#FF7A9CC6\" bordersize=\"1\" password=\"true\" text=\"hunter2\"");
  CButtonGifUI* gif = new CButtonGifUI;
  add(gif, RECT{340, 180, 372, 212});
  gif->ApplyAttribute(L"NormalGifFile", L"spinner.gif");
  ::RedrawWindow(win.GetHWND(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);

  search->SetFocus();
  ASSERT_TRUE(search->GetNativeWindow());
  ::SendMessageW(search->GetNativeWindow(), EM_SETSEL, 15, 15);
  for (wchar_t ch : std::wstring(L" tools")) ::SendMessageW(search->GetNativeWindow(), WM_CHAR, ch, 1);
  EXPECT_STREQ(L"Search software tools", search->GetText().GetData());
  ::UpdateWindow(win.GetHWND());

  HDC screen = ::GetDC(win.GetHWND());
  EXPECT_EQ(RGB(0x30, 0x70, 0xD0), ::GetPixel(screen, 155, 10 + 26 + 3 * 22 + 11));  // selected
  EXPECT_EQ(RGB(0x3C, 0xB3, 0x71), ::GetPixel(screen, 345, 29));  // progress fill
  EXPECT_EQ(RGB(0xDD, 0xDD, 0xDD), ::GetPixel(screen, 585, 29));
  ::ReleaseDC(win.GetHWND(), screen);
  EXPECT_NE(0u, gif->GetArmedDelay());

  HoldShowcaseIfAsked();
}
