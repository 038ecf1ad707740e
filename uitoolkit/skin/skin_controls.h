#pragma once
// The control classes the skin builder makes for the tags of a skin
// document (matched exactly, case-sensitive).
namespace UiToolkit {

class CControlUI;

// A new control for a known tag; none for a tag the toolkit does not know.
CControlUI* CreateControlForTag(const wchar_t* tag);

}  // namespace UiToolkit
