// The main window's dispatcher: every private message of the main window
// becomes a direct notification, a broadcast or an action of its own, as
// message_table.cpp says. Objects named in lParam are reached only while
// they are registered live targets; a message for one that is gone is
// dropped and its record freed.
#include <stdio.h>

#include "client/core/catalogue/soft_info_mgr.h"
#include "client/core/reports/login_session.h"
#include "client/core/settings/conf_mgr.h"
#include "client/core/user_services/collect.h"
#include "client/core/utilities/local_date.h"
#include "client/windows/dialogs/about_dialog.h"
#include "client/windows/dialogs/message_wnd.h"
#include "client/windows/favourites/add_to_scheme.h"
#include "client/windows/main/main_frame_flags.h"
#include "client/windows/main/main_frame_texts.h"
#include "client/windows/main/main_frame_wnd.h"
#include "client/windows/main_frame_messages.h"
#include "client/windows/menus/popup_menus.h"
#include "client/windows/pages/page_receiver.h"
#include "client/windows/settings/settings_windows.h"
#include "client/windows/update/update_windows.h"
#include "foundation/log/log.h"

LRESULT MainFrameWnd::OnOtherMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
    if (msg == WM_PAINT && tray_pending_) {
        handled = true;
        return PaintThenAddTrayIcon(wParam, lParam);
    }
    const MessageRow* row = FindMessageRow(msg);
    if (!row) return 0;  // not ours, or a reserved number: no effect
    switch (row->action) {
    case MessageAction::kDirect:
        DeliverDirect(*row, wParam, lParam);
        handled = true;
        break;
    case MessageAction::kBroadcast:
        handled = Broadcast(*row, wParam, lParam);
        break;
    case MessageAction::kOwn:
        handled = HandleOwn(*row, wParam, lParam);
        break;
    }
    return 0;
}

void MainFrameWnd::DropMessage(const MessageRow& row, WPARAM wParam, LPARAM lParam,
                               const char* why) {
    FreeMessageRecord(row.record, wParam, lParam);
    log_trace("%s: %s dropped: %s", "MainFrameWnd::OnOtherMessage", row.name, why);
}

void MainFrameWnd::DeliverDirect(const MessageRow& row, WPARAM wParam, LPARAM lParam) {
    LiveTarget target;
    if (!lParam) {
        DropMessage(row, wParam, lParam, "no target");
        return;
    }
    if (!LiveTargets::Find(reinterpret_cast<const void*>(lParam), row.target, &target) ||
        !target.receiver) {
        DropMessage(row, wParam, lParam, "the target is gone");
        return;
    }
    UiToolkit::TUiNotify note;
    note.sType = row.notification;
    note.pSender = target.control;
    note.dwTimestamp = row.stamped ? ::GetTickCount() : 0;
    note.wParam = wParam;
    note.lParam = 0;
    target.receiver->Notify(note);
}

bool MainFrameWnd::Broadcast(const MessageRow& row, WPARAM wParam, LPARAM lParam) {
    if (row.has_target &&
        (!lParam || !LiveTargets::Find(reinterpret_cast<const void*>(lParam), row.target, nullptr))) {
        DropMessage(row, wParam, lParam, lParam ? "the row is gone" : "no row");
        return true;
    }
    QueueBroadcast(row.notification, wParam, lParam);
    return row.sets_handled;
}

void MainFrameWnd::QueueBroadcast(const wchar_t* name, WPARAM wParam, LPARAM lParam) {
    m_manager.EmitNotify(help_btn_, name, wParam, lParam, true);
    // The manager delivers what is queued when the window handles its next
    // message: make that now, not at the next mouse move.
    ::PostMessageW(m_hwnd, WM_NULL, 0, 0);
}

