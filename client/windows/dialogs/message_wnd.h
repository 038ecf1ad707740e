#pragma once
// The information box: a message with one OK button.
#include <windows.h>

#include "uitoolkit/controls/button.h"
#include "uitoolkit/window/modal_dialog.h"

class MessageWnd : public UiToolkit::CModalDialog {
public:
    explicit MessageWnd(const wchar_t* text);

protected:
    void OnSkinReady() override;
    void OnClickNotify(UiToolkit::TUiNotify& msg) override;

private:
    UiToolkit::CUiString text_;
    UiToolkit::CButtonUI* ok_btn_ = nullptr;
    UiToolkit::CButtonUI* tip_btn_ = nullptr;
};

// An information box over `owner`, modal.
void ShowMessageWnd(HWND owner, const wchar_t* text);
