#include "client/windows/home/home_page.h"

#include <wchar.h>

#include <string>

#include "client/core/reports/login_session.h"
#include "client/core/startup/main_window_handle.h"
#include "client/windows/favourites/my_collect.h"
#include "client/windows/home/home_texts.h"
#include "client/windows/main_frame_messages.h"
#include "client/windows/pages/page_receiver.h"
#include "client/windows/schemes/my_scheme.h"
#include "client/windows/skin_binding.h"
#include "foundation/log/log.h"
#include "uitoolkit/core/window_manager.h"
#include "uitoolkit/skin/skin_builder.h"

namespace {

const wchar_t kSkin[] = L"new_home_page.xml";
// The main window's tab layout: its "tabselect" means the home tab was
// just shown (the home page's own tab layout sends one too).
const wchar_t kMainSwitch[] = L"switch";

// The first control of a tab page of `tabs`, which the skin gives as a
// layout holding one custom tag.
UiToolkit::CControlUI* FirstChildOfPage(UiToolkit::CTabLayoutUI* tabs, int page) {
    if (!tabs || page >= tabs->GetCount()) return nullptr;
    UiToolkit::CControlUI* item = tabs->GetItemAt(page);
    auto* holder = static_cast<UiToolkit::IContainerUI*>(item->FindInterface(L"IContainer"));
    return holder && holder->GetCount() > 0 ? holder->GetItemAt(0) : nullptr;
}

}  // namespace

UiToolkit::CControlUI* HomePageDlgBuildCallback::CreateCustomControl(const wchar_t* tag) {
    if (!tag) return nullptr;
    if (_wcsicmp(tag, L"my_collect") == 0) return new MyCollect;
    if (_wcsicmp(tag, L"my_scheme") == 0) return new MyScheme;
    return nullptr;
}

HomePage::HomePage()
    : tab_switch_(nullptr),
      collect_option_(nullptr),
      scheme_option_(nullptr),
      user_name_(nullptr),
      logout_btn_(nullptr),
      controls_tried_(false) {
    HomePageDlgBuildCallback callback;
    UiToolkit::CSkinBuilder builder;
    UiToolkit::CControlUI* root = builder.BuildSkin(kSkin, nullptr, &callback, MainManager(), nullptr);
    if (root && root->FindInterface(L"IContainer")) {
        Add(root);
    } else {
        log_error("%s: %ls gave no container to show", "HomePage::HomePage", kSkin);
        delete root;
        RemoveAll();
    }
}

HomePage::~HomePage() {
    // The sub-pages are children and go with them: take them off the list
    // first, so nothing can reach them once they are gone.
    for (UiToolkit::INotifyUI* sub : sub_pages_) RemoveObserver(sub);
    sub_pages_.clear();
    // At once: the manager may itself be going away.
    SetDelayedDestroy(false);
    RemoveAll();
}

const wchar_t* HomePage::ClassName() const { return L"HomePageUI"; }

LPVOID HomePage::FindInterface(const wchar_t* name) {
    if (name && wcscmp(name, kPageReceiverInterface) == 0)
        return static_cast<UiToolkit::INotifyUI*>(this);
    if (name && wcscmp(name, L"HomePage") == 0) return this;
    return CContainerUI::FindInterface(name);
}

// Finds the named controls on first use; a skin that lacks one is logged
// once, and the page does without it.
void HomePage::EnsureControls() {
    UiToolkit::CWindowManagerUI* manager = m_manager ? m_manager : MainManager();
    if (!manager || controls_tried_) return;
    controls_tried_ = true;
    UiToolkit::CWindowManagerUI& m = *manager;
    BindSkinControl(tab_switch_, m, kSkin, L"home_page_tab_switch", L"TabLayout");
    BindSkinControl(collect_option_, m, kSkin, L"my_collect", L"Option");
    BindSkinControl(scheme_option_, m, kSkin, L"my_scheme", L"Option");
    BindSkinControl(user_name_, m, kSkin, L"my_username", L"Button");
    BindSkinControl(logout_btn_, m, kSkin, L"my_loginout_btn", L"Button");
    const int pages[] = {kSchemePage, kCollectPage};
    for (int page : pages) {
        UiToolkit::INotifyUI* sub = PageReceiverOf(FirstChildOfPage(tab_switch_, page));
        if (!sub) {
            log_error("%s: %ls has no sub-page in page %d of home_page_tab_switch",
                      "HomePage::EnsureControls", kSkin, page);
            continue;
        }
        AddObserver(sub);
        sub_pages_.push_back(sub);
    }
}

void HomePage::Notify(UiToolkit::TUiNotify& msg) {
    EnsureControls();
    const UiToolkit::CUiString& type = msg.sType;
    if (type == UI_NOTIFY_TABSELECT) {
        OnTabSelect(msg);
        ForwardToAll(msg);
        return;
    }
    if (type == UI_NOTIFY_CLICK && msg.pSender) {
        if (msg.pSender == scheme_option_) {
            ShowSubPage(kSchemePage, HomeTexts::kSwitchToScheme);
            return;
        }
        if (msg.pSender == collect_option_) {
            ShowSubPage(kCollectPage, HomeTexts::kSwitchToCollect);
            return;
        }
        if (msg.pSender == logout_btn_) {
            ::PostMessageW(MainWindowHandle(), WM_LOGOUT, 0, 0);
            return;
        }
    }
    if (type == L"login_post") {
        OnLoginPost();
        return;
    }
    ForwardToAll(msg);
}

void HomePage::ShowSubPage(int page, const wchar_t* announcement) {
    if (tab_switch_) tab_switch_->SelectItem(page);
    NotifyAll(announcement);
}

void HomePage::OnTabSelect(UiToolkit::TUiNotify& msg) {
    if (!msg.pSender || msg.pSender == tab_switch_ || msg.pSender->GetName() != kMainSwitch) return;
    if (!tab_switch_) return;
    const int current = tab_switch_->GetCurSel();
    if (current == kSchemePage) NotifyAll(HomeTexts::kSwitchToScheme);
    if (current == kCollectPage) {
        NotifyAll(HomeTexts::kSwitchToCollect);
    } else {
        // The favourites' marks are refreshed while the schemes are shown.
        NotifyAll(HomeTexts::kFetchCollect);
    }
}

void HomePage::OnLoginPost() {
    LoginSession& session = LoginSession::Instance();
    // Logged out: the page keeps what it shows (the tab cannot be reached
    // until the next login, which greets the new user).
    if (session.state() != LoginSession::kLoggedIn || !user_name_) return;
    const std::wstring greeting = HomeTexts::kGreetingPrefix + session.account();
    user_name_->SetText(greeting.c_str());
}
