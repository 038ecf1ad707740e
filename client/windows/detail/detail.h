#pragma once
// The software detail view of a catalogue page (the "soft_detail" tag of
// the page skins). This is the stand-in until the detail page is built:
// showing a software and leaving do nothing, and its one button takes the
// user back to the list, as the detail page's own back button will.
#include "client/core/catalogue/software.h"
#include "uitoolkit/controls/button.h"
#include "uitoolkit/core/notify.h"
#include "uitoolkit/layouts/vertical_layout.h"

class Detail : public UiToolkit::CVerticalLayoutUI, public UiToolkit::INotifyUI {
public:
    Detail();
    const wchar_t* ClassName() const override;
    LPVOID FindInterface(const wchar_t* name) override;

    void ShowSoft(const SoftwarePtr& soft);
    void Leave();
    // A click on its back button posts WM_BACK_TO_SOFT_LIST_PAGE.
    void Notify(UiToolkit::TUiNotify& msg) override;

    UiToolkit::CButtonUI* BackButton() const { return back_; }

private:
    UiToolkit::CButtonUI* back_;
};
