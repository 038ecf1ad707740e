// The catalogue page's network work: ranking pages of the main category or
// of a sub-category, the keyword search and the single-software job. Each
// runs on a worker that only builds rows (never attached to anything) and
// hands them to the page in a posted message; the request number goes with
// them, so the page shows only the newest request's result.
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "client/core/catalogue/rank_page.h"
#include "client/core/catalogue/soft_class_mgr.h"
#include "client/core/catalogue/soft_info_mgr.h"
#include "client/core/catalogue/soft_search.h"
#include "client/core/icons/icon_downloader.h"
#include "client/core/startup/main_window_handle.h"
#include "client/windows/catalogue/catalogue_page.h"
#include "client/windows/catalogue/catalogue_page_shared.h"
#include "client/windows/catalogue/soft_list_item.h"
#include "client/windows/dialogs/loading_wnd.h"
#include "client/windows/main/message_records.h"
#include "client/windows/main_frame_messages.h"
#include "foundation/ke/thread_single.h"
#include "foundation/log/log.h"
#include "uitoolkit/core/window_manager.h"

namespace {

const UINT kLoadingTextInterval = 500;

// DownloadThreadParam: one ranking load.
struct RankLoad {
    std::shared_ptr<Page::Shared> shared;
    LPARAM page = 0;                          // the message target
    RowOwner owner;                           // handed to the rows, used once taken
    int page_number = 1;
    int sub_type = -1;                        // -1: the main category
    bool refresh = false;
    int request = 0;
};

void PostToPage(UINT msg, WPARAM wParam, LPARAM page) {
    ::PostMessageW(MainWindowHandle(), msg, wParam, page);
}

// Steps 4 to 7 of a ranking load: the ranking, the records, one row per
// software that has a record, posted to the page. `once_asked` runs once
// the ranking is known and its icons are asked for (or it failed).
//
// The icons are the longest road of a page's first showing: each is asked
// for as soon as the ranking names its software, in ranking order, while
// the records are on their way. They are asked from the icon pool, so the
// worker goes straight on to the records (asking here cost it the pool's
// new threads and each icon's look on disk). The row asks again when it is
// shown and then joins the download under way (or finds the icon done); an
// icon already on disk is not asked for.
void LoadRanking(const RankLoad& load, int32_t type_id, const std::function<void()>& once_asked) {
    RankResult* result = new RankResult;
    result->page = load.page_number;
    result->sub_type = load.sub_type;
    result->request = load.request;
    std::vector<RankEntry> entries;
    int32_t total = 0, count = 0;
    result->ok = GetRankPage(type_id, load.page_number, load.refresh, &entries, &total, &count);
    result->total = total;
    if (result->ok) {
        std::stable_sort(entries.begin(), entries.end(),
                         [](const RankEntry& a, const RankEntry& b) { return a.second > b.second; });
        std::vector<int32_t> ids;
        for (const RankEntry& entry : entries) ids.push_back(entry.first);
        IconDownloader::Instance().RequestSoftIconsThen(ids, once_asked);
    } else if (once_asked) {
        once_asked();
    }
    if (result->ok) {
        SoftMap ids;
        for (const RankEntry& entry : entries) ids[entry.first] = SoftwarePtr();
        result->ok = SoftInfoMgr::Instance().FetchSofts(&ids, load.refresh);
        if (result->ok) {
            for (const RankEntry& entry : entries) {
                if (!SoftInfoMgr::Instance().GetSoft(entry.first)) continue;
                result->rows.push_back(new SoftListItem(load.owner, entry.first, load.request));
            }
        }
    }
    if (!::PostMessageW(MainWindowHandle(), WM_PAGE_SHOW_SOFT_ITEMS, reinterpret_cast<WPARAM>(result),
                        load.page))
        delete result;
}

void DownloadRankSoftFromMainType(const RankLoad& load) {
    if (!SoftClassMgr::Instance().Load(load.refresh)) {
        log_error("%s: Load Classes Info Failed", "Page::DownloadRankSoftFromMainType");
        return;
    }
    SoftClassInfo top;
    if (SoftClassMgr::Instance().FindTopClass(load.shared->title, &top))
        load.shared->main_type_id.store(top.class_id);
    // The sub-categories are posted once the ranking is in and its icons are
    // asked for: their own icons then queue behind the rows' on the icon
    // pool, not ahead of them. They reach the page while the records are
    // still on their way.
    const LPARAM page = load.page;
    LoadRanking(load, load.shared->main_type_id.load(), [page] {
        if (SoftClassMgr::Instance().HasSubClasses()) PostToPage(WM_PAGE_SHOW_SOFT_TYPES, 0, page);
    });
}

void DownloadRankSoftFromSubType(const RankLoad& load) { LoadRanking(load, load.sub_type, nullptr); }

}  // namespace

