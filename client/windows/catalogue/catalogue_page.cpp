#include "client/windows/catalogue/catalogue_page.h"

#include <wchar.h>

#include <atomic>

#include "client/core/catalogue/soft_info_mgr.h"
#include "client/core/startup/main_window_handle.h"
#include "client/windows/catalogue/catalogue_page_shared.h"
#include "client/windows/catalogue/soft_list_item.h"
#include "client/windows/catalogue/type_list_item.h"
#include "client/windows/detail/detail.h"
#include "client/windows/main/main_frame_flags.h"
#include "client/windows/main/message_records.h"
#include "client/windows/pages/page_receiver.h"
#include "client/windows/skin_binding.h"
#include "foundation/log/log.h"
#include "uitoolkit/controls/scroll_bar.h"
#include "uitoolkit/core/window_manager.h"
#include "uitoolkit/skin/dialog_builder_callback.h"
#include "uitoolkit/skin/skin_builder.h"

namespace {

const wchar_t kSearchPrompt[] = L"请输入关键字";
const DWORD kPromptColor = 0xFF434343;
const DWORD kFocusedTextColor = 0xFFFFFFFF;

// The main window's five tab buttons: their "selectchanged" is the one
// that shows a page for the first time.
const wchar_t* const kMainTabButtons[] = {L"necessary_switch", L"market_switch",
                                          L"uninstall_switch", L"scheme_switch", L"tools_switch"};

// The custom tag of the page skins.
class PageDlgBldCbEx : public UiToolkit::IDialogBuilderCallback {
public:
    UiToolkit::CControlUI* CreateCustomControl(const wchar_t* tag) override {
        if (tag && wcscmp(tag, L"soft_detail") == 0) return new Detail;
        return nullptr;
    }
};

std::wstring Named(const CataloguePageConfig& config, const wchar_t* suffix) {
    return std::wstring(config.prefix) + suffix;
}

void StyleTypeListScrollBar(UiToolkit::CListUI* list) {
    list->EnableScrollBars(true, false);
    UiToolkit::CScrollBarUI* bar = list->GetVerticalScrollBar();
    if (!bar) return;
    typedef UiToolkit::CScrollBarUI B;
    bar->SetFixedWidth(8);
    bar->SetShowButton1(false);
    bar->SetShowButton2(false);
    const wchar_t back[] = L"file='scrollbar1.png' source='0,17,8,34'";
    const wchar_t back_active[] = L"file='scrollbar1.png' source='8,17,16,34'";
    const wchar_t thumb[] = L"file='scrollbar1.png' source='0,0,8,17'";
    const wchar_t thumb_active[] = L"file='scrollbar1.png' source='8,0,16,17'";
    bar->SetImage(B::kBack, B::kNormal, back);
    bar->SetImage(B::kBack, B::kHot, back_active);
    bar->SetImage(B::kBack, B::kPushed, back_active);
    bar->SetImage(B::kBack, B::kDisabled, back_active);
    bar->SetImage(B::kThumb, B::kNormal, thumb);
    bar->SetImage(B::kThumb, B::kHot, thumb_active);
    bar->SetImage(B::kThumb, B::kPushed, thumb_active);
    bar->SetImage(B::kThumb, B::kDisabled, thumb_active);
}

}  // namespace

Page::Page(const CataloguePageConfig& config)
    : config_(config), lifetime_(std::make_shared<int>(0)), shared_(std::make_shared<Shared>()), current_sub_(0), loaded_(false),
      loading_step_(0), latest_request_(0), bound_(false), bind_tried_(false),
      detail_shown_(false), switch_(nullptr), type_list_(nullptr), soft_list_(nullptr),
      text_bar_(nullptr), back_btn_(nullptr), page_plane_(nullptr), search_edit_(nullptr),
      search_btn_(nullptr), main_type_btn_(nullptr), pager_(nullptr), detail_(nullptr) {
    shared_->title = config.title;
    PageDlgBldCbEx callback;
    UiToolkit::CSkinBuilder builder;
    UiToolkit::CControlUI* root =
        builder.BuildSkin(config.skin_file, nullptr, &callback, MainManager(), nullptr);
    if (root && root->FindInterface(L"IContainer")) {
        Add(root);
    } else {
        if (root) log_error("%s: the root of %ls is not a container", "Page::Page", config.skin_file);
        delete root;
    }
    LiveTarget target;
    target.cls = TargetClass::kPage;
    target.control = this;
    target.receiver = static_cast<UiToolkit::INotifyUI*>(this);
    registration_.Set(static_cast<const void*>(this), target);
}

Page::~Page() {
    // Rows freed from here on (with the container, a base destroyed after
    // the observer list, or later by the manager) leave the list alone.
    lifetime_.reset();
    registration_.Reset();
    if (m_manager) m_manager->StopTimer(this, config_.timer_id);
}

const wchar_t* Page::ClassName() const { return L"PageUI"; }

