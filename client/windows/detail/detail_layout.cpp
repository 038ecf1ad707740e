// The detail view's controls, built in code when the view is made.
#include "client/windows/detail/detail.h"
#include "client/windows/detail/detail_rules.h"
#include "client/windows/detail/detail_texts.h"
#include "uitoolkit/layouts/vertical_layout.h"

using namespace UiToolkit;

namespace {

const DWORD kBlack = 0xFF000000;

template <class T>
T* Sized(T* control, int width, int height) {
    if (width) control->SetFixedWidth(width);
    if (height) control->SetFixedHeight(height);
    return control;
}

template <class T>
T* Inset(T* container, int left, int top, int right, int bottom) {
    container->SetInset(RECT{left, top, right, bottom});
    return container;
}

// The view's texts: disabled buttons, so they neither highlight nor react.
CButtonUI* NewText(int width, const wchar_t* text = L"", DWORD color = kBlack) {
    CButtonUI* b = Sized(new CButtonUI, width, 0);
    b->ApplyAttribute(L"align", L"left");
    b->SetText(text);
    b->SetEnabled(false);
    b->SetDisabledTextColor(color);
    return b;
}

COptionUI* NewStar(bool clickable) {
    COptionUI* star = Sized(new COptionUI, 12, 11);
    star->SetOptionForeImage(DetailTexts::kEmptyStar);
    star->SetEnabled(clickable);
    return star;
}

}  // namespace

void Detail::BuildLayout() {
    CVerticalLayoutUI* page = new CVerticalLayoutUI;
    Add(page);

    CVerticalLayoutUI* header = Sized(new CVerticalLayoutUI, 0, 130);
    page->Add(header);

    // Title bar: back button and caption.
    CHorizontalLayoutUI* title = Inset(Sized(new CHorizontalLayoutUI, 0, 40), 20, 7, 0, 0);
    title->SetBkImage(DetailTexts::kTitleBk);
    header->Add(title);
    back_btn_ = Sized(new CButtonUI, 58, 24);
    back_btn_->SetNormalImage(DetailTexts::kBackNormal);
    back_btn_->SetHotImage(DetailTexts::kBackHot);
    back_btn_->SetPushedImage(DetailTexts::kBackPushed);
    title->Add(back_btn_);
    CButtonUI* caption = NewText(0, DetailTexts::kCaption, 0xFFFFFFFF);
    caption->SetFixedHeight(24);
    caption->SetFont(1);
    caption->SetTextStyle(DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    title->Add(caption);

    CHorizontalLayoutUI* info = new CHorizontalLayoutUI;
    header->Add(info);

    // Icon box.
    CHorizontalLayoutUI* icon_box = Inset(Sized(new CHorizontalLayoutUI, 110, 90), 31, 20, 31, 22);
    info->Add(icon_box);
    icon_ = new CLabelUI;
    icon_box->Add(icon_);

    // Name, average rating and facts.
    CVerticalLayoutUI* column = new CVerticalLayoutUI;
    info->Add(column);
    CHorizontalLayoutUI* name_row = Inset(Sized(new CHorizontalLayoutUI, 0, 30), 0, 8, 0, 0);
    column->Add(name_row);
    name_ = new CTextUI;
    name_->SetFont(1);
    name_->SetTextStyle(DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    name_row->Add(name_);
    CHorizontalLayoutUI* average_box = Inset(Sized(new CHorizontalLayoutUI, 70, 0), 10, 2, 0, 0);
    name_row->Add(average_box);
    for (int i = 0; i < DetailRules::kStarCount; ++i) {
        average_stars_.push_back(NewStar(false));
        average_box->Add(average_stars_.back());
    }
    score_text_ = NewText(50);
    name_row->Add(score_text_);
    count_text_ = NewText(300);
    name_row->Add(count_text_);

    const int fact_widths[5] = {150, 120, 200, 150, 200};
    CHorizontalLayoutUI* fact_rows[2] = {Sized(new CHorizontalLayoutUI, 0, 20),
                                         Sized(new CHorizontalLayoutUI, 0, 20)};
    for (int i = 0; i < 5; ++i) {
        facts_[i] = NewText(fact_widths[i]);
        fact_rows[i < 3 ? 0 : 1]->Add(facts_[i]);
    }
    column->Add(fact_rows[0]);
    column->Add(fact_rows[1]);

    // Own rating and the download / upgrade button.
    CVerticalLayoutUI* own = Inset(Sized(new CVerticalLayoutUI, 150, 0), 5, 10, 0, 0);
    info->Add(own);
    CButtonUI* my_score = NewText(0, DetailTexts::kMyScore);
    my_score->SetFixedHeight(13);
    own->Add(my_score);
    CHorizontalLayoutUI* own_row = Inset(Sized(new CHorizontalLayoutUI, 60, 25), 0, 5, 0, 9);
    own->Add(own_row);
    for (int i = 0; i < DetailRules::kStarCount; ++i) {
        own_stars_.push_back(NewStar(true));
        own_row->Add(own_stars_.back());
    }
    down_btn_ = Sized(new CButtonUI, 134, 37);
    down_btn_->SetFont(4);
    down_btn_->SetTextColor(kBlack);
    down_btn_->SetNormalImage(DetailTexts::kButtonNormal);
    down_btn_->SetHotImage(DetailTexts::kButtonHot);
    down_btn_->SetPushedImage(DetailTexts::kButtonPushed);
    own->Add(down_btn_);

    // The browser's place: empty until the first software is shown.
    web_holder_ = new CHorizontalLayoutUI;
    page->Add(web_holder_);
}
