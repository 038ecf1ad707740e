#include "client/core/downloads/download_task_registry.h"
#include <map>
#include "client/core/downloads/complete_queue.h"
#include "client/core/downloads/download_mgr.h"
#include "client/core/downloads/download_sources.h"
#include "foundation/ke/critical_section.h"

namespace {

typedef std::vector<DownloadTaskObserver*> ObserverList;

// Every collection and its lock lives for the whole process: pool threads
// may still report progress while the process exits.
struct Lists {
    ke::critical_section active_lock;
    std::vector<std::shared_ptr<DownloadTask>> active;
    ke::critical_section observer_lock;
    std::map<int, ObserverList> observers;
    ke::critical_section completed_lock;
    // Records of finished downloads with the soft id they were downloaded
    // under, in completion order, each record once.
    std::vector<std::pair<int, std::shared_ptr<Software>>> completed;
    ke::critical_section state_lock;
    std::map<int, int> states;
};

Lists& L() {
    static Lists* lists = new Lists();
    return *lists;
}

const std::shared_ptr<DownloadTask>& EmptyTask() {
    static std::shared_ptr<DownloadTask>* empty = new std::shared_ptr<DownloadTask>(new DownloadTask());
    return *empty;
}

// Under the active-list lock.
std::shared_ptr<DownloadTask> FindActiveLocked(int soft_id) {
    for (const auto& t : L().active) {
        if (t->soft_id() == soft_id) return t;
    }
    return nullptr;
}

void EraseActiveLocked(const std::shared_ptr<DownloadTask>& task) {
    auto& active = L().active;
    for (size_t i = 0; i < active.size(); ++i) {
        if (active[i] == task) {
            active.erase(active.begin() + i);
            return;
        }
    }
}

// Calls `slot` on each observer of the id under the observer-map lock. The
// list is copied first, so a slot that registers or removes observers does
// not disturb the walk.
template <typename Slot>
void NotifyObservers(int soft_id, Slot slot) {
    ke::scoped_lock guard(L().observer_lock);
    ObserverList copy = L().observers[soft_id];
    for (DownloadTaskObserver* o : copy) slot(o);
}

}  // namespace

// The engine's progress callback.
void DownloadRegistryProgress(void*, int soft_id, int bytes, int speed) {
    DownloadTaskRegistry::OnProgress(soft_id, bytes, speed);
}

namespace DownloadStateMap {

int Get(int soft_id) {
    ke::scoped_lock guard(L().state_lock);
    auto it = L().states.find(soft_id);
    return it == L().states.end() ? kNone : it->second;
}

void Set(int soft_id, int state) {
    ke::scoped_lock guard(L().state_lock);
    L().states[soft_id] = state;
}

}  // namespace DownloadStateMap

namespace DownloadTaskRegistry {

bool Start(int soft_id) {
    NotifyObservers(soft_id, [](DownloadTaskObserver* o) { o->OnPrepare(); });

    // The record is looked up before the engine is asked, and the task is
    // listed before the transfer can deliver its first chunk.
    DownloadSources& sources = CurrentDownloadSources();
    std::shared_ptr<Software> soft = sources.get_soft(soft_id);
    if (!soft) return false;
    auto task = std::make_shared<DownloadTask>(soft_id, soft);
    {
        ke::scoped_lock guard(L().active_lock);
        if (FindActiveLocked(soft_id)) return false;
        L().active.push_back(task);
    }
    // Set before the engine is asked: a short transfer may complete (and
    // mark the id completed) before the engine call has even returned.
    int remembered = DownloadStateMap::Get(soft_id);
    DownloadStateMap::Set(soft_id, DownloadStateMap::kDownloading);
    // No registry lock is held while the engine drops an old observer.
    if (!DownloadMgr::Instance().Start(soft_id, 0)) {
        {
            ke::scoped_lock guard(L().active_lock);
            EraseActiveLocked(task);
        }
        DownloadStateMap::Set(soft_id, remembered);
        return false;
    }
    return true;
}

void Stop(int soft_id) {
    DownloadMgr::Instance().Pause(soft_id);
    // A download that completed just before the pause keeps its finished state.
    if (IsDownloading(soft_id)) DownloadStateMap::Set(soft_id, DownloadStateMap::kStopped);
    NotifyObservers(soft_id, [](DownloadTaskObserver* o) { o->OnStop(); });
}

bool Restart(int soft_id) {
    int remembered = DownloadStateMap::Get(soft_id);
    DownloadStateMap::Set(soft_id, DownloadStateMap::kDownloading);
    std::shared_ptr<DownloadTask> task;
    {
        ke::scoped_lock guard(L().active_lock);
        task = FindActiveLocked(soft_id);
    }
    if (!task) {
        DownloadStateMap::Set(soft_id, remembered);
        return false;
    }
    // A transfer still running would keep counting after the count is read
    // below; pausing first makes the count the exact resume offset.
    DownloadMgr::Instance().Pause(soft_id);
    if (!DownloadMgr::Instance().Start(soft_id, static_cast<int>(task->received()))) {
        DownloadStateMap::Set(soft_id, remembered);
        return false;
    }
    NotifyObservers(soft_id, [](DownloadTaskObserver* o) { o->OnRestart(); });
    return true;
}

void Delete(int soft_id) {
    std::shared_ptr<DownloadTask> task;
    {
        ke::scoped_lock guard(L().active_lock);
        task = FindActiveLocked(soft_id);
        if (task) EraseActiveLocked(task);
    }
    if (!task) return;
    DownloadMgr::Instance().Remove(soft_id);
    DownloadStateMap::Set(soft_id, DownloadStateMap::kNone);
    ke::scoped_lock guard(L().observer_lock);
    NotifyObservers(soft_id, [](DownloadTaskObserver* o) { o->OnDelete(); });
    L().observers[soft_id].clear();
}

bool IsDownloading(int soft_id) {
    ke::scoped_lock guard(L().active_lock);
    return FindActiveLocked(soft_id) != nullptr;
}

std::shared_ptr<DownloadTask> Find(int soft_id) {
    ke::scoped_lock guard(L().active_lock);
    std::shared_ptr<DownloadTask> task = FindActiveLocked(soft_id);
    return task ? task : EmptyTask();
}

void RemoveCompleted(int soft_id) {
    ke::scoped_lock guard(L().completed_lock);
    auto& completed = L().completed;
    for (size_t i = 0; i < completed.size(); ++i) {
        if (completed[i].first == soft_id) {
            completed.erase(completed.begin() + i);
            return;
        }
    }
}

void AddObserver(int soft_id, DownloadTaskObserver* observer) {
    ke::scoped_lock guard(L().observer_lock);
    L().observers[soft_id].push_back(observer);
}

void RemoveObserver(int soft_id, DownloadTaskObserver* observer) {
    ke::scoped_lock guard(L().observer_lock);
    ObserverList& list = L().observers[soft_id];
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i] == observer) {
            list.erase(list.begin() + i);
            return;
        }
    }
}

