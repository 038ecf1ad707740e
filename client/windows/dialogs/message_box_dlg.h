#pragma once
// The confirmation box: a message with OK and Cancel. The caller's answer
// becomes 0 for OK and 1 for Cancel; any other close (Escape, the system
// close) leaves it as it was, so callers start it at 1.
#include <windows.h>

#include "uitoolkit/controls/button.h"
#include "uitoolkit/window/modal_dialog.h"

class MessageBoxDlg : public UiToolkit::CModalDialog {
public:
    // `answer` must outlive the modal loop.
    MessageBoxDlg(const wchar_t* text, int* answer);

protected:
    void OnSkinReady() override;
    void OnClickNotify(UiToolkit::TUiNotify& msg) override;

private:
    UiToolkit::CUiString text_;
    int* answer_;
    UiToolkit::CButtonUI* ok_btn_ = nullptr;
    UiToolkit::CButtonUI* cancel_btn_ = nullptr;
    UiToolkit::CButtonUI* tip_btn_ = nullptr;
};

// A confirmation box over `owner`, modal: 0 for OK, 1 for anything else.
int ShowMessageBox(HWND owner, const wchar_t* text);
