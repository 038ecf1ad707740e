#pragma once
// The four catalogue tabs of the main window: one page class, bound to a
// top-level catalogue category by its name. On the left the category's
// sub-categories; on the right one ranking page of 20 software rows of the
// category or of a chosen sub-category, with the result header, a search
// box and the pager; a second tab of the page holds the detail view.
//
// Network work runs on one-shot workers, which only build rows; the page
// takes them on the UI thread when the main window delivers their message.
// Every load, search and single-software job takes a request number, and
// only the newest request's result is shown: an older one that arrives
// late is dropped with its rows.
#include <stdint.h>

#include <memory>
#include <string>

#include "client/windows/catalogue/soft_list_item.h"
#include "client/windows/main/live_targets.h"
#include "client/windows/pages/notify_observer_list.h"
#include "client/windows/pages/page_switch.h"
#include "uitoolkit/controls/button.h"
#include "uitoolkit/controls/container.h"
#include "uitoolkit/controls/edit.h"
#include "uitoolkit/controls/list.h"
#include "uitoolkit/layouts/horizontal_layout.h"
#include "uitoolkit/layouts/tab_layout.h"

class Detail;
struct RankResult;

// What tells the four pages apart.
struct CataloguePageConfig {
    const wchar_t* prefix;     // of every control name in its skin
    const wchar_t* title;      // the category it shows, by name
    const wchar_t* caption;    // of the category row
    const wchar_t* skin_file;
    const wchar_t* logo;       // image of the category row, in default\main\ .
    UINT timer_id;             // the loading text's timer
};

class Page : public UiToolkit::CContainerUI, public GUISpecHandler, public NotifyObserverList {
public:
    explicit Page(const CataloguePageConfig& config);
    ~Page() override;

    const wchar_t* ClassName() const override;
    // "Page" gives the page; the main window's receiver lookup gives its
    // notification receiver.
    LPVOID FindInterface(const wchar_t* name) override;

    void Notify(UiToolkit::TUiNotify& msg) override;
    void OnPageChanged(int page) override;

    void LoadMainType(int page, bool refresh);
    void LoadSubType(int sub_type, int page);
    void Search();
    void OpenSoft(int soft_id);

    // State and controls, for the main window's tests and the page's own.
    const CataloguePageConfig& Config() const { return config_; }
    int32_t MainTypeId() const;
    int CurrentSubType() const { return current_sub_; }
    bool Loaded() const { return loaded_; }
    void SetLoaded(bool loaded) { loaded_ = loaded; }
    int LatestRequest() const { return latest_request_; }
    const std::wstring& Keyword() const { return keyword_; }
    PageSwitch* Pager() const { return pager_; }
    UiToolkit::CListUI* SoftList() const { return soft_list_; }
    UiToolkit::CListUI* TypeList() const { return type_list_; }
    UiToolkit::CButtonUI* TextBar() const { return text_bar_; }
    UiToolkit::CButtonUI* BackButton() const { return back_btn_; }
    UiToolkit::CButtonUI* MainTypeButton() const { return main_type_btn_; }
    UiToolkit::CButtonUI* SearchButton() const { return search_btn_; }
    UiToolkit::CEditUI* SearchEdit() const { return search_edit_; }
    UiToolkit::CTabLayoutUI* Switch() const { return switch_; }
    Detail* DetailView() const { return detail_; }
    // Whether its skin built and bound every control it needs.
    bool Usable();
    // What the page's rows are built with.
    RowOwner RowOwnerOf() { return RowOwner{this, lifetime_}; }

    // What the workers share with the page; it outlives the page as long
    // as a worker holds it.
    struct Shared;

protected:
    bool BindControls();

private:
    // catalogue_page_view.cpp
    void ShowTypes();
    void ShowItems(RankResult* result);
    void ShowResultHeader(const std::wstring* sub_name, int total, int page);
    void InsertSingle(SoftListItem* row);
    void ClearBeforeInsert(int request);
    void TakeRow(SoftListItem* row);
    void StepLoadingText();
    void AddCategoryRow();
    void AddFillerRows(int count);
    std::wstring MainTypeName();
    void ShowDetail(int soft_id);
    void LeaveDetail();

    // catalogue_page_jobs.cpp
    void StartLoad(int sub_type, int page, bool refresh);
    int NextRequest();

    bool IsMainTabButton(UiToolkit::CControlUI* control) const;

    CataloguePageConfig config_;
    std::shared_ptr<int> lifetime_;  // expires first thing in the destructor
    std::shared_ptr<Shared> shared_;
    int current_sub_;
    bool loaded_;
    int loading_step_;
    std::wstring keyword_;
    int latest_request_;
    bool bound_;
    bool bind_tried_;
    bool detail_shown_;

    UiToolkit::CTabLayoutUI* switch_;
    UiToolkit::CListUI* type_list_;
    UiToolkit::CListUI* soft_list_;
    UiToolkit::CButtonUI* text_bar_;
    UiToolkit::CButtonUI* back_btn_;
    UiToolkit::CHorizontalLayoutUI* page_plane_;
    UiToolkit::CEditUI* search_edit_;
    UiToolkit::CButtonUI* search_btn_;
    UiToolkit::CButtonUI* main_type_btn_;
    PageSwitch* pager_;
    Detail* detail_;
    LiveTargetRegistration registration_;  // last: goes first
};

// The four pages of the main window's tabs 0, 1, 3 and 4.
class NecessarySoft : public Page {
public:
    NecessarySoft();
};

class MarketSoft : public Page {
public:
    MarketSoft();
    // Opens a favourite's or a scheme's software (after the main window has
    // shown this tab), then everything else as any page.
    void Notify(UiToolkit::TUiNotify& msg) override;
};

class SchemeSoft : public Page {
public:
    SchemeSoft();
};

class ToolsSoft : public Page {
public:
    ToolsSoft();
};

extern const CataloguePageConfig kNecessarySoftConfig;
extern const CataloguePageConfig kMarketSoftConfig;
extern const CataloguePageConfig kSchemeSoftConfig;
extern const CataloguePageConfig kToolsSoftConfig;
