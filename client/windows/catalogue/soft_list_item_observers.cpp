// The catalogue row's service callbacks. They run on the download pool,
// the icon pool, the scan worker and the favourites and score workers,
// with the services' locks held; each only reads what it is given and
// posts a message to the main window. The row's destructor unregisters
// under those same locks, so nothing is posted once it has finished.
#include "client/windows/catalogue/soft_list_item.h"

#include <string>

#include "client/core/downloads/download_task.h"
#include "client/core/startup/main_window_handle.h"
#include "client/windows/catalogue/install_job.h"
#include "client/windows/catalogue/row_waits.h"
#include "client/windows/main/message_records.h"
#include "client/windows/main_frame_messages.h"
#include "foundation/log/log.h"

namespace {

// Progress reaches a row at most this often; a failure goes at once.
const DWORD kProgressInterval = 300;

void PostRecord(UINT msg, int32_t state, int32_t percent, int32_t speed, LPARAM target) {
    DownloadProgressRecord* record = new DownloadProgressRecord;
    record->state = state;
    record->percent = percent;
    record->speed = speed;
    if (!::PostMessageW(MainWindowHandle(), msg, reinterpret_cast<WPARAM>(record), target))
        delete record;
}

}  // namespace

void SoftListItem::OnPrepare() { PostRecord(WM_PREPARE_ON_SOFT_LIST_ITEM, 0, 0, 0, Self()); }

void SoftListItem::OnProgress(const std::shared_ptr<DownloadTask>& task) {
    if (!task) return;
    int state = 0, percent = 0, speed = 0;
    task->GetProgress(&state, &percent, &speed);
    const LPARAM strip = reinterpret_cast<LPARAM>(progress_);
    if (state == DownloadTask::kFailed) {
        PostRecord(WM_DOWNLOADING, 3, -1, -1, strip);
        return;
    }
    progress_speed_sum_ += speed;
    ++progress_samples_;
    const DWORD now = ::GetTickCount();
    if (progress_posted_ && now - progress_last_post_ <= kProgressInterval) return;
    const int32_t mean = static_cast<int32_t>(progress_speed_sum_ / progress_samples_);
    PostRecord(WM_DOWNLOADING, state, percent, mean, strip);
    progress_speed_sum_ = 0;
    progress_samples_ = 0;
    progress_last_post_ = now;
    progress_posted_ = true;
}

void SoftListItem::OnComplete(const std::shared_ptr<DownloadTask>& task) {
    // The row hears of the completion before it hears of the install.
    Post(WM_COMPLETE_DOWNLOAD2, static_cast<WPARAM>(soft_id_), Self());
    InstallJobs::Join(task, identity_, Self());
}

void SoftListItem::OnDelete() { Post(WM_DELETE_DOWNLOAD2, 0, Self()); }

void SoftListItem::OnRestart() {
    Post(WM_RESTART_DOWNLOAD, 0, reinterpret_cast<LPARAM>(progress_));
}

void SoftListItem::OnStop() { Post(WM_STOP_DOWNLOAD, 0, reinterpret_cast<LPARAM>(progress_)); }

void SoftListItem::OnScore(int32_t, int32_t score) {
    Post(WM_ON_SOFT_CORE_CHANGED, static_cast<WPARAM>(score), Self());
}

// Nothing calls it today; it must not touch the row off the UI thread, so
// it asks for the installed look the way a confirmed install does.
void SoftListItem::OnInstalled() { Post(WM_INSTALL_PROC_EXIT, 1, Self()); }

bool SoftListItem::OnSoft(const SysInstallSoftPtr& soft) {
    if (!soft || soft->soft_id != soft_id_) return false;
    Post(WM_CHECKED_ON_SOFT_LIST_ITEM, soft->update ? 1 : 0, Self());
    return true;
}

void SoftListItem::OnScanFinished() { Post(WM_FINAL_ON_SOFT_LIST_ITEM, 0, Self()); }

void SoftListItem::OnCollected() { Post(WM_COLLECTED_ON_SOFT_LIST_ITEM, 0, Self()); }

void SoftListItem::OnUncollected() { Post(WM_DECOLLECTED_ON_SOFT_LIST_ITEM, 0, Self()); }

void SoftListItem::DownloadIconComplete(int32_t soft_id, const wchar_t* path, uint64_t identity,
                                        LPARAM row) {
    if (!path) {
        log_error("%s: Download Icon Failed", "SoftListItem::DownloadIconComplete");
        SoftIconWaits().Remove(soft_id, identity);
        return;
    }
    const std::wstring copy(path);
    SoftIconWaits().TakeAndRun(soft_id, identity, [&] {
        WPARAM text = NewIconPathParam(copy);
        if (!::PostMessageW(MainWindowHandle(), WM_SOFT_ICON_READY, text, row))
            FreeMessageRecord(MessageRecord::kIconPath, text, 0);
    });
}
