#include "client/windows/detail/detail.h"

#include <wchar.h>

#include "client/core/catalogue/soft_info_mgr.h"
#include "client/core/install_scan/install_scan_mgr.h"
#include "client/core/startup/main_window_handle.h"
#include "client/core/user_services/soft_score_mgr.h"
#include "client/windows/detail/detail_rules.h"
#include "client/windows/detail/detail_texts.h"
#include "client/windows/detail/web.h"
#include "client/windows/dialogs/loading_wnd.h"
#include "client/windows/main_frame_messages.h"
#include "foundation/log/log.h"
#include "uitoolkit/core/window_manager.h"

using namespace UiToolkit;

Detail::Detail(InstallScanMgr* scan)
    : scan_(scan ? scan : &InstallScanMgr::Instance()),
      back_btn_(nullptr),
      web_holder_(nullptr),
      icon_(nullptr),
      name_(nullptr),
      score_text_(nullptr),
      count_text_(nullptr),
      facts_{},
      down_btn_(nullptr),
      soft_id_(-1),
      watched_id_(-1) {
    BuildLayout();
    LiveTarget target;
    target.cls = TargetClass::kDetail;
    target.control = this;
    target.receiver = this;
    registration_.Set(this, target);
}

Detail::~Detail() { Leave(); }

const wchar_t* Detail::ClassName() const { return L"Detail"; }

LPVOID Detail::FindInterface(const wchar_t* name) {
    if (wcscmp(name, L"Detail") == 0) return this;
    return CContainerUI::FindInterface(name);
}

Web* Detail::GetWeb() const {
    return web_holder_->GetCount() > 0 ? static_cast<Web*>(web_holder_->GetItemAt(0)) : nullptr;
}

void Detail::ShowSoft(const SoftwarePtr& soft) {
    // A view watches one software at a time: a second ShowSoft without a
    // Leave would leave the first id's registration behind.
    Leave();
    if (!soft) {
        log_error("%s: no record for the software: nothing shown", "Detail::ShowSoft");
        return;
    }
    soft_ = soft;
    const int id = soft->soft_id;
    soft_id_.store(id);

    CWindowManagerUI* manager = m_manager ? m_manager : MainManager();
    if (Web* web = GetWeb()) {
        web->SetSoftId(id);
    } else if (manager) {
        web = new Web(manager, id);
        web_holder_->Add(web);
        web->Init();
    } else {
        log_error("%s: the view is in no window: no page is shown", "Detail::ShowSoft");
    }

    DownloadTaskRegistry::AddObserver(id, this);
    watched_id_ = id;
    Fill();
}

void Detail::Leave() {
    // Each removal waits for a call of this view in progress on another
    // thread, so nothing of this view runs once Leave has returned.
    scan_->RemoveObserver(this);
    if (watched_id_ != -1) {
        DownloadTaskRegistry::RemoveObserver(watched_id_, this);
        watched_id_ = -1;
    }
}

HWND Detail::OwnerWindow() const {
    HWND own = m_manager ? m_manager->GetWindow() : nullptr;
    return own ? own : MainWindowHandle();
}

void Detail::Post(UINT message, WPARAM wParam) {
    HWND main = MainWindowHandle();
    if (!main || !::PostMessageW(main, message, wParam, reinterpret_cast<LPARAM>(this)))
        log_error("%s: message %u not posted", "Detail", message);
}

void Detail::Fill() {
    const int id = soft_id_.load();
    SoftInfoMgr& cache = SoftInfoMgr::Instance();
    icon_->SetBkImage(cache.GetIconPath(*soft_).c_str());
    name_->SetText(soft_->soft_name.c_str());

    // Only a score the service gave replaces the cached one; without an
    // answer the view shows the cached score, with no count.
    const int cached = cache.GetSoftScore(*soft_);
    int score = 0, count = 0;
    bool answered = false;
    if (!RunInLoadingWnd(OwnerWindow(),
                         [&] { answered = SoftScoreMgr::GetScore(&count, &score, id); }))
        return;  // the program is quitting
    if (answered) {
        cache.SetSoftScore(id, score);
    } else {
        log_error("%s: no score for soft %d: the cached score is shown", "Detail::Fill", id);
        score = cached;
        count = 0;
    }
    ShowAverage(score, count);

    facts_[0]->SetText(DetailRules::VersionText(soft_->soft_version).c_str());
    facts_[1]->SetText(DetailRules::SizeText(soft_->soft_size).c_str());
    facts_[2]->SetText(DetailTexts::kLicence);
    facts_[3]->SetText(DetailTexts::kUpdateTime);
    facts_[4]->SetText(DetailTexts::kEnvironment);

    ShowOwnStars(3);
    FillButton();
}

