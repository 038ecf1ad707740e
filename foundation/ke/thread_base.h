#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "critical_section.h"

namespace ke {

// A set of platform threads that run the loop of one owner object. Threads
// are created suspended and started together by resume_all.
class thread_base {
public:
    struct start_block;

    // The platform's thread operations.
    class implement {
    public:
        virtual HANDLE create(start_block* block) = 0;
        virtual bool close(HANDLE h) = 0;
        virtual bool resume(HANDLE h) = 0;
        virtual bool detach(HANDLE h) = 0;
        virtual void wait(HANDLE h) = 0;
        virtual bool terminate(HANDLE h, DWORD exit_code) = 0;

    protected:
        ~implement() = default;
    };

    // The owner, called on each thread of the set.
    class delegate {
    public:
        virtual bool on_start() = 0;        // false: the thread ends at once
        virtual bool run(HANDLE self) = 0;  // called again while it returns true
        virtual void on_exit() = 0;

    protected:
        ~delegate() = default;
    };

    struct start_block {
        thread_base* set;
        HANDLE handle;
    };

    explicit thread_base(const char* name = "thread_base");
    ~thread_base();
    thread_base(const thread_base&) = delete;
    thread_base& operator=(const thread_base&) = delete;

    void set_owner(delegate* owner) { owner_ = owner; }

    // Starts `count` threads suspended; returns how many were created.
    int create_threads(int count);
    // Resumes every thread still suspended; false when one resume failed.
    bool resume_all();
    // Waits without limit for one thread of the set; returns at once for a
    // handle that is not in the set.
    void join(HANDLE h);
    // Handle of the first thread of the set, 0 when none exists.
    HANDLE first_handle();
    // Threads currently inside the owner's run loop.
    LONG running_count() const { return running_; }
    // Threads the set still holds (ended threads are dropped at the next
    // create_threads).
    size_t entry_count() {
        scoped_lock guard(lock_);
        return entries_.size();
    }
    const std::string& name() const { return name_; }

    // Thread body: forwards from the platform entry.
    static void thread_body(start_block* block);

private:
    struct entry {
        HANDLE handle;
        bool suspended;
    };
    void drop_ended_threads_locked();

    implement* impl_;
    delegate* owner_;
    critical_section lock_;
    std::vector<entry> entries_;
    volatile LONG running_;
    std::string name_;
};

}  // namespace ke
