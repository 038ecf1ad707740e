#include "client/windows/pages/page_switch.h"

#include <stdio.h>
#include <wchar.h>

namespace {

const int kNumberWidth = 23;
const int kNumberHeight = 20;
const int kGapWidth = 2;
const int kArrowWidth = 50;
const int kArrowHeight = 22;

UiToolkit::CControlUI* Gap() {
    UiToolkit::CControlUI* gap = new UiToolkit::CControlUI;
    gap->SetFixedWidth(kGapWidth);
    return gap;
}

UiToolkit::CButtonUI* ArrowButton(const wchar_t* normal, const wchar_t* hot, const wchar_t* pushed) {
    UiToolkit::CButtonUI* button = new UiToolkit::CButtonUI;
    button->SetFixedHeight(kArrowHeight);
    button->SetFixedWidth(kArrowWidth);
    button->SetNormalImage(normal);
    button->SetHotImage(hot);
    button->SetPushedImage(pushed);
    return button;
}

void SetNumberText(UiToolkit::CControlUI* button, int number) {
    wchar_t text[16];
    swprintf(text, sizeof(text) / sizeof(text[0]), L"%d", number);
    button->SetText(text);
}

}  // namespace

int PagerPageCount(int total) {
    if (total <= 0) return 0;
    return (total + kPagerPageSize - 1) / kPagerPageSize;
}

bool ShiftPagerWindow(PagerWindow* window, int n, int page_count) {
    if (n == window->last && n != page_count) {
        window->first = window->last;
    } else if (n == window->first - 1) {
        window->first = window->first - (kPagerMaxButtons - 1);
        if (window->first < 1) window->first = 1;
    } else {
        return false;
    }
    window->last = window->first + (kPagerMaxButtons - 1);
    if (window->last > page_count) window->last = page_count;
    return true;
}

PageSwitch::PageSwitch(PageSwitchDelegate* delegate)
    : delegate_(delegate), total_(0), page_count_(0), current_(0), previous_(nullptr),
      next_(nullptr) {}

PageSwitch::~PageSwitch() {}

void PageSwitch::SetTotal(int total) {
    RemoveAll();
    numbers_.clear();
    previous_ = next_ = nullptr;
    window_ = PagerWindow();
    if (total <= 0) {
        total_ = page_count_ = current_ = 0;
        return;
    }
    total_ = total;
    page_count_ = PagerPageCount(total);
    current_ = 1;
    if (page_count_ == 1) return;

    const int count = page_count_ < kPagerMaxButtons ? page_count_ : kPagerMaxButtons;
    UiToolkit::CHorizontalLayoutUI* row = new UiToolkit::CHorizontalLayoutUI;
    row->SetInset(RECT{0, 1, 0, 0});
    for (int i = 0; i < count; ++i) {
        UiToolkit::COptionUI* number = new UiToolkit::COptionUI;
        number->SetFixedHeight(kNumberHeight);
        number->SetFixedWidth(kNumberWidth);
        number->SetNormalImage(L"default\\main\\page_num_btn_1.png");
        number->SetHotImage(L"default\\main\\page_num_btn_2.png");
        number->SetSelectedImage(L"default\\main\\page_num_btn_2.png");
        number->SetGroup(L"page_switch");
        SetNumberText(number, i + 1);
        numbers_.push_back(number);
        row->Add(number);
        row->Add(Gap());
    }
    row->SetFixedWidth(count * (kNumberWidth + kGapWidth));
    window_.first = 1;
    window_.last = count;

    previous_ = ArrowButton(L"default\\main\\btn_pp_1.png", L"default\\main\\btn_pp_2.png",
                            L"default\\main\\btn_pp_3.png");
    next_ = ArrowButton(L"default\\main\\btn_pn_1.png", L"default\\main\\btn_pn_2.png",
                        L"default\\main\\btn_pn_3.png");
    Add(previous_);
    Add(Gap());
    Add(row);
    Add(next_);
    numbers_[0]->SetSelected(true);
    SetFixedWidth(kArrowWidth + kGapWidth + row->GetFixedWidth() + kArrowWidth);
}

bool PageSwitch::HandleNotify(UiToolkit::TUiNotify& msg) {
    if (msg.sType == UI_NOTIFY_CLICK) {
        if (msg.pSender && msg.pSender == previous_) {
            if (current_ >= 2) GoToPage(--current_);
            return true;
        }
        if (msg.pSender && msg.pSender == next_) {
            if (current_ + 1 <= page_count_) GoToPage(++current_);
            return true;
        }
        return false;
    }
    if (msg.sType == UI_NOTIFY_SELECTCHANGED && msg.pSender) {
        for (UiToolkit::COptionUI* number : numbers_) {
            if (msg.pSender != number) continue;
            int page = _wtoi(number->GetText());
            if (page != current_) {
                current_ = page;
                GoToPage(page);
            }
            return true;
        }
    }
    return false;
}

void PageSwitch::SelectNumberOf(int page) {
    const int index = page - window_.first;
    if (index >= 0 && index < static_cast<int>(numbers_.size())) numbers_[index]->SetSelected(true);
}

void PageSwitch::SelectCurrent() {
    if (!numbers_.empty()) SelectNumberOf(current_);
}

void PageSwitch::LabelButtons() {
    for (UiToolkit::COptionUI* number : numbers_) {
        number->SetText(L"");
        number->SetVisible(false);
        number->SetSelected(false);
    }
    for (int i = 0; i <= window_.last - window_.first && i < static_cast<int>(numbers_.size()); ++i) {
        SetNumberText(numbers_[i], window_.first + i);
        numbers_[i]->SetVisible(true);
    }
}

void PageSwitch::GoToPage(int n) {
    if (ShiftPagerWindow(&window_, n, page_count_)) LabelButtons();
    if (delegate_) delegate_->OnPageChanged(n);
    SelectNumberOf(n);
}
