#include "client/windows/main/main_frame_wnd.h"

#include <wchar.h>

#include "client/core/settings/conf_mgr.h"
#include "client/core/startup/main_window_handle.h"
#include "client/core/version/version_mgr.h"
#include "client/windows/dialogs/loading_wnd.h"
#include "client/windows/dialogs/message_wnd.h"
#include "client/windows/login/login_windows.h"
#include "client/windows/main/main_frame_flags.h"
#include "client/windows/main/main_frame_texts.h"
#include "client/windows/main/page_factories.h"
#include "client/windows/main/unbuilt_page.h"
#include "client/windows/main_frame_messages.h"
#include "client/windows/menus/popup_menus.h"
#include "client/windows/pages/page_receiver.h"
#include "client/windows/skin_binding.h"
#include "client/windows/update/update_windows.h"
#include "foundation/ke/thread_single.h"
#include "foundation/log/log.h"

namespace {

const wchar_t kSkin[] = L"skin.xml";
const UINT kProgramIconId = 102;
const wchar_t kHelpAddress[] = L"http://help.vantrel.example/";

const wchar_t* const kTabButtonNames[5] = {L"necessary_switch", L"market_switch",
                                           L"uninstall_switch", L"scheme_switch", L"tools_switch"};

}  // namespace

MainFrameWnd::MainFrameWnd()
    : tab_buttons_{},
      login_btn_(nullptr),
      set_btn_(nullptr),
      min_btn_(nullptr),
      close_btn_(nullptr),
      switch_(nullptr),
      version_tips_(nullptr),
      check_update_btn_(nullptr),
      refresh_btn_(nullptr),
      download_mgr_btn_(nullptr),
      help_btn_(nullptr),
      tray_(),
      tray_added_(false),
      tray_pending_(false),
      return_tab_(0),
      page_receiver_(nullptr),
      start_up_jobs_(true) {
    PublishMainManager(&m_manager);
}

MainFrameWnd::~MainFrameWnd() {
    RemoveTrayIcon();
    if (MainManager() == &m_manager) PublishMainManager(nullptr);
}

const wchar_t* MainFrameWnd::WindowClassName() const { return L"MainFrameWnd_Vantrel_QARVO"; }
const wchar_t* MainFrameWnd::SkinFolder() const { return L""; }
const wchar_t* MainFrameWnd::SkinFile() const { return kSkin; }

// Enter and Escape never close the main window.
bool MainFrameWnd::OnDialogKey(WPARAM) { return false; }

// Tab 0's page is built with the skin; the others wait in a stand-in until
// PageOfTab needs them.
UiToolkit::CControlUI* MainFrameWnd::CreateCustomControl(const wchar_t* tag) {
    if (!tag) return nullptr;
    for (int tab = 1; tab < kTabCount; ++tab) {
        if (wcscmp(tag, kMainFramePageTags[tab]) == 0) return new UnbuiltPage(tag);
    }
    return CreatePage(tag);
}

UiToolkit::CControlUI* MainFrameWnd::CreatePage(const wchar_t* tag) { return CreateMainFramePage(tag); }

bool MainFrameWnd::BindControls() {
    UiToolkit::CWindowManagerUI& m = m_manager;
    for (int i = 0; i < 5; ++i) {
        if (!BindSkinControl(tab_buttons_[i], m, kSkin, kTabButtonNames[i], L"Option")) return false;
    }
    return BindSkinControl(login_btn_, m, kSkin, L"login_btn", L"Button") &&
           BindSkinControl(set_btn_, m, kSkin, L"set_btn", L"Button") &&
           BindSkinControl(min_btn_, m, kSkin, L"min_btn", L"Button") &&
           BindSkinControl(close_btn_, m, kSkin, L"close_btn", L"Button") &&
           BindSkinControl(switch_, m, kSkin, L"switch", L"TabLayout") &&
           BindSkinControl(version_tips_, m, kSkin, L"version_tips", L"Button") &&
           BindSkinControl(check_update_btn_, m, kSkin, L"check_update_btn", L"Button") &&
           BindSkinControl(refresh_btn_, m, kSkin, L"refresh_btn", L"Button") &&
           BindSkinControl(download_mgr_btn_, m, kSkin, L"download_mgr_btn", L"Button") &&
           BindSkinControl(help_btn_, m, kSkin, L"help_btn", L"Button");
}

