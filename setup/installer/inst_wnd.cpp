#include "setup/installer/inst_wnd.h"

#include <shlobj.h>

#include "foundation/ke/thread_single.h"
#include "setup/common/folder_paths.h"
#include "setup/common/progress_sweep.h"
#include "setup/common/setup_boxes.h"
#include "setup/common/setup_constants.h"
#include "setup/installer/agreement_wnd.h"
#include "setup/installer/install_folder.h"
#include "setup/installer/install_package.h"

using namespace UiToolkit;

namespace {
const UINT kProgressTimerId = 100;
const UINT kProgressTimerMs = 500;
const wchar_t kInvalidFolderText[] = L"请填写有效路径";
const wchar_t kQuitQuestion[] = L"确认退出安装么？";
const wchar_t kInstallFailedText[] = L"安装失败";
}  // namespace

InstWnd::InstWnd(bool update_mode, const std::wstring& registry_folder,
                 std::wstring* output_folder, bool* done)
    : m_updateMode(update_mode),
      m_registryFolder(registry_folder),
      m_outputFolder(output_folder),
      m_done(done),
      m_working(false),
      m_selectPathBtn(nullptr),
      m_installPathEdit(nullptr),
      m_installBtn(nullptr),
      m_agreementTextBtn(nullptr),
      m_agreeCheckbox(nullptr),
      m_plane1(nullptr),
      m_plane2(nullptr),
      m_progress(nullptr),
      m_closeBtn(nullptr) {}

const wchar_t* InstWnd::WindowClassName() const { return L"MainFrameWnd_Installer_QARVO"; }
const wchar_t* InstWnd::SkinFile() const { return L"skin.xml"; }

void InstWnd::OnSkinReady() {
    m_selectPathBtn = FindSkinControl<CButtonUI>(m_manager, L"select_path_btn", L"Button");
    m_installPathEdit = FindSkinControl<CEditUI>(m_manager, L"install_path_edit", L"Edit");
    m_installBtn = FindSkinControl<CButtonUI>(m_manager, L"install_btn", L"Button");
    m_agreementTextBtn = FindSkinControl<CButtonUI>(m_manager, L"agreement_text_btn", L"Button");
    m_agreeCheckbox = FindSkinControl<COptionUI>(m_manager, L"agree_agreement_checkbox", L"Option");
    m_plane1 = m_manager.FindControl(L"plane1");
    m_plane2 = m_manager.FindControl(L"plane2");
    m_progress = FindSkinControl<CProgressUI>(m_manager, L"inst_progress", L"Progress");
    m_closeBtn = FindSkinControl<CButtonUI>(m_manager, L"close_btn", L"Button");
    if (!m_installPathEdit) return;
    if (m_updateMode) {
        m_installPathEdit->SetText(m_registryFolder.c_str());
        return;
    }
    wchar_t program_files[MAX_PATH] = {};
    if (SHGetSpecialFolderPathW(nullptr, program_files, CSIDL_PROGRAM_FILES, FALSE))
        m_installPathEdit->SetText(JoinPath(program_files, kProductFolderName).c_str());
}

void InstWnd::Notify(TUiNotify& msg) {
    SetupWindow::Notify(msg);
    if (msg.sType == UI_NOTIFY_SELECTCHANGED && msg.pSender && msg.pSender == m_agreeCheckbox) {
        if (m_installBtn) m_installBtn->SetEnabled(m_agreeCheckbox->IsSelected());
    } else if (msg.sType == UI_NOTIFY_TIMER && msg.pSender && msg.pSender == m_progress) {
        m_progress->SetValue(NextSweepValue(m_progress->GetValue()));
    }
}

void InstWnd::OnClickNotify(TUiNotify& msg) {
    if (!msg.pSender) return;
    if (msg.pSender == m_installBtn) {
        CheckInstallPath();
    } else if (msg.pSender == m_selectPathBtn) {
        BrowseInstallFolder();
    } else if (msg.pSender == m_closeBtn) {
        RequestClose();
    } else if (msg.pSender == m_agreementTextBtn) {
        ShowAgreement();
    }
}

void InstWnd::OnCloseRequest() {
    // Nothing may stop the package half-way.
    if (!m_working) ConfirmQuit();
}

void InstWnd::ConfirmQuit() {
    if (AskOkCancel(m_hwnd, kQuitQuestion)) PostQuitMessage(0);
}

void InstWnd::CheckInstallPath() {
    if (!m_installPathEdit || m_working) return;
    std::wstring folder;
    if (!ResolveInstallFolder(m_installPathEdit->GetText().GetData(), &PathExistsOnDisk, &folder)) {
        m_installPathEdit->SetText(kInvalidFolderText);
        return;
    }
    if (m_plane2) m_plane2->SetVisible(true);
    if (m_plane1) m_plane1->SetVisible(false);
    StartInstall(folder);
}

void InstWnd::StartInstall(const std::wstring& folder) {
    m_working = true;
    if (m_closeBtn) m_closeBtn->SetVisible(false);
    if (m_progress) m_manager.StartTimer(m_progress, kProgressTimerId, kProgressTimerMs);
    *m_outputFolder = VersionTarget(folder);
    HWND window = m_hwnd;
    const bool started = ke::run_detached([folder, window]() {
        const bool ok = RunInstallPackage(folder);
        PostMessageW(window, ok ? WM_SETUP_DONE : WM_SETUP_FAILED, 0, 0);
    });
    // A worker that cannot start is a failure, not an endless progress page.
    if (!started) PostMessageW(m_hwnd, WM_SETUP_FAILED, 0, 0);
}

void InstWnd::StopProgress() {
    if (!m_progress) return;
    m_manager.StopTimers(m_progress);
    m_progress->SetValue(100);
}

LRESULT InstWnd::OnOtherMessage(UINT msg, WPARAM, LPARAM, bool& handled) {
    if (msg == WM_SETUP_DONE) {
        OnInstallSucceeded();
    } else if (msg == WM_SETUP_FAILED) {
        OnInstallFailed();
    } else {
        handled = false;
        return 0;
    }
    handled = true;
    return 0;
}

void InstWnd::OnInstallSucceeded() {
    StopProgress();
    PostQuitMessage(0);
    ShowWindow(m_hwnd, SW_HIDE);
    *m_done = true;
}

void InstWnd::OnInstallFailed() {
    StopProgress();
    ShowModalDialog(new MessageWnd(kInstallFailedText), m_hwnd);
    ExitProcess(0);
}

void InstWnd::ShowAgreement() {
    if (!m_agreeCheckbox) return;
    bool answer = m_agreeCheckbox->IsSelected();
    ShowModalDialog(new AgreementWnd(&answer), m_hwnd);
    // Sends "selectchanged" when it changes, which sets the install button.
    m_agreeCheckbox->SetSelected(answer);
}

void InstWnd::BrowseInstallFolder() {
    if (!m_installPathEdit) return;
    BROWSEINFOW info;
    ZeroMemory(&info, sizeof info);
    info.hwndOwner = m_hwnd;
    info.lpszTitle = L"请选择目录";
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
    PIDLIST_ABSOLUTE picked = SHBrowseForFolderW(&info);
    if (!picked) return;
    wchar_t path[MAX_PATH] = {};
    const BOOL ok = SHGetPathFromIDListW(picked, path);
    CoTaskMemFree(picked);
    if (!ok || !path[0]) return;
    std::wstring folder = path;
    // A drive root gets a folder of its own.
    if (folder.size() <= 3) folder = JoinPath(folder, kProductFolderName);
    m_installPathEdit->SetText(folder.c_str());
}
