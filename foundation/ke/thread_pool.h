#pragma once
#include <windows.h>
#include "nocopy_assign.h"
#include "task.h"
#include "thread_base.h"

namespace ke {

// Runs posted tasks on a variable number of workers that wait on one I/O
// completion port. Keeps at least `minimum` workers, grows by one thread
// when a task arrives and no worker is free (up to `maximum`), and lets a
// surplus worker end after the idle time-out without work.
//
// No job is ever stranded: `post` queues the packet before it decides on
// growth, and a worker that is about to leave first stops counting itself
// (idle and alive) and then looks at the port once more without waiting.
// So either some counted worker looks at the port after the packet went
// in, or `post` sees no free worker and starts one.
class thread_pool : public thread_base::delegate, public nocopy_assign {
public:
    static const DWORD kIdleTimeoutMs = 500;

    // `idle_timeout_ms` is how long a worker waits for a packet before it
    // considers leaving; tests shorten it to provoke the leave race often.
    thread_pool(int minimum, int maximum, DWORD idle_timeout_ms = kIdleTimeoutMs);
    // Stops the pool if the owner has not (waiting for its workers).
    virtual ~thread_pool();

    // Creates the port (concurrency = maximum) and the minimum workers.
    // False when the port could not be created; every post then fails.
    bool start();

    // Queues a copy of the task. False when the pool is stopping or stopped,
    // was never started, or the node or packet could not be made; the task
    // then does not run.
    bool post(const task& t);

    // Refuses further posts, lets every worker finish its current task and
    // leave, waits for them, closes the port and frees tasks never picked up.
    // Safe to call twice.
    void stop();

    // Counters, read atomically (for diagnostics and tests).
    LONG idle_count() const { return read(idle_); }
    LONG queued_count() const { return read(queued_); }
    LONG thread_count() const { return read(threads_); }
    bool stopping() const { return read(stopping_) != 0; }

    bool on_start() override;
    bool run(HANDLE self) override;
    void on_exit() override;

protected:
    struct task_node {
        task job;
    };
    // Overridable so tests can simulate memory running out (return null).
    virtual task_node* new_task_node();
    virtual void free_task_node(task_node* node);

private:
    static LONG read(const volatile LONG& v) {
        return InterlockedCompareExchange(const_cast<volatile LONG*>(&v), 0, 0);
    }
    void grow_if_needed();
    // One worker leaves: false when a last look at the port found a packet,
    // which `node_out` / `stop_out` then describe.
    bool try_leave(task_node** node_out, bool* stop_out);
    void run_node(task_node* node);

    volatile LONG idle_;      // workers inside the port wait
    volatile LONG queued_;    // posted, not yet finished
    volatile LONG pending_;   // posted, not yet taken from the port
    volatile LONG stopping_;  // 0 while running
    volatile LONG threads_;   // workers counted as alive
    volatile LONG posting_;   // posts between their stop check and their end
    volatile LONG created_;   // threads created over the pool's life
    volatile LONG exited_;    // threads that have finished with the pool
    int maximum_;
    int minimum_;
    DWORD idle_timeout_ms_;
    thread_base threads_set_;
    HANDLE port_;
    bool closed_;
};

}  // namespace ke
