#include "client/windows/catalogue/soft_list_item.h"

#include <stdio.h>
#include <wchar.h>

#include "client/core/catalogue/soft_info_mgr.h"
#include "client/core/icons/icon_downloader.h"
#include "client/core/icons/local_icon_mgr.h"
#include "client/core/install_scan/install_scan_mgr.h"
#include "client/core/reports/login_session.h"
#include "client/core/startup/main_window_handle.h"
#include "client/windows/catalogue/install_job.h"
#include "client/windows/catalogue/row_waits.h"
#include "client/windows/catalogue/soft_size_text.h"
#include "client/windows/dialogs/loading_wnd.h"
#include "client/windows/dialogs/message_wnd.h"
#include "client/windows/downloads/speed_text.h"
#include "client/windows/main/message_records.h"
#include "client/windows/main_frame_messages.h"
#include "client/windows/menus/popup_menus.h"
#include "client/windows/pages/notify_observer_list.h"
#include "foundation/ke/critical_section.h"
#include "foundation/log/log.h"
#include "uitoolkit/core/window_manager.h"
#include "uitoolkit/layouts/horizontal_layout.h"
#include "uitoolkit/layouts/vertical_layout.h"

const wchar_t kFallbackSoftIcon[] = L"default\\main\\soft_icon_default.png";

namespace {

const int kRowHeight = 66;
const wchar_t kPleaseLogIn[] = L"请登录Kelvora！";

struct ScanSeams {
    ke::critical_section lock;
    InstallScanMgr* scan = nullptr;
    std::function<void()> hook;
};
ScanSeams& Seams() {
    static ScanSeams* seams = new ScanSeams;
    return *seams;
}
InstallScanMgr& RowScan() {
    ke::scoped_lock guard(Seams().lock);
    return Seams().scan ? *Seams().scan : InstallScanMgr::Instance();
}
void RunScanHook() {
    std::function<void()> hook;
    {
        ke::scoped_lock guard(Seams().lock);
        hook = Seams().hook;
    }
    if (hook) hook();
}

UiToolkit::CVerticalLayoutUI* Cell(int width, RECT inset) {
    UiToolkit::CVerticalLayoutUI* cell = new UiToolkit::CVerticalLayoutUI;
    if (width > 0) cell->SetFixedWidth(width);
    cell->SetInset(inset);
    return cell;
}

std::wstring ScoreLabel(int score) {
    wchar_t text[32];
    swprintf(text, sizeof(text) / sizeof(text[0]), L"%d分", score);
    return text;
}

}  // namespace

void SoftListItem::SetScanForTests(InstallScanMgr* scan) {
    ke::scoped_lock guard(Seams().lock);
    Seams().scan = scan;
}

void SoftListItem::SetScanRegistrationHookForTests(std::function<void()> hook) {
    ke::scoped_lock guard(Seams().lock);
    Seams().hook = std::move(hook);
}

SoftListItem::SoftListItem(const RowOwner& owner, int32_t soft_id, int request)
    : owner_(owner), soft_id_(soft_id), request_(request), identity_(NewRowIdentity()),
      progress_samples_(0), progress_speed_sum_(0),
      progress_last_post_(0), progress_posted_(false), attached_(false), icon_asked_(false),
      scan_registered_(false), strip_built_(false), icon_(nullptr), name_(nullptr), desc_(nullptr), size_(nullptr),
      stars_{}, score_(nullptr), gap_cell_(nullptr), collect_cell_(nullptr), collect_(nullptr),
      action_cell_(nullptr), action_(nullptr), menu_(nullptr), progress_(nullptr) {
    SetFixedHeight(kRowHeight);
    BuildLayout();
    ShowRecord();
}

SoftListItem::~SoftListItem() {
    if (!attached_) return;
    registration_.Reset();
    if (progress_) progress_->UnregisterAsTarget();
    if (icon_asked_) SoftIconWaits().Remove(soft_id_, identity_);
    InstallJobs::Leave(identity_);
    if (scan_registered_) RowScan().RemoveObserver(this);
    SoftScoreMgr::RemoveObserver(soft_id_, this);
    DownloadTaskRegistry::RemoveObserver(soft_id_, this);
    Collect::Unregister(soft_id_, this);
    InstallObserable::Unregister(soft_id_, this);
    if (owner_.observers && !owner_.alive.expired()) owner_.observers->RemoveObserver(this);
}

