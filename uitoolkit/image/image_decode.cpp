#include "uitoolkit/image/image_decode.h"

#include <climits>
#include <cstdlib>
#include <cstring>

// stb_image is compiled here, with internal linkage, so that no other copy
// linked into a program can clash with it. The GIF frame reader is one of
// its internal functions, which is why the frame loop lives in this file.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
// No Windows bitmap can usefully be larger; refusing bigger headers early
// keeps a damaged file from asking for gigabytes.
#define STBI_MAX_DIMENSIONS 32768
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#pragma GCC diagnostic ignored "-Wsign-compare"
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

namespace UiToolkit {

namespace {
// Composed GIF frames are whole canvases; a small file with a large canvas
// and many frames would otherwise take unbounded memory.
const size_t kMaxGifBytes = 256u * 1024 * 1024;
// Larger pictures are refused before decoding: a damaged header could
// otherwise make a few bytes cost seconds of decoding and gigabytes.
const long long kMaxPixels = 32LL * 1024 * 1024;

bool PlausibleSize(const void* bytes, size_t length) {
    int width = 0, height = 0;
    if (!ReadImageHeaderSize(bytes, length, &width, &height)) return true;  // the decoder gives its own verdict
    return static_cast<long long>(width) * height <= kMaxPixels;
}
}  // namespace

bool ReadImageHeaderSize(const void* bytes, size_t length, int* width, int* height) {
    *width = *height = 0;
    if (!bytes || length == 0 || length > INT_MAX) return false;
    int components = 0;
    if (!stbi_info_from_memory(static_cast<const stbi_uc*>(bytes), static_cast<int>(length), width, height,
                               &components)) {
        *width = *height = 0;
        return false;
    }
    return true;
}

unsigned char* DecodeRgba(const void* bytes, size_t length, int* width, int* height) {
    *width = *height = 0;
    if (!bytes || length == 0 || length > INT_MAX) return nullptr;
    if (!PlausibleSize(bytes, length)) return nullptr;
    int components = 0;
    unsigned char* pixels = stbi_load_from_memory(static_cast<const stbi_uc*>(bytes), static_cast<int>(length),
                                                  width, height, &components, 4);
    if (!pixels) *width = *height = 0;
    return pixels;
}

void FreeRgba(unsigned char* pixels) { stbi_image_free(pixels); }

bool LoadGifFrames(const void* bytes, size_t length, std::vector<TUiGifFramePixels>* frames) {
    frames->clear();
    if (!bytes || length == 0 || length > INT_MAX) return false;
    stbi__context s;
    stbi__start_mem(&s, static_cast<const stbi_uc*>(bytes), static_cast<int>(length));
    if (!stbi__gif_test(&s)) return false;
    if (!PlausibleSize(bytes, length)) return true;

    stbi__gif g;
    memset(&g, 0, sizeof g);
    size_t total = 0;
    for (;;) {
        int components = 0;
        // The reader needs the frame before last for "restore to previous".
        stbi_uc* twoBack = frames->size() >= 2 ? (*frames)[frames->size() - 2].pixels : nullptr;
        stbi_uc* canvas = stbi__gif_load_next(&s, &g, &components, 4, twoBack);
        if (!canvas || canvas == reinterpret_cast<stbi_uc*>(&s)) break;  // failure or trailer
        const size_t size = static_cast<size_t>(g.w) * g.h * 4;
        if (total + size > kMaxGifBytes) break;
        auto* copy = static_cast<unsigned char*>(malloc(size));
        if (!copy) break;
        memcpy(copy, canvas, size);
        try {
            frames->push_back(TUiGifFramePixels{copy, g.w, g.h, g.delay});
        } catch (...) {
            free(copy);
            break;
        }
        total += size;
    }
    STBI_FREE(g.out);
    STBI_FREE(g.history);
    STBI_FREE(g.background);
    return true;
}

}  // namespace UiToolkit
