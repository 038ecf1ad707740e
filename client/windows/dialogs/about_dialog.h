#pragma once
// The about box: the program name and its version, closed by OK or its
// close button.
#include <windows.h>

#include "uitoolkit/controls/button.h"
#include "uitoolkit/window/modal_dialog.h"

class AboutDialog : public UiToolkit::CModalDialog {
public:
    AboutDialog();

protected:
    void OnSkinReady() override;
    void OnClickNotify(UiToolkit::TUiNotify& msg) override;

private:
    UiToolkit::CButtonUI* close_btn_ = nullptr;
    UiToolkit::CButtonUI* ok_btn_ = nullptr;
    UiToolkit::CButtonUI* version_tips_ = nullptr;
};

// The about box over `owner`, modal.
void ShowAboutDialog(HWND owner);
