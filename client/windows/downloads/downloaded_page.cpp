#include "client/windows/downloads/downloaded_page.h"

#include <wchar.h>

#include "client/core/downloads/download_task_registry.h"
#include "client/core/startup/main_window_handle.h"
#include "client/windows/downloads/centre_row_parts.h"
#include "client/windows/skin_binding.h"
#include "foundation/log/log.h"
#include "uitoolkit/skin/skin_builder.h"

using namespace UiToolkit;

namespace {
const wchar_t kSkin[] = L"downloaded_page.xml";
}

// ---- the row ----

DownloadedElem::DownloadedElem(NotifyObserverList* observers, const SoftwarePtr& soft)
    : observers_(observers), soft_(soft), delete_(nullptr) {
    if (observers_) observers_->AddObserver(this);
}

DownloadedElem::~DownloadedElem() { Detach(); }

void DownloadedElem::Detach() {
    if (observers_) observers_->RemoveObserver(this);
    observers_ = nullptr;
}

LPVOID DownloadedElem::FindInterface(const wchar_t* name) {
    if (name && wcscmp(name, L"DownloadedElem") == 0) return this;
    return CListContainerElementUI::FindInterface(name);
}

int DownloadedElem::SoftId() const { return CentreRowSoftId(this); }

void DownloadedElem::Build() {
    SetFixedHeight(61);
    CentreRowHead head = MakeCentreRowHead(*soft_, 350);

    delete_ = new CButtonUI;
    delete_->SetToolTip(L"删除");
    delete_->SetFixedWidth(18);
    delete_->SetFixedHeight(18);
    delete_->ApplyAttribute(L"normalimage", L"default\\progress\\remove_download_1.png");
    delete_->ApplyAttribute(L"hotimage", L"default\\progress\\remove_download_2.png");
    delete_->ApplyAttribute(L"pushedimage", L"default\\progress\\remove_download_3.png");
    delete_->ApplyAttribute(L"disabledimage", L"default\\progress\\remove_download_4.png");
    CHorizontalLayoutUI* delete_cell = new CHorizontalLayoutUI;
    delete_cell->SetFixedHeight(48);
    delete_cell->SetInset(RECT{50, 15, 0, 0});
    delete_cell->Add(delete_);

    CHorizontalLayoutUI* line = new CHorizontalLayoutUI;
    line->SetInset(RECT{50, 6, 0, 0});
    line->Add(head.icon);
    line->Add(head.column);
    line->Add(delete_cell);
    Add(FrameCentreRow(line));
}

void DownloadedElem::Notify(TUiNotify& msg) {
    if (msg.sType != UI_NOTIFY_CLICK || !delete_ || msg.pSender != delete_) return;
    const int id = SoftId();
    DownloadTaskRegistry::RemoveCompleted(id);
    if (m_manager)
        m_manager->EmitNotify(delete_, L"delete_list_elem_downladed", reinterpret_cast<WPARAM>(this), 0, true);
}

// ---- the page ----

DownloadedPage::DownloadedPage() : list_(nullptr), list_tried_(false) {
    CSkinBuilder builder;
    CControlUI* root = builder.BuildSkin(kSkin, nullptr, nullptr, MainManager(), nullptr);
    if (root && root->FindInterface(L"IContainer")) {
        Add(root);
    } else {
        log_error("%s: %ls gives no container: the page stays empty", "DownloadedPage", kSkin);
        delete root;
    }
}

DownloadedPage::~DownloadedPage() {
    // The rows go with the container, after this page's observer list.
    if (list_) {
        for (int i = 0; i < list_->GetCount(); ++i) {
            CControlUI* item = list_->GetItemAt(i);
            auto* row = item ? static_cast<DownloadedElem*>(item->FindInterface(L"DownloadedElem")) : nullptr;
            if (row) row->Detach();
        }
    }
}

const wchar_t* DownloadedPage::ClassName() const { return L"DownloadedPage"; }

LPVOID DownloadedPage::FindInterface(const wchar_t* name) {
    if (name && wcscmp(name, L"DownloadedPage") == 0) return this;
    if (name && wcscmp(name, L"CentreSubPage") == 0) return static_cast<INotifyUI*>(this);
    return CContainerUI::FindInterface(name);
}

CListUI* DownloadedPage::List() {
    if (!list_tried_) {
        CWindowManagerUI* manager = m_manager ? m_manager : MainManager();
        if (!manager) return nullptr;
        list_tried_ = true;
        if (BindSkinControl(list_, *manager, kSkin, L"downloaded_plane_list", L"List"))
            list_->ApplyAttribute(L"itemselectedbkcolor", L"#FFFFEBCD");
    }
    return list_;
}

void DownloadedPage::Notify(TUiNotify& msg) {
    if (!List()) return;
    if (msg.sType == UI_NOTIFY_TABSELECT) {
        Refill();
    } else if (msg.sType == L"delete_list_elem_downladed") {
        DeleteRow(reinterpret_cast<DownloadedElem*>(msg.wParam));
    } else {
        ForwardToAll(msg);
    }
}

void DownloadedPage::Refill() {
    if (!List()) return;
    DownloadTaskRegistry::VisitCompleted([this](const std::shared_ptr<Software>& soft) {
        if (!soft || ids_.count(soft->soft_id)) return;
        DownloadedElem* row = new DownloadedElem(this, soft);
        row->Build();
        row->SetUserData(std::to_wstring(soft->soft_id).c_str());
        list_->Add(row);
        ids_.insert(soft->soft_id);
    });
}

void DownloadedPage::DeleteRow(DownloadedElem* row) {
    // Only a row still in this page's list (a double click queues two).
    if (!row || list_->GetItemIndex(row) < 0) return;
    if (m_manager) m_manager->EmitNotify(this, L"show_number_info", 0, 0, true);
    ids_.erase(row->SoftId());
    row->Detach();
    list_->Remove(row);
}
