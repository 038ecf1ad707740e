#include "client/windows/catalogue/row_waits.h"

#include <atomic>

uint64_t NewRowIdentity() {
    static std::atomic<uint64_t> counter(0);
    return ++counter;
}

void RowWaits::Add(int32_t id, uint64_t row) {
    ke::scoped_lock guard(lock_);
    waits_[id].insert(row);
}

void RowWaits::Remove(int32_t id, uint64_t row) {
    ke::scoped_lock guard(lock_);
    auto it = waits_.find(id);
    if (it == waits_.end()) return;
    it->second.erase(row);
    if (it->second.empty()) waits_.erase(it);
}

bool RowWaits::TakeAndRun(int32_t id, uint64_t row, const std::function<void()>& post) {
    ke::scoped_lock guard(lock_);
    auto it = waits_.find(id);
    if (it == waits_.end() || it->second.erase(row) == 0) return false;
    if (it->second.empty()) waits_.erase(it);
    if (post) post();
    return true;
}

bool RowWaits::Holds(int32_t id, uint64_t row) {
    ke::scoped_lock guard(lock_);
    auto it = waits_.find(id);
    return it != waits_.end() && it->second.count(row) != 0;
}

size_t RowWaits::Size() {
    ke::scoped_lock guard(lock_);
    size_t n = 0;
    for (const auto& entry : waits_) n += entry.second.size();
    return n;
}

RowWaits& SoftIconWaits() {
    static RowWaits* waits = new RowWaits;
    return *waits;
}

RowWaits& TypeIconWaits() {
    static RowWaits* waits = new RowWaits;
    return *waits;
}
