#pragma once
// The client's main window: the skinned window of "skin.xml" with the tab
// buttons, the seven pages, the status bar and the tray icon. It turns the
// workers' messages into notifications (main_frame_dispatch.cpp), keeps
// exactly one page registered as receiver (the shown tab's), and drives the
// start-up jobs: the self-update check, then the version-database refresh,
// and the auto-login when it is configured.
//
// Closing it, by its close button, Alt+F4 or another program's WM_CLOSE,
// hides it to the tray; the message loop ends only through the tray menu's
// exit (also sent by "shutdown") or a quit for an update.
#include <windows.h>
#include <shellapi.h>

#include "client/windows/main/message_table.h"
#include "uitoolkit/controls/button.h"
#include "uitoolkit/controls/option.h"
#include "uitoolkit/layouts/tab_layout.h"
#include "uitoolkit/window/window_impl_base.h"

class MainFrameWnd : public UiToolkit::WindowImplBase {
public:
    static const int kTabCount = 7;
    enum Tab {
        kNecessaryTab = 0,
        kMarketTab = 1,
        kUninstallTab = 2,
        kSchemeTab = 3,
        kToolsTab = 4,
        kDownloadCenterTab = 5,
        kHomeTab = 6,
    };

    MainFrameWnd();
    ~MainFrameWnd() override;

    // Prepares tab `tab` (refresh button, return tab, page receiver); the
    // caller then selects it. ShowTab does both.
    void SwitchToTab(int tab);
    void ShowTab(int tab);
    void CheckUpdate();

    // INotifyUI, IDialogBuilderCallback.
    void Notify(UiToolkit::TUiNotify& msg) override;
    UiToolkit::CControlUI* CreateCustomControl(const wchar_t* tag) override;

    // For tests and for the pages' own use.
    UiToolkit::INotifyUI* PageReceiver() const { return page_receiver_; }
    int ReturnTab() const { return return_tab_; }
    int SelectedTab() const { return switch_ ? switch_->GetCurSel() : -1; }
    // The page of a tab. Only tab 0, shown at start, is built with the
    // window; another tab's page is built here, the first time it is asked
    // for (shown, or told something while hidden).
    UiToolkit::CControlUI* PageOfTab(int tab);
    // Whether the page of a tab has been built yet.
    bool PageBuilt(int tab) const;
    bool TrayIconAdded() const { return tray_added_; }

protected:
    const wchar_t* WindowClassName() const override;
    void OnSkinReady() override;
    void OnClickNotify(UiToolkit::TUiNotify& msg) override;
    const wchar_t* SkinFolder() const override;
    const wchar_t* SkinFile() const override;
    bool OnDialogKey(WPARAM key) override;
    LRESULT OnClose(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;
    LRESULT OnDestroy(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;
    LRESULT OnOtherMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;

    // A new page for a page tag (the factories of page_factories.cpp);
    // tests give pages of their own.
    virtual UiToolkit::CControlUI* CreatePage(const wchar_t* tag);

    // Test seam: the start-up jobs (update check, then database refresh)
    // run unless a test turns them off before the window is created.
    void SetStartUpJobsEnabled(bool on) { start_up_jobs_ = on; }

private:
    bool BindControls();
    void MarkTabButton(int tab);
    void OnWindowInit();
    void AddTrayIcon();
    void RemoveTrayIcon();
    void HideToTray();
    void StartUpdateCheckJob();
    void StartVdbJob();

    // Dispatcher parts (main_frame_dispatch.cpp).
    void DeliverDirect(const MessageRow& row, WPARAM wParam, LPARAM lParam);
    bool Broadcast(const MessageRow& row, WPARAM wParam, LPARAM lParam);
    bool HandleOwn(const MessageRow& row, WPARAM wParam, LPARAM lParam);
    void DropMessage(const MessageRow& row, WPARAM wParam, LPARAM lParam, const char* why);
    bool OnTrayNotify(LPARAM mouse_message);
    bool OnMenuCommand(LPARAM command);
    void OnLogout();
    void OnLoginSucceeded(WPARAM wParam, LPARAM lParam);
    void AnnounceLogin(WPARAM wParam, LPARAM lParam);
    void QueueBroadcast(const wchar_t* name, WPARAM wParam, LPARAM lParam);
    void OnAutoLoginDone();
    void OnAddToScheme(int soft_id);
    void OnIconPathReady(const MessageRow& row, WPARAM wParam, LPARAM lParam);
    void OnCachedIconReady(int soft_id, LPARAM control);
    void OnUpdateChecked(LPARAM record);
    void OnVdbDownloaded(bool ready);
    void QuitMessageLoop();

    UiToolkit::COptionUI* tab_buttons_[5];
    UiToolkit::CButtonUI* login_btn_;
    UiToolkit::CButtonUI* set_btn_;
    UiToolkit::CButtonUI* min_btn_;
    UiToolkit::CButtonUI* close_btn_;
    UiToolkit::CTabLayoutUI* switch_;
    UiToolkit::CButtonUI* version_tips_;
    UiToolkit::CButtonUI* check_update_btn_;
    UiToolkit::CButtonUI* refresh_btn_;
    UiToolkit::CButtonUI* download_mgr_btn_;
    UiToolkit::CButtonUI* help_btn_;

    NOTIFYICONDATAW tray_;
    bool tray_added_;
    // The icon is added once the first paint is on the screen: the shell's
    // tray costs a round trip that the first picture does not need.
    bool tray_pending_;
    int return_tab_;
    UiToolkit::INotifyUI* page_receiver_;
    bool start_up_jobs_;
    LRESULT PaintThenAddTrayIcon(WPARAM wParam, LPARAM lParam);
};
