#include "client/windows/schemes/my_scheme.h"

#include <wchar.h>

#include <algorithm>

#include "client/core/downloads/download_task_registry.h"
#include "client/core/startup/main_window_handle.h"
#include "client/windows/dialogs/loading_wnd.h"
#include "client/windows/main/message_records.h"
#include "client/windows/main_frame_messages.h"
#include "client/windows/pages/page_receiver.h"
#include "client/windows/schemes/add_scheme_wnd.h"
#include "client/windows/schemes/my_scheme_item.h"
#include "client/windows/schemes/scheme_rules.h"
#include "client/windows/schemes/scheme_soft_item.h"
#include "foundation/log/log.h"
#include "uitoolkit/skin/skin_builder.h"

namespace {

const wchar_t kSkin[] = L"my_scheme.xml";
// Queued by the page to itself: the rows removed from the opened scheme
// leave the list once the removal's own notification has returned.
const wchar_t kRemoveDoomedRows[] = L"remove_doomed_scheme_soft_rows";

template <class Row>
Row* RowOf(UiToolkit::CControlUI* control, const wchar_t* iface) {
    return control ? static_cast<Row*>(control->FindInterface(iface)) : nullptr;
}

void GetSchemesThreadProc(std::vector<SchemeInfo>* schemes) {
    if (!SchemeMgr::Instance().GetSchemes(schemes, false))
        log_error("%s: get scheme failed", "GetSchemesThreadProc");
}

}  // namespace

MyScheme::MyScheme()
    : lifetime_(std::make_shared<int>(0)), bind_tried_(false), bound_(false),
      page_switch_(nullptr), scheme_list_(nullptr), soft_list_(nullptr),
      new_scheme_btn_(nullptr), install_btn_(nullptr) {
    UiToolkit::CSkinBuilder builder;
    UiToolkit::CControlUI* root = builder.BuildSkin(kSkin, nullptr, nullptr, MainManager(), nullptr);
    if (root && root->FindInterface(L"IContainer")) {
        Add(root);
    } else {
        if (root) log_error("%s: the root of %ls is not a container", "MyScheme::MyScheme", kSkin);
        delete root;
        RemoveAll();
    }
}

MyScheme::~MyScheme() {
    // Rows freed from here on (with the container, or later by the
    // manager) leave the observer list alone.
    lifetime_.reset();
}

const wchar_t* MyScheme::ClassName() const { return L"MySchemeUI"; }

LPVOID MyScheme::FindInterface(const wchar_t* name) {
    if (name && wcscmp(name, kPageReceiverInterface) == 0)
        return static_cast<UiToolkit::INotifyUI*>(this);
    if (name && wcscmp(name, L"MyScheme") == 0) return this;
    return CContainerUI::FindInterface(name);
}

RowOwner MyScheme::Owner() const {
    RowOwner owner;
    owner.observers = const_cast<MyScheme*>(this);
    owner.alive = lifetime_;
    return owner;
}

bool MyScheme::EnsureControls() {
    if (bind_tried_) return bound_;
    bind_tried_ = true;
    page_switch_ = static_cast<UiToolkit::CTabLayoutUI*>(
        FindInTree(this, kSkin, L"my_scheme_page_switch", L"TabLayout"));
    scheme_list_ = static_cast<UiToolkit::CListUI*>(FindInTree(this, kSkin, L"my_scheme_list", L"List"));
    soft_list_ = static_cast<UiToolkit::CListUI*>(FindInTree(this, kSkin, L"my_scheme_soft_list", L"List"));
    new_scheme_btn_ = static_cast<UiToolkit::CButtonUI*>(FindInTree(this, kSkin, L"new_scheme_btn", L"Button"));
    install_btn_ = static_cast<UiToolkit::CButtonUI*>(
        FindInTree(this, kSkin, L"install_scheme_softs_btn", L"Button"));
    bound_ = page_switch_ && scheme_list_ && soft_list_ && new_scheme_btn_ && install_btn_ &&
             page_switch_->GetCount() >= 2;
    if (!bound_ && page_switch_ && page_switch_->GetCount() < 2)
        log_error("%s: %ls has fewer than two views", "MyScheme::EnsureControls", kSkin);
    return bound_;
}

void MyScheme::Notify(UiToolkit::TUiNotify& msg) {
    if (!EnsureControls()) return;
    const UiToolkit::CUiString& type = msg.sType;
    if (type == L"home_switch_page_scheme") {
        ShowSchemeList();
    } else if (type == L"insert_scheme_item") {
        OnInsertSchemeItems(reinterpret_cast<std::vector<SchemeInfo>*>(msg.lParam));
        msg.lParam = 0;
    } else if (type == L"insert_scheme_soft") {
        OnInsertSchemeSofts(reinterpret_cast<SchemeSofts*>(msg.lParam));
        msg.lParam = 0;
    } else if (type == L"del_scheme_item") {
        OnDelSchemeItem(reinterpret_cast<UiToolkit::CControlUI*>(msg.lParam));
    } else if (type == L"del_scheme_soft") {
        OnDelSchemeSoft(msg.pSender, msg.wParam == 1);
    } else if (type == kRemoveDoomedRows) {
        if (msg.pSender == this) RemoveDoomedSoftRows();
    } else if (type == L"refresh_content_scheme_soft") {
        RefreshSchemes();
    } else if (type == L"logout") {
        SchemeMgr::Instance().ClearCache();
        ClearSchemeList();
        ClearSoftList();
    } else if (type == UI_NOTIFY_CLICK && msg.pSender == new_scheme_btn_) {
        CreateScheme();
    } else if (type == UI_NOTIFY_CLICK && msg.pSender == install_btn_) {
        InstallAllSchemeSofts();
    } else {
        ForwardToAll(msg);
    }
}

