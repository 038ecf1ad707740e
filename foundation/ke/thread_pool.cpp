#include "thread_pool.h"
#include <new>
#include "critical_section.h"

namespace ke {
namespace {

// Completion key of the stop signal. Task packets carry their node's address.
const ULONG_PTR kStopKey = 0;

// Serialises thread creation of every pool: the thread set makes its
// platform object on first use, which two racing posts must not both do.
critical_section& growth_lock() {
    static critical_section* lock = new critical_section();  // never destroyed
    return *lock;
}

}  // namespace

thread_pool::thread_pool(int minimum, int maximum, DWORD idle_timeout_ms)
    : idle_(0),
      queued_(0),
      pending_(0),
      stopping_(0),
      threads_(0),
      posting_(0),
      created_(0),
      exited_(0),
      maximum_(maximum < 1 ? 1 : maximum),
      minimum_(minimum < 0 ? 0 : minimum),
      idle_timeout_ms_(idle_timeout_ms),
      threads_set_("thread_base"),
      port_(nullptr),
      closed_(false) {
    if (minimum_ > maximum_) minimum_ = maximum_;
    threads_set_.set_owner(this);
}

thread_pool::~thread_pool() { stop(); }

bool thread_pool::start() {
    if (port_ || closed_) return port_ != nullptr;
    port_ = CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, maximum_);
    if (!port_) return false;
    if (minimum_ > 0) {
        scoped_lock guard(growth_lock());
        InterlockedExchangeAdd(&threads_, minimum_);
        int made = threads_set_.create_threads(minimum_);
        InterlockedExchangeAdd(&created_, made);
        InterlockedExchangeAdd(&threads_, made - minimum_);
        threads_set_.resume_all();
    }
    return true;
}

thread_pool::task_node* thread_pool::new_task_node() { return new (std::nothrow) task_node(); }

void thread_pool::free_task_node(task_node* node) { delete node; }

bool thread_pool::post(const task& t) {
    // Counted before the stop check: `stop` waits for posts in flight, so
    // none can still be using the port or starting a thread after it closed.
    InterlockedIncrement(&posting_);
    bool ok = false;
    if (!read(stopping_) && port_) {
        task_node* node = new_task_node();
        if (node) {
            bool copied = true;
            try {
                node->job = t;
            } catch (const std::bad_alloc&) {
                copied = false;
            }
            if (copied) {
                InterlockedIncrement(&queued_);
                InterlockedIncrement(&pending_);
                if (PostQueuedCompletionStatus(port_, 0, reinterpret_cast<ULONG_PTR>(node), nullptr)) {
                    ok = true;
                    grow_if_needed();
                } else {
                    InterlockedDecrement(&pending_);
                    InterlockedDecrement(&queued_);
                }
            }
            if (!ok) free_task_node(node);
        }
    }
    InterlockedDecrement(&posting_);
    return ok;
}

void thread_pool::grow_if_needed() {
    // A worker that has taken its packet leaves the idle count before the
    // pending count, so this errs towards one thread too many (which simply
    // times out), never towards a packet nobody will look at.
    if (read(pending_) <= read(idle_)) return;
    for (;;) {
        LONG count = read(threads_);
        if (count >= maximum_) return;
        if (InterlockedCompareExchange(&threads_, count + 1, count) == count) break;
    }
    scoped_lock guard(growth_lock());
    if (threads_set_.create_threads(1) != 1) {
        InterlockedDecrement(&threads_);
        return;
    }
    InterlockedIncrement(&created_);
    // A failed resume leaves the thread suspended and counted; the next
    // resume_all (another growth, or stop) starts it.
    threads_set_.resume_all();
}

bool thread_pool::on_start() { return true; }

void thread_pool::on_exit() {
    // The last touch of the pool by this thread: `stop` may return (and the
    // owner destroy the pool) as soon as every created thread got here.
    InterlockedIncrement(&exited_);
}

void thread_pool::run_node(task_node* node) {
    if (node->job) node->job();
    InterlockedDecrement(&queued_);
    free_task_node(node);
}

bool thread_pool::try_leave(task_node** node_out, bool* stop_out) {
    InterlockedDecrement(&threads_);
    DWORD bytes = 0;
    ULONG_PTR key = 0;
    LPOVERLAPPED overlapped = nullptr;
    if (!GetQueuedCompletionStatus(port_, &bytes, &key, &overlapped, 0) && !overlapped) return true;
    if (key == kStopKey) {
        *stop_out = true;
        return true;
    }
    InterlockedIncrement(&threads_);
    InterlockedDecrement(&pending_);
    *node_out = reinterpret_cast<task_node*>(key);
    return false;
}

bool thread_pool::run(HANDLE) {
    for (;;) {
        DWORD bytes = 0;
        ULONG_PTR key = 0;
        LPOVERLAPPED overlapped = nullptr;
        InterlockedIncrement(&idle_);
        BOOL got = GetQueuedCompletionStatus(port_, &bytes, &key, &overlapped, idle_timeout_ms_);
        DWORD error = got ? 0 : GetLastError();
        InterlockedDecrement(&idle_);

        task_node* node = nullptr;
        if (!got && !overlapped) {
            // No packet. Anything but a time-out (the port closed or broken)
            // ends the worker: it must never spin on a dead port.
            if (error != WAIT_TIMEOUT) {
                InterlockedDecrement(&threads_);
                return false;
            }
            if (!read(stopping_) && read(idle_) < minimum_) continue;
            bool stop_signal = false;
            if (try_leave(&node, &stop_signal)) return false;
        } else if (key == kStopKey) {
            InterlockedDecrement(&threads_);
            return false;
        } else {
            InterlockedDecrement(&pending_);
            node = reinterpret_cast<task_node*>(key);
        }

        run_node(node);
        if (read(stopping_)) {
            InterlockedDecrement(&threads_);
            return false;
        }
    }
}

void thread_pool::stop() {
    if (closed_) return;
    InterlockedIncrement(&stopping_);
    while (read(posting_) > 0) Sleep(1);
    {
        scoped_lock guard(growth_lock());
        threads_set_.resume_all();
    }
    // One stop signal for each worker still alive. Each worker takes at most
    // one and leaves; the round is repeated now and then only as a safeguard.
    for (int round = 0; read(exited_) < read(created_); ++round) {
        if (round % 50 == 0 && port_) {
            LONG alive = read(created_) - read(exited_);
            for (LONG i = 0; i < alive; ++i) PostQueuedCompletionStatus(port_, 0, kStopKey, nullptr);
        }
        Sleep(10);
    }
    if (port_) {
        // Tasks nobody picked up, and surplus stop signals.
        DWORD bytes = 0;
        ULONG_PTR key = 0;
        LPOVERLAPPED overlapped = nullptr;
        while (GetQueuedCompletionStatus(port_, &bytes, &key, &overlapped, 0) || overlapped) {
            if (key != kStopKey) {
                InterlockedDecrement(&pending_);
                InterlockedDecrement(&queued_);
                free_task_node(reinterpret_cast<task_node*>(key));
            }
            key = 0;
            overlapped = nullptr;
        }
        CloseHandle(port_);
        port_ = nullptr;
    }
    closed_ = true;
}

}  // namespace ke
