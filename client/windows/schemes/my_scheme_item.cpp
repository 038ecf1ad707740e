#include "client/windows/schemes/my_scheme_item.h"

#include <stdio.h>
#include <wchar.h>

#include "client/core/startup/main_window_handle.h"
#include "client/windows/dialogs/loading_wnd.h"
#include "client/windows/main/message_records.h"
#include "client/windows/main_frame_messages.h"
#include "client/windows/pages/notify_observer_list.h"
#include "client/windows/schemes/add_scheme_wnd.h"
#include "client/windows/schemes/scheme_rules.h"
#include "foundation/log/log.h"
#include "uitoolkit/markup/markup_literal.h"
#include "uitoolkit/skin/skin_builder.h"

namespace {

const wchar_t kSkin[] = L"scheme_item.xml";

struct NameSearch {
    const wchar_t* name;
};

UiToolkit::CControlUI* CALLBACK MatchName(UiToolkit::CControlUI* control, LPVOID data) {
    const NameSearch* search = static_cast<const NameSearch*>(data);
    return control->GetName() == search->name ? control : nullptr;
}

// Plain text into a label, drawn literally even by a label whose skin
// turned markup on.
void SetPlainText(UiToolkit::CLabelUI* label, const std::wstring& text) {
    if (label->IsShowHtml())
        label->SetText(UiToolkit::MarkupLiteral(text.c_str()));
    else
        label->SetText(text.c_str());
}

}  // namespace

UiToolkit::CControlUI* FindInTree(UiToolkit::CControlUI* root, const wchar_t* skin_file,
                                  const wchar_t* name, const wchar_t* iface) {
    NameSearch search = {name};
    UiToolkit::CControlUI* found = root ? root->Search(MatchName, &search, UiToolkit::UIFIND_ALL) : nullptr;
    if (found && found->FindInterface(iface)) return found;
    log_error("%s: %ls has no %ls %ls", "FindInTree", skin_file, iface, name);
    return nullptr;
}

MySchemeItem::MySchemeItem(const RowOwner& owner, const SchemeInfo& scheme)
    : owner_(owner), scheme_id_(scheme.scheme_id), name_(scheme.scheme_name),
      desc_(scheme.scheme_desc), soft_count_(scheme.soft_num) {
    if (owner_.observers && !owner_.alive.expired()) owner_.observers->AddObserver(this);
    UiToolkit::CSkinBuilder builder;
    UiToolkit::CControlUI* root = builder.BuildSkin(kSkin, nullptr, nullptr, MainManager(), nullptr);
    if (root && root->FindInterface(L"IContainer")) {
        Add(root);
    } else {
        if (root) log_error("%s: the root of %ls is not a container", "MySchemeItem", kSkin);
        delete root;
        RemoveAll();
    }
    SetFixedHeight(80);
    SetFixedWidth(876);
    LiveTarget target;
    target.cls = TargetClass::kMySchemeItem;
    target.control = this;
    target.receiver = this;
    registration_.Set(static_cast<const void*>(this), target);
}

MySchemeItem::~MySchemeItem() {
    registration_.Reset();
    if (owner_.observers && !owner_.alive.expired()) owner_.observers->RemoveObserver(this);
}

const wchar_t* MySchemeItem::ClassName() const { return L"MySchemeItemUI"; }

LPVOID MySchemeItem::FindInterface(const wchar_t* name) {
    if (name && wcscmp(name, L"MySchemeItem") == 0) return this;
    return CListContainerElementUI::FindInterface(name);
}

