#pragma once
// Tokens of the toolkit's markup text ({b}bold{/b}, <c #FF0000>red</c>, ...)
// and the readers of tag arguments. "<" and "{" are interchangeable, as are
// ">" and "}"; anything that does not form a tag is ordinary text.
#include <windows.h>

#include "uitoolkit/core/ui_string.h"

namespace UiToolkit {

enum class MarkupToken {
    End,
    Text,      // `text`, `length` characters (a lone blank is a run of its own)
    LineFeed,
    Tag,       // `letter`, argument in `text` / `length`
    CloseTag,  // `letter`
};

struct TMarkupToken {
    MarkupToken kind = MarkupToken::End;
    wchar_t letter = 0;
    const wchar_t* text = nullptr;
    int length = 0;
};

// Reads the token at `p` and returns the position after it. In raw mode
// everything up to the closing tag of r is one text run; the closing tag
// itself comes back as CloseTag 'r'.
const wchar_t* NextMarkupToken(const wchar_t* p, bool raw, TMarkupToken* token);

// Tag arguments.
// "c": optional "#", hexadecimal, read as a signed 32-bit value (larger
// values saturate); the result is 0xAARRGGBB as written.
DWORD MarkupColour(const wchar_t* arg, int length);

// "f": a font index, or a face with optional size and style words.
struct TMarkupFontSpec {
    bool byIndex = false;
    int index = 0;
    CUiString face;
    int size = 10;
    bool bold = false;
    bool underline = false;
    bool italic = false;
};
TMarkupFontSpec MarkupFont(const wchar_t* arg, int length);

// "i": an image name with optional column count and index, or, when the
// argument itself holds "file='" or "res='", image-string pairs.
struct TMarkupImageSpec {
    CUiString name;
    CUiString type;
    int parts = 1;
    int index = 0;
};
TMarkupImageSpec MarkupImage(const wchar_t* arg, int length);

// A decimal argument ("p", "x", "y"); 0 when there is none.
int MarkupNumber(const wchar_t* arg, int length);

}  // namespace UiToolkit
