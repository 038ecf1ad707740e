#pragma once
// Decoding with stb_image: still images to 8-bit RGBA, and every composed
// frame of an animated GIF with its delay.
#include <cstddef>
#include <vector>

namespace UiToolkit {

// The width and height an image's header declares, read without decoding
// anything (the header may be all that `bytes` holds). False when the bytes
// begin with no header stb_image reads, or one over its largest dimension.
bool ReadImageHeaderSize(const void* bytes, size_t length, int* width, int* height);

// RGBA pixels, width times height times 4 bytes, freed with FreeRgba.
// Pictures whose header declares more than 32 Mi pixels are refused before
// decoding.
unsigned char* DecodeRgba(const void* bytes, size_t length, int* width, int* height);
void FreeRgba(unsigned char* pixels);

struct TUiGifFramePixels {
    unsigned char* pixels;  // the whole canvas, RGBA; freed with FreeRgba
    int width;
    int height;
    int delay;  // milliseconds as the file gives them (may be 0)
};

// Every frame up to the trailer or the first one that fails. False when
// the bytes are not a GIF.
bool LoadGifFrames(const void* bytes, size_t length, std::vector<TUiGifFramePixels>* frames);

}  // namespace UiToolkit
