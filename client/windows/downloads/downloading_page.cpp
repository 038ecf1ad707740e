#include "client/windows/downloads/downloading_page.h"

#include <wchar.h>

#include "client/core/downloads/download_task_registry.h"
#include "client/core/startup/main_window_handle.h"
#include "client/windows/downloads/list_elem_progress.h"
#include "client/windows/skin_binding.h"
#include "foundation/log/log.h"
#include "uitoolkit/skin/skin_builder.h"

using namespace UiToolkit;

namespace {
const wchar_t kSkin[] = L"downloading_page.xml";
}

DownloadingPage::DownloadingPage() : list_(nullptr), list_tried_(false) {
    CSkinBuilder builder;
    CControlUI* root = builder.BuildSkin(kSkin, nullptr, nullptr, MainManager(), nullptr);
    if (root && root->FindInterface(L"IContainer")) {
        Add(root);
    } else {
        log_error("%s: %ls gives no container: the page stays empty", "DownloadingPage", kSkin);
        delete root;
    }
    LiveTarget target;
    target.cls = TargetClass::kDownloadingPage;
    target.control = this;
    target.receiver = this;
    registration_.Set(this, target);
}

DownloadingPage::~DownloadingPage() {
    registration_.Reset();
    // The rows go with the container, after this page's observer list: they
    // leave it (and the registry) now.
    for (auto& r : rows_) r.second->Detach();
    rows_.clear();
}

const wchar_t* DownloadingPage::ClassName() const { return L"DownloadingPage"; }

LPVOID DownloadingPage::FindInterface(const wchar_t* name) {
    if (name && wcscmp(name, L"DownloadingPage") == 0) return this;
    if (name && wcscmp(name, L"CentreSubPage") == 0) return static_cast<INotifyUI*>(this);
    return CContainerUI::FindInterface(name);
}

CListUI* DownloadingPage::List() {
    if (!list_tried_) {
        CWindowManagerUI* manager = m_manager ? m_manager : MainManager();
        if (!manager) return nullptr;
        list_tried_ = true;
        if (BindSkinControl(list_, *manager, kSkin, L"downloading_plane_list", L"List"))
            list_->ApplyAttribute(L"itemselectedbkcolor", L"#FFFFEBCD");
    }
    return list_;
}

ListElemProgress* DownloadingPage::RowOf(int soft_id) const {
    auto it = rows_.find(soft_id);
    return it == rows_.end() ? nullptr : it->second;
}

void DownloadingPage::Notify(TUiNotify& msg) {
    if (!List()) return;
    if (msg.sType == UI_NOTIFY_WINDOWINIT || msg.sType == UI_NOTIFY_TABSELECT) {
        Refill();
    } else if (msg.sType == L"complete_download" || msg.sType == L"delete_download") {
        RemoveRow(reinterpret_cast<ListElemProgress*>(msg.wParam));
    } else {
        ForwardToAll(msg);
    }
}

void DownloadingPage::Refill() {
    if (!List()) return;
    DownloadTaskRegistry::VisitActive([this](const std::shared_ptr<DownloadTask>& task) {
        if (task->software() && !RowOf(task->soft_id())) AddRow(task);
    });
}

void DownloadingPage::AddRow(const std::shared_ptr<DownloadTask>& task) {
    int state = 0, percent = 0, speed = 0;
    task->GetProgress(&state, &percent, &speed);
    if (state == DownloadTask::kFailed) return;
    const int id = task->soft_id();
    const bool running = DownloadStateMap::Get(id) == DownloadStateMap::kDownloading;
    ListElemProgress* row = new ListElemProgress(this, this, task->software());
    row->Build(state, percent, speed, /*stop_enabled=*/running, /*start_enabled=*/!running);
    list_->Add(row);
    rows_[id] = row;
    row->Watch();
}

void DownloadingPage::RemoveRow(ListElemProgress* row) {
    // Only a row of this page that is still listed: a late second report
    // (completed, then deleted) names a row already gone.
    if (!row) return;
    auto it = rows_.begin();
    while (it != rows_.end() && it->second != row) ++it;
    if (it == rows_.end()) return;
    row->Detach();
    rows_.erase(it);
    list_->Remove(row);
    if (m_manager) m_manager->EmitNotify(this, L"show_number_info", 0, 0, true);
}
