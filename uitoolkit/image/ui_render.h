#pragma once
// The toolkit's render engine: image loading (and, in time, drawing).
#include <windows.h>

#include "uitoolkit/image/ui_image.h"

namespace UiToolkit {

struct TUiSkinLocation;

class CUiRender {
public:
    // `type` none: `name` is a file name, looked for in the skin zip (when
    // one is set) or the resource folder, then as a path of its own.
    // Otherwise `name` is a resource identifier and `type` its type.
    // `mask` (0xAARRGGBB) keys out pixels of exactly that value.
    static TUiImageInfo* LoadImageFile(const wchar_t* name, const wchar_t* type, DWORD mask);
    static TUiImageInfo* LoadImageFileFrom(const TUiSkinLocation& location, const wchar_t* name,
                                           const wchar_t* type, DWORD mask);
    // A handler without frames when the bytes are found but hold no GIF;
    // none when no bytes are found.
    static CGifHandler* LoadGifFile(const wchar_t* name);
    static CGifHandler* LoadGifFileFrom(const TUiSkinLocation& location, const wchar_t* name);

    // Decodes image bytes of any format stb_image reads.
    static TUiImageInfo* DecodeImage(const void* bytes, size_t length, DWORD mask);
    static CGifHandler* DecodeGif(const void* bytes, size_t length);
    // A premultiplied DIB section from RGBA pixels; false when none can be made.
    static bool MakePremultipliedBitmap(const unsigned char* rgba, int width, int height, DWORD mask,
                                        TUiImageInfo* image);
};

}  // namespace UiToolkit