const wchar_t* SoftListItem::ClassName() const { return L"SoftListItemUI"; }

LPVOID SoftListItem::FindInterface(const wchar_t* name) {
    if (name && wcscmp(name, L"SoftListItem") == 0) return this;
    return CListContainerElementUI::FindInterface(name);
}

// The row's cells, left to right: icon 70, name (the rest), size 70,
// stars 60, score 50, gap 110, favourites 80, action 81; the download
// strip (320) replaces the last three while the software downloads.
void SoftListItem::BuildLayout() {
    UiToolkit::CVerticalLayoutUI* column = new UiToolkit::CVerticalLayoutUI;
    UiToolkit::CHorizontalLayoutUI* cells = new UiToolkit::CHorizontalLayoutUI;
    cells->SetFixedHeight(kRowHeight - 1);
    UiToolkit::CControlUI* line = new UiToolkit::CControlUI;
    line->SetFixedHeight(1);
    line->SetBkColor(0xFFEAEAEA);
    column->Add(cells);
    column->Add(line);
    Add(column);

    UiToolkit::CVerticalLayoutUI* icon_cell = Cell(70, RECT{11, 8, 0, 0});
    icon_ = new UiToolkit::COptionUI;
    icon_->SetFixedWidth(48);
    icon_->SetFixedHeight(48);
    icon_->SetBkImage(kFallbackSoftIcon);
    icon_cell->Add(icon_);
    cells->Add(icon_cell);

    UiToolkit::CVerticalLayoutUI* name_cell = Cell(0, RECT{10, 13, 0, 0});
    name_ = new UiToolkit::CButtonUI;
    name_->SetFixedHeight(25);
    name_->SetFont(4);
    name_->SetHotTextColor(0xFF0000CD);
    name_->ApplyAttribute(L"align", L"left");
    name_->ApplyAttribute(L"endellipsis", L"true");
    name_->SetToolTip(L"点击打开软件详情");
    UiToolkit::CControlUI* name_gap = new UiToolkit::CControlUI;
    name_gap->SetFixedHeight(1);
    desc_ = new UiToolkit::CButtonUI;
    desc_->SetFixedHeight(14);
    desc_->SetTextColor(0xFF8B8989);
    desc_->SetHotTextColor(0xFF000000);
    desc_->ApplyAttribute(L"align", L"left");
    desc_->ApplyAttribute(L"endellipsis", L"true");
    desc_->SetTextPadding(RECT{0, 2, 0, 0});
    name_cell->Add(name_);
    name_cell->Add(name_gap);
    name_cell->Add(desc_);
    cells->Add(name_cell);

    size_ = new UiToolkit::CLabelUI;
    size_->SetFixedWidth(70);
    size_->SetTextPadding(RECT{5, 25, 0, 0});
    size_->ApplyAttribute(L"align", L"left top");
    cells->Add(size_);

    UiToolkit::CHorizontalLayoutUI* star_cell = new UiToolkit::CHorizontalLayoutUI;
    star_cell->SetFixedWidth(60);
    star_cell->SetInset(RECT{0, 25, 0, 0});
    for (UiToolkit::COptionUI*& star : stars_) {
        star = new UiToolkit::COptionUI;
        star->SetFixedWidth(12);
        star->SetFixedHeight(11);
        star->SetEnabled(false);
        star_cell->Add(star);
    }
    cells->Add(star_cell);

    score_ = new UiToolkit::CLabelUI;
    score_->SetFixedWidth(50);
    score_->SetTextPadding(RECT{5, 0, 0, 0});
    cells->Add(score_);

    gap_cell_ = new UiToolkit::CControlUI;
    gap_cell_->SetFixedWidth(110);
    cells->Add(gap_cell_);

    UiToolkit::CVerticalLayoutUI* collect_cell = Cell(80, RECT{0, 23, 0, 0});
    collect_ = new UiToolkit::CButtonUI;
    collect_->SetFixedWidth(48);
    collect_->SetFixedHeight(18);
    collect_->SetNormalImage(L"default\\main\\collect_1.png");
    collect_->SetHotImage(L"default\\main\\collect_2.png");
    collect_->SetPushedImage(L"default\\main\\collect_3.png");
    collect_->SetDisabledImage(L"default\\main\\collect_4.png");
    collect_->SetToolTip(L"收藏");
    collect_cell->Add(collect_);
    collect_cell_ = collect_cell;
    cells->Add(collect_cell);

    UiToolkit::CHorizontalLayoutUI* action_cell = new UiToolkit::CHorizontalLayoutUI;
    action_cell->SetFixedWidth(81);
    action_cell->SetInset(RECT{0, 18, 0, 0});
    action_ = new UiToolkit::CButtonUI;
    action_->SetFixedWidth(62);
    action_->SetFixedHeight(28);
    action_->SetTextColor(0xFFFFFFFF);
    action_->SetDisabledTextColor(0xFFFFFFFF);
    menu_ = new UiToolkit::CButtonUI;
    menu_->SetFixedWidth(19);
    menu_->SetFixedHeight(28);
    menu_->SetToolTip(L"添加到装机方案");
    action_cell->Add(action_);
    action_cell->Add(menu_);
    action_cell_ = action_cell;
    cells->Add(action_cell);

    progress_ = new DownloadProgress;
    progress_->SetFixedWidth(320);
    progress_->SetFixedHeight(kRowHeight);
    cells->Add(progress_);
    progress_->SetVisible(false);
    SetLook(RowLooks::kDownload);
}

