#pragma once
// The finish window: as soon as it is up it starts the client's install
// report; its button starts the installed client.
#include <string>

#include "setup/common/setup_window.h"
#include "uitoolkit/controls/button.h"

class StartupWnd : public SetupWindow {
 public:
    // `install_folder`: the folder the package installed into (with the
    // version subfolder).
    explicit StartupWnd(const std::wstring& install_folder);

 protected:
    const wchar_t* WindowClassName() const override;
    const wchar_t* SkinFile() const override;
    void OnSkinReady() override;
    void OnClickNotify(UiToolkit::TUiNotify& msg) override;
    // Escape and the system close end the program, as the close button does.
    void OnCloseRequest() override;

 private:
    std::wstring ClientPath() const;
    void LaunchReportInstall();
    void LaunchMainProgram();

    std::wstring m_installFolder;
    UiToolkit::CButtonUI* m_startupBtn;
    UiToolkit::CButtonUI* m_closeBtn;
};
