#pragma once
// The schemes page of the home page's first tab.
#include "uitoolkit/core/control.h"

UiToolkit::CControlUI* CreateSchemeSubPage();
