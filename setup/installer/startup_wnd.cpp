#include "setup/installer/startup_wnd.h"

#include "setup/common/folder_paths.h"
#include "setup/common/process_start.h"
#include "setup/common/setup_constants.h"

using namespace UiToolkit;

StartupWnd::StartupWnd(const std::wstring& install_folder)
    : m_installFolder(install_folder), m_startupBtn(nullptr), m_closeBtn(nullptr) {}

const wchar_t* StartupWnd::WindowClassName() const { return L"startup_wnd"; }
const wchar_t* StartupWnd::SkinFile() const { return L"startup.xml"; }

std::wstring StartupWnd::ClientPath() const { return JoinPath(m_installFolder, kClientProgramName); }

void StartupWnd::OnSkinReady() {
    m_startupBtn = FindSkinControl<CButtonUI>(m_manager, L"startup_btn", L"Button");
    m_closeBtn = FindSkinControl<CButtonUI>(m_manager, L"close_btn", L"Button");
    LaunchReportInstall();
}

void StartupWnd::LaunchReportInstall() { StartProgram(ClientPath(), L"report_install"); }

void StartupWnd::LaunchMainProgram() {
    StartProgram(ClientPath(), L"");
    PostQuitMessage(0);
}

void StartupWnd::OnClickNotify(TUiNotify& msg) {
    if (!msg.pSender) return;
    if (msg.pSender == m_startupBtn) {
        LaunchMainProgram();
    } else if (msg.pSender == m_closeBtn) {
        PostQuitMessage(0);
    }
}

void StartupWnd::OnCloseRequest() { PostQuitMessage(0); }
