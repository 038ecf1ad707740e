#pragma once
// The page of a tab whose real page has not been built yet: an empty
// container whose receiver ignores every notification.
#include "uitoolkit/controls/container.h"
#include "uitoolkit/core/notify.h"

class StandInPage : public UiToolkit::CContainerUI, public UiToolkit::INotifyUI {
public:
    explicit StandInPage(const wchar_t* tag);
    const wchar_t* ClassName() const override;
    LPVOID FindInterface(const wchar_t* name) override;
    void Notify(UiToolkit::TUiNotify& msg) override;

    // The custom tag it stands in for.
    const UiToolkit::CUiString& Tag() const { return tag_; }

private:
    UiToolkit::CUiString tag_;
};
