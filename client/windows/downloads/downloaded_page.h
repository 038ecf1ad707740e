#pragma once
// The download centre's finished list ("downloaded_page.xml"): one row per
// completed download, added when the page is shown ("tabselect"), removed
// when the user deletes it (the file on disk stays).
#include <set>

#include "client/core/catalogue/software.h"
#include "client/windows/pages/notify_observer_list.h"
#include "uitoolkit/controls/button.h"
#include "uitoolkit/controls/container.h"
#include "uitoolkit/controls/list.h"
#include "uitoolkit/controls/list_container_element.h"
#include "uitoolkit/core/notify.h"

// A finished download's row: icon, name, description and a delete button.
class DownloadedElem : public UiToolkit::CListContainerElementUI, public UiToolkit::INotifyUI {
public:
    // Joins `observers` (the page's list) until Detach.
    DownloadedElem(NotifyObserverList* observers, const SoftwarePtr& soft);
    ~DownloadedElem() override;

    LPVOID FindInterface(const wchar_t* name) override;
    void Build();
    void Detach();

    // A click on its delete button forgets the completed record and asks
    // the page (through the manager's queue) to remove the row.
    void Notify(UiToolkit::TUiNotify& msg) override;

    int SoftId() const;
    UiToolkit::CButtonUI* DeleteButton() const { return delete_; }

private:
    NotifyObserverList* observers_;
    SoftwarePtr soft_;
    UiToolkit::CButtonUI* delete_;
};

class DownloadedPage : public UiToolkit::CContainerUI,
                       public UiToolkit::INotifyUI,
                       public NotifyObserverList {
public:
    DownloadedPage();
    ~DownloadedPage() override;

    const wchar_t* ClassName() const override;
    // "DownloadedPage" gives the page; "CentreSubPage" its receiver.
    LPVOID FindInterface(const wchar_t* name) override;

    // "tabselect" refills; "delete_list_elem_downladed" removes the row in
    // wParam; the rest goes to the rows.
    void Notify(UiToolkit::TUiNotify& msg) override;
    void Refill();

    UiToolkit::CListUI* List();
    size_t RowCount() const { return ids_.size(); }
    bool HasRow(int soft_id) const { return ids_.count(soft_id) != 0; }

private:
    void DeleteRow(DownloadedElem* row);

    UiToolkit::CListUI* list_;
    bool list_tried_;
    std::set<int> ids_;
};
