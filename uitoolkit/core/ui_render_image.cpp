// Image strings drawn over a control, with the images taken from the
// control's window manager (loaded into its image map on first use).
#include "uitoolkit/core/ui_render.h"
#include "uitoolkit/core/window_manager.h"
#include "uitoolkit/image/image_string.h"
#include "uitoolkit/image/ui_image.h"

namespace UiToolkit {

bool CUiRender::PaintImageSpec(HDC hdc, CWindowManagerUI* manager, const RECT& control_rect,
                               const RECT& paint_rect, const wchar_t* image,
                               const wchar_t* modifier) {
  if (!hdc || !manager) return false;
  ParseImageStrings(control_rect, image, modifier, [&](const TUiImageDrawState& state) {
    PaintNamedImage(hdc, manager, control_rect, paint_rect, state);
  });
  return true;
}

bool CUiRender::PaintNamedImage(HDC hdc, CWindowManagerUI* manager, const RECT& control_rect,
                                const RECT& paint_rect, const TUiImageDrawState& state) {
  if (!hdc || !manager || state.name.IsEmpty()) return false;
  const wchar_t* type = state.type.IsEmpty() ? nullptr : state.type.GetData();
  TUiImageInfo* image = manager->ImageFor(state.name, type, state.mask);
  if (!image) return false;
  PaintImageState(hdc, image, control_rect, paint_rect, state);
  return true;
}

}  // namespace UiToolkit