LPVOID Page::FindInterface(const wchar_t* name) {
    if (name && wcscmp(name, kPageReceiverInterface) == 0)
        return static_cast<UiToolkit::INotifyUI*>(this);
    if (name && wcscmp(name, L"Page") == 0) return this;
    return CContainerUI::FindInterface(name);
}

int32_t Page::MainTypeId() const { return shared_->main_type_id.load(); }

bool Page::Usable() {
    BindControls();
    return bound_;
}

// Binds the named controls of the page's skin once. A skin that lacks one
// is logged (once, naming the file and the control) and the page does
// without: every use checks its control.
bool Page::BindControls() {
    if (bind_tried_) return bound_;
    UiToolkit::CWindowManagerUI* manager = m_manager ? m_manager : MainManager();
    if (!manager) return false;
    bind_tried_ = true;
    const wchar_t* skin = config_.skin_file;
    UiToolkit::CWindowManagerUI& m = *manager;
    bool all = true;
    all &= BindSkinControl(switch_, m, skin, Named(config_, L"_soft_switch").c_str(), L"TabLayout");
    all &= BindSkinControl(type_list_, m, skin, Named(config_, L"_soft_type_list").c_str(), L"List");
    all &= BindSkinControl(soft_list_, m, skin, Named(config_, L"_soft_list").c_str(), L"List");
    all &= BindSkinControl(text_bar_, m, skin, Named(config_, L"_text_bar").c_str(), L"Button");
    all &= BindSkinControl(back_btn_, m, skin, Named(config_, L"_back_btn").c_str(), L"Button");
    all &= BindSkinControl(page_plane_, m, skin, Named(config_, L"_page_button_plane").c_str(),
                           L"HorizontalLayout");
    all &= BindSkinControl(search_edit_, m, skin, Named(config_, L"_search_edit").c_str(), L"Edit");
    all &= BindSkinControl(search_btn_, m, skin, Named(config_, L"_search_btn").c_str(), L"Button");
    all &= BindSkinControl(main_type_btn_, m, skin, Named(config_, L"_main_type_btn").c_str(),
                           L"Button");
    if (switch_ && switch_->GetCount() >= 2) {
        UiToolkit::CControlUI* item = switch_->GetItemAt(1);
        auto* holder = static_cast<UiToolkit::IContainerUI*>(item->FindInterface(L"IContainer"));
        UiToolkit::CControlUI* first = holder && holder->GetCount() > 0 ? holder->GetItemAt(0) : nullptr;
        detail_ = first ? static_cast<Detail*>(first->FindInterface(L"Detail")) : nullptr;
    }
    if (!detail_) {
        log_error("%s: %ls has no detail view in the second item of %ls", "Page::BindControls",
                  skin, Named(config_, L"_soft_switch").c_str());
    }
    bound_ = all && detail_;

    if (type_list_) {
        type_list_->ApplyAttribute(L"itemhotbkcolor", L"#FFD4D4D4");
        type_list_->ApplyAttribute(L"itemselectedbkcolor", L"#FF87CEFA");
        StyleTypeListScrollBar(type_list_);
        AddCategoryRow();
    }
    if (soft_list_) {
        soft_list_->ApplyAttribute(L"itemhotbkcolor", L"#FFFFEBCD");
        soft_list_->ApplyAttribute(L"itemselectedbkcolor", L"#FF87CEFA");
    }
    if (text_bar_) {
        text_bar_->SetEnabled(false);
        text_bar_->SetDisabledTextColor(0xFF000000);
    }
    if (back_btn_) back_btn_->SetVisible(false);
    if (main_type_btn_) main_type_btn_->SetVisible(false);
    if (search_edit_) {
        search_edit_->SetText(kSearchPrompt);
        search_edit_->SetTextColor(kPromptColor);
    }
    return bound_;
}

bool Page::IsMainTabButton(UiToolkit::CControlUI* control) const {
    if (!control) return false;
    const UiToolkit::CUiString name = control->GetName();
    for (const wchar_t* tab : kMainTabButtons) {
        if (name == tab) return true;
    }
    return false;
}

