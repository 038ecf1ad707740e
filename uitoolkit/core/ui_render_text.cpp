// Plain text drawing in one of the manager's fonts. Markup text (fonts,
// colours, links and images inline) is drawn by its own routine beside this.
#include "uitoolkit/core/ui_render.h"
#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

void CUiRender::DrawPlainText(int font, DWORD color, HDC hdc, CWindowManagerUI* manager,
                              const RECT& rect, const wchar_t* text, UINT style) {
  if (!text || !*text || !manager || !hdc) return;
  ::SetBkMode(hdc, TRANSPARENT);
  ::SetTextColor(hdc, ToColorRef(color));
  TUiFontInfo* info = manager->FontAt(font);
  HGDIOBJ old = ::SelectObject(hdc, info->hFont);
  RECT rc = rect;
  ::DrawTextW(hdc, text, -1, &rc, style | DT_NOPREFIX);
  ::SelectObject(hdc, old);
}

}  // namespace UiToolkit
