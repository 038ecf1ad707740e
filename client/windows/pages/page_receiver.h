#pragma once
// How the main window reaches the notification receiver of the page on a
// tab: the page answers FindInterface with its INotifyUI part under this
// name. A page class of any kind (catalogue page, installed-programs page,
// download centre, home page, or a test's recording page) plugs in by
// answering it; the main window needs to know nothing else about it.
#include "uitoolkit/core/control.h"
#include "uitoolkit/core/notify.h"

extern const wchar_t kPageReceiverInterface[];

inline UiToolkit::INotifyUI* PageReceiverOf(UiToolkit::CControlUI* page) {
    return page ? static_cast<UiToolkit::INotifyUI*>(page->FindInterface(kPageReceiverInterface))
                : nullptr;
}
