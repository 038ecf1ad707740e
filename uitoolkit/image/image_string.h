#pragma once
// Image strings: a plain file name, or key='value' pairs naming one or more
// images and where and how to draw them (file, res, restype, dest, source,
// corner, mask, fade, hole, xtiled, ytiled).
#include <windows.h>

#include <functional>

#include "uitoolkit/core/ui_string.h"

namespace UiToolkit {

struct TUiImageDrawState {
    CUiString name;  // file name, or resource identifier when type is set
    CUiString type;  // resource type; empty for a file
    RECT dest;       // absolute; the control rectangle by default
    RECT source;     // image pixels; all zeros for the whole image
    RECT corner;     // 9-grid border widths
    DWORD mask = 0;
    int fade = 255;
    bool hole = false;
    bool xtiled = false;
    bool ytiled = false;
};

// Parses `image` and then `modifier` (may be none) for a control at
// `control`, and calls `draw` for every image they name, in order: once for
// each image replaced by a later "file", "res" or "restype", and once at the
// end. Settings carry over from one image to the next.
void ParseImageStrings(const RECT& control, const wchar_t* image, const wchar_t* modifier,
                       const std::function<void(const TUiImageDrawState&)>& draw);

struct TUiImageInfo;

// The image lookup behind image strings: the loaded image a draw state
// names (its name, its type or none, its mask), or none.
using ImageLookup = std::function<const TUiImageInfo*(const TUiImageDrawState&)>;

// Draws every image that `image` and `modifier` name, as image strings are
// drawn over a control: an empty name or a missing image draws nothing.
void PaintImageStrings(HDC hdc, const ImageLookup& lookup, const RECT& control, const RECT& paint,
                       const wchar_t* image, const wchar_t* modifier);

}  // namespace UiToolkit
