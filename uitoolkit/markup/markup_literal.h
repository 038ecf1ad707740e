#pragma once
// Plain text made safe for a control that draws markup: every character
// the markup reader would take as the start or end of a tag comes back as
// the escape that draws it literally, so a remote or typed text can never
// open a tag (an image tag would load a local file).
#include "uitoolkit/core/ui_string.h"

namespace UiToolkit {

// "{" -> "<{>", "}" -> "<}>", "<" -> "{<}", ">" -> "{>}"; everything else,
// line feeds included, unchanged. None gives an empty text.
CUiString MarkupLiteral(const wchar_t* text);

}  // namespace UiToolkit
