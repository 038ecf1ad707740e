#pragma once
// A 32-bit top-down memory DIB selected into a memory DC, for tests that
// paint and then sample pixels.
#include <windows.h>

class DibCanvas {
 public:
  DibCanvas(int w, int h, DWORD fill = 0) : w_(w), h_(h) {
    dc_ = CreateCompatibleDC(nullptr);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = w;
    bmi.bmiHeader.biHeight = -h;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bmp_ = CreateDIBSection(dc_, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<DWORD*>(bits);
    old_ = SelectObject(dc_, bmp_);
    for (int i = 0; i < w * h; ++i) bits_[i] = fill;
  }
  ~DibCanvas() {
    SelectObject(dc_, old_);
    DeleteObject(bmp_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  // 0x00RRGGBB of the pixel (alpha byte masked off).
  DWORD At(int x, int y) const {
    GdiFlush();
    return bits_[y * w_ + x] & 0x00FFFFFF;
  }
  DWORD Raw(int x, int y) const {
    GdiFlush();
    return bits_[y * w_ + x];
  }
  void Set(int x, int y, DWORD v) { bits_[y * w_ + x] = v; }
  // Writes the pixels as a 32-bit top-down BMP file, for a person to look at.
  bool SaveAsBmp(const char* path) const {
    GdiFlush();
    BITMAPINFOHEADER info = {sizeof(info), w_, -h_, 1, 32, BI_RGB};
    BITMAPFILEHEADER file = {0x4D42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(info)};
    const DWORD bytes = static_cast<DWORD>(w_) * h_ * 4;
    file.bfSize = file.bfOffBits + bytes;
    HANDLE f = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(f, &file, sizeof(file), &written, nullptr) &&
              WriteFile(f, &info, sizeof(info), &written, nullptr) &&
              WriteFile(f, bits_, bytes, &written, nullptr);
    CloseHandle(f);
    return ok;
  }

 private:
  int w_, h_;
  HDC dc_;
  HBITMAP bmp_;
  HGDIOBJ old_;
  DWORD* bits_;
};
