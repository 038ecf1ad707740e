#include "uitoolkit/image/image_decode.h"
#include "uitoolkit/core/ui_render.h"
#include "uitoolkit/image/ui_image.h"
#include "uitoolkit/zip/skin_files.h"

#include <cstring>
#include <new>
#include <vector>

namespace UiToolkit {

namespace {

const int kDefaultGifDelay = 150;  // ms, for frames that give none

bool ReadResource(HMODULE module, const wchar_t* name, const wchar_t* type, TUiBytes* out) {
    if (!module) module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, name, type);
    if (!found) return false;
    HGLOBAL loaded = LoadResource(module, found);
    DWORD size = SizeofResource(module, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes || size == 0) return false;
    if (!out->Allocate(size)) return false;
    memcpy(out->data.get(), bytes, size);
    return true;
}

// Finds an image file's bytes: the skin zip or the resource folder, then
// the name itself as a path.
bool FindImageBytes(const TUiSkinLocation& location, const wchar_t* name, TUiBytes* out) {
    if (!name || !*name) return false;
    if (!location.skinZipName.empty()) {
        if (ReadSkinZipEntry(location, name, 0, out) == SkinRead::Ok) return true;
    } else if (ReadWholeFile(location.resourceFolder + name, 0, out) == SkinRead::Ok) {
        return true;
    }
    return ReadWholeFile(name, 0, out) == SkinRead::Ok;
}

}  // namespace

bool CUiRender::MakePremultipliedBitmap(const unsigned char* rgba, int width, int height, DWORD mask,
                                        TUiImageInfo* image) {
    if (!rgba || width <= 0 || height <= 0) return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(width) * height * 4;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        if (bitmap) DeleteObject(bitmap);
        return false;
    }
    bool hasAlpha = false;
    const size_t count = static_cast<size_t>(width) * height;
    DWORD* out = static_cast<DWORD*>(bits);
    for (size_t i = 0; i < count; ++i) {
        const unsigned char* p = rgba + i * 4;
        unsigned r = p[0], g = p[1], b = p[2], a = p[3];
        if (a != 255) {
            r = r * a / 255;
            g = g * a / 255;
            b = b * a / 255;
            hasAlpha = true;
        }
        DWORD pixel = (a << 24) | (r << 16) | (g << 8) | b;
        if (pixel == mask) {
            pixel = 0;
            hasAlpha = true;
        }
        out[i] = pixel;
    }
    image->bitmap = bitmap;
    image->width = width;
    image->height = height;
    image->hasAlpha = hasAlpha;
    return true;
}

TUiImageInfo* CUiRender::DecodeImage(const void* bytes, size_t length, DWORD mask) {
    int width = 0, height = 0;
    unsigned char* rgba = DecodeRgba(bytes, length, &width, &height);
    if (!rgba) return nullptr;
    auto* image = new (std::nothrow) TUiImageInfo;
    if (image && !MakePremultipliedBitmap(rgba, width, height, mask, image)) {
        delete image;
        image = nullptr;
    }
    FreeRgba(rgba);
    return image;
}

CGifHandler* CUiRender::DecodeGif(const void* bytes, size_t length) {
    auto* handler = new (std::nothrow) CGifHandler;
    if (!handler) return nullptr;
    std::vector<TUiGifFramePixels> frames;
    LoadGifFrames(bytes, length, &frames);
    for (TUiGifFramePixels& decoded : frames) {
        auto* frame = new (std::nothrow) TUiGifFrame;
        if (frame && MakePremultipliedBitmap(decoded.pixels, decoded.width, decoded.height, 0, frame)) {
            frame->delay = decoded.delay > 0 ? decoded.delay : kDefaultGifDelay;
            if (!handler->AddFrame(frame)) {
                DeleteObject(frame->bitmap);
                delete frame;
            }
        } else {
            delete frame;
        }
        FreeRgba(decoded.pixels);
    }
    return handler;
}

TUiImageInfo* CUiRender::LoadImageFile(const wchar_t* name, const wchar_t* type, DWORD mask) {
    return LoadImageFileFrom(CurrentSkinLocation(), name, type, mask);
}

TUiImageInfo* CUiRender::LoadImageFileFrom(const TUiSkinLocation& location, const wchar_t* name,
                                           const wchar_t* type, DWORD mask) {
    TUiBytes bytes;
    if (type) {
        if (!ReadResource(location.resourceModule, name, type, &bytes)) return nullptr;
    } else if (!FindImageBytes(location, name, &bytes)) {
        return nullptr;
    }
    return DecodeImage(bytes.data.get(), bytes.size, mask);
}

CGifHandler* CUiRender::LoadGifFile(const wchar_t* name) { return LoadGifFileFrom(CurrentSkinLocation(), name); }

CGifHandler* CUiRender::LoadGifFileFrom(const TUiSkinLocation& location, const wchar_t* name) {
    TUiBytes bytes;
    if (!FindImageBytes(location, name, &bytes)) return nullptr;
    return DecodeGif(bytes.data.get(), bytes.size);
}

}  // namespace UiToolkit
