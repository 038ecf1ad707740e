#pragma once
// One sub-category row of a catalogue page's sub-category list: the
// category's 16 x 16 icon and its name. Choosing it makes the page load
// that sub-category. The icon comes from the category-icon store or, when
// it is not on disk yet, from the icon downloader through the main
// window's WM_TYPE_ICON_READY. Built on the UI thread.
#include <stdint.h>

#include "client/windows/main/live_targets.h"
#include "foundation/ke/nocopy_assign.h"
#include "uitoolkit/controls/label.h"
#include "uitoolkit/controls/list_container_element.h"
#include "uitoolkit/controls/text.h"

class TypeListItem : public UiToolkit::CListContainerElementUI,
                     public IconShower,
                     public ke::nocopy_assign {
public:
    TypeListItem(int32_t class_id, const wchar_t* name);
    ~TypeListItem() override;

    const wchar_t* ClassName() const override;
    // "TypeListItem" gives the row.
    LPVOID FindInterface(const wchar_t* name) override;

    int32_t ClassId() const { return class_id_; }
    // The icon label's back image becomes the icon at `path` (relative to
    // the skin folder).
    void SetIcon(const wchar_t* path);
    // From the dispatcher: only this category's own icon is taken.
    void ShowIconPath(const wchar_t* path) override;

    UiToolkit::CLabelUI* IconLabel() const { return icon_; }
    UiToolkit::CTextUI* NameText() const { return name_; }
    // Whether the row still waits for a downloaded icon.
    bool WaitsForIcon() const;

private:
    int32_t class_id_;
    uint64_t identity_;
    bool asked_;
    UiToolkit::CLabelUI* icon_;
    UiToolkit::CTextUI* name_;
    LiveTargetRegistration registration_;  // last: goes first
};

// The category icon shown until (or instead of) the downloaded one.
extern const wchar_t kFallbackTypeIcon[];