void Page::Notify(UiToolkit::TUiNotify& msg) {
    BindControls();
    UiToolkit::CControlUI* sender = msg.pSender;
    const UiToolkit::CUiString& type = msg.sType;
    if (pager_ && pager_->HandleNotify(msg)) return;

    // Only the first showing loads: the main window's first paint (tab 0)
    // or the tab button that shows this page. A "selectchanged" from any
    // other option (a row's icon, say) is not the page's business.
    if (type == UI_NOTIFY_WINDOWINIT ||
        (type == UI_NOTIFY_SELECTCHANGED && IsMainTabButton(sender))) {
        if (pager_) pager_->SelectCurrent();
        if (!loaded_) {
            LoadMainType(1, false);
            loaded_ = true;
        }
        return;
    }
    if (type == UI_NOTIFY_ITEMSELECT && sender && sender == type_list_) {
        const int index = type_list_->GetSelectedIndex();
        UiToolkit::CControlUI* row = index >= 0 ? type_list_->GetItemAt(index) : nullptr;
        TypeListItem* item = row ? static_cast<TypeListItem*>(row->FindInterface(L"TypeListItem")) : nullptr;
        if (!item) return;
        if (detail_shown_) LeaveDetail();
        current_sub_ = item->ClassId();
        LoadSubType(current_sub_, 1);
        return;
    }
    if (type == UI_NOTIFY_TIMER && msg.wParam == config_.timer_id) {
        StepLoadingText();
        return;
    }
    if (type == UI_NOTIFY_CLICK && sender) {
        if (sender == back_btn_) {
            if (MainFrameFlags::OpenedFromHome()) {
                if (UiToolkit::CWindowManagerUI* manager = MainManager())
                    manager->EmitNotify(nullptr, L"switch_back_to_homepage", 0, 0, false);
            } else {
                current_sub_ = 0;
                LoadMainType(1, false);
            }
            return;
        }
        if (sender == search_btn_) {
            if (!keyword_.empty()) {
                Search();
                keyword_.clear();
            }
            return;
        }
        if (sender == main_type_btn_) {
            current_sub_ = 0;
            LoadMainType(1, false);
            return;
        }
    }
    if (sender && sender == search_edit_) {
        if (type == UI_NOTIFY_RETURN) {
            keyword_ = search_edit_->GetText().GetData();
            if (!keyword_.empty()) {
                Search();
                keyword_.clear();
            }
            return;
        }
        if (type == UI_NOTIFY_KILLFOCUS) {
            keyword_ = search_edit_->GetText().GetData();
            search_edit_->SetTextColor(kPromptColor);
        } else if (type == UI_NOTIFY_SETFOCUS) {
            search_edit_->SetTextColor(kFocusedTextColor);
        }
        ForwardToAll(msg);
        return;
    }
    if (type == L"refresh_content") {
        // Refreshing also returns to the main category, whose first page
        // is what it reloads.
        current_sub_ = 0;
        LoadMainType(1, true);
        return;
    }
    if (type == L"click_soft_detail") {
        ShowDetail(static_cast<int>(msg.lParam));
        return;
    }
    if (type == L"back_to_soft_list_page") {
        LeaveDetail();
        return;
    }
    if (type == L"insert_single_soft_item") {
        InsertSingle(reinterpret_cast<SoftListItem*>(msg.wParam));
        msg.wParam = 0;
        return;
    }
    if (type == L"page_show_soft_types") {
        ShowTypes();
        return;
    }
    if (type == L"page_show_soft_items") {
        ShowItems(reinterpret_cast<RankResult*>(msg.wParam));
        msg.wParam = 0;
        return;
    }
    if (type == L"clear_before_insert") {
        ClearBeforeInsert(static_cast<int>(msg.wParam));
        return;
    }
    ForwardToAll(msg);
}

void Page::OnPageChanged(int page) {
    if (soft_list_) soft_list_->ScrollToTop();
    if (current_sub_ <= 0)
        LoadMainType(page, false);
    else
        LoadSubType(current_sub_, page);
}

void Page::ShowDetail(int soft_id) {
    SoftwarePtr soft = SoftInfoMgr::Instance().GetSoft(soft_id);
    // Without a record there is nothing to show: the list stays.
    if (!soft || !detail_ || !switch_) return;
    detail_->ShowSoft(soft);
    if (!detail_shown_) AddObserver(detail_);
    detail_shown_ = true;
    switch_->SelectItem(1);
}

void Page::LeaveDetail() {
    if (switch_) switch_->SelectItem(0);
    if (!detail_) return;
    detail_->Leave();
    if (detail_shown_) RemoveObserver(detail_);
    detail_shown_ = false;
}

NecessarySoft::NecessarySoft() : Page(kNecessarySoftConfig) {}
SchemeSoft::SchemeSoft() : Page(kSchemeSoftConfig) {}
ToolsSoft::ToolsSoft() : Page(kToolsSoftConfig) {}
MarketSoft::MarketSoft() : Page(kMarketSoftConfig) {}

void MarketSoft::Notify(UiToolkit::TUiNotify& msg) {
    if (msg.sType == L"click_detail_on_collect" || msg.sType == L"click_detail_on_scheme") {
        BindControls();
        OpenSoft(static_cast<int>(msg.lParam));
        SetLoaded(false);
        return;
    }
    Page::Notify(msg);
}

const CataloguePageConfig kNecessarySoftConfig = {L"necessary", L"装机必备", L"电脑应用",
                                                  L"soft_necessary.xml", L"cclogo.png", 101};
const CataloguePageConfig kMarketSoftConfig = {L"market", L"软件宝库", L"软件应用",
                                               L"soft_market.xml", L"cslogo.png", 102};
const CataloguePageConfig kSchemeSoftConfig = {L"scheme", L"装机方案", L"装机方案",
                                               L"soft_scheme.xml", L"cilogo.png", 103};
const CataloguePageConfig kToolsSoftConfig = {L"tools", L"实用工具", L"实用工具",
                                              L"soft_tools.xml", L"ctlogo.png", 104};
