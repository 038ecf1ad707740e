#pragma once
#include <functional>
#include <memory>
#include <vector>
#include "client/core/downloads/download_task.h"
#include "client/core/catalogue/software.h"

// A view that shows a soft id's download (catalogue, scheme and
// download-centre rows, the detail page). Slots only read the task and post
// a window message; they must not block and must not call back into Stop,
// Restart or Delete. Progress and completion arrive on pool threads.
class DownloadTaskObserver {
public:
    virtual void OnPrepare() = 0;
    virtual void OnProgress(const std::shared_ptr<DownloadTask>& task) = 0;
    virtual void OnComplete(const std::shared_ptr<DownloadTask>& task) = 0;
    virtual void OnDelete() = 0;
    virtual void OnRestart() = 0;
    virtual void OnStop() = 0;
    // Whether this view installs a finished download itself (a catalogue
    // row queues its install job). When no observer of the id does, the
    // registry has the completion queue open the file, so a download watched
    // only by views that merely show it is still opened. Asked on a pool
    // thread under the registry's locks: answer at once.
    virtual bool InstallsOnComplete() const { return false; }

protected:
    ~DownloadTaskObserver() = default;
};

// The per-id download state that the views' buttons read.
namespace DownloadStateMap {
enum : int { kNone = 0, kCompleted = 1, kDownloading = 2, kStopped = 3 };
int Get(int soft_id);
void Set(int soft_id, int state);
}  // namespace DownloadStateMap

// The client's single record of downloads: the active tasks, the records of
// finished downloads, and the views watching each soft id.
//
// Lock order, outermost first: the engine's per-transfer observer lock, the
// active-list lock, the observer-map lock, the completed-list lock. Nothing
// here asks the engine to pause, remove or start while holding a list lock.
namespace DownloadTaskRegistry {

// UI thread.
bool Start(int soft_id);
void Stop(int soft_id);
bool Restart(int soft_id);
void Delete(int soft_id);
bool IsDownloading(int soft_id);
// The id's active task, or the empty task (all fields 0, no record).
std::shared_ptr<DownloadTask> Find(int soft_id);
void RemoveCompleted(int soft_id);

// Any thread.
void AddObserver(int soft_id, DownloadTaskObserver* observer);
void RemoveObserver(int soft_id, DownloadTaskObserver* observer);
void RemoveAllObservers(int soft_id);

// For the download centre: counts and copies, each under its lock.
size_t ActiveCount();
size_t CompletedCount();
std::vector<std::shared_ptr<DownloadTask>> ActiveTasks();
std::vector<std::shared_ptr<Software>> CompletedList();
// Calls `visit` for each active task in start order while holding the
// active-list lock, so no task completes or goes meanwhile: a view that
// registers as an observer inside `visit` hears of everything after.
// `visit` may read tasks and register observers, nothing else here.
void VisitActive(const std::function<void(const std::shared_ptr<DownloadTask>&)>& visit);
// The same for the completed records, under the completed-list lock;
// `visit` must call nothing of the registry.
void VisitCompleted(const std::function<void(const std::shared_ptr<Software>&)>& visit);

// Pool threads: one engine step (see DownloadProgressCallback).
void OnProgress(int soft_id, int bytes, int speed);

}  // namespace DownloadTaskRegistry
