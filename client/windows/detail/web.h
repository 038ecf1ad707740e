#pragma once
// The detail view's browser: the skin "detail.xml" (a WebBrowser named "ie"
// inside a horizontal layout), showing the local detail page of one
// software, which forwards to the detail web site.
#include <windows.h>

#include <string>

#include "uitoolkit/activex/web_browser_event_handler.h"
#include "uitoolkit/activex/web_browser_ui.h"
#include "uitoolkit/layouts/horizontal_layout.h"

// Answers the browser's host questions: no three-dimensional border,
// default double-click. Every other event keeps the default behaviour.
class WebHandler : public UiToolkit::CWebBrowserEventHandler {
public:
    HRESULT GetHostInfo(DOCHOSTUIINFO* info) override;
};

class Web : public UiToolkit::CHorizontalLayoutUI {
public:
    static const int kBrowserWidth = 733;

    // Builds the skin with `manager` (the main window's) and adds its root
    // when that is a container. A skin that cannot be built, or whose root
    // is not a container, leaves the Web empty, with a log line.
    Web(UiToolkit::CWindowManagerUI* manager, int soft_id);
    ~Web() override;

    // Once the Web is in the window's tree: finds its browser, gives it the
    // handler, and navigates to "about:blank" twice, then to the page.
    void Init();
    // Shows another software: navigates straight to its page.
    void SetSoftId(int soft_id);

    int SoftId() const { return soft_id_; }
    // The browser of this Web's own skin, once Init found it; none before.
    UiToolkit::CWebBrowserUI* Browser() const { return browser_; }

    // The local page of a software.
    static std::wstring PageAddress(int soft_id);
    // Test seam: build this (a skin file name or a whole document) instead
    // of "detail.xml"; none restores the file.
    static void SetSkinForTests(const wchar_t* skin);

private:
    UiToolkit::CWebBrowserUI* FindBrowser();

    int soft_id_;
    WebHandler* handler_;
    UiToolkit::CWebBrowserUI* browser_;
};
