#pragma once
// Soft id -> observers, for rows that follow one software. Registration and
// removal are safe from any thread; observers are called with the registry
// lock held, so a row that unregisters while being destroyed waits for a
// call in progress and is never called afterwards. The lock is recursive: an
// observer may register or unregister from its own call.
#include <stdint.h>
#include <algorithm>
#include <map>
#include <vector>
#include "foundation/ke/critical_section.h"

template <typename Observer>
class ObserverRegistry {
public:
    // Appends; the same observer may be listed twice.
    void Register(int32_t soft_id, Observer* observer) {
        ke::scoped_lock lock(lock_);
        map_[soft_id].push_back(observer);
    }

    // Removes the first entry equal to the observer. An id's entry stays,
    // even when its list is empty.
    void Unregister(int32_t soft_id, Observer* observer) {
        ke::scoped_lock lock(lock_);
        auto it = map_.find(soft_id);
        if (it == map_.end()) return;
        auto found = std::find(it->second.begin(), it->second.end(), observer);
        if (found != it->second.end()) it->second.erase(found);
    }

    // Calls `call(observer)` for each observer of the id, in registration
    // order, under the lock. Observers that unregister during the walk are
    // skipped from then on.
    template <typename Call>
    void ForEach(int32_t soft_id, Call call) {
        ke::scoped_lock lock(lock_);
        auto it = map_.find(soft_id);
        if (it == map_.end()) return;
        std::vector<Observer*> copy(it->second);
        for (Observer* observer : copy) {
            auto& live = map_[soft_id];
            if (std::find(live.begin(), live.end(), observer) == live.end()) continue;
            call(observer);
        }
    }

    // Every id that ever had an entry, ascending.
    std::vector<int32_t> Ids() {
        ke::scoped_lock lock(lock_);
        std::vector<int32_t> ids;
        for (const auto& entry : map_) ids.push_back(entry.first);
        return ids;
    }

private:
    ke::critical_section lock_;
    std::map<int32_t, std::vector<Observer*>> map_;
};