void MainFrameWnd::OnSkinReady() {
    if (!BindControls()) {
        FailSkin();
        return;
    }
    PublishMainWindow(m_hwnd);
    bool auto_login = false;
    if (ConfMgr::GetAutoLogin(&auto_login) && auto_login) {
        login_btn_->SetEnabled(false);
        StartAutoLogin(kAutoLoginAtStartUp);
    }
    tray_pending_ = true;
}

LRESULT MainFrameWnd::PaintThenAddTrayIcon(WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!m_manager.HandleWindowMessage(WM_PAINT, wParam, lParam, result))
        result = ::DefWindowProcW(m_hwnd, WM_PAINT, wParam, lParam);
    if (tray_pending_) {
        tray_pending_ = false;
        AddTrayIcon();
    }
    return result;
}

void MainFrameWnd::AddTrayIcon() {
    tray_.cbSize = sizeof(tray_);
    tray_.hWnd = m_hwnd;
    tray_.uID = 0;
    tray_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    tray_.uCallbackMessage = WM_TRAY_NOTIFY;
    tray_.hIcon = ::LoadIconW(UiToolkit::CWindowManagerUI::GetInstance(),
                              MAKEINTRESOURCEW(kProgramIconId));
    wcsncpy(tray_.szTip, L"Kelvora", sizeof(tray_.szTip) / sizeof(tray_.szTip[0]) - 1);
    tray_added_ = ::Shell_NotifyIconW(NIM_ADD, &tray_) != FALSE;
    if (!tray_added_) log_error("%s: the tray icon could not be added", "MainFrameWnd::AddTrayIcon");
}

void MainFrameWnd::RemoveTrayIcon() {
    tray_pending_ = false;
    if (!tray_added_) return;
    ::Shell_NotifyIconW(NIM_DELETE, &tray_);
    tray_added_ = false;
}

void MainFrameWnd::HideToTray() {
    ::ShowWindow(m_hwnd, SW_HIDE);
    MainFrameFlags::SetShown(false);
}

void MainFrameWnd::QuitMessageLoop() {
    RemoveTrayIcon();
    ::PostQuitMessage(0);
}

// Every close hides: the window and its loop live on in the tray.
LRESULT MainFrameWnd::OnClose(UINT, WPARAM, LPARAM, bool& handled) {
    HideToTray();
    handled = true;
    return 0;
}

// An icon must not outlive its window.
LRESULT MainFrameWnd::OnDestroy(UINT, WPARAM, LPARAM, bool& handled) {
    RemoveTrayIcon();
    handled = false;
    return 0;
}

namespace {

UiToolkit::IContainerUI* TabItem(UiToolkit::CTabLayoutUI* tabs, int tab) {
    if (!tabs || tab < 0 || tab >= tabs->GetCount()) return nullptr;
    UiToolkit::CControlUI* item = tabs->GetItemAt(tab);
    return item ? static_cast<UiToolkit::IContainerUI*>(item->FindInterface(L"IContainer")) : nullptr;
}

UnbuiltPage* UnbuiltPageOf(UiToolkit::IContainerUI* holder) {
    UiToolkit::CControlUI* first = holder && holder->GetCount() > 0 ? holder->GetItemAt(0) : nullptr;
    return first ? static_cast<UnbuiltPage*>(first->FindInterface(L"UnbuiltPage")) : nullptr;
}

}  // namespace

bool MainFrameWnd::PageBuilt(int tab) const {
    UiToolkit::IContainerUI* holder = TabItem(switch_, tab);
    return holder && holder->GetCount() > 0 && !UnbuiltPageOf(holder);
}

