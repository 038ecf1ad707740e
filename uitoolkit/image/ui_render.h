#pragma once
// The toolkit's render engine. The class is declared once, in
// uitoolkit/core/ui_render.h (fills, colours, text and image loading);
// this header adds the image types its loaders hand out.
#include "uitoolkit/image/ui_image.h"
#include "uitoolkit/core/ui_render.h"