// What the record says: worker thread, before the row belongs to a window.
void SoftListItem::ShowRecord() {
    SoftwarePtr soft = SoftInfoMgr::Instance().GetSoft(soft_id_);
    if (soft) {
        name_->SetText(soft->soft_name.c_str());
        desc_->SetText(soft->soft_desc.c_str());
        desc_->SetToolTip(soft->soft_desc.c_str());
        size_->SetText(FormatSoftSize(soft->soft_size).c_str());
        ShowScore(soft->soft_score);
    } else {
        ShowScore(0);
    }
}

DownloadProgress* SoftListItem::Progress() {
    if (!strip_built_) {
        strip_built_ = true;
        progress_->Build(SoftInfoMgr::Instance().GetSoft(soft_id_), 0, false, false, 0, 0,
                         L"default\\progress\\progress_sbar_fg.png",
                         L"default\\progress\\progress_sbar_bg.png");
    }
    return progress_;
}

void SoftListItem::ShowScore(int score) {
    const int full = RowLooks::FullStars(score);
    for (int i = 0; i < 5; ++i) stars_[i]->SetBkImage(i < full ? RowLooks::kFullStar : RowLooks::kEmptyStar);
    score_->SetText(ScoreLabel(score).c_str());
}

void SoftListItem::SetLook(RowLooks::Look look) {
    const RowLooks::LookImages& images = RowLooks::ImagesOf(look);
    action_->SetText(images.text);
    action_->SetNormalImage(images.action[0]);
    action_->SetHotImage(images.action[1]);
    action_->SetPushedImage(images.action[2]);
    // A disabled action button keeps the face of its look.
    action_->SetDisabledImage(images.action[0]);
    menu_->SetNormalImage(images.menu[0]);
    menu_->SetHotImage(images.menu[1]);
    menu_->SetPushedImage(images.menu[2]);
}

std::wstring SoftListItem::ActionText() const { return action_->GetText().GetData(); }

bool SoftListItem::StripShown() const { return progress_->IsVisible(); }

