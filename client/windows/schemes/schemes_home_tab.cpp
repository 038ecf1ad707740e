#include "client/windows/schemes/schemes_home_tab.h"

namespace {
// The main window's tab layout and the home tab's index in it.
const wchar_t kMainTabLayout[] = L"switch";
const WPARAM kHomeTabIndex = 6;
}  // namespace

void SchemesHomeTab::Notify(UiToolkit::TUiNotify& msg) {
    if (msg.sType == UI_NOTIFY_TABSELECT && msg.pSender &&
        msg.pSender->GetName() == kMainTabLayout && msg.wParam == kHomeTabIndex) {
        UiToolkit::TUiNotify shown;
        shown.sType = L"home_switch_page_scheme";
        shown.dwTimestamp = ::GetTickCount();
        MyScheme::Notify(shown);
        return;
    }
    MyScheme::Notify(msg);
}
