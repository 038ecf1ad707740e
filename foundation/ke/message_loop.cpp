#include "message_loop.h"
#include <memory>
#include <new>

namespace ke {
namespace {

// The event a sender waits on. Shared between `send` and its wrapper task,
// so whichever lets go last closes it.
struct send_event {
    HANDLE handle;
    send_event() : handle(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}
    ~send_event() {
        if (handle) CloseHandle(handle);
    }
};

}  // namespace

message_loop::message_loop() : posted_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

message_loop::~message_loop() {
    if (posted_) CloseHandle(posted_);
}

bool message_loop::post(const task& t) {
    try {
        scoped_lock guard(lock_);
        tasks_.push_back(t);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (posted_) SetEvent(posted_);
    return true;
}

bool message_loop::send(const task& t, bool* timed_out, DWORD timeout_ms) {
    std::shared_ptr<send_event> ev;
    try {
        ev = std::make_shared<send_event>();
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!ev->handle) return false;
    task inner = t;
    bool queued = post([inner, ev]() {
        inner();
        SetEvent(ev->handle);
    });
    bool expired = false;
    if (queued) expired = WaitForSingleObject(ev->handle, timeout_ms) == WAIT_TIMEOUT;
    if (timed_out) *timed_out = expired;
    return queued;
}

void message_loop::drain(bool* idle) {
    if (idle) *idle = true;
    for (;;) {
        task next;
        {
            scoped_lock guard(lock_);
            if (tasks_.empty()) return;
            next = std::move(tasks_.front());
            tasks_.pop_front();
        }
        if (!next) return;
        next();
        if (idle) *idle = false;
    }
}

void message_loop::wait_for_post(DWORD timeout_ms) {
    if (posted_) {
        WaitForSingleObject(posted_, timeout_ms);
    } else {
        Sleep(timeout_ms);
    }
}

}  // namespace ke
