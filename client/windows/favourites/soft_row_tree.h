#pragma once
// The controls of a software row on the home page (a favourite, or a
// program of an opened scheme): icon, name, description, size and the
// buttons. Both rows build the same tree; they differ only in the size
// box's width, the buttons they carry and the delete button's tooltip.
//
// The icon is shown at once when it is on disk, or asked of the icon
// downloader; the answer reaches the row's icon label through the main
// window (the label is a live icon target while the tree lives) and only
// while the row that asked still waits for it.
#include <stdint.h>

#include "client/core/catalogue/software.h"
#include "client/windows/main/live_targets.h"
#include "uitoolkit/controls/button.h"
#include "uitoolkit/controls/container.h"
#include "uitoolkit/controls/label.h"
#include "uitoolkit/controls/text.h"
#include "uitoolkit/layouts/horizontal_layout.h"

class RowWaits;

enum class SoftRowKind {
    kFavourite,   // add-to-scheme, detail and delete buttons; size box 80 wide
    kSchemeSoft,  // detail and delete buttons; size box 150 wide
};

struct SoftRowTree {
    UiToolkit::CLabelUI* icon = nullptr;
    UiToolkit::CButtonUI* name = nullptr;
    UiToolkit::CTextUI* desc = nullptr;
    UiToolkit::CHorizontalLayoutUI* size_box = nullptr;
    UiToolkit::CTextUI* size_text = nullptr;
    UiToolkit::CButtonUI* add_scheme = nullptr;  // favourites only
    // The last cell: detail button, a spacer, delete button (the scheme row
    // adds its download strip here).
    UiToolkit::CHorizontalLayoutUI* buttons = nullptr;
    UiToolkit::CButtonUI* detail = nullptr;
    UiToolkit::CButtonUI* del = nullptr;
};

// Height of both rows, separator included.
const int kSoftRowHeight = 61;

// Builds the tree into `row` (empty, fixed height set by the caller) and
// fills it from `soft` (none: empty texts). The description is shown
// literally, whatever markup it holds.
SoftRowTree BuildSoftRowTree(UiToolkit::CContainerUI* row, const SoftwarePtr& soft,
                             SoftRowKind kind);

// One row's icon: shows a known icon file at once, or asks for it.
class SoftRowIcon {
public:
    // `waits`: the registry of the row's kind; `ready_message`: what the
    // main window gets when the icon has arrived (WM_COLLECT_ICON_READY or
    // WM_SCHEME_SOFT_ICON_READY); `log_name`: the callback's name in the log.
    SoftRowIcon(RowWaits& waits, unsigned ready_message, const char* log_name);
    // Stops waiting: an icon that arrives later is not posted.
    ~SoftRowIcon();

    // UI thread, once the tree is built.
    void Show(int32_t soft_id, UiToolkit::CLabelUI* label);
    bool Waiting() const;

private:
    SoftRowIcon(const SoftRowIcon&) = delete;
    SoftRowIcon& operator=(const SoftRowIcon&) = delete;

    RowWaits& waits_;
    const unsigned ready_message_;
    const char* const log_name_;
    int32_t soft_id_;
    uint64_t identity_;  // 0 until a request was made
    LiveTargetRegistration label_target_;
};

// The registries of the two kinds of rows.
RowWaits& CollectIconWaits();
RowWaits& SchemeSoftIconWaits();
