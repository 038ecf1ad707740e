#include "client/windows/favourites/collect_soft_fetch.h"

#include <mutex>

#include "client/core/catalogue/soft_info_mgr.h"
#include "client/core/user_services/collect.h"
#include "foundation/log/log.h"

namespace {

std::mutex& RunningLock() {
    static std::mutex* lock = new std::mutex;
    return *lock;
}
bool g_running = false;

bool TakeRunningFlag() {
    std::lock_guard<std::mutex> hold(RunningLock());
    if (g_running) return false;
    g_running = true;
    return true;
}

void DropRunningFlag() {
    std::lock_guard<std::mutex> hold(RunningLock());
    g_running = false;
}

}  // namespace

void GetCollectSoftThreadProc(std::vector<SoftwarePtr>* softs) {
    if (!TakeRunningFlag()) return;
    std::vector<int32_t> ids;
    if (Collect::FetchCollectList(&ids)) {
        SoftMap records;
        for (int32_t id : ids) records[id] = SoftwarePtr();
        // Afterwards the map holds the ids whose record is known (cached
        // ones even when the fetch of the others failed).
        if (!SoftInfoMgr::Instance().FetchSofts(&records, false))
            log_error("%s: records of the favourites failed", "GetCollectSoftThreadProc");
        // The map's order is the ascending id order the page shows.
        for (const auto& entry : records) {
            if (entry.second) softs->push_back(entry.second);
        }
    } else {
        log_error("%s: get collect soft failed", "GetCollectSoftThreadProc");
    }
    DropRunningFlag();
}
