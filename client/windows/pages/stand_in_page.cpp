#include "client/windows/pages/stand_in_page.h"

#include <wchar.h>

#include "client/windows/pages/page_receiver.h"

StandInPage::StandInPage(const wchar_t* tag) : tag_(tag) {}

const wchar_t* StandInPage::ClassName() const { return L"StandInPageUI"; }

LPVOID StandInPage::FindInterface(const wchar_t* name) {
    if (name && wcscmp(name, kPageReceiverInterface) == 0)
        return static_cast<UiToolkit::INotifyUI*>(this);
    return CContainerUI::FindInterface(name);
}

void StandInPage::Notify(UiToolkit::TUiNotify&) {}
