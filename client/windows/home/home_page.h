#pragma once
// The user's own page, tab 6 of the main window: two options that switch
// between the schemes page and the favourites page, the greeting and the
// log-out button.
//
// The page sits between the main window and its two sub-pages: while tab 6
// is shown it is the main window's page receiver, handles its own
// controls, and hands everything else on to both sub-pages. The tab item
// that holds it is its only owner; nothing else keeps a reference to it.
#include <vector>

#include "client/windows/pages/notify_observer_list.h"
#include "foundation/ke/nocopy_assign.h"
#include "uitoolkit/controls/button.h"
#include "uitoolkit/controls/container.h"
#include "uitoolkit/controls/option.h"
#include "uitoolkit/core/notify.h"
#include "uitoolkit/layouts/tab_layout.h"
#include "uitoolkit/skin/dialog_builder_callback.h"

// The custom tags of "new_home_page.xml": the two sub-pages.
class HomePageDlgBuildCallback : public UiToolkit::IDialogBuilderCallback {
public:
    UiToolkit::CControlUI* CreateCustomControl(const wchar_t* tag) override;
};

class HomePage : public UiToolkit::CContainerUI,
                 public UiToolkit::INotifyUI,
                 public NotifyObserverList,
                 public ke::nocopy_assign {
public:
    // The sub-pages in the home tab layout.
    enum SubPage { kSchemePage = 0, kCollectPage = 1 };

    HomePage();
    ~HomePage() override;

    const wchar_t* ClassName() const override;
    // The main window's receiver lookup gives the page's receiver;
    // "HomePage" gives the page.
    LPVOID FindInterface(const wchar_t* name) override;
    void Notify(UiToolkit::TUiNotify& msg) override;

    // For tests.
    UiToolkit::CTabLayoutUI* TabSwitch() { EnsureControls(); return tab_switch_; }
    UiToolkit::CButtonUI* UserName() { EnsureControls(); return user_name_; }

private:
    void EnsureControls();
    void ShowSubPage(int page, const wchar_t* announcement);
    void OnTabSelect(UiToolkit::TUiNotify& msg);
    void OnLoginPost();

    UiToolkit::CTabLayoutUI* tab_switch_;
    UiToolkit::COptionUI* collect_option_;
    UiToolkit::COptionUI* scheme_option_;
    UiToolkit::CButtonUI* user_name_;
    UiToolkit::CButtonUI* logout_btn_;
    std::vector<UiToolkit::INotifyUI*> sub_pages_;  // on the observer list
    bool controls_tried_;
};
