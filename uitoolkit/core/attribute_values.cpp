#include "uitoolkit/core/attribute_values.h"

#include <wchar.h>

#include "uitoolkit/core/ui_string.h"

namespace UiToolkit {

int ParseIntList(const wchar_t* text, int* out, int count) {
  for (int i = 0; i < count; ++i) out[i] = 0;
  if (!text) return 0;
  const wchar_t* p = text;
  int present = 0;
  for (int i = 0; i < count && *p; ++i) {
    wchar_t* end = nullptr;
    out[i] = static_cast<int>(wcstol(p, &end, 10));
    ++present;
    p = end;
    // One separator is skipped, never the terminator.
    if (*p) ++p;
  }
  return present;
}

RECT ParseRectValue(const wchar_t* text) {
  int v[4];
  ParseIntList(text, v, 4);
  RECT rc = {v[0], v[1], v[2], v[3]};
  return rc;
}

SIZE ParseSizeValue(const wchar_t* text) {
  int v[2];
  ParseIntList(text, v, 2);
  SIZE sz = {v[0], v[1]};
  return sz;
}

DWORD ParseColorValue(const wchar_t* text, bool skip_blanks) {
  if (!text) return 0;
  const wchar_t* p = text;
  if (skip_blanks)
    while (*p == L' ' || *p == L'\t') ++p;
  if (*p == L'#') ++p;
  return static_cast<DWORD>(wcstoul(p, nullptr, 16));
}

bool ParseBoolValue(const wchar_t* text) { return text && wcscmp(text, L"true") == 0; }

int ParseAttributeList(const wchar_t* text, AttributeSink apply, void* context) {
  if (!text) return 0;
  int applied = 0;
  const wchar_t* p = text;
  while (*p) {
    CUiString name;
    while (*p && *p != L'=') {
      const wchar_t* next = ::CharNextW(p);
      name.Append(CUiString(p, static_cast<int>(next - p)));
      p = next;
    }
    if (*p != L'=') return applied;
    ++p;
    if (*p != L'"') return applied;
    ++p;
    CUiString value;
    while (*p && *p != L'"') {
      const wchar_t* next = ::CharNextW(p);
      value.Append(CUiString(p, static_cast<int>(next - p)));
      p = next;
    }
    if (*p != L'"') return applied;  // unterminated: not applied
    ++p;
    apply(context, name, value);
    ++applied;
    // Exactly one blank separates pairs; a second blank ends the list.
    if (*p != L' ' || p[1] == 0 || p[1] == L' ') return applied;
    ++p;
  }
  return applied;
}

}  // namespace UiToolkit
