#pragma once
// The settings dialog's one page: the download folder. It shows the stored
// folder, lets the user pick another with the shell's folder picker or go
// back to the default one, and shows the free space of the folder's drive.
// Nothing is stored here: the dialog's OK stores the edit's text.
#include <windows.h>

#include <string>

#include "uitoolkit/controls/button.h"
#include "uitoolkit/controls/container.h"
#include "uitoolkit/controls/edit.h"
#include "uitoolkit/controls/label.h"
#include "uitoolkit/core/notify.h"
#include "uitoolkit/core/window_manager.h"

class DownloadSettingPage : public UiToolkit::CContainerUI, public UiToolkit::INotifyUI {
public:
    // Builds "down_page_setting.xml" without a manager: the page joins the
    // dialog's manager when the dialog's tree takes it.
    DownloadSettingPage();

    const wchar_t* ClassName() const override;
    LPVOID FindInterface(const wchar_t* name) override;

    // Binds the page's controls through the dialog's manager and shows the
    // stored folder. `owner` owns the folder picker.
    void InitControls(UiToolkit::CWindowManagerUI* manager, HWND owner);
    void Notify(UiToolkit::TUiNotify& msg) override;

    // The folder as the edit holds it now (empty without the edit).
    std::wstring FolderText() const;

private:
    void Browse();
    void RestoreDefault();
    void ShowFolder(const std::wstring& folder);
    void UpdateFreeSpace();

    HWND owner_ = nullptr;
    UiToolkit::CEditUI* edit_ = nullptr;
    UiToolkit::CButtonUI* browse_btn_ = nullptr;
    UiToolkit::CButtonUI* restore_btn_ = nullptr;
    UiToolkit::CLabelUI* space_tips_ = nullptr;
};

// Test seam: how a folder is picked (the shell's folder picker by default).
// Returns false when the user cancelled.
typedef bool (*FolderPicker)(HWND owner, std::wstring* folder);
void SetFolderPickerForTests(FolderPicker picker);
