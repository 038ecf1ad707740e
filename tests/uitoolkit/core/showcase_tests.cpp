// A window with a few controls, painted through the manager. With
// UITOOLKIT_SHOWCASE_MS set it stays on screen that long so that the
// virtual display can be captured.
#include <gtest/gtest.h>

#include <stdlib.h>

#include "tests/uitoolkit/core/ui_test_fixtures.h"
#include "uitoolkit/core/ui_render.h"

using namespace uitest;

namespace {

class TextBox : public CControlUI {
 public:
  void PaintText(HDC hdc) override {
    RECT rc = m_bounds;
    CUiRender::DrawPlainText(0, 0xFF202020, hdc, m_manager, rc, m_text,
                             DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  }
};

TEST(Showcase, WindowWithControlsPaintsThroughTheManager) {
  HostWindow win;
  ASSERT_TRUE(win.CreateAt(40, 40, 360, 220));
  win.manager.AddFontEntry(L"Tahoma", 16, true, false, false);
  TestPanel* root = new TestPanel;
  root->ApplyAttributeList(L"bkcolor=\"#FFF0F0F0\" bordercolor=\"#FF808080\" bordersize=\"1\"");
  struct Box {
    const wchar_t* attrs;
    RECT pos;
  } boxes_wanted[] = {
      {L"text=\"Plain\" bkcolor=\"#FFFFFFFF\" bordercolor=\"#FF3070C0\" bordersize=\"1\"",
       {20, 20, 160, 60}},
      {L"text=\"Gradient\" bkcolor=\"#FF80C0FF\" bkcolor2=\"#FF2060A0\"", {180, 20, 340, 60}},
      {L"text=\"Rounded\" bkcolor=\"#FFFFE080\" bordercolor=\"#FFC08000\" bordersize=\"2\" "
       L"borderround=\"16,16\"",
       {20, 80, 160, 130}},
      {L"text=\"Three colours\" bkcolor=\"#FFFF8080\" bkcolor2=\"#FFFFFFFF\" bkcolor3=\"#FF80FF80\"",
       {180, 80, 340, 130}},
      {L"text=\"Sides\" bordercolor=\"#FF000000\" leftbordersize=\"4\" bottombordersize=\"2\"",
       {20, 150, 340, 200}},
  };
  std::vector<TextBox*> boxes;
  for (const Box& s : boxes_wanted) {
    TextBox* box = new TextBox;
    box->ApplyAttributeList(s.attrs);
    root->Add(box);
    boxes.push_back(box);
  }
  win.manager.AttachRoot(root);
  ::UpdateWindow(win.GetHWND());
  for (size_t i = 0; i < boxes.size(); ++i) boxes[i]->SetBounds(boxes_wanted[i].pos);
  ::UpdateWindow(win.GetHWND());

  // The screen shows what the manager painted.
  HDC screen = ::GetDC(win.GetHWND());
  EXPECT_EQ(RGB(0xF0, 0xF0, 0xF0), ::GetPixel(screen, 10, 10));
  EXPECT_EQ(RGB(0xFF, 0xFF, 0xFF), ::GetPixel(screen, 30, 25));
  EXPECT_EQ(RGB(0x30, 0x70, 0xC0), ::GetPixel(screen, 20, 40));
  ::ReleaseDC(win.GetHWND(), screen);

  const char* hold = getenv("UITOOLKIT_SHOWCASE_MS");
  if (hold) {
    DWORD end = ::GetTickCount() + static_cast<DWORD>(atoi(hold));
    while (::GetTickCount() < end) {
      PumpMessages();
      ::Sleep(20);
    }
  }
}

}  // namespace
