#include "thread_single.h"

namespace ke {

thread_single::thread_single(task t)
    : threads_("thread_single"), auto_delete_(false), task_(std::move(t)) {
    threads_.set_owner(this);
}

thread_single::thread_single() : threads_("thread_base"), auto_delete_(false) {
    threads_.set_owner(this);
}

thread_single::~thread_single() {
    task_ = nullptr;
    deleter_ = nullptr;
}

void thread_single::set_auto_delete(deleter d) {
    auto_delete_ = true;
    deleter_ = std::move(d);
}

bool thread_single::on_start() { return true; }

bool thread_single::run(HANDLE) {
    task_();
    return false;
}

void thread_single::on_exit() {
    if (!auto_delete_) return;
    if (deleter_) {
        deleter_(this);
    } else {
        delete this;
    }
}

bool run_detached(task job) {
    thread_single* t = new thread_single(std::move(job));
    t->set_auto_delete(nullptr);
    if (t->create_threads(1) != 1) {
        delete t;
        return false;
    }
    // From here on the thread owns the object.
    t->resume_all();
    return true;
}

}  // namespace ke
