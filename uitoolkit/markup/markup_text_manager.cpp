// Markup text drawn with a window manager's fonts, colours and mouse.
#include "uitoolkit/core/ui_render.h"
#include "uitoolkit/core/window_manager.h"
#include "uitoolkit/markup/markup_text_draw.h"

namespace UiToolkit {

namespace {

class ManagerMarkupHost : public IMarkupTextHost {
public:
    explicit ManagerMarkupHost(CWindowManagerUI* manager) : manager_(manager) {}

    HFONT DefaultFont() override {
        TUiFontInfo* info = manager_->DefaultFont();
        return info ? info->hFont : nullptr;
    }
    HFONT FontAt(int index) override {
        TUiFontInfo* info = manager_->FontAt(index);
        return info ? info->hFont : DefaultFont();
    }
    HFONT FindOrAddFont(const wchar_t* face, int size, bool bold, bool underline, bool italic) override {
        HFONT font = manager_->FindFontEntry(face, size, bold, underline, italic);
        return font ? font : manager_->AddFontEntry(face, size, bold, underline, italic);
    }
    DWORD LinkColor() override { return manager_->LinkColor(); }
    DWORD LinkHoverColor() override { return manager_->LinkHoverColor(); }
    DWORD SelectedColor() override { return manager_->SelectedColor(); }
    POINT MousePos() override { return manager_->GetMousePos(); }
    // The manager's image table plugs in here; until then inline images
    // draw nothing, as a missing image does.
    const TUiImageInfo* ImageFor(const wchar_t*, const wchar_t*) override { return nullptr; }

private:
    CWindowManagerUI* manager_;
};

}  // namespace

void CUiRender::DrawMarkupText(HDC hdc, CWindowManagerUI* manager, RECT& rect, const wchar_t* text,
                               DWORD color, RECT* link_rects, CUiString* link_texts, int& link_count,
                               UINT style) {
    if (!manager) {
        link_count = 0;
        return;
    }
    ManagerMarkupHost host(manager);
    DrawMarkupTextWith(hdc, &host, rect, text, color, link_rects, link_texts, link_count, style);
}

}  // namespace UiToolkit