void SoftListItem::Attach() {
    if (attached_) return;
    attached_ = true;
    if (owner_.observers && !owner_.alive.expired()) owner_.observers->AddObserver(this);
    LiveTarget target;
    target.cls = TargetClass::kSoftListItem;
    target.control = this;
    target.receiver = this;
    target.icon = this;
    registration_.Set(static_cast<const void*>(this), target);
    progress_->RegisterAsTarget();

    // The icon: known, or asked for.
    SoftwarePtr soft = SoftInfoMgr::Instance().GetSoft(soft_id_);
    const std::wstring icon = soft ? SoftInfoMgr::Instance().GetIconPath(*soft) : std::wstring();
    if (!icon.empty()) {
        icon_->SetBkImage(icon.c_str());
    } else {
        icon_asked_ = true;
        SoftIconWaits().Add(soft_id_, identity_);
        const uint64_t identity = identity_;
        const LPARAM row = Self();
        IconDownloader::Instance().RequestSoftIcon(
            soft_id_, [identity, row](int32_t id, const wchar_t* relative) {
                DownloadIconComplete(id, relative, identity, row);
            });
    }

    // Installed or not: asked of the scan, or waited for.
    InstallScanMgr& scan = RowScan();
    bool known = scan.ScanState() == InstallScanMgr::kDone;
    if (!known) {
        SetLook(RowLooks::kQuerying);
        action_->SetEnabled(false);
        RunScanHook();
        scan_registered_ = scan.AddObserver(this);
        // The scan may have ended since the look at its state: it then
        // refuses the registration and its answer is already there.
        known = !scan_registered_;
        if (known) action_->SetEnabled(true);
    }
    if (known) ApplyInstalledState();
    InstallObserable::Register(soft_id_, this);

    // A download of the id that is running or stopped shows at once.
    DownloadTaskRegistry::AddObserver(soft_id_, this);
    const int state = DownloadStateMap::Get(soft_id_);
    if (state == DownloadStateMap::kDownloading || state == DownloadStateMap::kStopped)
        FillStripFromTask(state);

    Collect::Register(soft_id_, this);
    if (LoginSession::Instance().state() == LoginSession::kLoggedIn &&
        SoftInfoMgr::Instance().IsCollected(soft_id_))
        collect_->SetEnabled(false);
    SoftScoreMgr::AddObserver(soft_id_, this);
}

void SoftListItem::ApplyInstalledState() {
    InstalledSoft installed;
    if (!RowScan().FindInstalled(soft_id_, &installed))
        SetLook(RowLooks::kDownload);
    else
        SetLook(installed.update ? RowLooks::kUpgrade : RowLooks::kInstalled);
}

void SoftListItem::ShowStrip(bool shown) {
    if (shown) Progress();
    gap_cell_->SetVisible(!shown);
    collect_cell_->SetVisible(!shown);
    action_cell_->SetVisible(!shown);
    progress_->SetVisible(shown);
}

void SoftListItem::FillStripFromTask(int state_map_value) {
    ShowStrip(true);
    std::shared_ptr<DownloadTask> task = DownloadTaskRegistry::Find(soft_id_);
    int percent = 0, speed = 0;
    task->GetProgress(nullptr, &percent, &speed);
    progress_->ShowProgress(percent, FormatPercent(percent).c_str(), FormatSpeedWhole(speed).c_str());
    if (state_map_value == DownloadStateMap::kDownloading)
        progress_->ShowRunning();
    else
        progress_->ShowStopped();
}

void SoftListItem::ShowIconPath(const wchar_t* path) {
    // A message posted for a row that is gone may reach a new row at the
    // same address: only this software's icon file is taken.
    if (path && IconRelativePath(kSoftIcon, soft_id_) == path) icon_->SetBkImage(path);
}

