// Image strings drawn over a control. This is the minimal stand-in the base
// control calls: it accepts the call and draws nothing. Image loading and
// the image-string drawing (9-grid, fades, sources, masks) replace this file.
#include "uitoolkit/core/ui_render.h"

namespace UiToolkit {

bool CUiRender::PaintImageSpec(HDC hdc, CWindowManagerUI* manager, const RECT&, const RECT&,
                               const wchar_t*, const wchar_t*) {
  return hdc != nullptr && manager != nullptr;
}

}  // namespace UiToolkit
