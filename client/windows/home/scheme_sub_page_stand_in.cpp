// Stands in for the schemes page until it is built.
#include "client/windows/home/scheme_sub_page.h"

#include "client/windows/pages/stand_in_page.h"

UiToolkit::CControlUI* CreateSchemeSubPage() { return new StandInPage(L"my_scheme"); }
