#pragma once
// The download centre's running list ("downloading_page.xml"): one row per
// active download, added when the page is shown ("tabselect") and removed
// when the download completes or is deleted. Every notification it does not
// handle goes to its rows, whose progress strips pick out their clicks.
#include <map>
#include <memory>

#include "client/windows/main/live_targets.h"
#include "client/windows/pages/notify_observer_list.h"
#include "uitoolkit/controls/container.h"
#include "uitoolkit/controls/list.h"
#include "uitoolkit/core/notify.h"

class DownloadTask;
class ListElemProgress;

class DownloadingPage : public UiToolkit::CContainerUI,
                        public UiToolkit::INotifyUI,
                        public NotifyObserverList {
public:
    DownloadingPage();
    ~DownloadingPage() override;

    const wchar_t* ClassName() const override;
    // "DownloadingPage" gives the page; "CentreSubPage" its receiver.
    LPVOID FindInterface(const wchar_t* name) override;

    // "windowinit" and "tabselect" refill; "complete_download" and
    // "delete_download" remove the row in wParam; the rest goes to the rows.
    void Notify(UiToolkit::TUiNotify& msg) override;

    // Adds a row for each active download that has none (failed ones get
    // none). Runs under the registry's active-list lock, so a download
    // cannot finish between being listed and its row being registered.
    void Refill();

    UiToolkit::CListUI* List();
    // The row showing an id, or none.
    ListElemProgress* RowOf(int soft_id) const;
    size_t RowCount() const { return rows_.size(); }

private:
    void AddRow(const std::shared_ptr<DownloadTask>& task);
    void RemoveRow(ListElemProgress* row);

    UiToolkit::CListUI* list_;
    bool list_tried_;
    std::map<int, ListElemProgress*> rows_;
    LiveTargetRegistration registration_;  // last: goes first
};
