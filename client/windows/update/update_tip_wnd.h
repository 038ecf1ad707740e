#pragma once
// The window that offers a newer client: the offered version, an update
// button, then a progress bar while the new setup file downloads. The
// finished file is started with "update" and the main window is told to
// quit. Any close of the window stops the download.
#include <windows.h>

#include <memory>
#include <string>

#include "client/windows/update/update_download.h"
#include "client/windows/update/update_windows.h"
#include "uitoolkit/controls/button.h"
#include "uitoolkit/controls/label.h"
#include "uitoolkit/controls/progress.h"
#include "uitoolkit/window/modal_dialog.h"

class UpdateTipWnd : public UiToolkit::CModalDialog {
public:
    UpdateTipWnd(const std::wstring& version, const std::wstring& file_address);
    ~UpdateTipWnd() override;

    // Test seam: where the bytes come from (HTTP by default).
    void SetSourceFactory(UpdateDownload::SourceFactory factory) { factory_ = std::move(factory); }
    const std::shared_ptr<UpdateDownload>& Download() const { return download_; }

protected:
    void OnSkinReady() override;
    void OnClickNotify(UiToolkit::TUiNotify& msg) override;
    LRESULT OnOtherMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;
    LRESULT OnDestroy(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    void StartDownload();
    void OnDownloaded();
    void ShowFailure(const wchar_t* text);

    std::wstring file_address_;
    std::wstring version_text_;
    UpdateDownload::SourceFactory factory_;
    std::shared_ptr<UpdateDownload> download_;

    UiToolkit::CControlUI* blank_ = nullptr;
    UiToolkit::CButtonUI* update_btn_ = nullptr;
    UiToolkit::CControlUI* progress_plane_ = nullptr;
    UiToolkit::CProgressUI* progress_ = nullptr;
    UiToolkit::CButtonUI* close_btn_ = nullptr;
    UiToolkit::CLabelUI* version_ = nullptr;
};

// Test seam: how the finished setup is started (ShellExecuteW by default);
// the result as ShellExecuteW gives it (above 32: started).
typedef INT_PTR (*SetupStarter)(const std::wstring& path);
void SetSetupStarterForTests(SetupStarter starter);