void SoftListItem::Notify(UiToolkit::TUiNotify& msg) {
    UiToolkit::CControlUI* sender = msg.pSender;
    if (msg.sType == UI_NOTIFY_CLICK && sender) {
        if (sender == action_) {
            OnDownloadClick();
        } else if (sender == collect_) {
            OnCollectClick();  // may end with this row gone: nothing after it
        } else if (sender == name_ || sender == icon_) {
            Post(WM_CLICK_SOFT_DETAIL, 0, soft_id_);
        } else if (sender == menu_) {
            ShowAddSchemeMenu(MainWindowHandle(), msg.ptMouse, soft_id_);
        } else {
            progress_->Notify(msg);
        }
        return;
    }
    if (sender && sender == progress_) {
        progress_->Notify(msg);
        return;
    }
    if (sender != this) return;  // every delivery to the row names the row
    const UiToolkit::CUiString& type = msg.sType;
    if (type == L"delete_download2") {
        OnDownloadDeleted();
    } else if (type == L"complete_download2") {
        OnInstallStart();
    } else if (type == L"install_proc_exit") {
        OnInstallExit(msg.wParam != 0);
    } else if (type == L"wm_prepare_on_soft_list_item") {
        OnPrepareShown(msg.wParam);
        msg.wParam = 0;
    } else if (type == L"wm_checked_on_soft_list_item") {
        SetLook(msg.wParam ? RowLooks::kUpgrade : RowLooks::kInstalled);
    } else if (type == L"wm_final_on_soft_list_item") {
        if (ActionText() == RowLooks::kQueryingText) SetLook(RowLooks::kDownload);
        action_->SetEnabled(true);
    } else if (type == L"wm_collected_on_soft_list_item") {
        collect_->SetEnabled(false);
    } else if (type == L"wm_decollected_on_soft_list_item") {
        collect_->SetEnabled(true);
    } else if (type == L"wm_on_soft_core_changed") {
        ShowScore(static_cast<int>(msg.wParam));
    }
}

void SoftListItem::OnDownloadClick() {
    const std::wstring text = ActionText();
    if (text != RowLooks::kDownloadText && text != RowLooks::kUpgradeText) return;
    if (!DownloadTaskRegistry::IsDownloading(soft_id_)) {
        if (!DownloadTaskRegistry::Start(soft_id_)) return;
        ShowStrip(true);
        progress_->ShowRunning();
        return;
    }
    ShowStrip(true);
    if (DownloadStateMap::Get(soft_id_) == DownloadStateMap::kDownloading)
        progress_->ShowRunning();
    else
        progress_->ShowStopped();
}

void SoftListItem::OnCollectClick() {
    HWND main = MainWindowHandle();
    if (LoginSession::Instance().state() != LoginSession::kLoggedIn) {
        ShowMessageWnd(main, kPleaseLogIn);
        return;
    }
    const int32_t soft_id = soft_id_;
    const bool closed = RunInLoadingWnd(main, [soft_id] { Collect::AddSoft(soft_id); });
    if (!closed) return;  // the client is quitting
    if (UiToolkit::CWindowManagerUI* manager = MainManager())
        manager->EmitNotify(this, L"refresh_content_collect_soft", 0, 0, true);
}

void SoftListItem::OnPrepareShown(WPARAM record) {
    // "Prepare" is posted before the registry knows whether the start
    // works: a start that failed leaves no active download, and the strip
    // must not wait for one.
    if (!DownloadTaskRegistry::IsDownloading(soft_id_)) {
        FreeMessageRecord(MessageRecord::kDownloadProgressRecord, record, 0);
        return;
    }
    ShowStrip(true);
    progress_->ShowRunning();
    UiToolkit::TUiNotify note;
    note.sType = L"wm_downloading";
    note.pSender = progress_;
    note.wParam = record;
    progress_->Notify(note);
}

void SoftListItem::OnDownloadDeleted() {
    ShowStrip(false);
    progress_->ShowProgress(0, L"0%", FormatSpeedWhole(0).c_str());
    DownloadStateMap::Set(soft_id_, DownloadStateMap::kNone);
    // The registry forgets every view of a deleted download; a row that
    // lives on watches the id again, for the next download of it.
    DownloadTaskRegistry::RemoveObserver(soft_id_, this);
    DownloadTaskRegistry::AddObserver(soft_id_, this);
}

void SoftListItem::OnInstallStart() {
    ShowStrip(false);
    DownloadStateMap::Set(soft_id_, DownloadStateMap::kCompleted);
    const std::wstring text = ActionText();
    if (text != RowLooks::kInstallingText) saved_action_text_ = text;
    action_->SetText(RowLooks::kInstallingText);
    // The install job itself was joined when the download completed.
}

void SoftListItem::OnInstallExit(bool installed) {
    if (installed) {
        SetLook(RowLooks::kInstalled);
    } else if (!saved_action_text_.empty()) {
        action_->SetText(saved_action_text_.c_str());
    }
}

void SoftListItem::Post(UINT msg, WPARAM wParam, LPARAM lParam) {
    ::PostMessageW(MainWindowHandle(), msg, wParam, lParam);
}
