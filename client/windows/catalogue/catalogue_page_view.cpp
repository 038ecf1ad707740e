// What a catalogue page shows: the sub-category list, the software rows of
// a result with its header and pager, and the loading text.
#include <stdio.h>

#include <algorithm>
#include <vector>

#include "client/core/catalogue/soft_class_mgr.h"
#include "client/windows/catalogue/catalogue_page.h"
#include "client/windows/catalogue/catalogue_page_shared.h"
#include "client/windows/catalogue/soft_list_item.h"
#include "client/windows/catalogue/type_list_item.h"
#include "client/windows/main/message_records.h"
#include "foundation/log/log.h"
#include "uitoolkit/controls/label.h"
#include "uitoolkit/controls/list_container_element.h"
#include "uitoolkit/controls/option.h"
#include "uitoolkit/core/window_manager.h"
#include "uitoolkit/layouts/vertical_layout.h"

namespace {

const wchar_t* const kLoadingTexts[] = {L"查询中.", L"查询中..", L"查询中...",
                                        L"查询中....", L"查询中.....", L"查询中......"};
const int kLoadingSteps = 6;
const int kTypePlaces = 20;
const wchar_t kSearchResults[] = L"搜索结果";

std::wstring HeaderText(const std::wstring& name, int total) {
    wchar_t text[256];
    swprintf(text, sizeof(text) / sizeof(text[0]), L"%ls 共有 %d 款软件", name.c_str(), total);
    return text;
}

}  // namespace

void Page::StepLoadingText() {
    if (text_bar_) text_bar_->SetText(kLoadingTexts[loading_step_]);
    loading_step_ = (loading_step_ + 1) % kLoadingSteps;
}

// The first row of the sub-category list: the page's category caption
// under its logo, with a line below.
void Page::AddCategoryRow() {
    if (!type_list_) return;
    UiToolkit::CListContainerElementUI* row = new UiToolkit::CListContainerElementUI;
    row->SetFixedHeight(34);
    UiToolkit::CVerticalLayoutUI* column = new UiToolkit::CVerticalLayoutUI;
    UiToolkit::COptionUI* caption = new UiToolkit::COptionUI;
    caption->ApplyAttribute(L"pos", L"0, 0, 146, 30");
    caption->ApplyAttribute(L"align", L"left");
    caption->SetFont(1);
    caption->SetDisabledTextColor(0xFF000000);
    caption->SetTextPadding(RECT{38, 7, 0, 4});
    const std::wstring logo =
        std::wstring(L"file='default\\main\\") + config_.logo + L"' dest='10,6,28,24'";
    caption->ApplyAttribute(L"foreimage", logo.c_str());
    caption->SetEnabled(false);
    caption->SetText(config_.caption);
    UiToolkit::CLabelUI* line = new UiToolkit::CLabelUI;
    line->SetFixedHeight(2);
    line->SetBkImage(L"default\\main\\main_type_line.png");
    column->Add(caption);
    column->Add(line);
    row->Add(column);
    type_list_->Add(row);
}

void Page::AddFillerRows(int count) {
    for (int i = 0; i < count; ++i) {
        UiToolkit::CListContainerElementUI* filler = new UiToolkit::CListContainerElementUI;
        filler->ApplyAttribute(L"height", L"27");
        filler->SetEnabled(false);
        filler->SetBkColor(0xFFECEEF2);
        type_list_->Add(filler);
    }
}

void Page::ShowTypes() {
    if (!type_list_) return;
    type_list_->RemoveAll();
    AddCategoryRow();
    SoftClassMap subs = SoftClassMgr::Instance().SubClasses(MainTypeId());
    std::vector<SoftClassInfo> sorted;
    for (const auto& entry : subs) sorted.push_back(entry.second);
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const SoftClassInfo& a, const SoftClassInfo& b) { return a.rank > b.rank; });
    for (const SoftClassInfo& sub : sorted)
        type_list_->Add(new TypeListItem(sub.class_id, sub.class_name.c_str()));
    if (static_cast<int>(sorted.size()) < kTypePlaces)
        AddFillerRows(kTypePlaces - static_cast<int>(sorted.size()));
}

std::wstring Page::MainTypeName() {
    SoftClassMap tops = SoftClassMgr::Instance().TopClasses();
    auto it = tops.find(MainTypeId());
    return it != tops.end() ? it->second.class_name : std::wstring(config_.title);
}

void Page::TakeRow(SoftListItem* row) {
    soft_list_->Add(row);
    row->Attach();
}

void Page::ShowItems(RankResult* result) {
    if (!result) return;
    if (result->request != latest_request_ || !soft_list_) {
        // A newer load, search or single result was asked for since.
        log_trace("%s: result of request %d dropped (newest %d)", "Page::ShowItems",
                  result->request, latest_request_);
        delete result;
        return;
    }
    soft_list_->RemoveAll();
    if (m_manager) m_manager->StopTimer(this, config_.timer_id);
    loading_step_ = 0;

    std::wstring sub_name;
    bool has_sub_name = false;
    if (result->sub_type > 0) {
        SoftClassMap subs = SoftClassMgr::Instance().SubClasses(MainTypeId());
        auto it = subs.find(result->sub_type);
        // A sub-category gone from the tree shows as the main category.
        if (it != subs.end()) {
            sub_name = it->second.class_name;
            has_sub_name = true;
        }
    }
    const std::wstring* name = has_sub_name ? &sub_name : nullptr;
    if (result->ok) {
        ShowResultHeader(name, result->total, result->page);
        for (UiToolkit::CControlUI* control : result->rows) TakeRow(static_cast<SoftListItem*>(control));
        result->rows.clear();
    } else {
        ShowResultHeader(name, 0, result->page);
    }
    delete result;
}

void Page::ShowResultHeader(const std::wstring* sub_name, int total, int page) {
    const std::wstring main_name = MainTypeName();
    if (sub_name) {
        if (main_type_btn_) {
            main_type_btn_->SetText(main_name.c_str());
            main_type_btn_->SetVisible(true);
        }
    } else if (main_type_btn_) {
        main_type_btn_->SetVisible(false);
    }
    if (text_bar_) text_bar_->SetText(HeaderText(sub_name ? *sub_name : main_name, total).c_str());
    if (total < 0 || !page_plane_) return;
    if (!pager_) {
        pager_ = new PageSwitch(this);
        page_plane_->Add(new UiToolkit::CControlUI);
        page_plane_->Add(pager_);
        page_plane_->Add(new UiToolkit::CControlUI);
    }
    if (page == 1) pager_->SetTotal(total);
}

void Page::ClearBeforeInsert(int request) {
    if (request != latest_request_ || !soft_list_) return;
    soft_list_->RemoveAll();
    if (m_manager) m_manager->StopTimer(this, config_.timer_id);
    loading_step_ = 0;
    loaded_ = false;
    if (back_btn_) back_btn_->SetVisible(true);
    if (main_type_btn_) main_type_btn_->SetVisible(false);
    if (text_bar_) text_bar_->SetText(kSearchResults);
}

void Page::InsertSingle(SoftListItem* row) {
    if (!row) return;
    if (row->Request() != latest_request_ || !soft_list_) {
        delete row;  // never taken: it registered with nothing
        return;
    }
    TakeRow(row);
}
