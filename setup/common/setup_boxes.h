#pragma once
// The setup programs' own confirmation box and information box: the
// client's boxes, but with a fixed plain text (no tip icon) and a skin from
// the program's zip.
#include "setup/common/setup_window.h"
#include "uitoolkit/controls/button.h"
#include "uitoolkit/core/ui_string.h"

// OK and Cancel. The caller's answer becomes 0 on OK and 1 on Cancel; any
// other way of closing leaves it as it was (callers start it at 1).
class MessageBoxDlg : public SetupDialog {
 public:
    MessageBoxDlg(int* answer, const wchar_t* question);

 protected:
    void OnSkinReady() override;
    void OnClickNotify(UiToolkit::TUiNotify& msg) override;

 private:
    UiToolkit::CUiString m_text;
    UiToolkit::CButtonUI* m_tip;
    UiToolkit::CButtonUI* m_ok;
    UiToolkit::CButtonUI* m_cancel;
    int* m_answer;
};

// One OK button.
class MessageWnd : public SetupDialog {
 public:
    explicit MessageWnd(const wchar_t* text);

 protected:
    void OnSkinReady() override;
    void OnClickNotify(UiToolkit::TUiNotify& msg) override;

 private:
    UiToolkit::CUiString m_text;
    UiToolkit::CButtonUI* m_tip;
    UiToolkit::CButtonUI* m_ok;
};

// Asks `question` over `owner`; true only when OK was clicked.
bool AskOkCancel(HWND owner, const wchar_t* question);
