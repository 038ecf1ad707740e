#include "uitoolkit/image/ui_image.h"

#include <new>

namespace UiToolkit {

CGifHandler::~CGifHandler() {
    stopped = true;
    for (TUiGifFrame* frame : frames_) {
        if (frame->bitmap) DeleteObject(frame->bitmap);
        delete frame;
    }
    frames_.clear();
}

bool CGifHandler::AddFrame(TUiGifFrame* frame) {
    if (!frame) return false;
    try {
        if (frames_.size() == frames_.capacity())
            frames_.reserve(frames_.capacity() ? frames_.capacity() * 2 : 11);
        frames_.push_back(frame);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

TUiGifFrame* CGifHandler::FrameAt(int index) const {
    if (stopped || index < 0 || index >= FrameCount()) return nullptr;
    return frames_[index];
}

void FreeImageInfo(TUiImageInfo* image) {
    if (!image) return;
    if (image->bitmap) DeleteObject(image->bitmap);
    delete image;
}

}  // namespace UiToolkit