bool MySchemeItem::Usable() {
    if (bind_tried_) return bound_;
    bind_tried_ = true;
    auto find = [this](const wchar_t* name, const wchar_t* iface) {
        return FindInTree(this, kSkin, name, iface);
    };
    look_ = static_cast<UiToolkit::CButtonUI*>(find(L"scheme_soft_item_look", L"Button"));
    del_ = static_cast<UiToolkit::CButtonUI*>(find(L"scheme_soft_item_del", L"Button"));
    modify_ = static_cast<UiToolkit::CButtonUI*>(find(L"scheme_soft_item_modiy", L"Button"));
    name_label_ = static_cast<UiToolkit::CLabelUI*>(find(L"scheme_soft_item_name", L"Label"));
    desc_label_ = static_cast<UiToolkit::CLabelUI*>(find(L"scheme_soft_item_desc", L"Label"));
    count_label_ = static_cast<UiToolkit::CLabelUI*>(find(L"scheme_soft_item_amout", L"Label"));
    bound_ = look_ && del_ && modify_ && name_label_ && desc_label_ && count_label_;
    return bound_;
}

void MySchemeItem::Notify(UiToolkit::TUiNotify& msg) {
    if (!Usable()) return;
    if (msg.sType == UI_NOTIFY_CLICK) {
        if (msg.pSender == look_)
            ShowSchemeSofts();
        else if (msg.pSender == del_)
            DeleteScheme();
        else if (msg.pSender == modify_)
            RenameScheme();
    } else if (msg.sType == L"set_schme_item_name") {
        UpdateTexts(false);
    }
}

void MySchemeItem::UpdateTexts(bool force) {
    if (!Usable()) return;
    if (!force && !name_label_->GetText().IsEmpty()) return;
    SetPlainText(name_label_, name_);
    SetPlainText(desc_label_, desc_);
    name_label_->SetToolTip(name_.c_str());
    desc_label_->SetToolTip(desc_.c_str());
    wchar_t count[16];
    swprintf(count, sizeof(count) / sizeof(count[0]), L"%d", soft_count_);
    count_label_->SetText(count);
}

void MySchemeItem::ShowSchemeSofts() {
    SchemeSofts* softs = new SchemeSofts;
    softs->scheme_id = scheme_id_;
    const int32_t scheme_id = scheme_id_;
    if (!RunInLoadingWnd(MainWindowHandle(),
                         [softs, scheme_id]() { FetchSchemeSoftRecords(scheme_id, &softs->softs); })) {
        delete softs;  // the client is quitting
        return;
    }
    // A scheme that cannot be fetched opens empty.
    if (!::PostMessageW(MainWindowHandle(), WM_INSERT_SCHEME_SOFT, 1, reinterpret_cast<LPARAM>(softs)))
        delete softs;
}

void MySchemeItem::DeleteScheme() {
    const int32_t scheme_id = scheme_id_;
    bool ok = false;
    if (!RunInLoadingWnd(MainWindowHandle(),
                         [&ok, scheme_id]() { ok = SchemeMgr::Instance().DeleteScheme(scheme_id); }))
        return;
    if (ok && IsRemoved()) return;
    if (ok)
        ::PostMessageW(MainWindowHandle(), WM_DEL_SCHEME_ITEM, 0, reinterpret_cast<LPARAM>(this));
    else
        log_error("%s: scheme=%d delete failed", "MySchemeItem::DeleteScheme", scheme_id);
}

void MySchemeItem::RenameScheme() {
    std::wstring name = name_, desc = desc_;
    ShowAddSchemeWnd(&name, &desc);
    if (IsRemoved() || name.empty()) return;  // gone meanwhile, or cancelled
    if (!SchemeTextsChanged(name_, desc_, name, desc)) return;
    const int32_t scheme_id = scheme_id_;
    bool ok = false;
    if (!RunInLoadingWnd(MainWindowHandle(), [&]() {
            ok = SchemeMgr::Instance().ModifyScheme(scheme_id, name, desc);
        }))
        return;
    if (!ok) {
        log_error("%s: scheme=%d modify failed", "MySchemeItem::RenameScheme", scheme_id);
        return;
    }
    if (IsRemoved()) return;
    name_ = name;
    desc_ = desc;
    UpdateTexts(true);
}
