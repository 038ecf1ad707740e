#include <gtest/gtest.h>
#include <atomic>
#include "foundation/ke/thread_single.h"

namespace {

// An owner whose on_start answer and call counts a test controls.
class CountingOwner : public ke::thread_base::delegate {
public:
    explicit CountingOwner(bool start) : start_(start) { set.set_owner(this); }
    bool on_start() override {
        ++starts;
        return start_;
    }
    bool run(HANDLE) override {
        ++runs;
        return runs < 3;  // three passes, then the thread ends
    }
    void on_exit() override { ++exits; }

    ke::thread_base set;
    std::atomic<int> starts{0}, runs{0}, exits{0};

private:
    bool start_;
};

TEST(ThreadBase, CountZeroCreatesNothingAndEmptySetsAreHarmless) {
    CountingOwner owner(true);
    EXPECT_EQ(0, owner.set.create_threads(0));
    EXPECT_EQ(0, owner.set.create_threads(-3));
    EXPECT_TRUE(owner.set.resume_all());
    owner.set.join(reinterpret_cast<HANDLE>(0x1234));  // not in the set: returns at once
    EXPECT_EQ(nullptr, owner.set.first_handle());
}

TEST(ThreadBase, RunLoopsUntilFalseThenExits) {
    CountingOwner owner(true);
    ASSERT_EQ(1, owner.set.create_threads(1));
    HANDLE h = owner.set.first_handle();
    EXPECT_EQ(0, owner.runs.load());  // created suspended
    ASSERT_TRUE(owner.set.resume_all());
    owner.set.join(h);
    EXPECT_EQ(1, owner.starts.load());
    EXPECT_EQ(3, owner.runs.load());
    EXPECT_EQ(1, owner.exits.load());
    EXPECT_EQ(0, owner.set.running_count());
}

TEST(ThreadBase, FailedStartSkipsRunAndExit) {
    CountingOwner owner(false);
    ASSERT_EQ(1, owner.set.create_threads(1));
    HANDLE h = owner.set.first_handle();
    owner.set.resume_all();
    owner.set.join(h);
    EXPECT_EQ(1, owner.starts.load());
    EXPECT_EQ(0, owner.runs.load());
    EXPECT_EQ(0, owner.exits.load());
}

TEST(ThreadBase, EndedThreadsAreDroppedWhenNewOnesAreCreated) {
    CountingOwner owner(true);
    HANDLE first = nullptr;
    for (int i = 0; i < 20; ++i) {
        ASSERT_EQ(1, owner.set.create_threads(1));
        owner.set.resume_all();
        // Every earlier thread has ended and been dropped: the only entry
        // is the one just created.
        HANDLE h = owner.set.first_handle();
        if (i == 0) first = h;
        owner.set.join(h);
    }
    EXPECT_NE(nullptr, first);
    EXPECT_EQ(20, owner.exits.load());
    ASSERT_EQ(1, owner.set.create_threads(1));
    EXPECT_EQ(1u, owner.set.entry_count());
    owner.set.resume_all();
    owner.set.join(owner.set.first_handle());
}

TEST(ThreadSingle, HandleIsZeroBeforeCreation) {
    ke::thread_single t([] {});
    EXPECT_EQ(nullptr, t.handle());
}

TEST(ThreadSingle, RunsItsTaskOnceAndCanBeJoined) {
    std::atomic<int> calls{0};
    DWORD worker_id = 0;
    ke::thread_single t([&] {
        ++calls;
        worker_id = GetCurrentThreadId();
    });
    ASSERT_EQ(1, t.create_threads(1));
    ASSERT_TRUE(t.resume_all());
    t.join(t.handle());
    EXPECT_EQ(1, calls.load());
    EXPECT_NE(GetCurrentThreadId(), worker_id);
}

TEST(ThreadSingle, SelfDeletingThreadDestroysItselfAfterItsTask) {
    static std::atomic<int> destroyed;
    destroyed = 0;
    struct Tracked : ke::thread_single {
        explicit Tracked(ke::task t) : ke::thread_single(std::move(t)) {}
        ~Tracked() override { ++destroyed; }
    };
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    // The task finishes before resume_all returns, as often as not: the
    // object must survive until resume_all has released its lock.
    for (int i = 0; i < 50; ++i) {
        Tracked* t = new Tracked([] {});
        t->set_auto_delete(nullptr);
        ASSERT_EQ(1, t->create_threads(1));
        t->resume_all();
    }
    for (int i = 0; i < 3000 && destroyed < 50; ++i) Sleep(10);
    EXPECT_EQ(50, destroyed.load());
    CloseHandle(done);
}

TEST(ThreadSingle, CustomDeleterIsCalledWithTheObject) {
    static std::atomic<ke::thread_single*> seen;
    seen = nullptr;
    ke::thread_single* t = new ke::thread_single([] {});
    t->set_auto_delete([](ke::thread_single* self) {
        seen = self;
        delete self;
    });
    ASSERT_EQ(1, t->create_threads(1));
    t->resume_all();
    for (int i = 0; i < 3000 && !seen; ++i) Sleep(10);
    EXPECT_EQ(t, seen.load());
}

TEST(ThreadSingle, RunDetachedRunsTheJob) {
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_TRUE(ke::run_detached([done] { SetEvent(done); }));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(done, 30000));
    CloseHandle(done);
}

}  // namespace
