#pragma once
// A memory device context, kept per thread, with a bitmap selected into it
// for the life of the guard: the source of a blit or blend. Under Wine,
// creating and deleting a device context for every image drawn costs more
// than drawing the image.
#include <windows.h>

namespace UiToolkit {

class CUiScratchDC {
 public:
  explicit CUiScratchDC(HBITMAP bitmap);
  ~CUiScratchDC();
  // Null when no device context could be made.
  HDC Get() const { return m_dc; }

 private:
  CUiScratchDC(const CUiScratchDC&) = delete;
  CUiScratchDC& operator=(const CUiScratchDC&) = delete;

  HDC m_dc;
  HGDIOBJ m_old;
  bool m_own;  // a guard inside another one on the same thread has a DC of its own
};

}  // namespace UiToolkit
