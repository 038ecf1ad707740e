// The widgets in one window, painted through the manager: progress bars,
// a slider, edit boxes (one of them open for typing) and an animated GIF
// that runs on its timer. With UITOOLKIT_SHOWCASE_MS set the window stays
// on screen that long, so the virtual display can be captured.
#include <gtest/gtest.h>

#include "tests/uitoolkit/resources/image_folder.h"
#include "tests/uitoolkit/widgets/showcase_support.h"
#include "tests/uitoolkit/widgets/widget_window.h"
#include "uitoolkit/controls/edit.h"
#include "uitoolkit/controls/gif_button.h"
#include "uitoolkit/controls/progress.h"
#include "uitoolkit/controls/slider.h"

using namespace uitest;

TEST(WidgetShowcase, ProgressSliderEditAndGifInOneWindow) {
  ImageFolder folder;
  ASSERT_TRUE(folder.Write(L"fore.png", SolidPng(0x3CB371FF)));
  ASSERT_TRUE(folder.Write(L"thumb.png", SolidPng(0x2060C0FF)));
  ASSERT_TRUE(folder.Write(L"thumb_hot.png", SolidPng(0x4080E0FF)));
  ASSERT_TRUE(folder.Write(L"spinner.gif", SpinnerGif(24)));

  WidgetWindow w;
  w.root->ApplyAttributeList(L"bkcolor=\"#FFF4F4F4\"");
  CProgressUI* bar = w.Add(new CProgressUI, L"bar", RECT{20, 20, 260, 36});
  bar->ApplyAttributeList(
      L"bkcolor=\"#FFDDDDDD\" foreimage=\"fore.png\" value=\"60\" text=\"60%\" bordercolor=\"#FF999999\" "
      L"bordersize=\"1\"");
  CProgressUI* column = w.Add(new CProgressUI, L"column", RECT{300, 20, 316, 180});
  column->ApplyAttributeList(L"bkcolor=\"#FFDDDDDD\" foreimage=\"fore.png\" hor=\"false\" value=\"35\"");
  CSliderUI* slider = w.Add(new CSliderUI, L"slider", RECT{20, 50, 260, 70});
  slider->ApplyAttributeList(
      L"bkimage=\"file='fore.png' dest='0,8,240,12'\" thumbimage=\"thumb.png\" "
      L"thumbhotimage=\"thumb_hot.png\" thumbsize=\"12,20\" value=\"30\"");
  CEditUI* name = w.Add(new CEditUI, L"name", RECT{20, 90, 260, 116});
  name->ApplyAttributeList(L"bordercolor=\"#FF7A9CC6\" bordersize=\"1\" text=\"Search software\"");
  CEditUI* secret = w.Add(new CEditUI, L"secret", RECT{20, 130, 260, 156});
  secret->ApplyAttributeList(L"bordercolor=\"#FF7A9CC6\" bordersize=\"1\" password=\"true\" text=\"hunter2\"");
  CButtonGifUI* gif = w.Add(new CButtonGifUI, L"spinner", RECT{340, 20, 388, 68});
  gif->ApplyAttribute(L"NormalGifFile", L"spinner.gif");
  ::UpdateWindow(w.win.GetHWND());

  // The name box is being typed in.
  name->SetFocus();
  ASSERT_TRUE(name->GetNativeWindow());
  ::SendMessageW(name->GetNativeWindow(), EM_SETSEL, 15, 15);  // caret after the text
  for (wchar_t ch : std::wstring(L" tools")) ::SendMessageW(name->GetNativeWindow(), WM_CHAR, ch, 1);
  EXPECT_STREQ(L"Search software tools", name->GetText().GetData());
  ::UpdateWindow(w.win.GetHWND());
  EXPECT_NE(0u, gif->GetArmedDelay());

  HDC screen = ::GetDC(w.win.GetHWND());
  EXPECT_EQ(RGB(0x3C, 0xB3, 0x71), ::GetPixel(screen, 100, 28));  // filled part
  EXPECT_EQ(RGB(0xDD, 0xDD, 0xDD), ::GetPixel(screen, 220, 28));  // the rest
  EXPECT_EQ(RGB(0x3C, 0xB3, 0x71), ::GetPixel(screen, 308, 170));  // from the bottom
  EXPECT_EQ(RGB(0xDD, 0xDD, 0xDD), ::GetPixel(screen, 308, 30));
  const RECT thumb = slider->GetThumbRect();
  EXPECT_EQ(RGB(0x20, 0x60, 0xC0), ::GetPixel(screen, (thumb.left + thumb.right) / 2, 60));
  ::ReleaseDC(w.win.GetHWND(), screen);
  HoldShowcaseIfAsked();
}
