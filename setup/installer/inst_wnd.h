#pragma once
// The setup wizard. Page 1: folder box, folder picker, install button and
// the licence check box; page 2: the progress sweeps while the package runs
// on a worker. Success hides the window and ends its loop (the entry then
// shows the finish window); failure shows "安装失败" and ends the process.
#include <string>

#include "setup/common/setup_window.h"
#include "uitoolkit/controls/button.h"
#include "uitoolkit/controls/edit.h"
#include "uitoolkit/controls/option.h"
#include "uitoolkit/controls/progress.h"

class InstWnd : public SetupWindow {
 public:
    // `registry_folder`: in update mode, the folder box's start text (the old
    // installation's parent, empty when none was recorded).
    // `output_folder` and `done` belong to the caller: on success they hold
    // the installed folder (with the version) and true.
    InstWnd(bool update_mode, const std::wstring& registry_folder, std::wstring* output_folder,
            bool* done);

    void Notify(UiToolkit::TUiNotify& msg) override;

 protected:
    const wchar_t* WindowClassName() const override;
    const wchar_t* SkinFile() const override;
    void OnSkinReady() override;
    void OnClickNotify(UiToolkit::TUiNotify& msg) override;
    LRESULT OnOtherMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;
    void OnCloseRequest() override;

 private:
    void CheckInstallPath();
    void StartInstall(const std::wstring& folder);
    void BrowseInstallFolder();
    void ShowAgreement();
    void ConfirmQuit();
    void OnInstallSucceeded();
    void OnInstallFailed();
    void StopProgress();

    bool m_updateMode;
    std::wstring m_registryFolder;
    std::wstring* m_outputFolder;
    bool* m_done;
    bool m_working;

    UiToolkit::CButtonUI* m_selectPathBtn;
    UiToolkit::CEditUI* m_installPathEdit;
    UiToolkit::CButtonUI* m_installBtn;
    UiToolkit::CButtonUI* m_agreementTextBtn;
    UiToolkit::COptionUI* m_agreeCheckbox;
    UiToolkit::CControlUI* m_plane1;
    UiToolkit::CControlUI* m_plane2;
    UiToolkit::CProgressUI* m_progress;
    UiToolkit::CButtonUI* m_closeBtn;
};
