#pragma once
// Shared by the showcase tests: an animated spinner GIF, and a hold that
// keeps the window on screen (UITOOLKIT_SHOWCASE_MS) for a capture.
#include <windows.h>

#include <stdlib.h>

#include <string>
#include <vector>

#include "tests/uitoolkit/core/ui_test_fixtures.h"
#include "tests/uitoolkit/fixtures/skin_fixtures.h"

namespace uitest {

// `size` by `size`: a blue block that walks round four grey quarters.
inline std::string SpinnerGif(int size) {
  const std::vector<uint8_t> palette = {244, 244, 244, 200, 200, 200, 40, 110, 220, 0, 0, 0};
  const int half = size / 2;
  std::vector<fixtures::GifFrame> frames;
  for (int f = 0; f < 4; ++f) {
    fixtures::GifFrame frame;
    frame.delayHundredths = 12;
    const int qx = (f == 1 || f == 2) ? 1 : 0, qy = f >= 2 ? 1 : 0;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        const bool cell = x % half > 1 && y % half > 1 && x % half < half - 1 && y % half < half - 1;
        const bool lit = x / half == qx && y / half == qy;
        frame.indices.push_back(cell ? (lit ? 2 : 1) : 0);
      }
    frames.push_back(frame);
  }
  return fixtures::MakeGif(size, size, palette, frames);
}

inline void HoldShowcaseIfAsked() {
  const char* hold = getenv("UITOOLKIT_SHOWCASE_MS");
  if (!hold) return;
  const DWORD end = ::GetTickCount() + static_cast<DWORD>(atoi(hold));
  while (::GetTickCount() < end) {
    PumpMessages();
    ::Sleep(20);
  }
}

}  // namespace uitest
