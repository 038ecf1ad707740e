#pragma once
// Drawing and measuring of markup text: fonts, colours, paragraphs, inline
// images, selection and links whose rectangles are handed back for hit
// tests. The window manager supplies fonts, colours and images through
// IMarkupTextHost.
#include <windows.h>

#include "uitoolkit/core/ui_string.h"

namespace UiToolkit {

struct TUiImageInfo;

class IMarkupTextHost {
public:
    virtual ~IMarkupTextHost() = default;
    virtual HFONT DefaultFont() = 0;
    // The font of that index; the default font outside the list.
    virtual HFONT FontAt(int index) = 0;
    // An equal font of the host, else a new one it keeps; none on failure.
    virtual HFONT FindOrAddFont(const wchar_t* face, int size, bool bold, bool underline, bool italic) = 0;
    virtual DWORD LinkColor() = 0;
    virtual DWORD LinkHoverColor() = 0;
    virtual DWORD SelectedColor() = 0;
    virtual POINT MousePos() = 0;
    // A loaded image by name and type (none for no type); none when missing.
    virtual const TUiImageInfo* ImageFor(const wchar_t* name, const wchar_t* type) = 0;
};

// `linkCount` is in-out: the capacity of the two link arrays (0 for none)
// in, the number of link pieces found out. With DT_CALCRECT nothing is
// drawn and `rect` gets the text's extent.
void DrawMarkupTextWith(HDC hdc, IMarkupTextHost* host, RECT& rect, const wchar_t* text, DWORD colour,
                        RECT* linkRects, CUiString* linkTexts, int& linkCount, UINT style);

}  // namespace UiToolkit
