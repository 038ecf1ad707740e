#include "client/windows/favourites/my_collect.h"

#include <wchar.h>

#include <vector>

#include "client/core/reports/login_session.h"
#include "client/core/startup/main_window_handle.h"
#include "client/core/user_services/collect.h"
#include "client/windows/dialogs/loading_wnd.h"
#include "client/windows/favourites/collect_soft_fetch.h"
#include "client/windows/pages/page_receiver.h"
#include "client/windows/skin_binding.h"
#include "foundation/ke/thread_single.h"
#include "foundation/log/log.h"
#include "uitoolkit/core/window_manager.h"
#include "uitoolkit/skin/skin_builder.h"

namespace {

const wchar_t kSkin[] = L"my_collect.xml";

}  // namespace

MyCollect::MyCollect() : lifetime_(std::make_shared<int>(0)), list_(nullptr), list_tried_(false) {
    UiToolkit::CSkinBuilder builder;
    UiToolkit::CControlUI* root = builder.BuildSkin(kSkin, nullptr, nullptr, MainManager(), nullptr);
    if (root && root->FindInterface(L"IContainer")) {
        Add(root);
    } else {
        log_error("%s: %ls gave no container to show", "MyCollect::MyCollect", kSkin);
        delete root;
        RemoveAll();
    }
}

MyCollect::~MyCollect() {
    // Rows deleted from here on (with the children, or later by the
    // manager) leave the observer list alone.
    lifetime_.reset();
}

const wchar_t* MyCollect::ClassName() const { return L"MyCollectUI"; }

LPVOID MyCollect::FindInterface(const wchar_t* name) {
    if (name && wcscmp(name, kPageReceiverInterface) == 0)
        return static_cast<UiToolkit::INotifyUI*>(this);
    if (name && wcscmp(name, L"MyCollect") == 0) return this;
    return CContainerUI::FindInterface(name);
}

UiToolkit::CListUI* MyCollect::List() {
    if (list_ || list_tried_) return list_;
    UiToolkit::CWindowManagerUI* manager = m_manager ? m_manager : MainManager();
    if (!manager) return nullptr;
    list_tried_ = true;
    BindSkinControl(list_, *manager, kSkin, L"my_collect_list", L"List");
    return list_;
}

void MyCollect::Notify(UiToolkit::TUiNotify& msg) {
    if (!List()) return;
    const UiToolkit::CUiString& type = msg.sType;
    if (type == L"home_switch_page_collect") {
        if (list_->GetCount() == 0) LoadCollectSofts();
    } else if (type == L"refresh_content_collect_soft") {
        RemoveRows();
    } else if (type == L"fetch_collect_soft") {
        StartFetchCollectIds();
    } else if (type == L"logout") {
        // The next user must not see this user's favourites.
        RemoveRows();
    } else if (type == L"del_collect_soft_post") {
        OnRemovalAnswer(reinterpret_cast<const void*>(msg.lParam), msg.wParam == 1);
    } else {
        ForwardToAll(msg);
    }
}

void MyCollect::LoadCollectSofts() {
    std::vector<SoftwarePtr> softs;
    const bool closed = RunInLoadingWnd(MainWindowHandle(), [&softs]() {
        GetCollectSoftThreadProc(&softs);
    });
    // A quit ended the wait: the client is going away. A logout meanwhile:
    // these are the last user's favourites.
    if (!closed || LoginSession::Instance().state() != LoginSession::kLoggedIn) return;
    CollectRowOwner owner;
    owner.list = this;
    owner.lifetime = lifetime_;
    for (const SoftwarePtr& soft : softs) list_->Add(new CollectItem(owner, soft));
}

void MyCollect::StartFetchCollectIds() {
    if (!ke::run_detached([]() {
            std::vector<int32_t> ids;
            Collect::FetchCollectList(&ids);
        }))
        log_error("%s: no worker to fetch the favourites", "MyCollect::StartFetchCollectIds");
}

void MyCollect::RemoveRows() {
    if (list_) list_->RemoveAll();
}

// By address only: the row may be gone, and is then not in the list; a
// row that took its address since has no removal pending.
void MyCollect::OnRemovalAnswer(const void* row, bool removed) {
    if (!row || !list_) return;
    for (int i = 0; i < list_->GetCount(); ++i) {
        UiToolkit::CControlUI* item = list_->GetItemAt(i);
        CollectItem* listed = item ? static_cast<CollectItem*>(item->FindInterface(L"CollectItem")) : nullptr;
        if (static_cast<const void*>(listed) != row) continue;
        if (!listed->RemovalPending()) return;
        listed->RemovalAnswered();
        if (removed) list_->RemoveAt(i);
        return;
    }
}
