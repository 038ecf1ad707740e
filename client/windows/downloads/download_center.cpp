#include "client/windows/downloads/download_center.h"

#include <shellapi.h>
#include <wchar.h>

#include "client/core/downloads/download_task_registry.h"
#include "client/core/settings/conf_mgr.h"
#include "client/core/startup/main_window_handle.h"
#include "client/windows/downloads/centre_rules.h"
#include "client/windows/downloads/downloaded_page.h"
#include "client/windows/downloads/downloading_page.h"
#include "client/windows/pages/page_receiver.h"
#include "client/windows/skin_binding.h"
#include "foundation/log/log.h"

using namespace UiToolkit;

namespace {
const wchar_t kSkin[] = L"download_mgr.xml";
}

CControlUI* DownloadCenterBuildCallback::CreateCustomControl(const wchar_t* tag) {
    if (!tag) return nullptr;
    if (_wcsicmp(tag, L"downloading_page") == 0) return new DownloadingPage;
    if (_wcsicmp(tag, L"downloaded_page") == 0) return new DownloadedPage;
    return nullptr;
}

DownloadCenter::DownloadCenter()
    : open_dir_btn_(nullptr),
      back_btn_(nullptr),
      downloading_btn_(nullptr),
      downloaded_btn_(nullptr),
      tabs_(nullptr),
      current_(nullptr) {
    DownloadCenterBuildCallback callback;
    CSkinBuilder builder;
    CControlUI* root = builder.BuildSkin(kSkin, nullptr, &callback, MainManager(), nullptr);
    if (root && root->FindInterface(L"IContainer")) {
        Add(root);
    } else {
        log_error("%s: %ls gives no container: the centre stays empty", "DownloadCenter", kSkin);
        delete root;
    }
}

const wchar_t* DownloadCenter::ClassName() const { return L"DownloadCenter"; }

LPVOID DownloadCenter::FindInterface(const wchar_t* name) {
    if (name && wcscmp(name, kPageReceiverInterface) == 0) return static_cast<INotifyUI*>(this);
    if (name && wcscmp(name, L"DownloadCenter") == 0) return this;
    return CContainerUI::FindInterface(name);
}

// Each control is looked up once and kept; while one is missing the centre
// ignores its notifications (a broken skin, said once per control).
bool DownloadCenter::BindControls() {
    CWindowManagerUI* manager = m_manager ? m_manager : MainManager();
    if (!manager) return false;
    CWindowManagerUI& m = *manager;
    if (!downloading_btn_) BindSkinControl(downloading_btn_, m, kSkin, L"downloading_btn", L"Option");
    if (!downloaded_btn_) BindSkinControl(downloaded_btn_, m, kSkin, L"downloaded_btn", L"Option");
    if (!open_dir_btn_) BindSkinControl(open_dir_btn_, m, kSkin, L"open_dir_btn", L"Button");
    if (!back_btn_) BindSkinControl(back_btn_, m, kSkin, L"back_btn", L"Button");
    if (!tabs_) BindSkinControl(tabs_, m, kSkin, L"downlaod_tab_switch", L"TabLayout");
    return downloading_btn_ && downloaded_btn_ && open_dir_btn_ && back_btn_ && tabs_;
}

INotifyUI* DownloadCenter::SubPage(int index) const {
    if (!tabs_ || index < 0 || index >= tabs_->GetCount()) return nullptr;
    CControlUI* item = tabs_->GetItemAt(index);
    auto* holder = item ? static_cast<IContainerUI*>(item->FindInterface(L"IContainer")) : nullptr;
    CControlUI* first = holder && holder->GetCount() > 0 ? holder->GetItemAt(0) : nullptr;
    return first ? static_cast<INotifyUI*>(first->FindInterface(L"CentreSubPage")) : nullptr;
}

void DownloadCenter::UpdateCaptions() {
    if (downloading_btn_)
        downloading_btn_->SetText(CentreRules::DownloadingCaption(DownloadTaskRegistry::ActiveCount()).c_str());
    if (downloaded_btn_)
        downloaded_btn_->SetText(CentreRules::DownloadedCaption(DownloadTaskRegistry::CompletedCount()).c_str());
}

void DownloadCenter::Notify(TUiNotify& msg) {
    if (!BindControls()) return;
    if (msg.sType == UI_NOTIFY_TABSELECT) {
        UpdateCaptions();
        const int selected = tabs_->GetCurSel();
        current_ = SubPage(selected < 0 ? 0 : selected);
        if (current_) current_->Notify(msg);
        return;
    }
    if (msg.sType == L"show_number_info") {
        UpdateCaptions();
        return;
    }
    if (msg.sType == UI_NOTIFY_CLICK) {
        if (msg.pSender == downloading_btn_ || msg.pSender == downloaded_btn_) {
            const int want = msg.pSender == downloading_btn_ ? 0 : 1;
            if (tabs_->GetCurSel() != want) tabs_->SelectItem(want);
            return;
        }
        if (msg.pSender == back_btn_) {
            if (m_manager) m_manager->EmitNotify(this, L"back_from_download_page", 0, 0, true);
            return;
        }
        if (msg.pSender == open_dir_btn_) {
            std::wstring folder;
            if (!ConfMgr::GetDownloadPath(&folder) || folder.empty()) {
                log_error("%s: no download folder to open", "DownloadCenter");
                return;
            }
            ::ShellExecuteW(nullptr, nullptr, folder.c_str(), nullptr, nullptr, SW_SHOW);
            return;
        }
    }
    if (msg.sType == L"delete_list_elem_downladed") {
        current_ = SubPage(1);
        if (current_) current_->Notify(msg);
        return;
    }
    if (current_) current_->Notify(msg);
}
