#pragma once
// The main window's home tab until the personal home page exists: the
// schemes page alone. Each time the home tab is shown it tells the page as
// the home page would ("home_switch_page_scheme").
#include "client/windows/schemes/my_scheme.h"

class SchemesHomeTab : public MyScheme {
public:
    void Notify(UiToolkit::TUiNotify& msg) override;
};
