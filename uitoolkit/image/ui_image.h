#pragma once
// Loaded images: 32-bit top-down DIB sections with premultiplied colour,
// ready for AlphaBlend, and the composed frames of animated GIFs.
#include <windows.h>

#include "uitoolkit/core/ui_ptr_array.h"
#include "uitoolkit/core/ui_string.h"

namespace UiToolkit {

struct TUiImageInfo {
    HBITMAP bitmap = nullptr;  // pixels B, G, R, A, colour premultiplied
    int width = 0;
    int height = 0;
    bool hasAlpha = false;  // some pixel is not fully opaque (or was keyed out)
    CUiString resourceType;  // empty unless loaded from a resource
    DWORD maskColour = 0;       // 0xAARRGGBB the image was keyed with
};

struct TUiGifFrame : TUiImageInfo {
    int delay = 0;  // milliseconds
};

// The frames of one animated GIF; owns them.
class CGifHandler {
public:
    CGifHandler() = default;
    CGifHandler(const CGifHandler&) = delete;
    CGifHandler& operator=(const CGifHandler&) = delete;
    virtual ~CGifHandler();

    // Appends a frame and takes it over; false (frame not taken) when the
    // array cannot grow.
    bool AddFrame(TUiGifFrame* frame);
    int FrameCount() const { return frames_.GetSize(); }
    TUiGifFrame* FrameAt(int index) const;

    int currentFrame = 0;
    bool stopped = false;  // set while being destroyed: no frame is handed out

private:
    CUiPtrArray frames_;  // TUiGifFrame*
};

// Frees an image's bitmap and record.
void FreeImageInfo(TUiImageInfo* image);

}  // namespace UiToolkit
