#pragma once
// The settings dialog: one page, the download folder. OK stores the page's
// folder; Cancel, the close button and Escape discard it.
#include <windows.h>

#include "client/windows/pages/notify_observer_list.h"
#include "client/windows/settings/download_setting_page.h"
#include "client/windows/settings/settings_windows.h"
#include "uitoolkit/controls/button.h"
#include "uitoolkit/layouts/tab_layout.h"
#include "uitoolkit/window/modal_dialog.h"

class SettingDialog : public UiToolkit::CModalDialog, public NotifyObserverList {
public:
    SettingDialog();

    void Notify(UiToolkit::TUiNotify& msg) override;
    UiToolkit::CControlUI* CreateCustomControl(const wchar_t* tag) override;

    // Item 0 of "setting_switch" holds the page as its first child; none
    // when the skin has it otherwise.
    DownloadSettingPage* FindPage() const;

protected:
    void OnSkinReady() override;

private:
    void SaveDownloadPath();

    UiToolkit::CButtonUI* close_btn_ = nullptr;
    UiToolkit::CButtonUI* ok_btn_ = nullptr;
    UiToolkit::CButtonUI* cancel_btn_ = nullptr;
    UiToolkit::CButtonUI* download_op_ = nullptr;
    UiToolkit::CTabLayoutUI* switch_ = nullptr;
};
