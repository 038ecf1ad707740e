#pragma once
// The pager below a list of 20 items a page: "previous", up to five page
// number buttons and "next". It owns the page arithmetic and the window of
// visible numbers; the list's owner learns of each page change through its
// delegate and loads that page itself. UI thread only.
#include <vector>

#include "uitoolkit/controls/button.h"
#include "uitoolkit/controls/option.h"
#include "uitoolkit/core/notify.h"
#include "uitoolkit/layouts/horizontal_layout.h"

// The window of visible page numbers: plain arithmetic.
struct PagerWindow {
    int first = 0;  // the number on the first visible button
    int last = 0;   // the number on the last visible button
};

const int kPagerPageSize = 20;
const int kPagerMaxButtons = 5;

// Pages for `total` items: 0 for none, else total / 20 rounded up.
int PagerPageCount(int total);
// The window after moving to page `n`: the last visible number (unless it
// is the last page) starts the next window; the number just before the
// first starts a window four back. True when the window moved.
bool ShiftPagerWindow(PagerWindow* window, int n, int page_count);

class PageSwitch : public UiToolkit::CHorizontalLayoutUI {
public:
    class PageSwitchDelegate {
    public:
        virtual ~PageSwitchDelegate() {}
        virtual void OnPageChanged(int page) = 0;
    };

    explicit PageSwitch(PageSwitchDelegate* delegate);
    ~PageSwitch() override;

    // A new result of `total` items, on page 1; rebuilds the buttons.
    void SetTotal(int total);
    // Called by the owner's Notify first: true when the pager consumed the
    // notification (its own buttons' clicks and selections).
    bool HandleNotify(UiToolkit::TUiNotify& msg);
    // Selects the current page's number button (the shared option group
    // may have lost it to another pager meanwhile).
    void SelectCurrent();
    void GoToPage(int n);

    int Total() const { return total_; }
    int PageCount() const { return page_count_; }
    int CurrentPage() const { return current_; }
    PagerWindow Window() const { return window_; }
    const std::vector<UiToolkit::COptionUI*>& NumberButtons() const { return numbers_; }
    UiToolkit::CButtonUI* PreviousButton() const { return previous_; }
    UiToolkit::CButtonUI* NextButton() const { return next_; }

private:
    void SelectNumberOf(int page);
    void LabelButtons();

    PageSwitchDelegate* delegate_;
    int total_;
    int page_count_;
    int current_;
    PagerWindow window_;
    std::vector<UiToolkit::COptionUI*> numbers_;
    UiToolkit::CButtonUI* previous_;
    UiToolkit::CButtonUI* next_;
};

// A page that implements both the receiver and the pager's delegate.
class GUISpecHandler : public UiToolkit::INotifyUI, public PageSwitch::PageSwitchDelegate {};