bool MainFrameWnd::HandleOwn(const MessageRow& row, WPARAM wParam, LPARAM lParam) {
    switch (row.number) {
    case WM_TRAY_NOTIFY:
        return OnTrayNotify(lParam);
    case WM_MENU_COMMAND:
        return OnMenuCommand(lParam);
    case WM_LOGOUT:
        OnLogout();
        return true;
    case WM_LOGIN_SUCCEEDED:
        OnLoginSucceeded(wParam, lParam);
        return true;
    case WM_LOGIN_POST:
        login_btn_->SetText(MainFrameTexts::kMyHome);
        AnnounceLogin(wParam, lParam);
        return true;
    case WM_AUTO_LOGIN_DONE:
        OnAutoLoginDone();
        return true;
    case WM_CLICK_DETAIL_ON_COLLECT:
    case WM_CLICK_DETAIL_ON_SCHEME:
        // The market page is the receiver when the queued broadcast arrives.
        ShowTab(kMarketTab);
        QueueBroadcast(row.notification, wParam, lParam);
        return true;
    case WM_ADD_TO_SCHEME:
        OnAddToScheme(static_cast<int>(lParam));
        return true;
    case WM_SOFT_ICON_READY:
    case WM_TYPE_ICON_READY:
        OnIconPathReady(row, wParam, lParam);
        return true;
    case WM_COLLECT_ICON_READY:
    case WM_SCHEME_SOFT_ICON_READY:
        OnCachedIconReady(static_cast<int>(wParam), lParam);
        return true;
    case WM_UPDATE_CHECKED:
        OnUpdateChecked(lParam);
        return true;
    case WM_VDB_DOWNLOADED:
        OnVdbDownloaded(wParam != 0);
        return true;
    case WM_QUIT_FOR_UPDATE:
        QuitMessageLoop();
        return true;
    }
    return false;
}

bool MainFrameWnd::OnTrayNotify(LPARAM mouse_message) {
    if (mouse_message == WM_LBUTTONDOWN) {
        const bool shown = !MainFrameFlags::Shown();
        MainFrameFlags::SetShown(shown);
        ::ShowWindow(m_hwnd, shown ? SW_SHOWNORMAL : SW_HIDE);
        return true;
    }
    if (mouse_message == WM_RBUTTONDOWN) {
        POINT cursor = {0, 0};
        ::GetCursorPos(&cursor);
        ShowTrayMenu(m_hwnd, cursor);
        return true;
    }
    return false;
}

bool MainFrameWnd::OnMenuCommand(LPARAM command) {
    switch (command) {
    case kMenuCommandSetting:
    case kMenuCommandAbout:
        // The tray menu stays reachable while a dialog is open: one modal
        // window at a time, so a second one is not opened over the first.
        if (UiToolkit::CWindowWnd::OpenModalCount() > 0) {
            log_trace("%s: menu command %d ignored: a dialog is open", "MainFrameWnd::OnMenuCommand",
                      static_cast<int>(command));
            return true;
        }
        if (command == kMenuCommandSetting)
            ShowSettingDialog(m_hwnd);
        else
            ShowAboutDialog(m_hwnd);
        return true;
    case kMenuCommandOpen:
        ::ShowWindow(m_hwnd, SW_SHOW);
        MainFrameFlags::SetShown(true);
        return true;
    case kMenuCommandTrayExit:
        QuitMessageLoop();
        return true;
    }
    return false;
}

void MainFrameWnd::OnLogout() {
    MainFrameFlags::SetLoginAnnounced(false);
    LoginSession::Instance().set_state(LoginSession::kLoggedOut);
    // Synchronous: the shown page, the home page, hears it at once.
    m_manager.EmitNotify(nullptr, L"logout", 0, 0, false);
    ShowTab(kNecessaryTab);
    login_btn_->SetText(MainFrameTexts::kLogin);
    Collect::ClearAll();
}

void MainFrameWnd::AnnounceLogin(WPARAM wParam, LPARAM lParam) {
    QueueBroadcast(L"login_post", wParam, lParam);
}

