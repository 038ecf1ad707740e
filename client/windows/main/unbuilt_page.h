#pragma once
// Holds a tab's place in the main window's tab layout until its page is
// first needed: building all seven pages with the window cost start-up
// time and memory for tabs that a session may never show. The main window
// swaps it for the real page (MainFrameWnd::PageOfTab), so afterwards the
// tree is the one an eager build gives.
#include "uitoolkit/core/control.h"
#include "uitoolkit/core/ui_string.h"

class UnbuiltPage : public UiToolkit::CControlUI {
public:
    explicit UnbuiltPage(const wchar_t* tag);
    const wchar_t* ClassName() const override;
    // "UnbuiltPage" gives the stand-in; it is nobody's notification receiver.
    LPVOID FindInterface(const wchar_t* name) override;

    // The custom tag of the page it stands for.
    const UiToolkit::CUiString& Tag() const { return tag_; }

private:
    UiToolkit::CUiString tag_;
};
