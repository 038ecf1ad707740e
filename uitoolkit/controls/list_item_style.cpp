#include "uitoolkit/controls/list_item_style.h"

#include <wchar.h>

#include "uitoolkit/core/attribute_values.h"

namespace UiToolkit {

namespace {

struct ColorAttribute {
  const wchar_t* name;
  DWORD TUiListItemStyle::*field;
};
const ColorAttribute kColorAttributes[] = {
    {L"itemtextcolor", &TUiListItemStyle::dwTextColor},
    {L"itembkcolor", &TUiListItemStyle::dwBkColor},
    {L"itemselectedtextcolor", &TUiListItemStyle::dwSelectedTextColor},
    {L"itemselectedbkcolor", &TUiListItemStyle::dwSelectedBkColor},
    {L"itemhottextcolor", &TUiListItemStyle::dwHotTextColor},
    {L"itemhotbkcolor", &TUiListItemStyle::dwHotBkColor},
    {L"itemdisabledtextcolor", &TUiListItemStyle::dwDisabledTextColor},
    {L"itemdisabledbkcolor", &TUiListItemStyle::dwDisabledBkColor},
    {L"itemlinecolor", &TUiListItemStyle::dwLineColor},
};

struct ImageAttribute {
  const wchar_t* name;
  CUiString TUiListItemStyle::*field;
};
const ImageAttribute kImageAttributes[] = {
    {L"itembkimage", &TUiListItemStyle::sBkImage},
    {L"itemselectedimage", &TUiListItemStyle::sSelectedImage},
    {L"itemhotimage", &TUiListItemStyle::sHotImage},
    {L"itemdisabledimage", &TUiListItemStyle::sDisabledImage},
};

}  // namespace

TUiItemStyleChange ApplyItemStyleAttribute(TUiListItemStyle& style, const wchar_t* name,
                                           const wchar_t* value) {
  if (!name || !value) return UIITEMSTYLE_UNKNOWN;
  for (const ColorAttribute& a : kColorAttributes) {
    if (SameName(name, a.name)) {
      style.*a.field = ParseColorValue(value, false);
      return UIITEMSTYLE_REPAINT;
    }
  }
  for (const ImageAttribute& a : kImageAttributes) {
    if (SameName(name, a.name)) {
      style.*a.field = value;
      return UIITEMSTYLE_REPAINT;
    }
  }
  if (SameName(name, L"itemfont")) {
    style.nFont = static_cast<int>(wcstol(value, nullptr, 10));
    return UIITEMSTYLE_REPAINT;
  }
  if (SameName(name, L"itemalign")) {
    style.uTextStyle = ApplyListAlignWords(style.uTextStyle, value);
    return UIITEMSTYLE_STORED;
  }
  if (SameName(name, L"itemtextpadding")) {
    style.rcTextPadding = ParseRectValue(value);
    return UIITEMSTYLE_RELAYOUT;
  }
  if (SameName(name, L"itemaltbk")) {
    style.bAlternateBk = ParseBoolValue(value);
    return UIITEMSTYLE_REPAINT;
  }
  if (SameName(name, L"itemshowhtml")) {
    const bool on = ParseBoolValue(value);
    if (style.bShowHtml == on) return UIITEMSTYLE_STORED;
    style.bShowHtml = on;
    return UIITEMSTYLE_RELAYOUT;
  }
  return UIITEMSTYLE_UNKNOWN;
}

}  // namespace UiToolkit
