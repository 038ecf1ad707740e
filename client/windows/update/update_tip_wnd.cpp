#include "client/windows/update/update_tip_wnd.h"

#include <shellapi.h>
#include <shlwapi.h>
#include <stdio.h>

#include "client/core/settings/conf_mgr.h"
#include "client/core/startup/main_window_handle.h"
#include "client/windows/dialogs/message_box_dlg.h"
#include "client/windows/dialogs/modal_dialogs.h"
#include "client/windows/main_frame_messages.h"
#include "client/windows/skin_binding.h"
#include "client/windows/update/setup_file_name.h"
#include "foundation/log/log.h"

namespace {

const wchar_t kSkin[] = L"update_tip_wnd.xml";
const wchar_t kConfirmCancel[] = L"确定取消升级吗？";
const wchar_t kFileFailedText[] = L"无法创建本地文件";
const wchar_t kNetFailedText[] = L"下载文件失败，请检查网络";
const wchar_t kSetupFailedText[] = L"无法启动安装程序";

INT_PTR ShellStartSetup(const std::wstring& path) {
    return reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(nullptr, L"open", path.c_str(), L"update", nullptr, SW_SHOW));
}

SetupStarter g_starter = ShellStartSetup;

std::wstring VersionText(const std::wstring& version) {
    return L"检测到最新版本：" + version;
}

}  // namespace

void SetSetupStarterForTests(SetupStarter starter) { g_starter = starter ? starter : ShellStartSetup; }

UpdateTipWnd::UpdateTipWnd(const std::wstring& version, const std::wstring& file_address)
    : CModalDialog(kSkin, L"update_tip_wnd"),
      file_address_(file_address),
      version_text_(VersionText(version)),
      factory_(MakeHttpUpdateSource) {}

UpdateTipWnd::~UpdateTipWnd() {
    if (download_) download_->Stop();
}

void UpdateTipWnd::OnSkinReady() {
    UiToolkit::CWindowManagerUI& m = m_manager;
    if (!BindSkinControl(blank_, m, kSkin, L"update_tip_blank", L"Control") ||
        !BindSkinControl(update_btn_, m, kSkin, L"update_tip_btn", L"Button") ||
        !BindSkinControl(progress_plane_, m, kSkin, L"update_tip_progress_plane", L"Control") ||
        !BindSkinControl(progress_, m, kSkin, L"update_tip_progress", L"Progress") ||
        !BindSkinControl(close_btn_, m, kSkin, L"update_tip_close_btn", L"Button") ||
        !BindSkinControl(version_, m, kSkin, L"update_tip_version", L"Label")) {
        // A broken skin closes the window (logged above); the client goes on.
        update_btn_ = nullptr;
        PostClose();
        return;
    }
    progress_plane_->SetVisible(false);
    version_->SetTextColor(0xFF114066);
    version_->SetText(version_text_.c_str());
}

void UpdateTipWnd::OnClickNotify(UiToolkit::TUiNotify& msg) {
    if (!msg.pSender) return;
    if (close_btn_ && msg.pSender == close_btn_) {
        // The box runs a modal loop of its own; this window stays until its
        // own loop returns, so it may be used afterwards.
        if (ShowMessageBox(m_hwnd, kConfirmCancel) != 0) return;
        if (download_) download_->Stop();
        PostClose();
    } else if (update_btn_ && msg.pSender == update_btn_ && !download_) {
        update_btn_->SetVisible(false);
        blank_->SetVisible(false);
        progress_plane_->SetVisible(true);
        StartDownload();
    }
}

void UpdateTipWnd::StartDownload() {
    std::wstring folder, path;
    ConfMgr::GetDownloadPath(&folder);
    if (!SetupFilePath(folder, file_address_, &path)) {
        log_error("%s: the setup address %ls gives no file name to write in %ls", "UpdateTipWnd::StartDownload",
                  file_address_.c_str(), folder.c_str());
        ::PostMessageW(m_hwnd, WM_UPDATE_FILE_FAILED, 0, 0);
        return;
    }
    if (!::PathIsDirectoryW(folder.c_str()) && !::CreateDirectoryW(folder.c_str(), nullptr))
        log_error("%s: CreateDirectory Error: %lu", "UpdateTipWnd::StartDownload", ::GetLastError());
    download_ = std::make_shared<UpdateDownload>(m_hwnd, file_address_, path, factory_);
    switch (download_->Start()) {
    case UpdateDownload::kStarted:
        break;
    case UpdateDownload::kFileFailed:
        ::PostMessageW(m_hwnd, WM_UPDATE_FILE_FAILED, 0, 0);
        break;
    case UpdateDownload::kNoWorker:
        ::PostMessageW(m_hwnd, WM_UPDATE_NET_FAILED, 0, 0);
        break;
    }
}

LRESULT UpdateTipWnd::OnOtherMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
    switch (msg) {
    case WM_UPDATE_PROGRESS:
        if (progress_) progress_->SetValue(static_cast<int>(wParam));
        break;
    case WM_UPDATE_DOWNLOADED:
        OnDownloaded();
        break;
    case WM_UPDATE_FILE_FAILED:
        ShowFailure(kFileFailedText);
        break;
    case WM_UPDATE_NET_FAILED:
        ShowFailure(kNetFailedText);
        break;
    default:
        return CModalDialog::OnOtherMessage(msg, wParam, lParam, handled);
    }
    handled = true;
    return 0;
}

void UpdateTipWnd::OnDownloaded() {
    // A completion posted just before a cancel was confirmed: the file is
    // gone with the stop, and nothing is to be started.
    if (!download_ || download_->Stopped()) return;
    const std::wstring path = download_->Path();
    const INT_PTR started = g_starter(path);
    if (started > 32) {
        download_->HandOver();
        log_trace("%s: started %ls update", "UpdateTipWnd::OnDownloaded", path.c_str());
        if (HWND main = MainWindowHandle()) ::PostMessageW(main, WM_QUIT_FOR_UPDATE, 0, 0);
        return;
    }
    log_error("%s: the setup %ls did not start (%d)", "UpdateTipWnd::OnDownloaded", path.c_str(),
              static_cast<int>(started));
    download_->DiscardFile();
    ShowFailure(kSetupFailedText);
}

void UpdateTipWnd::ShowFailure(const wchar_t* text) {
    // The window stays open; the user closes it.
    ShowMessageBox(m_hwnd, text);
}

LRESULT UpdateTipWnd::OnDestroy(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
    // Every road that closes the window (its close button, Escape, the
    // system close, a quit) ends the download here.
    if (download_) download_->Stop();
    return CModalDialog::OnDestroy(msg, wParam, lParam, handled);
}

void ShowUpdateTipWnd(HWND owner, const std::wstring& version, const std::wstring& file) {
    RunModalDialog(new UpdateTipWnd(version, file), owner);
}