void RemoveAllObservers(int soft_id) {
    ke::scoped_lock guard(L().observer_lock);
    L().observers[soft_id].clear();
}

size_t ActiveCount() {
    ke::scoped_lock guard(L().active_lock);
    return L().active.size();
}

size_t CompletedCount() {
    ke::scoped_lock guard(L().completed_lock);
    return L().completed.size();
}

std::vector<std::shared_ptr<DownloadTask>> ActiveTasks() {
    ke::scoped_lock guard(L().active_lock);
    return L().active;
}

std::vector<std::shared_ptr<Software>> CompletedList() {
    ke::scoped_lock guard(L().completed_lock);
    std::vector<std::shared_ptr<Software>> records;
    for (const auto& c : L().completed) records.push_back(c.second);
    return records;
}

void VisitActive(const std::function<void(const std::shared_ptr<DownloadTask>&)>& visit) {
    ke::scoped_lock guard(L().active_lock);
    // A copy: `visit` may look tasks up, which walks the list again.
    const std::vector<std::shared_ptr<DownloadTask>> tasks = L().active;
    for (const auto& t : tasks) visit(t);
}

void VisitCompleted(const std::function<void(const std::shared_ptr<Software>&)>& visit) {
    ke::scoped_lock guard(L().completed_lock);
    for (const auto& c : L().completed) visit(c.second);
}

void OnProgress(int soft_id, int bytes, int speed) {
    ke::scoped_lock active_guard(L().active_lock);
    std::shared_ptr<DownloadTask> task = FindActiveLocked(soft_id);
    if (!task) return;

    if (bytes == kStepFailed && speed == kStepFailed) {
        task->SetProgress(-1, -1);
    } else if (bytes == kStepRestartedFromZero && speed == kStepRestartedFromZero) {
        task->ResetReceived();
        task->SetProgress(0, 0);
    } else if (bytes == 0 && speed == 0) {
        // The transfer ended with the whole file: complete, whatever the
        // catalogue's size said.
        int last_speed = 0;
        task->GetProgress(nullptr, nullptr, &last_speed);
        task->SetProgress(100, last_speed);
    } else if (bytes > 0) {
        unsigned received = task->AddReceived(static_cast<unsigned>(bytes));
        task->SetProgress(RunningPercent(received, task->soft_size()), speed);
    } else {
        return;  // not a step the engine makes
    }

    int state = task->state();
    ke::scoped_lock observer_guard(L().observer_lock);
    ObserverList copy = L().observers[soft_id];
    if (state == DownloadTask::kComplete) {
        bool installs = false;
        for (DownloadTaskObserver* o : copy) installs = installs || o->InstallsOnComplete();
        if (!installs) CompleteQueue::Instance().PostOpenInstaller(soft_id);
        for (DownloadTaskObserver* o : copy) o->OnComplete(task);
        {
            ke::scoped_lock completed_guard(L().completed_lock);
            auto& completed = L().completed;
            bool listed = false;
            for (const auto& c : completed) listed = listed || c.second == task->software();
            if (!listed) completed.emplace_back(soft_id, task->software());
        }
        EraseActiveLocked(task);
        DownloadStateMap::Set(soft_id, DownloadStateMap::kCompleted);
    } else {
        for (DownloadTaskObserver* o : copy) o->OnProgress(task);
    }
}

}  // namespace DownloadTaskRegistry
