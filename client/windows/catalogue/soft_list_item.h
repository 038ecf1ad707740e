#pragma once
// One row of a catalogue page's software list (and of its search and
// single-software results): icon, name, description, size, rating, the
// favourites button, the action button ("下载", "升级", "已安装",
// "正在查询", "正在安装") with its menu button, and the download strip
// that replaces the last three cells while the software downloads.
//
// A row is built on a page worker, off the UI thread, and does nothing
// there but build its controls. The page takes it on the UI thread and
// calls Attach: only then does it join the page's observers, the
// dispatcher's live targets and the services (downloads, scan, scores,
// favourites, icons), until its destructor. A row never taken is just
// deleted.
//
// Every service callback only posts a message to the main window; all
// changes to the row happen on the UI thread when the dispatcher delivers
// it.
#include <stdint.h>

#include <functional>
#include <memory>
#include <string>

#include "client/core/downloads/download_task_registry.h"
#include "client/core/install_scan/sys_install_soft.h"
#include "client/core/user_services/collect.h"
#include "client/core/user_services/soft_score_mgr.h"
#include "client/windows/catalogue/row_looks.h"
#include "client/windows/downloads/download_progress.h"
#include "client/windows/main/live_targets.h"
#include "foundation/ke/nocopy_assign.h"
#include "uitoolkit/controls/button.h"
#include "uitoolkit/controls/label.h"
#include "uitoolkit/controls/list_container_element.h"
#include "uitoolkit/controls/option.h"
#include "uitoolkit/core/notify.h"

class InstallScanMgr;
class NotifyObserverList;

// The observer list a row joins when its page takes it, and a token that
// expires when the list's owner goes: a row removed from its list is
// deleted later by the window manager, possibly after the page itself.
struct RowOwner {
    NotifyObserverList* observers = nullptr;
    std::weak_ptr<void> alive;
};

class SoftListItem : public UiToolkit::CListContainerElementUI,
                     public UiToolkit::INotifyUI,
                     public DownloadTaskObserver,
                     public SoftScoreMgr::Observer,
                     public InstallObserable::Observer,
                     public SysInstallSoftObserver,
                     public Collect::Observer,
                     public IconShower,
                     public ke::nocopy_assign {
public:
    // Any thread. `owner`: the page's list the row joins when taken;
    // `request`: the page's number of the load that built it.
    SoftListItem(const RowOwner& owner, int32_t soft_id, int request);
    ~SoftListItem() override;

    const wchar_t* ClassName() const override;
    // "SoftListItem" gives the row.
    LPVOID FindInterface(const wchar_t* name) override;

    // UI thread, once, when the page takes the row into its list.
    void Attach();

    void Notify(UiToolkit::TUiNotify& msg) override;
    // From the dispatcher: only the row's own icon file is taken.
    void ShowIconPath(const wchar_t* path) override;

    // DownloadTaskObserver.
    void OnPrepare() override;
    void OnProgress(const std::shared_ptr<DownloadTask>& task) override;
    void OnComplete(const std::shared_ptr<DownloadTask>& task) override;
    void OnDelete() override;
    void OnRestart() override;
    void OnStop() override;
    // The row queues the install job of its finished download itself.
    bool InstallsOnComplete() const override { return true; }
    // SoftScoreMgr::Observer.
    void OnScore(int32_t soft_id, int32_t score) override;
    // InstallObserable::Observer.
    void OnInstalled() override;
    // SysInstallSoftObserver.
    bool OnSoft(const SysInstallSoftPtr& soft) override;
    void OnScanFinished() override;
    // Collect::Observer.
    void OnCollected() override;
    void OnUncollected() override;

    int32_t SoftId() const { return soft_id_; }
    int Request() const { return request_; }
    bool Attached() const { return attached_; }
    std::wstring ActionText() const;
    bool StripShown() const;

    UiToolkit::COptionUI* Icon() const { return icon_; }
    UiToolkit::CButtonUI* NameButton() const { return name_; }
    UiToolkit::CButtonUI* DescButton() const { return desc_; }
    UiToolkit::CLabelUI* SizeText() const { return size_; }
    UiToolkit::COptionUI* Star(int i) const { return stars_[i]; }
    UiToolkit::CLabelUI* ScoreText() const { return score_; }
    UiToolkit::CButtonUI* CollectButton() const { return collect_; }
    UiToolkit::CButtonUI* ActionButton() const { return action_; }
    UiToolkit::CButtonUI* MenuButton() const { return menu_; }
    // The download strip, built on first use: most rows never show it.
    DownloadProgress* Progress();

    // The icon downloader's answer, on an icon-pool thread: posts
    // WM_SOFT_ICON_READY when the row (by its identity) still waits.
    static void DownloadIconComplete(int32_t soft_id, const wchar_t* path, uint64_t identity,
                                     LPARAM row);

    // Test seams: the scan the rows ask (none: the process's own), and a
    // step run between a row's look at the scan state and its registration.
    static void SetScanForTests(InstallScanMgr* scan);
    static void SetScanRegistrationHookForTests(std::function<void()> hook);

private:
    void BuildLayout();
    void ShowRecord();
    void ShowScore(int score);
    void SetLook(RowLooks::Look look);
    void ApplyInstalledState();
    void ShowStrip(bool shown);
    void FillStripFromTask(int state_map_value);
    void OnDownloadClick();
    void OnCollectClick();
    void OnInstallStart();
    void OnInstallExit(bool installed);
    void OnPrepareShown(WPARAM record);
    void OnDownloadDeleted();
    void Post(UINT msg, WPARAM wParam, LPARAM lParam);
    LPARAM Self() const { return reinterpret_cast<LPARAM>(this); }

    RowOwner owner_;
    const int32_t soft_id_;
    const int request_;
    const uint64_t identity_;

    // Touched only by OnProgress (one transfer of the id at a time).
    int progress_samples_;
    int64_t progress_speed_sum_;
    DWORD progress_last_post_;
    bool progress_posted_;

    bool attached_;
    bool icon_asked_;
    bool scan_registered_;
    bool strip_built_;
    std::wstring saved_action_text_;

    UiToolkit::COptionUI* icon_;
    UiToolkit::CButtonUI* name_;
    UiToolkit::CButtonUI* desc_;
    UiToolkit::CLabelUI* size_;
    UiToolkit::COptionUI* stars_[5];
    UiToolkit::CLabelUI* score_;
    UiToolkit::CControlUI* gap_cell_;
    UiToolkit::CControlUI* collect_cell_;
    UiToolkit::CButtonUI* collect_;
    UiToolkit::CControlUI* action_cell_;
    UiToolkit::CButtonUI* action_;
    UiToolkit::CButtonUI* menu_;
    DownloadProgress* progress_;
    LiveTargetRegistration registration_;  // last: goes first
};

// The software icon shown until (or instead of) the downloaded one.
extern const wchar_t kFallbackSoftIcon[];
