#pragma once
#include <windows.h>
#include <list>
#include "critical_section.h"
#include "nocopy_assign.h"
#include "task.h"

namespace ke {

// A locked first-in first-out queue of tasks. Any thread may post or send;
// exactly one thread drains.
class message_loop : public nocopy_assign {
public:
    message_loop();
    virtual ~message_loop();

    // Queues a copy of the task; false when memory runs out.
    bool post(const task& t);

    // Queues the task and waits up to `timeout_ms` (INFINITE allowed) for it
    // to finish. The result says whether it was queued; `timed_out` says
    // whether the wait gave up. A task that outlives the wait still runs to
    // its end later and touches nothing of the caller's.
    bool send(const task& t, bool* timed_out, DWORD timeout_ms);

    // Runs queued tasks one at a time, in order, including tasks posted while
    // draining. `idle` is set to false when at least one task ran.
    void drain(bool* idle);

    // Waits until a task is posted or `timeout_ms` passes.
    void wait_for_post(DWORD timeout_ms);

private:
    critical_section lock_;
    std::list<task> tasks_;
    HANDLE posted_;  // auto-reset; set on every post
};

}  // namespace ke