void MainFrameWnd::OnLoginSucceeded(WPARAM wParam, LPARAM lParam) {
    ShowTab(kHomeTab);
    if (LoginSession::Instance().state() != LoginSession::kLoggedIn ||
        MainFrameFlags::LoginAnnounced())
        return;
    MainFrameFlags::SetLoginAnnounced(true);
    bool auto_login = false;
    if (ConfMgr::GetAutoLogin(&auto_login) && auto_login) {
        login_btn_->SetText(MainFrameTexts::kMyHome);
        AnnounceLogin(wParam, lParam);
    }
}

void MainFrameWnd::OnAutoLoginDone() {
    const bool logged_in = LoginSession::Instance().state() == LoginSession::kLoggedIn;
    if (logged_in && !login_btn_->IsEnabled()) login_btn_->SetText(MainFrameTexts::kMyHome);
    login_btn_->SetEnabled(true);
    // Announced like a dialog login, so the home page greets the user, but
    // the shown tab stays: the home page hears it directly, as a broadcast
    // reaches only the shown page.
    if (!logged_in || MainFrameFlags::LoginAnnounced()) return;
    MainFrameFlags::SetLoginAnnounced(true);
    UiToolkit::INotifyUI* home = PageReceiverOf(PageOfTab(kHomeTab));
    if (!home) return;
    UiToolkit::TUiNotify note;
    note.sType = L"login_post";
    note.pSender = help_btn_;
    note.dwTimestamp = ::GetTickCount();
    note.wParam = 0;
    note.lParam = 0;
    home->Notify(note);
}

void MainFrameWnd::OnAddToScheme(int soft_id) {
    if (LoginSession::Instance().state() != LoginSession::kLoggedIn)
        ShowMessageWnd(m_hwnd, MainFrameTexts::kPleaseLogIn);
    else
        RunAddToScheme(soft_id);
}

void MainFrameWnd::OnIconPathReady(const MessageRow& row, WPARAM wParam, LPARAM lParam) {
    const std::wstring* path = IconPathParam(wParam);
    LiveTarget target;
    if (lParam && LiveTargets::Find(reinterpret_cast<const void*>(lParam), row.target, &target)) {
        if (path && target.icon) target.icon->ShowIconPath(path->c_str());
    } else if (lParam) {
        log_trace("%s: %s dropped: the row is gone", "MainFrameWnd::OnOtherMessage", row.name);
    }
    FreeMessageRecord(row.record, wParam, lParam);
}

void MainFrameWnd::OnCachedIconReady(int soft_id, LPARAM control) {
    if (!control) return;
    LiveTarget target;
    if (!LiveTargets::Find(reinterpret_cast<const void*>(control), TargetClass::kIconControl,
                           &target) ||
        !target.control) {
        log_trace("%s: icon of soft %d dropped: the row is gone", "MainFrameWnd::OnOtherMessage",
                  soft_id);
        return;
    }
    SoftwarePtr soft = SoftInfoMgr::Instance().GetSoft(soft_id);
    if (!soft) return;
    std::wstring path = SoftInfoMgr::Instance().GetIconPath(*soft);
    if (!path.empty()) target.control->SetBkImage(path.c_str());
}

void MainFrameWnd::OnUpdateChecked(LPARAM record) {
    UpdateCheckResult* result = reinterpret_cast<UpdateCheckResult*>(record);
    if (result && result->newer)
        ShowUpdateTipWnd(m_hwnd, result->product_version, result->product_file);
    version_tips_->SetText(MainFrameTexts::kLoadingVersionDb);
    StartVdbJob();
    delete result;
}

void MainFrameWnd::OnVdbDownloaded(bool ready) {
    if (!ready) {
        version_tips_->SetText(MainFrameTexts::kVersionDbFailed);
        return;
    }
    LocalDate today = {};
    GetLocalDate(&today);
    wchar_t text[64];
    swprintf(text, sizeof(text) / sizeof(text[0]), MainFrameTexts::kVersionDbDateFormat, today.year,
             today.month, today.day);
    version_tips_->SetText(text);
}
