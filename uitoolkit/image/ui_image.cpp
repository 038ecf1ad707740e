#include "uitoolkit/image/ui_image.h"


namespace UiToolkit {

CGifHandler::~CGifHandler() {
    stopped = true;
    for (int i = 0; i < frames_.GetSize(); ++i) {
        auto* frame = static_cast<TUiGifFrame*>(frames_.GetAt(i));
        if (frame->bitmap) DeleteObject(frame->bitmap);
        delete frame;
    }
    frames_.Empty();
}

bool CGifHandler::AddFrame(TUiGifFrame* frame) {
    return frame && frames_.Add(frame);
}

TUiGifFrame* CGifHandler::FrameAt(int index) const {
    if (stopped || index < 0 || index >= FrameCount()) return nullptr;
    return static_cast<TUiGifFrame*>(frames_.GetAt(index));
}

void FreeImageInfo(TUiImageInfo* image) {
    if (!image) return;
    if (image->bitmap) DeleteObject(image->bitmap);
    delete image;
}

}  // namespace UiToolkit