void Detail::FillButton() {
    const int id = soft_id_.load();
    DetailRules::Standing standing;
    standing.downloading = DownloadTaskRegistry::IsDownloading(id);
    // The scan refuses an observer once it is over: then its list answers.
    if (!standing.downloading) standing.scan_waiting = scan_->AddObserver(this);
    if (!standing.downloading && !standing.scan_waiting) {
        InstalledSoft installed;
        standing.installed = scan_->FindInstalled(id, &installed);
        standing.update = standing.installed && installed.update;
    }
    const DetailRules::ButtonLook look = DetailRules::ButtonAfterFill(standing);
    down_btn_->SetText(look.text);
    down_btn_->SetEnabled(look.enabled);
}

void Detail::ShowAverage(int score, int count) {
    const int full = DetailRules::FullStars(score);
    for (int i = 0; i < DetailRules::kStarCount; ++i) {
        COptionUI* star = average_stars_[i];
        star->SetOptionForeImage(i < full ? DetailTexts::kFullStar : DetailTexts::kEmptyStar);
        star->SetFixedWidth(12);
        star->SetFixedHeight(11);
        star->SetEnabled(false);
    }
    score_text_->SetText(DetailRules::ScoreText(score).c_str());
    count_text_->SetText(DetailRules::CountText(count).c_str());
}

void Detail::ShowOwnStars(int full) {
    for (int i = 0; i < DetailRules::kStarCount; ++i)
        own_stars_[i]->SetOptionForeImage(i < full ? DetailTexts::kFullStar : DetailTexts::kEmptyStar);
}

void Detail::OnOwnStarClick(int index, POINT client_point) {
    ShowOwnStars(index + 1);
    const int id = soft_id_.load();
    const int own = DetailRules::OwnScore(index);
    POINT at = client_point;
    if (m_manager && m_manager->GetWindow()) ::ClientToScreen(m_manager->GetWindow(), &at);
    at.x -= 24;
    at.y -= 24;
    int score = -1, count = -1;
    if (!RunInLoadingWndAt(OwnerWindow(), at, [&] {
            if (SoftScoreMgr::SetScore(id, own)) SoftScoreMgr::GetScore(&count, &score, id);
        }))
        return;
    // Without both answers the user's stars stay and nothing else changes.
    if (score == -1 || count == -1) return;
    SoftInfoMgr::Instance().SetSoftScore(id, score);
    ShowAverage(score, count);
}

void Detail::Notify(TUiNotify& msg) {
    if (msg.sType == UI_NOTIFY_CLICK) {
        if (msg.pSender == back_btn_) {
            HWND main = MainWindowHandle();
            if (main) ::PostMessageW(main, WM_BACK_TO_SOFT_LIST_PAGE, 0, 0);
            return;
        }
        if (msg.pSender == down_btn_) {
            const int id = soft_id_.load();
            if (soft_ && DetailRules::ButtonStartsDownload(down_btn_->GetText().GetData()) &&
                !DownloadTaskRegistry::IsDownloading(id))
                DownloadTaskRegistry::Start(id);
            return;
        }
        for (int i = 0; i < DetailRules::kStarCount; ++i) {
            if (msg.pSender == own_stars_[i]) {
                if (soft_) OnOwnStarClick(i, msg.ptMouse);
                return;
            }
        }
        return;
    }
    if (msg.sType == L"wm_prepare_on_detail") {
        down_btn_->SetText(DetailTexts::kDownloading);
    } else if (msg.sType == L"wm_checked_on_detail") {
        down_btn_->SetText(DetailRules::CheckedText(msg.wParam != 0));
    } else if (msg.sType == L"wm_final_on_detail") {
        down_btn_->SetText(DetailRules::TextAfterScan(down_btn_->GetText().GetData()).c_str());
        down_btn_->SetEnabled(true);
    }
}

void Detail::OnPrepare() { Post(WM_PREPARE_ON_DETAIL, 0); }

bool Detail::OnSoft(const SysInstallSoftPtr& soft) {
    if (!soft || soft->soft_id != soft_id_.load()) return false;
    Post(WM_CHECKED_ON_DETAIL, soft->update ? 1 : 0);
    return true;
}

void Detail::OnScanFinished() { Post(WM_FINAL_ON_DETAIL, 0); }
