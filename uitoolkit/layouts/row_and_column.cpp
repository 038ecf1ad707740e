// The row and the column: names and their separator attribute.
#include "uitoolkit/layouts/horizontal_layout.h"
#include "uitoolkit/layouts/vertical_layout.h"

namespace UiToolkit {

CHorizontalLayoutUI::CHorizontalLayoutUI() : CLinearLayoutUI(false) {}

const wchar_t* CHorizontalLayoutUI::ClassName() const { return L"HorizontalLayoutUI"; }

LPVOID CHorizontalLayoutUI::FindInterface(const wchar_t* name) {
  if (name && wcscmp(name, L"HorizontalLayout") == 0) return this;
  return CContainerUI::FindInterface(name);
}

void CHorizontalLayoutUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
  if (name && value && wcscmp(name, L"sepwidth") == 0)
    SetSeparatorSize(static_cast<int>(wcstol(value, nullptr, 10)));
  else
    CLinearLayoutUI::ApplyAttribute(name, value);
}

CVerticalLayoutUI::CVerticalLayoutUI() : CLinearLayoutUI(true) {}

const wchar_t* CVerticalLayoutUI::ClassName() const { return L"VerticalLayoutUI"; }

LPVOID CVerticalLayoutUI::FindInterface(const wchar_t* name) {
  if (name && wcscmp(name, L"VerticalLayout") == 0) return this;
  return CContainerUI::FindInterface(name);
}

void CVerticalLayoutUI::ApplyAttribute(const wchar_t* name, const wchar_t* value) {
  if (name && value && wcscmp(name, L"sepheight") == 0)
    SetSeparatorSize(static_cast<int>(wcstol(value, nullptr, 10)));
  else
    CLinearLayoutUI::ApplyAttribute(name, value);
}

}  // namespace UiToolkit
