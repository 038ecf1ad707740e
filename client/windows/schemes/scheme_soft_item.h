#pragma once
// One program of an opened scheme: icon, name, description, size, "查看"
// and "删除", and a download strip that takes the place of the size and
// the buttons while the program downloads. The row watches the program's
// download; every callback only posts a message to the main window, and
// the row changes when the dispatcher delivers it. A scheme row never
// installs what it downloaded: a download watched only by such rows is
// opened by the completion queue.
#include <stdint.h>

#include <memory>

#include "client/core/downloads/download_task_registry.h"
#include "client/windows/catalogue/soft_list_item.h"
#include "client/windows/downloads/download_progress.h"
#include "client/windows/favourites/soft_row_tree.h"
#include "client/windows/main/live_targets.h"
#include "client/windows/schemes/scheme_rules.h"
#include "uitoolkit/controls/list_container_element.h"
#include "uitoolkit/core/notify.h"

class SchemeSoftItem : public UiToolkit::CListContainerElementUI,
                       public UiToolkit::INotifyUI,
                       public DownloadTaskObserver {
public:
    // UI thread. Joins the owner's observers, the dispatcher's targets and
    // the download registry, and shows a download of the program that is
    // running or stopped.
    SchemeSoftItem(const RowOwner& owner, int32_t scheme_id, const SoftwarePtr& soft);
    ~SchemeSoftItem() override;

    const wchar_t* ClassName() const override;
    // "SchemeSoftItem" gives the row.
    LPVOID FindInterface(const wchar_t* name) override;

    void Notify(UiToolkit::TUiNotify& msg) override;

    // Leaves the owner's list, the dispatcher's targets and the download
    // registry: nothing reaches the row any more (its page is rebuilding).
    void Detach();

    // The strip in place of the size and the buttons, or the other way.
    void SetProgressVisible(bool show);
    void RemoveFromScheme();

    // DownloadTaskObserver.
    void OnPrepare() override;
    void OnProgress(const std::shared_ptr<DownloadTask>& task) override;
    void OnComplete(const std::shared_ptr<DownloadTask>& task) override;
    void OnDelete() override;
    void OnRestart() override;
    void OnStop() override;

    int32_t SoftId() const { return soft_id_; }
    int32_t SchemeId() const { return scheme_id_; }
    const SoftRowTree& Tree() const { return tree_; }
    DownloadProgress* Strip() const { return strip_; }
    bool StripShown() const { return strip_->IsVisible(); }
    bool IconWaiting() const { return icon_.Waiting(); }

private:
    void ResetStrip();
    void ShowTaskOnStrip(int state);

    RowOwner owner_;
    SoftRowTree tree_;
    DownloadProgress* strip_;
    int32_t soft_id_;
    int32_t scheme_id_;
    ProgressThrottle throttle_;  // pool threads, one report at a time
    bool attached_;
    SoftRowIcon icon_;
    LiveTargetRegistration registration_;  // last: goes first
};
