#include "client/windows/downloads/list_elem_progress.h"

#include <wchar.h>

#include "client/core/startup/main_window_handle.h"
#include "client/windows/downloads/centre_row_parts.h"
#include "client/windows/downloads/download_progress.h"
#include "client/windows/main/message_records.h"
#include "client/windows/main_frame_messages.h"
#include "client/windows/pages/notify_observer_list.h"
#include "foundation/log/log.h"

using namespace UiToolkit;

ListElemProgress::ListElemProgress(DownloadingPage* owner, NotifyObserverList* observers,
                                   const SoftwarePtr& soft)
    : owner_(owner),
      observers_(observers),
      soft_(soft),
      soft_id_(soft ? soft->soft_id : -1),
      watching_(false),
      progress_(nullptr) {
    if (observers_) observers_->AddObserver(this);
    SetUserData(std::to_wstring(soft_id_).c_str());
}

ListElemProgress::~ListElemProgress() { Detach(); }

LPVOID ListElemProgress::FindInterface(const wchar_t* name) {
    if (name && wcscmp(name, L"ListElemProgress") == 0) return this;
    return CListContainerElementUI::FindInterface(name);
}

void ListElemProgress::Build(int state, int percent, int speed, bool stop_enabled, bool start_enabled) {
    SetFixedHeight(61);
    CentreRowHead head = MakeCentreRowHead(*soft_, 280);

    progress_ = new DownloadProgress;
    progress_->SetFixedWidth(500);
    progress_->SetFixedHeight(48);
    progress_->Build(soft_, percent, stop_enabled, start_enabled, percent, speed,
                     L"default\\progress\\progress_lbar_fg.png", L"default\\progress\\progress_lbar_bg.png");
    if (state == DownloadTask::kCreated) progress_->ShowProgress(0, L"0%", L"等待下载");

    CHorizontalLayoutUI* line = new CHorizontalLayoutUI;
    line->SetInset(RECT{10, 6, 0, 0});
    line->Add(head.icon);
    line->Add(head.column);
    line->Add(progress_);
    Add(FrameCentreRow(line));
}

void ListElemProgress::Watch() {
    if (watching_ || soft_id_ < 0) return;
    if (progress_) progress_->RegisterAsTarget();
    DownloadTaskRegistry::AddObserver(soft_id_, this);
    watching_ = true;
}

void ListElemProgress::Detach() {
    // Removing the observer waits for a slot in progress (the registry calls
    // slots under its observer lock), so none runs after this.
    if (watching_) {
        DownloadTaskRegistry::RemoveObserver(soft_id_, this);
        watching_ = false;
    }
    if (progress_) progress_->UnregisterAsTarget();
    if (observers_) {
        observers_->RemoveObserver(this);
        observers_ = nullptr;
    }
    owner_ = nullptr;
}

void ListElemProgress::Notify(TUiNotify& msg) {
    if (progress_) progress_->Notify(msg);
}

void ListElemProgress::Post(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND main = MainWindowHandle();
    if (!main || !::PostMessageW(main, message, wParam, lParam))
        log_error("%s: message %u for soft %d not posted", "ListElemProgress", message, soft_id_);
}

void ListElemProgress::PostRecord(int state, int percent, int speed) {
    DownloadProgressRecord* record = new DownloadProgressRecord;
    record->state = state;
    record->percent = percent;
    record->speed = speed;
    HWND main = MainWindowHandle();
    if (!main || !::PostMessageW(main, WM_DOWNLOADING, reinterpret_cast<WPARAM>(record),
                                 reinterpret_cast<LPARAM>(progress_))) {
        log_error("%s: progress of soft %d not posted", "ListElemProgress", soft_id_);
        delete record;
    }
}

void ListElemProgress::OnPrepare() { PostRecord(0, 0, 0); }

void ListElemProgress::OnProgress(const std::shared_ptr<DownloadTask>& task) {
    int state = 0, percent = 0, speed = 0;
    task->GetProgress(&state, &percent, &speed);
    if (state == DownloadTask::kFailed) {
        PostRecord(3, -1, -1);
        return;
    }
    int mean = 0;
    if (throttle_.Report(::GetTickCount(), speed, &mean)) PostRecord(state, percent, mean);
}

void ListElemProgress::OnComplete(const std::shared_ptr<DownloadTask>&) {
    Post(WM_COMPLETE_DOWNLOAD, reinterpret_cast<WPARAM>(this), reinterpret_cast<LPARAM>(owner_));
}

void ListElemProgress::OnDelete() {
    Post(WM_DELETE_DOWNLOAD, reinterpret_cast<WPARAM>(this), reinterpret_cast<LPARAM>(owner_));
}

void ListElemProgress::OnRestart() { Post(WM_RESTART_DOWNLOAD, 0, reinterpret_cast<LPARAM>(progress_)); }

void ListElemProgress::OnStop() { Post(WM_STOP_DOWNLOAD, 0, reinterpret_cast<LPARAM>(progress_)); }
