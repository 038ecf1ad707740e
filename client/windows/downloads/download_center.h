#pragma once
// The main window's download centre ("download_mgr.xml"): the running and
// the finished downloads on two sub-pages behind two option buttons whose
// captions count them, a button opening the download folder and a back
// button returning to the tab the user came from.
#include "client/windows/pages/page_switch.h"
#include "uitoolkit/controls/button.h"
#include "uitoolkit/controls/container.h"
#include "uitoolkit/controls/option.h"
#include "uitoolkit/core/notify.h"
#include "uitoolkit/layouts/tab_layout.h"
#include "uitoolkit/skin/skin_builder.h"

// Makes the skin's "downloading_page" and "downloaded_page" tags.
class DownloadCenterBuildCallback : public UiToolkit::IDialogBuilderCallback {
public:
    UiToolkit::CControlUI* CreateCustomControl(const wchar_t* tag) override;
};

class DownloadCenter : public UiToolkit::CContainerUI, public GUISpecHandler {
public:
    DownloadCenter();

    const wchar_t* ClassName() const override;
    // The main window's page receiver, and "DownloadCenter".
    LPVOID FindInterface(const wchar_t* name) override;

    void Notify(UiToolkit::TUiNotify& msg) override;
    void OnPageChanged(int) override {}

    // "正在下载（n）" and "已完成（n）" from the registry.
    void UpdateCaptions();

    UiToolkit::COptionUI* DownloadingOption() const { return downloading_btn_; }
    UiToolkit::COptionUI* DownloadedOption() const { return downloaded_btn_; }
    UiToolkit::CTabLayoutUI* Tabs() const { return tabs_; }
    // The sub-page in tab item `index`, as its receiver; none when missing.
    UiToolkit::INotifyUI* SubPage(int index) const;

private:
    bool BindControls();

    UiToolkit::CButtonUI* open_dir_btn_;
    UiToolkit::CButtonUI* back_btn_;
    UiToolkit::COptionUI* downloading_btn_;
    UiToolkit::COptionUI* downloaded_btn_;
    UiToolkit::CTabLayoutUI* tabs_;
    UiToolkit::INotifyUI* current_;
};
