#pragma once
// Narrows a device context's clipping to a rectangle (or a rounded
// rectangle) for the life of the guard, then restores the clip box that was
// in force when the guard was made.
#include <windows.h>

namespace UiToolkit {

class CUiClip {
 public:
  CUiClip() : m_dc(nullptr), m_region(nullptr), m_saved(nullptr) { SetRectEmpty(&m_rect); }
  ~CUiClip();

  static void ClipRect(CUiClip& guard, HDC hdc, const RECT& rect);
  static void ClipRoundRect(CUiClip& guard, HDC hdc, const RECT& rect, const RECT& box, int width,
                            int height);

 private:
  CUiClip(const CUiClip&) = delete;
  CUiClip& operator=(const CUiClip&) = delete;
  void Save(HDC hdc, const RECT& rect);

  RECT m_rect;
  HDC m_dc;
  HRGN m_region;
  HRGN m_saved;
};

}  // namespace UiToolkit