UiToolkit::CControlUI* MainFrameWnd::PageOfTab(int tab) {
    UiToolkit::IContainerUI* holder = TabItem(switch_, tab);
    if (!holder) return nullptr;
    if (UnbuiltPage* stand_in = UnbuiltPageOf(holder)) {
        UiToolkit::CControlUI* page = CreatePage(stand_in->Tag().GetData());
        if (!page) {
            log_error("%s: no page for %ls", "MainFrameWnd::PageOfTab", stand_in->Tag().GetData());
            return nullptr;
        }
        // In the stand-in's place: the item lays out and shows it as it
        // would have the page built with the skin.
        holder->RemoveAt(0);
        holder->AddAt(page, 0);
        return page;
    }
    return holder->GetCount() > 0 ? holder->GetItemAt(0) : nullptr;
}

void MainFrameWnd::SwitchToTab(int tab) {
    if (!switch_) return;
    refresh_btn_->SetVisible(tab == kNecessaryTab || tab == kMarketTab || tab == kSchemeTab ||
                             tab == kToolsTab);
    UiToolkit::INotifyUI* receiver = PageReceiverOf(PageOfTab(tab));
    const int selected = switch_->GetCurSel();
    if (tab == kUninstallTab) {
        if (!receiver) return;
    } else if (tab == kDownloadCenterTab) {
        if (selected != kDownloadCenterTab) return_tab_ = selected;
    } else if (tab != selected) {
        return_tab_ = tab;
    }
    if (!receiver) return;
    // Exactly one page receives the main manager's notifications.
    if (page_receiver_) m_manager.RemoveNotifyReceiver(page_receiver_);
    m_manager.AddNotifyReceiver(receiver);
    page_receiver_ = receiver;
}

void MainFrameWnd::ShowTab(int tab) {
    SwitchToTab(tab);
    if (!switch_) return;
    switch_->SelectItem(tab);
    MarkTabButton(tab);
}

// The tab buttons follow the shown tab: its own button is selected, none
// for the download centre and the home page, which have no button. Quietly:
// SwitchToTab has prepared the page, and a catalogue page takes a
// "selectchanged" for its first showing and loads.
void MainFrameWnd::MarkTabButton(int tab) {
    if (tab >= 0 && tab < 5) {
        tab_buttons_[tab]->SetSelectedQuietly(true);
        return;
    }
    for (UiToolkit::COptionUI* button : tab_buttons_) button->SetSelectedQuietly(false);
}

void MainFrameWnd::Notify(UiToolkit::TUiNotify& msg) {
    if (msg.sType == UI_NOTIFY_WINDOWINIT) {
        OnWindowInit();
    } else if (msg.sType == L"back_from_download_page") {
        const int back = return_tab_;
        SwitchToTab(back);
        if (back >= 0 && switch_) {
            switch_->SelectItem(back);
            MarkTabButton(back);
        }
    } else if (msg.sType == L"refresh_content_collect_soft" ||
               msg.sType == L"refresh_content_scheme_soft") {
        // A shown home page has this very notification from the manager;
        // handing it on as well would deliver it twice.
        UiToolkit::INotifyUI* home = PageReceiverOf(PageOfTab(kHomeTab));
        if (home && home != page_receiver_) home->Notify(msg);
    } else if (msg.sType == L"switch_back_to_homepage") {
        ShowTab(kHomeTab);
        MainFrameFlags::SetOpenedFromHome(false);
    } else {
        WindowImplBase::Notify(msg);
    }
}

