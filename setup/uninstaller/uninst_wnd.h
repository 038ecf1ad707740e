#pragma once
// The removal window. Confirm page: the question and the uninstall button;
// working page: the progress sweeps while the work runs on a worker; done
// page: "卸载完成" or "卸载出错" and the finish button.
#include "setup/common/setup_window.h"
#include "uitoolkit/controls/button.h"
#include "uitoolkit/controls/progress.h"

class UninstWnd : public SetupWindow {
 public:
    UninstWnd();

    void Notify(UiToolkit::TUiNotify& msg) override;

 protected:
    const wchar_t* WindowClassName() const override;
    const wchar_t* SkinFile() const override;
    void OnSkinReady() override;
    void OnClickNotify(UiToolkit::TUiNotify& msg) override;
    LRESULT OnOtherMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;
    void OnCloseRequest() override;

 private:
    void ConfirmCancel();
    void StartUninstall();
    void ShowOutcome(const wchar_t* text);

    bool m_done;
    bool m_working;
    UiToolkit::CButtonUI* m_tipsBtn;
    UiToolkit::CButtonUI* m_uninstallBtn;
    UiToolkit::CButtonUI* m_closeBtn;
    UiToolkit::CProgressUI* m_progress;
    UiToolkit::CButtonUI* m_completeBtn;
    UiToolkit::CControlUI* m_plane1;
    UiToolkit::CControlUI* m_plane2;
};
