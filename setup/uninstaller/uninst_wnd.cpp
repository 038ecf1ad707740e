#include "setup/uninstaller/uninst_wnd.h"

#include "foundation/ke/thread_single.h"
#include "setup/common/progress_sweep.h"
#include "setup/common/setup_boxes.h"
#include "setup/common/setup_constants.h"
#include "setup/uninstaller/removal.h"

using namespace UiToolkit;

namespace {
const UINT kProgressTimerId = 100;
const UINT kProgressTimerMs = 500;
const wchar_t kCancelQuestion[] = L"确认取消卸载么？";
}  // namespace

UninstWnd::UninstWnd()
    : m_done(false),
      m_working(false),
      m_tipsBtn(nullptr),
      m_uninstallBtn(nullptr),
      m_closeBtn(nullptr),
      m_progress(nullptr),
      m_completeBtn(nullptr),
      m_plane1(nullptr),
      m_plane2(nullptr) {}

const wchar_t* UninstWnd::WindowClassName() const { return L"MainFrameWnd_Uninstaller_QARVO"; }
const wchar_t* UninstWnd::SkinFile() const { return L"skin.xml"; }

void UninstWnd::OnSkinReady() {
    m_done = false;
    m_tipsBtn = FindSkinControl<CButtonUI>(m_manager, L"tips_btn", L"Button");
    m_uninstallBtn = FindSkinControl<CButtonUI>(m_manager, L"uninstall_btn", L"Button");
    m_closeBtn = FindSkinControl<CButtonUI>(m_manager, L"close_btn", L"Button");
    m_progress = FindSkinControl<CProgressUI>(m_manager, L"uninst_progress", L"Progress");
    m_completeBtn = FindSkinControl<CButtonUI>(m_manager, L"complete_btn", L"Button");
    m_plane1 = m_manager.FindControl(L"plane1");
    m_plane2 = m_manager.FindControl(L"plane2");
    if (m_completeBtn) m_completeBtn->SetEnabled(false);
}

void UninstWnd::Notify(TUiNotify& msg) {
    if (msg.sType == UI_NOTIFY_TIMER && msg.pSender && msg.pSender == m_progress)
        m_progress->SetValue(NextSweepValue(m_progress->GetValue()));
    SetupWindow::Notify(msg);
}

void UninstWnd::OnClickNotify(TUiNotify& msg) {
    if (!msg.pSender) return;
    if (msg.pSender == m_closeBtn) {
        RequestClose();
    } else if (msg.pSender == m_uninstallBtn) {
        StartUninstall();
    } else if (msg.pSender == m_completeBtn) {
        PostQuitMessage(0);
    }
}

void UninstWnd::OnCloseRequest() {
    // While the work runs there is nothing to cancel: the removal goes on.
    if (!m_working) ConfirmCancel();
}

void UninstWnd::ConfirmCancel() {
    if (m_done) {
        PostQuitMessage(0);
        return;
    }
    if (AskOkCancel(m_hwnd, kCancelQuestion)) PostQuitMessage(0);
}

void UninstWnd::StartUninstall() {
    if (m_working || m_done) return;
    m_working = true;
    if (m_plane1) m_plane1->SetVisible(false);
    if (m_plane2) m_plane2->SetVisible(true);
    // Hidden until the done page: a cancel question now would end the window
    // while the removal goes on.
    if (m_closeBtn) m_closeBtn->SetVisible(false);
    if (m_progress) m_manager.StartTimer(m_progress, kProgressTimerId, kProgressTimerMs);
    if (m_tipsBtn) m_tipsBtn->SetText(L"正在卸载...");
    HWND window = m_hwnd;
    const bool started = ke::run_detached([window]() {
        PostMessageW(window, RunUninstallPackage() ? WM_SETUP_DONE : WM_SETUP_FAILED, 0, 0);
    });
    // A worker that cannot start is a failure, not an endless progress page.
    if (!started) PostMessageW(m_hwnd, WM_SETUP_FAILED, 0, 0);
}

void UninstWnd::ShowOutcome(const wchar_t* text) {
    if (m_progress) {
        m_manager.StopTimers(m_progress);
        m_progress->SetValue(100);
    }
    if (m_completeBtn) m_completeBtn->SetEnabled(true);
    if (m_tipsBtn) m_tipsBtn->SetText(text);
    if (m_closeBtn) m_closeBtn->SetVisible(true);
    m_done = true;
    m_working = false;
}

LRESULT UninstWnd::OnOtherMessage(UINT msg, WPARAM, LPARAM, bool& handled) {
    if (msg == WM_SETUP_DONE) {
        ShowOutcome(L"卸载完成");
    } else if (msg == WM_SETUP_FAILED) {
        ShowOutcome(L"卸载出错");
    } else {
        handled = false;
        return 0;
    }
    handled = true;
    return 0;
}
