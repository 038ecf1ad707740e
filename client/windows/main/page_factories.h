#pragma once
// The pages of the main window's seven tabs, by the custom tag that
// "skin.xml" names for each. A page that is built replaces its stand-in by
// changing its line in page_factories.cpp; the page answers
// FindInterface(kPageReceiverInterface) with its receiver.
#include "uitoolkit/core/control.h"

// A new page for the tag; none for a tag that is not a page of the main
// window.
UiToolkit::CControlUI* CreateMainFramePage(const wchar_t* tag);

// The tags in tab order (tab 0 to tab 6).
extern const wchar_t* const kMainFramePageTags[7];
