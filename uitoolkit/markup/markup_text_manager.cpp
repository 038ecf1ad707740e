// Markup text drawn with the fonts, colours and images of a window manager.
#include "uitoolkit/core/ui_render.h"
#include "uitoolkit/core/window_manager.h"
#include "uitoolkit/markup/markup_text_draw.h"

namespace UiToolkit {

namespace {

class ManagerTextHost : public IMarkupTextHost {
 public:
  explicit ManagerTextHost(CWindowManagerUI* manager) : manager_(manager) {}
  HFONT DefaultFont() override { return manager_->DefaultFont()->hFont; }
  HFONT FontAt(int index) override { return manager_->FontAt(index)->hFont; }
  HFONT FindOrAddFont(const wchar_t* face, int size, bool bold, bool underline,
                      bool italic) override {
    HFONT font = manager_->FindFontEntry(face, size, bold, underline, italic);
    return font ? font : manager_->AddFontEntry(face, size, bold, underline, italic);
  }
  DWORD LinkColor() override { return manager_->LinkColor(); }
  DWORD LinkHoverColor() override { return manager_->LinkHoverColor(); }
  DWORD SelectedColor() override { return manager_->SelectedColor(); }
  POINT MousePos() override { return manager_->GetMousePos(); }
  const TUiImageInfo* ImageFor(const wchar_t* name, const wchar_t* type) override {
    return manager_->ImageFor(name, type, 0);
  }

 private:
  CWindowManagerUI* manager_;
};

}  // namespace

void CUiRender::DrawMarkupText(HDC hdc, CWindowManagerUI* manager, RECT& rect,
                               const wchar_t* text, DWORD colour, RECT* linkRects,
                               CUiString* linkTexts, int& linkCount, UINT style) {
  if (!manager) {
    linkCount = 0;
    return;
  }
  ManagerTextHost host(manager);
  DrawMarkupTextWith(hdc, &host, rect, text, colour, linkRects, linkTexts, linkCount, style);
}

}  // namespace UiToolkit
