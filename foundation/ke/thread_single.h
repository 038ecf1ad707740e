#pragma once
#include <functional>
#include "nocopy_assign.h"
#include "task.h"
#include "thread_base.h"

namespace ke {

// Runs one task once on its own thread. With auto-delete on, the object
// destroys itself when the task is done (fire and forget).
class thread_single : public thread_base::delegate, public nocopy_assign {
public:
    typedef std::function<void(thread_single*)> deleter;

    explicit thread_single(task t);
    thread_single();
    virtual ~thread_single();

    void set_task(task t) { task_ = std::move(t); }
    void set_auto_delete(deleter d);

    int create_threads(int count) { return threads_.create_threads(count); }
    bool resume_all() { return threads_.resume_all(); }
    void join(HANDLE h) { threads_.join(h); }
    HANDLE handle() { return threads_.first_handle(); }

    bool on_start() override;
    bool run(HANDLE self) override;
    void on_exit() override;

private:
    thread_base threads_;
    bool auto_delete_;
    deleter deleter_;
    task task_;
};

// Starts `job` on a self-deleting one-shot thread. Returns false (and the
// job does not run) when the thread cannot be created.
bool run_detached(task job);

}  // namespace ke
