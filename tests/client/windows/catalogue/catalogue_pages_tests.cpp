// The catalogue pages in the real main window against the local services:
// what the four pages show, paging, sub-categories, search and its back
// button, the notifications a page must not react to, results that arrive
// after a newer request, and bad service answers.
#include <algorithm>
#include <string>

#include "client/core/catalogue/soft_class_mgr.h"
#include "client/windows/catalogue/type_list_item.h"
#include "client/windows/detail/detail.h"
#include "client/windows/main/live_targets.h"
#include "tests/client/windows/catalogue/catalogue_fixture.h"
#include "tests/support/test_support.h"

namespace {

// Sizes of the sample catalogue: software per top-level category and
// sub-categories of each.
const struct {
    int tab;
    const wchar_t* header;
    int rows;
    int subs;
    const wchar_t* caption;
} kPages[] = {
    {0, L"装机必备 共有 16 款软件", 16, 5, L"电脑应用"},
    {1, L"软件宝库 共有 42 款软件", 20, 6, L"软件应用"},
    {3, L"装机方案 共有 11 款软件", 11, 3, L"装机方案"},
    {4, L"实用工具 共有 12 款软件", 12, 4, L"实用工具"},
};

std::wstring CategoryCaption(Page* page) {
    // The category row: a row holding a vertical layout whose first child
    // is the disabled caption option.
    auto* row = static_cast<UiToolkit::IContainerUI*>(page->TypeList()->GetItemAt(0)->FindInterface(L"IContainer"));
    auto* column = static_cast<UiToolkit::IContainerUI*>(row->GetItemAt(0)->FindInterface(L"IContainer"));
    return column->GetItemAt(0)->GetText().GetData();
}

int SubCategoryRows(Page* page) {
    int n = 0;
    for (int i = 0; i < page->TypeList()->GetCount(); ++i)
        n += page->TypeList()->GetItemAt(i)->FindInterface(L"TypeListItem") != nullptr;
    return n;
}

class CataloguePages : public CatalogueTest {};

TEST_F(CataloguePages, EachPageShowsItsCategoryOnItsFirstShowing) {
    Open();
    for (const auto& p : kPages) {
        if (p.tab != 0) ClickTab(p.tab);
        Page* page = PageOf(p.tab);
        ASSERT_TRUE(WaitRows(page, p.rows)) << p.tab;
        EXPECT_EQ(p.header, Header(page));
        EXPECT_FALSE(page->MainTypeButton()->IsVisible());
        EXPECT_FALSE(page->BackButton()->IsVisible());
        // The category row, one row per sub-category, fillers up to 20 places.
        EXPECT_EQ(p.caption, CategoryCaption(page));
        EXPECT_EQ(p.subs, SubCategoryRows(page));
        EXPECT_EQ(21, page->TypeList()->GetCount());
        UiToolkit::CControlUI* filler = page->TypeList()->GetItemAt(p.subs + 1);
        EXPECT_FALSE(filler->IsEnabled());
        EXPECT_EQ(27, filler->GetFixedHeight());
        // Rows in ranking order, each with its record's name.
        for (int i = 0; i < p.rows; ++i) EXPECT_FALSE(Row(page, i)->NameButton()->GetText().IsEmpty());
    }
    // Sub-categories by descending rank: the first is the best ranked.
    auto* first = static_cast<TypeListItem*>(PageOf(1)->TypeList()->GetItemAt(1)->FindInterface(L"TypeListItem"));
    EXPECT_EQ(201, first->ClassId());
    EXPECT_EQ(L"办公软件", std::wstring(first->NameText()->GetText().GetData()));
    // The market's 42 titles make three pages.
    EXPECT_EQ(3, PageOf(1)->Pager()->PageCount());
    // Showing a page again loads nothing; the category list was loaded once.
    ClickTab(0);
    ClickTab(1);
    Drain(300);
    EXPECT_EQ(1, Count("/class"));
    EXPECT_EQ(1, Count("/rank/1_1_20"));
    EXPECT_EQ(1, Count("/rank/2_1_20"));
}

TEST_F(CataloguePages, APageIsFetchedOnceHoweverOftenItIsShown) {
    Open();
    ClickTab(1);
    Page* page = PageOf(1);
    ASSERT_TRUE(WaitRows(page, 20));
    PageSwitch* pager = page->Pager();
    ASSERT_EQ(3u, pager->NumberButtons().size());
    const std::wstring first_row = Row(page, 0)->NameButton()->GetText().GetData();

    pager->NumberButtons()[1]->Activate();  // "2"
    ASSERT_TRUE(WaitRows(page, 20));
    const int32_t second_page_first = Row(page, 0)->SoftId();
    EXPECT_EQ(L"软件宝库 共有 42 款软件", Header(page));
    pager->NumberButtons()[0]->Activate();  // back to "1"
    ASSERT_TRUE(WaitRows(page, 20));
    EXPECT_EQ(first_row, std::wstring(Row(page, 0)->NameButton()->GetText().GetData()));
    Click(page, pager->NextButton());  // 2 again
    ASSERT_TRUE(wintest::PumpUntil([&] { return Row(page, 0) && Row(page, 0)->SoftId() == second_page_first; }, 10000));
    Click(page, pager->NextButton());  // 3: the last two
    ASSERT_TRUE(WaitRows(page, 2));
    Click(page, pager->NextButton());  // nothing after the last page
    Click(page, pager->PreviousButton());
    ASSERT_TRUE(WaitRows(page, 20));
    EXPECT_EQ(2, pager->CurrentPage());
    EXPECT_EQ(1, Count("/rank/2_2_20"));
    EXPECT_EQ(1, Count("/rank/2_3_20"));
    // The pager kept its numbers throughout.
    EXPECT_EQ(3, pager->PageCount());
}

TEST_F(CataloguePages, ASubCategoryAndBackToTheMainCategory) {
    Open();
    ClickTab(1);
    Page* page = PageOf(1);
    ASSERT_TRUE(WaitRows(page, 20));
    // The detail view is left when a sub-category is chosen.
    const int32_t id = Row(page, 0)->SoftId();
    Send(page, L"click_soft_detail", nullptr, 0, id);
    EXPECT_EQ(1, page->Switch()->GetCurSel());

    ASSERT_TRUE(page->TypeList()->SelectItem(1));  // 办公软件: 6 titles and 6 editions
    ASSERT_TRUE(WaitRows(page, 12));
    EXPECT_EQ(0, page->Switch()->GetCurSel());
    EXPECT_EQ(L"办公软件 共有 12 款软件", Header(page));
    EXPECT_TRUE(page->MainTypeButton()->IsVisible());
    EXPECT_EQ(L"软件宝库", std::wstring(page->MainTypeButton()->GetText().GetData()));
    EXPECT_EQ(201, page->CurrentSubType());
    EXPECT_EQ(0, page->Pager()->PageCount() > 1 ? 1 : 0);  // one page: no numbers
    EXPECT_EQ(1, Count("/rank/201_1_20"));

    // The category row and fillers load nothing.
    ASSERT_TRUE(page->TypeList()->SelectItem(0));
    Drain(300);
    EXPECT_EQ(L"办公软件 共有 12 款软件", Header(page));

    Click(page, page->MainTypeButton());
    ASSERT_TRUE(WaitRows(page, 20));
    EXPECT_EQ(L"软件宝库 共有 42 款软件", Header(page));
    EXPECT_FALSE(page->MainTypeButton()->IsVisible());
    EXPECT_EQ(0, page->CurrentSubType());
    EXPECT_EQ(3, page->Pager()->PageCount());
}

TEST_F(CataloguePages, SearchShowsTheResultsAndBackReturns) {
    Open();
    Page* page = PageOf(0);
    ASSERT_TRUE(WaitRows(page, 16));
    // Nothing typed: the search button does nothing.
    Click(page, page->SearchButton());
    page->SearchEdit()->SetText(L"浏览器");
    Send(page, L"return", page->SearchEdit());
    ASSERT_TRUE(WaitRows(page, 3));
    EXPECT_EQ(L"搜索结果", Header(page));
    EXPECT_TRUE(page->BackButton()->IsVisible());
    EXPECT_FALSE(page->MainTypeButton()->IsVisible());
    EXPECT_EQ(1, Count("/search/%E6%B5%8F%E8%A7%88%E5%99%A8"));
    for (int i = 0; i < 3; ++i)
        EXPECT_NE(std::wstring::npos, std::wstring(Row(page, i)->NameButton()->GetText().GetData()).find(L"浏览器"));
    // The search consumed the keyword.
    EXPECT_TRUE(page->Keyword().empty());

    Click(page, page->BackButton());
    ASSERT_TRUE(WaitRows(page, 16));
    EXPECT_EQ(L"装机必备 共有 16 款软件", Header(page));
    EXPECT_FALSE(page->BackButton()->IsVisible());

    // The keyword is the edit's text when it lost the focus.
    page->SearchEdit()->SetText(L"输入法");
    Send(page, L"killfocus", page->SearchEdit());
    EXPECT_EQ(L"输入法", page->Keyword());
    EXPECT_EQ(0xFF434343u, page->SearchEdit()->GetTextColor());
    Send(page, L"setfocus", page->SearchEdit());
    EXPECT_EQ(0xFFFFFFFFu, page->SearchEdit()->GetTextColor());
    Click(page, page->SearchButton());
    ASSERT_TRUE(WaitRows(page, 2));  // two descriptions hold it
    EXPECT_EQ(1, Count("/search/%E8%BE%93%E5%85%A5%E6%B3%95"));
}

// A row's icon is an option: clicking it sends "selectchanged", which must
// not reload the page and lose the results.
TEST_F(CataloguePages, OnlyTheMainTabButtonsSelectionsLoadAPage) {
    Open();
    Page* page = PageOf(0);
    ASSERT_TRUE(WaitRows(page, 16));
    page->SearchEdit()->SetText(L"浏览器");
    Send(page, L"return", page->SearchEdit());
    ASSERT_TRUE(WaitRows(page, 3));
    ASSERT_FALSE(page->Loaded());  // results cleared it: a tab selection would reload
    const int ranks = Count("/rank/1_1_20");
    Send(page, L"selectchanged", Row(page, 0)->Icon());
    Send(page, L"selectchanged", page->Pager());
    Send(page, L"selectchanged", nullptr);
    Drain(300);
    EXPECT_EQ(3, page->SoftList()->GetCount());
    EXPECT_EQ(L"搜索结果", Header(page));
    EXPECT_EQ(ranks, Count("/rank/1_1_20"));
    // The page's own tab button does load it again.
    Send(page, L"selectchanged", frame_->Find(L"necessary_switch"));
    ASSERT_TRUE(WaitRows(page, 16));
}

TEST_F(CataloguePages, AResultOlderThanTheNewestRequestIsDropped) {
    Open();
    ClickTab(1);
    Page* page = PageOf(1);
    ASSERT_TRUE(WaitRows(page, 20));
    const size_t targets = LiveTargets::Count();
    // Page 2's ranking answers slowly; a search starts meanwhile.
    Fault("stall_end", "/rank/2_2_20", 1, "3");
    page->Pager()->NumberButtons()[1]->Activate();
    page->SearchEdit()->SetText(L"浏览器");
    Send(page, L"return", page->SearchEdit());
    ASSERT_TRUE(WaitRows(page, 3));
    // Page 2 arrives after the results: it is dropped with its rows.
    std::wstring log_path = folder_ + L"\\data\\vantrel.log";
    ASSERT_TRUE(wintest::PumpUntil([&] {
        std::string log;
        test_support::ReadFileBytes(log_path, &log);
        return log.find("Page::ShowItems: result of request") != std::string::npos;
    }, 30000));
    Drain(200);
    EXPECT_EQ(3, page->SoftList()->GetCount());
    EXPECT_EQ(L"搜索结果", Header(page));
    // The search's three rows replaced the twenty; the dropped ones never
    // became targets.
    EXPECT_EQ(targets - 2 * 20 + 2 * 3, LiveTargets::Count());
}

// Bad answers of the services: each leaves a clear state and a log line,
// never a crash.
TEST_F(CataloguePages, BadAnswersLeaveTheListInAKnownState) {
    Open();
    Page* page = PageOf(0);
    ASSERT_TRUE(WaitRows(page, 16));
    const struct {
        const char* mode;
        const char* path;
        const char* arg;
        const wchar_t* header;  // after a refresh; none: the loading text stays
    } cases[] = {
        {"bad_json", "/class", "", nullptr},
        {"status500", "/class", "", nullptr},
        {"wrong_json", "/rank/", "{\"total_num\":\"many\"}", L"装机必备 共有 0 款软件"},
        {"bad_json", "/rank/", "", L"装机必备 共有 0 款软件"},
        {"status500", "/soft/", "", L"装机必备 共有 0 款软件"},
        {"wrong_json", "/soft/", "[1,2,3]", L"装机必备 共有 0 款软件"},
        {"disconnect", "/rank/", "", L"装机必备 共有 0 款软件"},
    };
    for (const auto& c : cases) {
        services_->Reset();
        Fault(c.mode, c.path, -1, c.arg);
        Send(page, L"refresh_content", nullptr);
        if (c.header) {
            ASSERT_TRUE(WaitRows(page, 0)) << c.mode << " " << c.path;
            EXPECT_EQ(c.header, Header(page)) << c.mode << " " << c.path;
            EXPECT_EQ(0, page->Pager()->PageCount());
        } else {
            Drain(1500);
            EXPECT_NE(std::wstring::npos, Header(page).find(L"查询中")) << c.mode;
        }
        services_->Reset();
        Send(page, L"refresh_content", nullptr);
        ASSERT_TRUE(WaitRows(page, 16)) << "after " << c.mode << " " << c.path;
    }
    std::string log;
    test_support::ReadFileBytes(folder_ + L"\\data\\vantrel.log", &log);
    EXPECT_NE(std::string::npos, log.find("Page::DownloadRankSoftFromMainType: Load Classes Info Failed"));

    // A search whose answer is bad changes nothing on the page.
    Fault("bad_json", "/search/", -1);
    page->SearchEdit()->SetText(L"浏览器");
    Send(page, L"return", page->SearchEdit());
    Drain(200);
    EXPECT_EQ(16, page->SoftList()->GetCount());
    EXPECT_EQ(L"装机必备 共有 16 款软件", Header(page));
}

TEST_F(CataloguePages, TheDetailViewComesAndGoes) {
    Open();
    Page* page = PageOf(0);
    ASSERT_TRUE(WaitRows(page, 16));
    const size_t observers = page->ObserverCount();
    // No record: the list stays.
    Send(page, L"click_soft_detail", nullptr, 0, 424242);
    EXPECT_EQ(0, page->Switch()->GetCurSel());
    Send(page, L"click_soft_detail", nullptr, 0, Row(page, 3)->SoftId());
    EXPECT_EQ(1, page->Switch()->GetCurSel());
    EXPECT_EQ(observers + 1, page->ObserverCount());
    // The stand-in's back button asks the main window to go back.
    Send(page, L"click", page->DetailView()->BackButton());
    ASSERT_TRUE(wintest::PumpUntil([&] { return page->Switch()->GetCurSel() == 0; }, 5000));
    EXPECT_EQ(observers, page->ObserverCount());
}

}  // namespace
