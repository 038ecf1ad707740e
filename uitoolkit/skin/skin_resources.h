#pragma once
// The skin's resource elements ("Image", "Font", "Default") and the root
// "Window" element's attributes, applied to a window manager.
namespace UiToolkit {

class CWindowManagerUI;
class CXmlMarkupNode;

// Registers one resource element; other tags and elements without a
// "name" are ignored.
void RegisterSkinResource(CWindowManagerUI* manager, CXmlMarkupNode& element);
// Applies one root attribute of a "Window" element; unknown names are
// ignored.
void ApplyWindowAttribute(CWindowManagerUI* manager, const wchar_t* name, const wchar_t* value);
// The default attribute list of a tag, up the shared-resource chain.
const wchar_t* SkinDefaultAttributes(CWindowManagerUI* manager, const wchar_t* tag);

}  // namespace UiToolkit
