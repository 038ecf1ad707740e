#include "task_mgr.h"

namespace ke {

void task_mgr::run() {
    do {
        tick_ = GetTickCount();
    } while (run_once());
}

thread_task_mgr::thread_task_mgr(idle_step idle, const char* name)
    : task_mgr(name), idle_(std::move(idle)), stop_(0) {}

bool thread_task_mgr::run_once() {
    bool idle = true;
    loop_.drain(&idle);
    if (idle_) {
        if (!idle_()) return false;
    } else if (idle) {
        // Woken by the next post rather than a fixed sleep, so a posted task
        // waits for nothing; 500 ms stays the upper bound of an idle pass.
        loop_.wait_for_post(kIdleWaitMs);
    }
    return !stopped();
}

}  // namespace ke
