#pragma once
// The favourites page, the second sub-page of the home page: one row per
// favourite of the logged-in user, loaded behind a loading window the
// first time the page is shown empty, and emptied when the user logs out
// (or a favourite was added elsewhere), so the next showing loads afresh.
#include <memory>

#include "client/windows/favourites/collect_item.h"
#include "client/windows/pages/notify_observer_list.h"
#include "uitoolkit/controls/container.h"
#include "uitoolkit/controls/list.h"
#include "uitoolkit/core/notify.h"

class MyCollect : public UiToolkit::CContainerUI,
                  public UiToolkit::INotifyUI,
                  public NotifyObserverList {
public:
    MyCollect();
    ~MyCollect() override;

    const wchar_t* ClassName() const override;
    // The home page's lookup gives the page's receiver; "MyCollect" the page.
    LPVOID FindInterface(const wchar_t* name) override;
    void Notify(UiToolkit::TUiNotify& msg) override;

    void LoadCollectSofts();
    // Refreshes the catalogue's collected marks in the background.
    static void StartFetchCollectIds();

    // Found on first use; none when the skin lacks it.
    UiToolkit::CListUI* List();

private:
    void RemoveRows();
    void OnRemovalAnswer(const void* row, bool removed);

    std::shared_ptr<int> lifetime_;  // expires first thing in the destructor
    UiToolkit::CListUI* list_;
    bool list_tried_;
};
