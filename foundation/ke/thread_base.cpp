#include "thread_base.h"
#include <process.h>

namespace ke {
namespace {

unsigned __stdcall thread_entry(void* arg) {
    thread_base::thread_body(static_cast<thread_base::start_block*>(arg));
    return 0;
}

class imp_win32 : public thread_base::implement {
public:
    HANDLE create(thread_base::start_block* block) override {
        uintptr_t h = _beginthreadex(nullptr, 0, thread_entry, block, CREATE_SUSPENDED, nullptr);
        block->handle = reinterpret_cast<HANDLE>(h);
        return block->handle;
    }
    bool close(HANDLE h) override { return CloseHandle(h) == TRUE; }
    bool resume(HANDLE h) override { return ResumeThread(h) != static_cast<DWORD>(-1); }
    bool detach(HANDLE) override { return true; }
    void wait(HANDLE h) override { WaitForSingleObject(h, INFINITE); }
    bool terminate(HANDLE h, DWORD exit_code) override {
        return TerminateThread(h, exit_code) == TRUE;
    }
    virtual ~imp_win32() = default;
};

}  // namespace

thread_base::thread_base(const char* name)
    : impl_(nullptr), owner_(nullptr), running_(0), name_(name ? name : "thread_base") {}

thread_base::~thread_base() {
    if (impl_) {
        for (const entry& e : entries_) impl_->close(e.handle);
        delete static_cast<imp_win32*>(impl_);
    }
}

void thread_base::drop_ended_threads_locked() {
    // Threads that have ended keep nothing but their handle: close it, so
    // that long-lived pools do not collect handles for the life of the process.
    for (size_t i = 0; i < entries_.size();) {
        const entry& e = entries_[i];
        if (!e.suspended && WaitForSingleObject(e.handle, 0) == WAIT_OBJECT_0) {
            impl_->close(e.handle);
            entries_.erase(entries_.begin() + i);
        } else {
            ++i;
        }
    }
}

int thread_base::create_threads(int count) {
    if (count <= 0) return 0;
    if (!impl_) impl_ = new imp_win32();
    {
        scoped_lock guard(lock_);
        drop_ended_threads_locked();
    }
    int created = 0;
    for (int i = 0; i < count; ++i) {
        start_block* block = new start_block{this, nullptr};
        HANDLE h = impl_->create(block);
        if (!h) {
            delete block;
            continue;
        }
        scoped_lock guard(lock_);
        entries_.push_back(entry{h, true});
        ++created;
    }
    return created;
}

bool thread_base::resume_all() {
    scoped_lock guard(lock_);
    bool ok = true;
    for (entry& e : entries_) {
        if (!e.suspended) continue;
        if (impl_->resume(e.handle)) {
            e.suspended = false;
        } else {
            ok = false;
        }
    }
    return ok;
}

void thread_base::join(HANDLE h) {
    bool found = false;
    {
        scoped_lock guard(lock_);
        for (const entry& e : entries_) {
            if (e.handle == h) {
                found = true;
                break;
            }
        }
    }
    if (found) impl_->wait(h);
}

HANDLE thread_base::first_handle() {
    std::vector<entry> copy;
    {
        scoped_lock guard(lock_);
        copy = entries_;
    }
    return copy.empty() ? nullptr : copy.front().handle;
}

void thread_base::thread_body(start_block* block) {
    thread_base* set = block->set;
    delegate* owner = set->owner_;
    if (owner->on_start()) {
        InterlockedIncrement(&set->running_);
        while (owner->run(block->handle)) {
        }
        InterlockedDecrement(&set->running_);
        {
            // resume_all holds this lock while it resumes: an on_exit that
            // destroys the owner never runs while the starter is still inside it.
            scoped_lock guard(set->lock_);
        }
        owner->on_exit();
    }
    delete block;
}

}  // namespace ke