void MainFrameWnd::OnClickNotify(UiToolkit::TUiNotify& msg) {
    UiToolkit::CControlUI* sender = msg.pSender;
    if (!sender) return;
    if (sender == close_btn_) {
        HideToTray();
    } else if (sender == min_btn_) {
        ::SendMessageW(m_hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else if (sender == login_btn_) {
        UiToolkit::CUiString text = login_btn_->GetText();
        if (text == MainFrameTexts::kLogin)
            ShowLoginDialog();
        else if (text == MainFrameTexts::kMyHome)
            ShowTab(kHomeTab);
    } else if (sender == download_mgr_btn_) {
        ShowTab(kDownloadCenterTab);
    } else if (sender == set_btn_) {
        ShowSettingMenu(m_hwnd, msg.ptMouse);
    } else if (sender == refresh_btn_) {
        m_manager.EmitNotify(refresh_btn_, L"refresh_content", 0, 0, true);
    } else if (sender == check_update_btn_) {
        CheckUpdate();
    } else if (sender == help_btn_) {
        ::ShellExecuteW(nullptr, L"open", L"explorer.exe", kHelpAddress, nullptr, SW_SHOW);
    } else {
        for (int tab = 0; tab < 5; ++tab) {
            if (sender != tab_buttons_[tab]) continue;
            // The user left the home page's road: catalogue back buttons
            // stay in the catalogue from now on.
            MainFrameFlags::SetOpenedFromHome(false);
            if (SelectedTab() == tab) return;
            // The button selects itself after this click, with the
            // "selectchanged" that the page's first showing loads on.
            SwitchToTab(tab);
            switch_->SelectItem(tab);
            return;
        }
    }
}

void MainFrameWnd::OnWindowInit() {
    version_tips_->SetDisabledTextColor(0xFF69696B);
    version_tips_->Invalidate();
    version_tips_->SetEnabled(false);
    version_tips_->SetText(MainFrameTexts::kCheckingVersion);
    if (start_up_jobs_) StartUpdateCheckJob();
    // Tab 0 is the skin's selected tab. Its page is registered now and so
    // receives this same "windowinit" next, which loads its first page.
    SwitchToTab(kNecessaryTab);
}

void MainFrameWnd::StartUpdateCheckJob() {
    HWND hwnd = m_hwnd;
    auto job = [hwnd]() {
        UpdateCheckResult* result = new UpdateCheckResult;
        if (!VersionMgr::IsCheckRunning())
            VersionMgr::CheckUpdate(&result->product_file, &result->product_version,
                                    &result->newer);
        if (!::PostMessageW(hwnd, WM_UPDATE_CHECKED, result->newer ? 1 : 0,
                            reinterpret_cast<LPARAM>(result)))
            delete result;
    };
    if (!ke::run_detached(job)) {
        // The database refresh follows the check's answer: answer "current".
        log_error("%s: no worker for the update check", "MainFrameWnd::StartUpdateCheckJob");
        ::PostMessageW(hwnd, WM_UPDATE_CHECKED, 0, reinterpret_cast<LPARAM>(new UpdateCheckResult));
    }
}

namespace {

void DownloadVdbJob(HWND hwnd) {
    bool ready = VersionMgr::DownloadVDB();
    if (!ready) log_error("%s: download vdb failed", "DownloadVdbJob");
    ::PostMessageW(hwnd, WM_VDB_DOWNLOADED, ready ? 1 : 0, 0);
}

}  // namespace

void MainFrameWnd::StartVdbJob() {
    HWND hwnd = m_hwnd;
    if (!ke::run_detached([hwnd]() { DownloadVdbJob(hwnd); })) {
        // The installed-programs scan waits for the database's outcome.
        log_error("%s: no worker for the database refresh", "MainFrameWnd::StartVdbJob");
        VersionMgr::SetDbState(VersionMgr::kDbFailed);
        ::PostMessageW(hwnd, WM_VDB_DOWNLOADED, 0, 0);
    }
}

void MainFrameWnd::CheckUpdate() {
    if (VersionMgr::IsCheckRunning()) return;
    struct Answer {
        bool ok = false;
        bool newer = false;
        std::wstring file, version;
    } answer;
    bool closed = RunInLoadingWnd(m_hwnd, [&answer]() {
        answer.ok = VersionMgr::CheckUpdate(&answer.file, &answer.version, &answer.newer);
    });
    if (!closed) return;  // the client is quitting
    if (answer.ok && answer.newer)
        ShowUpdateTipWnd(m_hwnd, answer.version, answer.file);
    else if (answer.ok)
        ShowMessageWnd(m_hwnd, MainFrameTexts::kAlreadyLatest);
    else
        ShowMessageWnd(m_hwnd, MainFrameTexts::kNetworkUnavailable);
}
