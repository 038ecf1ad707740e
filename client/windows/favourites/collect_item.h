#pragma once
// One favourite on the favourites page: icon, name, description, size, and
// the buttons "添加方案", "查看" and "删除".
//
// The row is a live target of the main window (its removal's answer names
// it) while it exists; a result that arrives after it is gone is dropped.
// The page may be destroyed before a row it removed (removed rows are
// deleted after the notification that removed them), so the row reaches
// the page's observer list only while the page lives.
#include <stdint.h>

#include <memory>

#include "client/core/catalogue/software.h"
#include "client/windows/favourites/soft_row_tree.h"
#include "client/windows/main/live_targets.h"
#include "client/windows/pages/notify_observer_list.h"
#include "uitoolkit/controls/list_container_element.h"
#include "uitoolkit/core/notify.h"

// What a row needs of its page: the observer list, and a token that
// expires when the page goes.
struct CollectRowOwner {
    NotifyObserverList* list = nullptr;
    std::weak_ptr<int> lifetime;
};

class CollectItem : public UiToolkit::CListContainerElementUI, public UiToolkit::INotifyUI {
public:
    CollectItem(const CollectRowOwner& owner, const SoftwarePtr& soft);
    ~CollectItem() override;

    const wchar_t* ClassName() const override;
    LPVOID FindInterface(const wchar_t* name) override;
    // Acts on the clicks of its own buttons only.
    void Notify(UiToolkit::TUiNotify& msg) override;

    int32_t SoftId() const { return soft_id_; }
    // Between its "删除" and the answer: an answer naming a row that has
    // none pending is for an earlier row at the same address.
    bool RemovalPending() const { return removal_pending_; }
    void RemovalAnswered() { removal_pending_ = false; }
    const SoftRowTree& Tree() const { return tree_; }

private:
    void RemoveFromFavourites();
    void OpenDetail();

    CollectRowOwner owner_;
    int32_t soft_id_;
    bool removal_pending_;
    SoftRowTree tree_;
    SoftRowIcon icon_;
    LiveTargetRegistration registration_;  // last: goes first
};
