#include "client/windows/favourites/collect_item.h"

#include <wchar.h>

#include "client/core/startup/main_window_handle.h"
#include "client/core/user_services/collect.h"
#include "client/windows/favourites/add_to_scheme.h"
#include "client/windows/main/main_frame_flags.h"
#include "client/windows/main_frame_messages.h"
#include "foundation/ke/thread_single.h"
#include "foundation/log/log.h"

CollectItem::CollectItem(const CollectRowOwner& owner, const SoftwarePtr& soft)
    : owner_(owner),
      soft_id_(soft ? soft->soft_id : -1),
      removal_pending_(false),
      icon_(CollectIconWaits(), WM_COLLECT_ICON_READY, "CollectItem::DownloadIconComplete") {
    if (owner_.list) owner_.list->AddObserver(static_cast<UiToolkit::INotifyUI*>(this));
    SetFixedHeight(kSoftRowHeight);
    tree_ = BuildSoftRowTree(this, soft, SoftRowKind::kFavourite);
    if (tree_.icon) icon_.Show(soft_id_, tree_.icon);
    LiveTarget target;
    target.cls = TargetClass::kCollectItem;
    target.control = this;
    target.receiver = static_cast<UiToolkit::INotifyUI*>(this);
    registration_.Set(static_cast<const void*>(this), target);
}

CollectItem::~CollectItem() {
    registration_.Reset();
    if (owner_.list && !owner_.lifetime.expired())
        owner_.list->RemoveObserver(static_cast<UiToolkit::INotifyUI*>(this));
}

const wchar_t* CollectItem::ClassName() const { return L"CollectItemUI"; }

LPVOID CollectItem::FindInterface(const wchar_t* name) {
    if (name && wcscmp(name, L"CollectItem") == 0) return this;
    return CListContainerElementUI::FindInterface(name);
}

void CollectItem::Notify(UiToolkit::TUiNotify& msg) {
    if (msg.sType != UI_NOTIFY_CLICK || !msg.pSender) return;
    if (msg.pSender == tree_.del) {
        RemoveFromFavourites();
    } else if (msg.pSender == tree_.detail) {
        OpenDetail();
    } else if (msg.pSender == tree_.add_scheme) {
        // Runs modal loops: the row may have been removed when it returns,
        // so nothing of it is touched afterwards.
        RunAddToScheme(soft_id_);
    }
}

void CollectItem::RemoveFromFavourites() {
    HWND main = MainWindowHandle();
    ::PostMessageW(main, WM_DEL_COLLECT_SOFT, 0, 0);
    const int32_t id = soft_id_;
    // The worker only carries the row's address back: the main window
    // delivers it only while the row is still a live target.
    const LPARAM row = reinterpret_cast<LPARAM>(static_cast<const void*>(this));
    bool started = ke::run_detached([main, id, row]() {
        const bool removed = Collect::RemoveSoft(id);
        ::PostMessageW(main, WM_DEL_COLLECT_SOFT_POST, removed ? 1 : 0, row);
    });
    if (started)
        removal_pending_ = true;
    else
        log_error("%s: no worker to remove soft %d", "CollectItem::RemoveFromFavourites", id);
}

void CollectItem::OpenDetail() {
    MainFrameFlags::SetOpenedFromHome(true);
    ::PostMessageW(MainWindowHandle(), WM_CLICK_DETAIL_ON_COLLECT, 0, static_cast<LPARAM>(soft_id_));
}
