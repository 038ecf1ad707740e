#pragma once
// The detail view of one catalogue software, shown by a catalogue page in
// place of its list: title bar with a back button, icon, name and facts,
// the average rating, the user's own rating, a download / upgrade button
// that follows the software's state, and the local detail page in a
// browser below.
//
// The page creates one Detail (for the skin tag "soft_detail") and keeps
// it; ShowSoft and Leave frame each visit, and while the view is shown the
// page passes it every notification it does not consume itself. The view's
// observer slots run on other threads and only post to the main window;
// the dispatcher hands the results back to Notify ("wm_prepare_on_detail",
// "wm_checked_on_detail", "wm_final_on_detail").
#include <atomic>
#include <vector>

#include "client/core/catalogue/software.h"
#include "client/core/downloads/download_task_registry.h"
#include "client/core/install_scan/sys_install_soft.h"
#include "client/windows/main/live_targets.h"
#include "uitoolkit/controls/button.h"
#include "uitoolkit/controls/container.h"
#include "uitoolkit/controls/label.h"
#include "uitoolkit/controls/option.h"
#include "uitoolkit/controls/text.h"
#include "uitoolkit/core/notify.h"
#include "uitoolkit/layouts/horizontal_layout.h"

class InstallScanMgr;
class Web;

class Detail : public UiToolkit::CContainerUI,
               public UiToolkit::INotifyUI,
               public DownloadTaskObserver,
               public SysInstallSoftObserver {
public:
    // Builds the view's controls. `scan` is the installed-software scan the
    // view asks (none: the process's own).
    explicit Detail(InstallScanMgr* scan = nullptr);
    // Leaves (no observer slot can run afterwards) and stops being a
    // message target, so late messages for it are dropped.
    ~Detail() override;

    const wchar_t* ClassName() const override;
    LPVOID FindInterface(const wchar_t* name) override;

    // Shows a software: keeps its id, shows its page in the browser (made
    // on the first call), watches its download and fills the view. Call it
    // once the view is in the main window. Showing another software first
    // leaves the one shown; a null record only leaves (logged).
    void ShowSoft(const SoftwarePtr& soft);
    // Stops watching the software's download and the scan. Safe to repeat.
    void Leave();
    // Clicks on the view's buttons and stars, and the three "wm_*_on_detail"
    // notifications; everything else is ignored.
    void Notify(UiToolkit::TUiNotify& msg) override;

    // DownloadTaskObserver: only a download being prepared shows.
    void OnPrepare() override;
    void OnProgress(const std::shared_ptr<DownloadTask>&) override {}
    void OnComplete(const std::shared_ptr<DownloadTask>&) override {}
    void OnDelete() override {}
    void OnRestart() override {}
    void OnStop() override {}

    // SysInstallSoftObserver (the scan's thread, under its lock).
    bool OnSoft(const SysInstallSoftPtr& soft) override;
    void OnScanFinished() override;

    // The shown software's id (-1 before the first ShowSoft).
    int SoftId() const { return soft_id_.load(); }
    Web* GetWeb() const;
    UiToolkit::CButtonUI* BackButton() const { return back_btn_; }
    UiToolkit::CButtonUI* DownloadButton() const { return down_btn_; }
    UiToolkit::CLabelUI* Icon() const { return icon_; }
    UiToolkit::CTextUI* Name() const { return name_; }
    UiToolkit::CButtonUI* ScoreText() const { return score_text_; }
    UiToolkit::CButtonUI* CountText() const { return count_text_; }
    // Version, size, licence, update time, environment.
    UiToolkit::CButtonUI* Fact(int i) const { return facts_[i]; }
    const std::vector<UiToolkit::COptionUI*>& AverageStars() const { return average_stars_; }
    const std::vector<UiToolkit::COptionUI*>& OwnStars() const { return own_stars_; }

private:
    void BuildLayout();
    void Fill();
    void FillButton();
    void ShowAverage(int score, int count);
    void ShowOwnStars(int full);
    void OnOwnStarClick(int index, POINT client_point);
    HWND OwnerWindow() const;
    void Post(UINT message, WPARAM wParam);

    InstallScanMgr* scan_;
    UiToolkit::CButtonUI* back_btn_;
    UiToolkit::CHorizontalLayoutUI* web_holder_;
    UiToolkit::CLabelUI* icon_;
    UiToolkit::CTextUI* name_;
    std::vector<UiToolkit::COptionUI*> average_stars_;
    UiToolkit::CButtonUI* score_text_;
    UiToolkit::CButtonUI* count_text_;
    UiToolkit::CButtonUI* facts_[5];
    std::vector<UiToolkit::COptionUI*> own_stars_;
    UiToolkit::CButtonUI* down_btn_;

    SoftwarePtr soft_;
    // Read by the scan's thread in OnSoft.
    std::atomic<int> soft_id_;
    // The id the download registry holds this view for, or -1.
    int watched_id_;
    // Declared last: it goes first, before the fields above.
    LiveTargetRegistration registration_;
};
