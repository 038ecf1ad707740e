#pragma once
// Markup text drawn with a window manager's fonts, colours, mouse position
// and images: the host the markup drawing routine asks for them.
#include <windows.h>

#include "uitoolkit/core/ui_string.h"

namespace UiToolkit {

class CWindowManagerUI;

// `linkCount` is in-out as for DrawMarkupTextWith: capacity in, links
// found out. Nothing happens without a manager or a device context.
void DrawManagerMarkupText(HDC hdc, CWindowManagerUI* manager, RECT& rect, const wchar_t* text,
                           DWORD colour, RECT* linkRects, CUiString* linkTexts, int& linkCount,
                           UINT style);

}  // namespace UiToolkit
