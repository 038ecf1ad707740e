#pragma once
// Rectangle with the layout of a Win32 RECT.
#include <windows.h>

namespace UiToolkit {

class CUiRect : public RECT {
 public:
  CUiRect();
  CUiRect(const RECT& rc);
  CUiRect(LONG l, LONG t, LONG r, LONG b);

  int GetWidth() const { return right - left; }
  int GetHeight() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  void Empty();
  // Smaller left/top, larger right/bottom; an empty rectangle counts too.
  void Union(const RECT& other);
  // False (and this rectangle emptied) when they do not meet.
  bool Intersect(const RECT& other);
  void Offset(int dx, int dy);
  bool Contains(POINT pt) const;
};

}  // namespace UiToolkit
