#pragma once
#include <windows.h>
#include <string>
#include "message_loop.h"
#include "nocopy_assign.h"
#include "task.h"

namespace ke {

// A loop that calls run_once until it returns false.
class task_mgr : public nocopy_assign {
public:
    explicit task_mgr(const char* name) : tick_(GetTickCount()), name_(name ? name : "") {}
    virtual ~task_mgr() = default;
    virtual bool run_once() = 0;

    // Serves the loop on the calling thread until run_once returns false.
    void run();

    DWORD tick() const { return tick_; }
    const std::string& name() const { return name_; }

private:
    DWORD tick_;
    std::string name_;
};

// A task loop: drains its message loop, then calls its idle step. Without an
// idle step an empty pass waits for the next post, at most 500 ms.
class thread_task_mgr : public task_mgr {
public:
    thread_task_mgr(idle_step idle, const char* name);
    ~thread_task_mgr() override = default;

    bool run_once() override;
    void stop() { InterlockedIncrement(&stop_); }
    bool stopped() const { return InterlockedCompareExchange(const_cast<LONG*>(&stop_), 0, 0) != 0; }
    message_loop& loop() { return loop_; }

    static const DWORD kIdleWaitMs = 500;

private:
    idle_step idle_;
    volatile LONG stop_;
    message_loop loop_;
};

}  // namespace ke
