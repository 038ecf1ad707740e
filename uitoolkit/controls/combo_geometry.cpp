#include "uitoolkit/controls/combo_geometry.h"

#include <wchar.h>

#include "uitoolkit/controls/control_state.h"

namespace UiToolkit {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

// Four decimal numbers separated by single commas, nothing else.
bool ReadFourNumbers(const wchar_t* text, const wchar_t* end, long out[4]) {
  const wchar_t* p = text;
  for (int i = 0; i < 4; ++i) {
    wchar_t* stop = nullptr;
    out[i] = wcstol(p, &stop, 10);
    if (stop == p || stop > end) return false;
    p = stop;
    if (i < 3) {
      if (p >= end || *p != L',') return false;
      ++p;
    }
  }
  return p == end;
}

}  // namespace

int ComboDropWidth(const RECT& combo, SIZE dropSize) {
  return dropSize.cx > 0 ? dropSize.cx : combo.right - combo.left;
}

RECT ComboDropRect(const RECT& combo, SIZE dropSize, int itemsHeight, const RECT& work) {
  int height = itemsHeight + 4;
  if (dropSize.cy < height) height = dropSize.cy;
  if (height < 0) height = 0;
  RECT rc = {combo.left, combo.bottom, combo.left + ComboDropWidth(combo, dropSize),
             combo.bottom + height};
  if (rc.right < rc.left) rc.right = rc.left;
  if (rc.bottom > work.bottom) {
    rc.bottom = combo.top;
    rc.top = combo.top - height;
  }
  return rc;
}

int ComboArrowPart(UINT state) {
  if (state & UISTATE_DISABLED) return 4;
  if (state & UISTATE_PUSHED) return 2;
  if (state & UISTATE_HOT) return 1;
  if (state & UISTATE_FOCUSED) return 3;
  return 0;
}

bool SplitArrowSource(const wchar_t* image, RECT* source, CUiString* rest) {
  if (!image) return false;
  // The first "source" written as a key (not inside a file name or value):
  // at the start or after a blank, then "=" and a quoted value.
  for (const wchar_t* key = wcsstr(image, L"source"); key; key = wcsstr(key + 1, L"source")) {
    if (key != image && !IsBlank(key[-1])) continue;
    const wchar_t* p = key + 6;
    while (IsBlank(*p)) ++p;
    if (*p != L'=') continue;
    ++p;
    while (IsBlank(*p)) ++p;
    if (*p != L'\'') continue;
    const wchar_t* value = p + 1;
    const wchar_t* close = wcschr(value, L'\'');
    if (!close) return false;
    long v[4];
    if (!ReadFourNumbers(value, close, v) || v[2] <= v[0]) return false;
    *source = RECT{v[0], v[1], v[2], v[3]};
    CUiString without(image, static_cast<int>(key - image));
    without.Append(close + 1);
    *rest = without;
    return true;
  }
  return false;
}

CUiString ArrowPartModifier(const RECT& source, int part, const RECT& dest) {
  const int width = (source.right - source.left) / 5;
  const int left = source.left + width * part;
  CUiString modifier;
  modifier.Format(L"source='%d,%d,%d,%d' dest='%d,%d,%d,%d'", left, static_cast<int>(source.top),
                  left + width, static_cast<int>(source.bottom), static_cast<int>(dest.left),
                  static_cast<int>(dest.top), static_cast<int>(dest.right),
                  static_cast<int>(dest.bottom));
  return modifier;
}

}  // namespace UiToolkit
