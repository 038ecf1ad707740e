#include "uitoolkit/controls/list_header.h"

#include "uitoolkit/core/window_manager.h"

namespace UiToolkit {

CListHeaderUI::CListHeaderUI() {}

const wchar_t* CListHeaderUI::ClassName() const { return L"ListHeaderUI"; }

LPVOID CListHeaderUI::FindInterface(const wchar_t* name) {
  if (name && wcscmp(name, L"ListHeader") == 0) return this;
  return CHorizontalLayoutUI::FindInterface(name);
}

SIZE CListHeaderUI::MeasureSize(SIZE available) {
  SIZE size = {0, 0};
  int tallest = 0;
  for (int i = 0; i < GetCount(); ++i) {
    SIZE item = GetItemAt(i)->MeasureSize(available);
    size.cx += item.cx;
    if (item.cy > tallest) tallest = item.cy;
  }
  if (m_fixedSize.cy != 0) {
    size.cy = m_fixedSize.cy;
  } else if (m_manager) {
    TUiFontInfo* font = m_manager->DefaultFont();
    int by_font = (font ? font->tm.tmHeight : 0) + 6;
    size.cy = tallest > by_font ? tallest : by_font;
  }
  return size;
}

}  // namespace UiToolkit
