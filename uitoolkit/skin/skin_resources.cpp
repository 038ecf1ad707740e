#include "uitoolkit/skin/skin_resources.h"

#include <stdlib.h>
#include <wchar.h>

#include "uitoolkit/core/attribute_values.h"
#include "uitoolkit/core/window_manager.h"
#include "uitoolkit/markup/xml_markup.h"

namespace UiToolkit {
namespace {


void RegisterFont(CWindowManagerUI* manager, CXmlMarkupNode& element) {
  wchar_t face[CXmlMarkupNode::kValueBufferSize];
  if (!element.ValueOf(L"name", face)) return;
  int size = 12;
  bool bold = false, underline = false, italic = false, isDefault = false;
  for (int i = 0; i < element.AttrCount(); ++i) {
    const wchar_t* name = element.AttrNameAt(i);
    const wchar_t* value = element.AttrValueAt(i);
    if (wcscmp(name, L"size") == 0)
      size = _wtoi(value);
    else if (wcscmp(name, L"bold") == 0)
      bold = ParseBoolValue(value);
    else if (wcscmp(name, L"underline") == 0)
      underline = ParseBoolValue(value);
    else if (wcscmp(name, L"italic") == 0)
      italic = ParseBoolValue(value);
    else if (wcscmp(name, L"default") == 0)
      isDefault = ParseBoolValue(value);
  }
  manager->AddFontEntry(face, size, bold, underline, italic);
  if (isDefault) manager->ReplaceDefaultFont(face, size, bold, underline, italic);
}

void RegisterImage(CWindowManagerUI* manager, CXmlMarkupNode& element) {
  wchar_t name[CXmlMarkupNode::kValueBufferSize];
  if (!element.ValueOf(L"name", name)) return;
  wchar_t type[CXmlMarkupNode::kValueBufferSize];
  bool hasType = element.ValueOf(L"restype", type);
  wchar_t mask[CXmlMarkupNode::kValueBufferSize];
  DWORD maskColor = element.ValueOf(L"mask", mask) ? ParseColorValue(mask, false) : 0;
  manager->AddImageEntry(name, hasType ? type : nullptr, maskColor);
}

void RegisterDefault(CWindowManagerUI* manager, CXmlMarkupNode& element) {
  wchar_t tag[CXmlMarkupNode::kValueBufferSize];
  if (!element.ValueOf(L"name", tag)) return;
  // Attribute lists can be long: read the value where it lies rather than
  // through the bounded copy.
  for (int i = 0; i < element.AttrCount(); ++i) {
    if (wcscmp(element.AttrNameAt(i), L"value") == 0) {
      manager->AddDefaultAttributes(tag, element.AttrValueAt(i));
      return;
    }
  }
}

}  // namespace

void RegisterSkinResource(CWindowManagerUI* manager, CXmlMarkupNode& element) {
  const wchar_t* tag = element.TagName();
  if (wcscmp(tag, L"Font") == 0)
    RegisterFont(manager, element);
  else if (wcscmp(tag, L"Image") == 0)
    RegisterImage(manager, element);
  else if (wcscmp(tag, L"Default") == 0)
    RegisterDefault(manager, element);
}

void ApplyWindowAttribute(CWindowManagerUI* manager, const wchar_t* name, const wchar_t* value) {
  if (wcscmp(name, L"size") == 0) {
    SIZE size = ParseSizeValue(value);
    manager->SetInitSize(size);
    // Only a window still waiting for its skin is resized at once.
    if (!manager->GetRoot())
      ::SetWindowPos(manager->GetWindow(), nullptr, 0, 0, size.cx, size.cy,
                     SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
  } else if (wcscmp(name, L"sizebox") == 0) {
    manager->SetSizeBox(ParseRectValue(value));
  } else if (wcscmp(name, L"caption") == 0) {
    manager->SetCaption(ParseRectValue(value));
  } else if (wcscmp(name, L"roundcorner") == 0) {
    manager->SetRoundCorner(ParseSizeValue(value));
  } else if (wcscmp(name, L"mininfo") == 0) {
    manager->SetMinInfo(ParseSizeValue(value));
  } else if (wcscmp(name, L"maxinfo") == 0) {
    manager->SetMaxInfo(ParseSizeValue(value));
  } else if (wcscmp(name, L"showdirty") == 0) {
    manager->SetShowDirty(ParseBoolValue(value));
  } else if (wcscmp(name, L"alpha") == 0) {
    manager->SetWindowAlpha(_wtoi(value));
  } else if (wcscmp(name, L"bktrans") == 0) {
    manager->SetBackgroundSnapshot(ParseBoolValue(value));
  } else if (wcscmp(name, L"disabledfontcolor") == 0) {
    manager->SetDisabledTextColor(ParseColorValue(value, false));
  } else if (wcscmp(name, L"defaultfontcolor") == 0) {
    manager->SetDefaultTextColor(ParseColorValue(value, false));
  } else if (wcscmp(name, L"linkfontcolor") == 0) {
    manager->SetLinkColor(ParseColorValue(value, false));
  } else if (wcscmp(name, L"linkhoverfontcolor") == 0) {
    manager->SetLinkHoverColor(ParseColorValue(value, false));
  } else if (wcscmp(name, L"selectedcolor") == 0) {
    manager->SetSelectedColor(ParseColorValue(value, false));
  }
}

const wchar_t* SkinDefaultAttributes(CWindowManagerUI* manager, const wchar_t* tag) {
  return manager->DefaultAttributes(tag);
}

}  // namespace UiToolkit
