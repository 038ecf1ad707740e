#pragma once
// A row of the download centre's running list: icon, name, description and
// the download's progress strip. It watches its download in the registry
// and posts what it hears to the main window; the strip shows it there.
//
// The registry calls the observer slots on its own threads (progress and
// completion) or on the UI thread (prepare, stop, restart, delete); they
// read the task and post, nothing more.
#include "client/core/catalogue/software.h"
#include "client/core/downloads/download_task_registry.h"
#include "client/windows/downloads/centre_rules.h"
#include "uitoolkit/controls/list_container_element.h"
#include "uitoolkit/core/notify.h"

class DownloadProgress;
class DownloadingPage;
class NotifyObserverList;

class ListElemProgress : public UiToolkit::CListContainerElementUI,
                         public UiToolkit::INotifyUI,
                         public DownloadTaskObserver {
public:
    // Joins `observers` (the page's list), which hands it the page's
    // notifications until Detach.
    ListElemProgress(DownloadingPage* owner, NotifyObserverList* observers, const SoftwarePtr& soft);
    // Detaches: no slot of a destroyed row can run.
    ~ListElemProgress() override;

    LPVOID FindInterface(const wchar_t* name) override;

    // Builds the row for the task's last values; the buttons as given.
    // A waiting task (state 0) shows "等待下载".
    void Build(int state, int percent, int speed, bool stop_enabled, bool start_enabled);
    // Registers with the registry for the id (after the row is in its
    // list) and makes the strip a message target.
    void Watch();
    // Leaves the registry and the page's list; safe to repeat.
    void Detach();

    // Everything goes to the strip, which acts on its own buttons.
    void Notify(UiToolkit::TUiNotify& msg) override;

    void OnPrepare() override;
    void OnProgress(const std::shared_ptr<DownloadTask>& task) override;
    void OnComplete(const std::shared_ptr<DownloadTask>& task) override;
    void OnDelete() override;
    void OnRestart() override;
    void OnStop() override;

    int SoftId() const { return soft_id_; }
    DownloadProgress* Progress() const { return progress_; }

private:
    void PostRecord(int state, int percent, int speed);
    void Post(UINT message, WPARAM wParam, LPARAM lParam);

    DownloadingPage* owner_;
    NotifyObserverList* observers_;
    SoftwarePtr soft_;
    int soft_id_;
    bool watching_;
    DownloadProgress* progress_;
    // Written by one transfer's thread at a time.
    CentreRules::ProgressThrottle throttle_;
};