void MyScheme::SwitchView(int page) {
    if (page_switch_->GetCurSel() == page) return;
    new_scheme_btn_->SetVisible(page == 0);
    install_btn_->SetVisible(page == 1);
    page_switch_->SelectItem(page);
}

void MyScheme::ShowSchemeList() {
    SwitchView(0);
    if (scheme_list_->GetCount() > 0) return;
    std::vector<SchemeInfo>* schemes = new std::vector<SchemeInfo>;
    HWND main = MainWindowHandle();
    const bool closed = RunInLoadingWnd(main, [schemes, main]() {
        GetSchemesThreadProc(schemes);
        if (!::PostMessageW(main, WM_INSERT_SCHEME_ITEM, 0, reinterpret_cast<LPARAM>(schemes)))
            delete schemes;
    });
    (void)closed;  // posted either way; a quitting client drops the message
}

void MyScheme::OnInsertSchemeItems(std::vector<SchemeInfo>* schemes) {
    SwitchView(0);
    if (schemes && !schemes->empty()) InsertSchemeItems(*schemes);
    delete schemes;
}

void MyScheme::InsertSchemeItems(std::vector<SchemeInfo>& schemes) {
    SortSchemesById(&schemes);
    for (const SchemeInfo& scheme : schemes) scheme_list_->Add(new MySchemeItem(Owner(), scheme));
    NotifyAll(L"set_schme_item_name");
}

void MyScheme::RefreshSchemes() {
    std::vector<SchemeInfo> schemes;
    bool ok = false;
    if (!RunInLoadingWnd(MainWindowHandle(), [&]() {
            SchemeMgr::Instance().ClearCache();
            ok = SchemeMgr::Instance().GetSchemes(&schemes, true);
        }))
        return;
    if (!ok) {
        log_error("%s: get scheme failed", "MyScheme::RefreshSchemes");
        return;
    }
    ClearSchemeList();
    InsertSchemeItems(schemes);
}

void MyScheme::CreateScheme() {
    std::wstring name, desc;
    ShowAddSchemeWnd(&name, &desc);
    if (name.empty()) return;  // cancelled
    int32_t id = 0;
    bool ok = false;
    if (!RunInLoadingWnd(MainWindowHandle(),
                         [&]() { ok = SchemeMgr::Instance().AddScheme(name, desc, &id); }))
        return;
    if (!ok) {
        log_error("%s: add scheme failed", "MyScheme::CreateScheme");
        return;
    }
    SchemeInfo scheme;
    scheme.scheme_id = id;
    scheme.scheme_name = name;
    scheme.scheme_desc = desc;
    scheme.soft_num = 0;
    scheme_list_->Add(new MySchemeItem(Owner(), scheme));
    NotifyAll(L"set_schme_item_name");
}

void MyScheme::OnInsertSchemeSofts(SchemeSofts* softs) {
    SwitchView(1);
    ClearSoftList();
    if (softs) {
        for (const SoftwarePtr& soft : softs->softs) {
            if (soft) soft_list_->Add(new SchemeSoftItem(Owner(), softs->scheme_id, soft));
        }
    }
    delete softs;
}

void MyScheme::InstallAllSchemeSofts() {
    for (int i = 0; i < soft_list_->GetCount(); ++i) {
        SchemeSoftItem* row = RowOf<SchemeSoftItem>(soft_list_->GetItemAt(i), L"SchemeSoftItem");
        if (!row || DownloadTaskRegistry::IsDownloading(row->SoftId())) continue;
        if (!DownloadTaskRegistry::Start(row->SoftId()))
            log_error("%s: soft=%d download not started", "MyScheme::InstallAllSchemeSofts", row->SoftId());
    }
}

void MyScheme::OnDelSchemeItem(UiToolkit::CControlUI* row) {
    if (!row || scheme_list_->GetItemIndex(row) < 0) return;
    scheme_list_->Remove(row);
}

void MyScheme::OnDelSchemeSoft(UiToolkit::CControlUI* row, bool removed) {
    if (!removed || !row || soft_list_->GetItemIndex(row) < 0) return;
    if (std::find(doomed_soft_rows_.begin(), doomed_soft_rows_.end(), row) == doomed_soft_rows_.end())
        doomed_soft_rows_.push_back(row);
    UiToolkit::CWindowManagerUI* manager = m_manager ? m_manager : MainManager();
    if (!manager) return;
    manager->EmitNotify(this, kRemoveDoomedRows, 0, 0, true);
    manager->EmitNotify(this, L"refresh_content_scheme_soft", 0, 0, true);
    if (HWND hwnd = manager->GetWindow()) ::PostMessageW(hwnd, WM_NULL, 0, 0);
}

void MyScheme::RemoveDoomedSoftRows() {
    std::vector<UiToolkit::CControlUI*> doomed;
    doomed.swap(doomed_soft_rows_);
    for (UiToolkit::CControlUI* row : doomed) {
        if (soft_list_->GetItemIndex(row) < 0) continue;  // the list was rebuilt meanwhile
        if (SchemeSoftItem* item = RowOf<SchemeSoftItem>(row, L"SchemeSoftItem")) item->Detach();
        soft_list_->Remove(row);
    }
}

void MyScheme::ClearSoftList() {
    doomed_soft_rows_.clear();
    // Late messages for the old rows are dropped from now on.
    for (int i = 0; i < soft_list_->GetCount(); ++i) {
        if (SchemeSoftItem* item = RowOf<SchemeSoftItem>(soft_list_->GetItemAt(i), L"SchemeSoftItem"))
            item->Detach();
    }
    soft_list_->RemoveAll();
}

void MyScheme::ClearSchemeList() { scheme_list_->RemoveAll(); }
