#include "uitoolkit/markup/markup_literal.h"

#include <string>

namespace UiToolkit {

CUiString MarkupLiteral(const wchar_t* text) {
  std::wstring out;
  for (const wchar_t* p = text; p && *p; ++p) {
    switch (*p) {
      case L'{': out += L"<{>"; break;
      case L'}': out += L"<}>"; break;
      case L'<': out += L"{<}"; break;
      case L'>': out += L"{>}"; break;
      default: out += *p;
    }
  }
  return CUiString(out.c_str());
}

}  // namespace UiToolkit
