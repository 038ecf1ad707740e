#pragma once
// What the download centre's two kinds of row share: the icon, the name
// and the description of a software, and the frame of a row (the content
// line over a thin separator).
#include "client/core/catalogue/software.h"
#include "uitoolkit/controls/button.h"
#include "uitoolkit/controls/label.h"
#include "uitoolkit/controls/text.h"
#include "uitoolkit/layouts/horizontal_layout.h"
#include "uitoolkit/layouts/vertical_layout.h"

struct CentreRowHead {
    UiToolkit::CLabelUI* icon = nullptr;            // 48 x 48
    UiToolkit::CButtonUI* name = nullptr;           // used as a text
    UiToolkit::CTextUI* description = nullptr;      // markup, the service's text shown literally
    UiToolkit::CVerticalLayoutUI* column = nullptr; // name over description, `column_width` wide
};

// New controls for one software; the caller adds `icon` and `column` to
// its row line.
CentreRowHead MakeCentreRowHead(const Software& soft, int column_width);

// The row's only child: `line` (60 high) over a separator, 61 in all.
UiToolkit::CVerticalLayoutUI* FrameCentreRow(UiToolkit::CHorizontalLayoutUI* line);

// The software id kept in a row's user data as decimal text; -1 when it
// is not a number.
int CentreRowSoftId(const UiToolkit::CControlUI* row);
