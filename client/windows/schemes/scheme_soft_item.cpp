#include "client/windows/schemes/scheme_soft_item.h"

#include <wchar.h>

#include "client/core/downloads/download_task.h"
#include "client/core/startup/main_window_handle.h"
#include "client/core/user_services/scheme_mgr.h"
#include "client/windows/dialogs/loading_wnd.h"
#include "client/windows/downloads/speed_text.h"
#include "client/windows/main/main_frame_flags.h"
#include "client/windows/main/message_records.h"
#include "client/windows/main_frame_messages.h"
#include "client/windows/pages/notify_observer_list.h"
#include "foundation/log/log.h"

namespace {

void PostRecord(UINT msg, int32_t state, int32_t percent, int32_t speed, LPARAM target) {
    DownloadProgressRecord* record = new DownloadProgressRecord;
    record->state = state;
    record->percent = percent;
    record->speed = speed;
    if (!::PostMessageW(MainWindowHandle(), msg, reinterpret_cast<WPARAM>(record), target))
        delete record;
}

}  // namespace

SchemeSoftItem::SchemeSoftItem(const RowOwner& owner, int32_t scheme_id, const SoftwarePtr& soft)
    : owner_(owner), strip_(new DownloadProgress), soft_id_(soft ? soft->soft_id : 0),
      scheme_id_(scheme_id), attached_(true),
      icon_(SchemeSoftIconWaits(), WM_SCHEME_SOFT_ICON_READY, "SchemeSoftItem::DownloadIconComplete") {
    if (owner_.observers && !owner_.alive.expired()) owner_.observers->AddObserver(this);
    SetFixedHeight(kSoftRowHeight);
    tree_ = BuildSoftRowTree(this, soft, SoftRowKind::kSchemeSoft);

    strip_->SetFixedHeight(23);
    strip_->SetFixedWidth(320);
    strip_->Build(soft, 0, false, false, 0, 0, L"default\\progress\\progress_sbar_fg.png",
                  L"default\\progress\\progress_sbar_bg.png");
    tree_.buttons->Add(strip_);
    strip_->SetVisible(false);

    LiveTarget target;
    target.cls = TargetClass::kSchemeSoftItem;
    target.control = this;
    target.receiver = this;
    registration_.Set(static_cast<const void*>(this), target);
    strip_->RegisterAsTarget();
    icon_.Show(soft_id_, tree_.icon);

    // A download of the program that runs or is stopped shows at once.
    DownloadTaskRegistry::AddObserver(soft_id_, this);
    const int state = DownloadStateMap::Get(soft_id_);
    if (state == DownloadStateMap::kDownloading || state == DownloadStateMap::kStopped)
        ShowTaskOnStrip(state);
}

SchemeSoftItem::~SchemeSoftItem() {
    Detach();
}

void SchemeSoftItem::Detach() {
    if (!attached_) return;
    attached_ = false;
    // After this no pool thread is inside one of the row's slots.
    DownloadTaskRegistry::RemoveObserver(soft_id_, this);
    registration_.Reset();
    strip_->UnregisterAsTarget();
    if (owner_.observers && !owner_.alive.expired()) owner_.observers->RemoveObserver(this);
}

const wchar_t* SchemeSoftItem::ClassName() const { return L"SchemeSoftItemUI"; }

LPVOID SchemeSoftItem::FindInterface(const wchar_t* name) {
    if (name && wcscmp(name, L"SchemeSoftItem") == 0) return this;
    return CListContainerElementUI::FindInterface(name);
}

void SchemeSoftItem::ShowTaskOnStrip(int state) {
    SetProgressVisible(true);
    std::shared_ptr<DownloadTask> task = DownloadTaskRegistry::Find(soft_id_);
    int percent = 0, speed = 0;
    if (task) task->GetProgress(nullptr, &percent, &speed);
    strip_->ShowProgress(percent, FormatPercent(percent).c_str(), FormatSpeedWhole(speed).c_str());
    if (state == DownloadStateMap::kDownloading)
        strip_->ShowRunning();
    else
        strip_->ShowStopped();
}

void SchemeSoftItem::SetProgressVisible(bool show) {
    if (show) {
        if (DownloadStateMap::Get(soft_id_) == DownloadStateMap::kDownloading)
            strip_->ShowRunning();
        else
            strip_->ShowStopped();
    }
    strip_->SetVisible(show);
    tree_.del->SetVisible(!show);
    tree_.detail->SetVisible(!show);
    tree_.size_box->SetVisible(!show);
}

