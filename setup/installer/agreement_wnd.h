#pragma once
// The licence agreement: "同意" ticks the caller's box, "拒绝" unticks it,
// the close button and Escape leave it as it was.
#include "setup/common/setup_window.h"
#include "uitoolkit/controls/button.h"
#include "uitoolkit/controls/rich_edit.h"

class AgreementWnd : public SetupDialog {
 public:
    explicit AgreementWnd(bool* answer);

    void Notify(UiToolkit::TUiNotify& msg) override;

 protected:
    void OnSkinReady() override;

 private:
    UiToolkit::CRichEditUI* m_text;
    UiToolkit::CButtonUI* m_ok;
    UiToolkit::CButtonUI* m_cancel;
    UiToolkit::CButtonUI* m_close;
    bool* m_answer;
};