int Page::NextRequest() { return ++latest_request_; }

void Page::LoadMainType(int page, bool refresh) { StartLoad(-1, page, refresh); }

void Page::LoadSubType(int sub_type, int page) { StartLoad(sub_type, page, false); }

void Page::StartLoad(int sub_type, int page, bool refresh) {
    StepLoadingText();
    if (m_manager) m_manager->StartTimer(this, config_.timer_id, kLoadingTextInterval);
    if (back_btn_) back_btn_->SetVisible(false);
    RankLoad load;
    load.shared = shared_;
    load.page = reinterpret_cast<LPARAM>(this);
    load.owner = RowOwnerOf();
    load.page_number = page;
    load.sub_type = sub_type;
    load.refresh = refresh;
    load.request = NextRequest();
    const bool main_type = sub_type < 0;
    if (!ke::run_detached([load, main_type] {
            if (main_type)
                DownloadRankSoftFromMainType(load);
            else
                DownloadRankSoftFromSubType(load);
        }))
        log_error("%s: no worker for the page load", "Page::StartLoad");
}

void Page::Search() {
    // SearchingThreadParam: the keyword in, the ids out.
    struct Searching {
        std::wstring keyword;
        std::vector<int32_t> ids;
    } param;
    param.keyword = keyword_;
    const LPARAM page = reinterpret_cast<LPARAM>(this);
    const RowOwner owner = RowOwnerOf();
    const int request = NextRequest();
    RunInLoadingWnd(MainWindowHandle(), [&param, page, owner, request] {
        if (!SearchSoft(param.keyword, &param.ids)) return;
        SoftMap found;
        for (int32_t id : param.ids) found[id] = SoftwarePtr();
        if (!SoftInfoMgr::Instance().FetchSofts(&found, false)) return;
        PostToPage(WM_CLEAR_BEFORE_INSERT, static_cast<WPARAM>(request), page);
        for (int32_t id : param.ids) {
            if (!found.count(id)) continue;
            SoftListItem* row = new SoftListItem(owner, id, request);
            if (!::PostMessageW(MainWindowHandle(), WM_INSERT_SINGLE_SOFT_ITEM,
                                reinterpret_cast<WPARAM>(row), page))
                delete row;
        }
    });
}

void Page::OpenSoft(int soft_id) {
    if (soft_list_) soft_list_->RemoveAll();
    const LPARAM page = reinterpret_cast<LPARAM>(this);
    const RowOwner owner = RowOwnerOf();
    const int request = NextRequest();
    RunInLoadingWnd(MainWindowHandle(), [soft_id, page, owner, request] {
        SoftMap one;
        one[soft_id] = SoftwarePtr();
        SoftInfoMgr::Instance().FetchSofts(&one, false);
        if (!SoftInfoMgr::Instance().GetSoft(soft_id)) return;
        SoftListItem* row = new SoftListItem(owner, soft_id, request);
        PostToPage(WM_CLEAR_BEFORE_INSERT, static_cast<WPARAM>(request), page);
        if (!::PostMessageW(MainWindowHandle(), WM_INSERT_SINGLE_SOFT_ITEM,
                            reinterpret_cast<WPARAM>(row), page))
            delete row;
    });
    loaded_ = false;
}