void SchemeSoftItem::ResetStrip() {
    if (!strip_->StartButton()->IsEnabled()) {
        strip_->StopButton()->SetEnabled(true);
        strip_->ShowProgress(0, FormatPercent(0).c_str(), FormatSpeedWhole(0).c_str());
    } else if (!strip_->StopButton()->IsEnabled()) {
        strip_->StartButton()->SetEnabled(true);
    }
}

void SchemeSoftItem::Notify(UiToolkit::TUiNotify& msg) {
    UiToolkit::CControlUI* sender = msg.pSender;
    if (msg.sType == UI_NOTIFY_CLICK) {
        if (!sender) return;
        if (sender == tree_.del) {
            RemoveFromScheme();  // may end with the row gone: nothing after it
        } else if (sender == tree_.detail) {
            MainFrameFlags::SetOpenedFromHome(true);
            ::PostMessageW(MainWindowHandle(), WM_CLICK_DETAIL_ON_SCHEME, 0, soft_id_);
        } else {
            strip_->Notify(msg);  // acts only on its own buttons
        }
    } else if (msg.sType == L"delete_download3") {
        if (msg.wParam != reinterpret_cast<WPARAM>(strip_)) return;
        ResetStrip();
        SetProgressVisible(false);
    } else if (msg.sType == L"complete_download3") {
        if (msg.wParam != reinterpret_cast<WPARAM>(strip_)) return;
        // Nothing is installed from a scheme: the completion queue opens
        // the file when no catalogue row installs it.
        strip_->ShowProgress(100, L"100%", L"下载完成");
    } else if (sender && sender == strip_) {
        strip_->Notify(msg);
    } else if (msg.sType == L"wm_prepare_on_scheme_soft_item") {
        if (sender != this) return;  // delivered to this row only
        SetProgressVisible(true);
        UiToolkit::TUiNotify note = msg;
        note.sType = L"wm_downloading";
        note.pSender = strip_;
        strip_->Notify(note);  // frees the record
    }
}

void SchemeSoftItem::RemoveFromScheme() {
    const int32_t scheme_id = scheme_id_, soft_id = soft_id_;
    bool ok = false;
    if (!RunInLoadingWnd(MainWindowHandle(), [&]() {
            ok = SchemeMgr::Instance().RemoveSoftFromScheme(scheme_id, soft_id);
        }))
        return;
    if (IsRemoved()) return;  // the list was rebuilt meanwhile
    if (!ok) log_error("%s: scheme=%d soft=%d remove failed", "SchemeSoftItem::RemoveFromScheme", scheme_id, soft_id);
    // The page takes the row out once this send has returned.
    if (UiToolkit::CWindowManagerUI* manager = MainManager())
        manager->EmitNotify(this, L"del_scheme_soft", ok ? 1 : 0, 0, false);
}

// ---- download observer (any thread: post only) ----

void SchemeSoftItem::OnPrepare() {
    PostRecord(WM_PREPARE_ON_SCHEME_SOFT_ITEM, 0, 0, 0, reinterpret_cast<LPARAM>(this));
}

void SchemeSoftItem::OnProgress(const std::shared_ptr<DownloadTask>& task) {
    if (!task) return;
    int state = 0, percent = 0, speed = 0;
    task->GetProgress(&state, &percent, &speed);
    const LPARAM strip = reinterpret_cast<LPARAM>(strip_);
    if (state == DownloadTask::kFailed) {
        PostRecord(WM_DOWNLOADING, 3, -1, -1, strip);
        return;
    }
    int32_t mean = 0;
    if (throttle_.Report(speed, ::GetTickCount(), &mean)) PostRecord(WM_DOWNLOADING, state, percent, mean, strip);
}

void SchemeSoftItem::OnComplete(const std::shared_ptr<DownloadTask>&) {
    ::PostMessageW(MainWindowHandle(), WM_COMPLETE_DOWNLOAD3, reinterpret_cast<WPARAM>(strip_),
                   reinterpret_cast<LPARAM>(this));
}

void SchemeSoftItem::OnDelete() {
    ::PostMessageW(MainWindowHandle(), WM_DELETE_DOWNLOAD3, reinterpret_cast<WPARAM>(strip_),
                   reinterpret_cast<LPARAM>(this));
}

void SchemeSoftItem::OnRestart() {
    ::PostMessageW(MainWindowHandle(), WM_RESTART_DOWNLOAD, 0, reinterpret_cast<LPARAM>(strip_));
}

void SchemeSoftItem::OnStop() {
    ::PostMessageW(MainWindowHandle(), WM_STOP_DOWNLOAD, 0, reinterpret_cast<LPARAM>(strip_));
}
