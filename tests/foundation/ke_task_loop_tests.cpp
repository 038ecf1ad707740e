#include <gtest/gtest.h>
#include <atomic>
#include <memory>
#include <vector>
#include "foundation/ke/task_mgr.h"
#include "foundation/ke/thread_single.h"

namespace {

// A task loop served by its own thread for the length of a test.
class LoopThread {
public:
    explicit LoopThread(ke::idle_step idle = nullptr)
        : loop(std::move(idle), "kthread_task_mgr"), thread([this] { loop.run(); }) {
        EXPECT_EQ(1, thread.create_threads(1));
        thread.resume_all();
    }
    ~LoopThread() {
        loop.stop();
        thread.join(thread.handle());
    }
    ke::thread_task_mgr loop;
    ke::thread_single thread;
};

TEST(MessageLoop, DrainRunsTasksInOrderIncludingOnesPostedMeanwhile) {
    ke::message_loop loop;
    std::vector<int> order;
    loop.post([&] {
        order.push_back(1);
        loop.post([&] { order.push_back(3); });
    });
    loop.post([&] { order.push_back(2); });
    bool idle = true;
    loop.drain(&idle);
    EXPECT_FALSE(idle);
    EXPECT_EQ((std::vector<int>{1, 2, 3}), order);
    loop.drain(&idle);
    EXPECT_TRUE(idle);
}

TEST(MessageLoop, DestroyingDropsQueuedTasksUnrun) {
    int runs = 0;
    {
        ke::message_loop loop;
        loop.post([&] { ++runs; });
        loop.post([&] { ++runs; });
    }
    EXPECT_EQ(0, runs);
}

TEST(MessageLoop, SendWithoutTimeLimitWaitsForTheTask) {
    LoopThread worker;
    DWORD ran_on = 0;
    bool timed_out = true;
    ASSERT_TRUE(worker.loop.loop().send([&] { ran_on = GetCurrentThreadId(); }, &timed_out,
                                        INFINITE));
    EXPECT_FALSE(timed_out);
    EXPECT_NE(0u, ran_on);
    EXPECT_NE(GetCurrentThreadId(), ran_on);
}

TEST(MessageLoop, SendThatTimesOutReturnsTrueAndTheLateTaskIsHarmless) {
    LoopThread worker;
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    auto finished = std::make_shared<std::atomic<bool>>(false);
    {
        // Everything the caller owns lives in this scope; the late task may
        // only use what it holds a copy or share of.
        bool timed_out = false;
        ASSERT_TRUE(worker.loop.loop().send(
            [release, finished] {
                WaitForSingleObject(release, 30000);
                *finished = true;
            },
            &timed_out, 50));
        EXPECT_TRUE(timed_out);
        EXPECT_FALSE(*finished);
    }
    SetEvent(release);  // the task runs to its end after the sender gave up
    for (int i = 0; i < 3000 && !*finished; ++i) Sleep(10);
    EXPECT_TRUE(*finished);
    bool timed_out = true;
    ASSERT_TRUE(worker.loop.loop().send([] {}, &timed_out, 5000));  // the loop still serves
    EXPECT_FALSE(timed_out);
    CloseHandle(release);
}

TEST(TaskLoop, IdleStepFalseOnFirstPassStillRunsQueuedTasks) {
    std::atomic<int> idle_calls{0};
    ke::thread_task_mgr loop(
        [&] {
            ++idle_calls;
            return false;
        },
        "kthread_task_mgr");
    int ran = 0;
    loop.loop().post([&] { ++ran; });
    loop.loop().post([&] { ++ran; });
    loop.run();  // returns after the first pass
    EXPECT_EQ(2, ran);
    EXPECT_EQ(1, idle_calls.load());
}

TEST(TaskLoop, IdleStepRunsEveryPassUntilItSaysStop) {
    int passes = 0;
    ke::thread_task_mgr loop([&] { return ++passes < 5; }, "kthread_task_mgr");
    loop.run();
    EXPECT_EQ(5, passes);
}

TEST(TaskLoop, StopEndsTheLoopAfterThePassInProgress) {
    ke::thread_task_mgr loop(nullptr, "kthread_task_mgr");
    loop.loop().post([&] { loop.stop(); });
    loop.run();  // would run forever without the stop
    EXPECT_TRUE(loop.stopped());
}

TEST(TaskLoop, TaskPostedToASleepingLoopRuns) {
    LoopThread worker;  // no idle step: an empty pass waits for a post
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    worker.loop.loop().post([done] { SetEvent(done); });
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(done, 30000));
    CloseHandle(done);
}

struct Waiter {
    ke::message_loop* loop;
    HANDLE entered, left;
};

DWORD WINAPI WaitForPostForever(LPVOID p) {
    Waiter* w = static_cast<Waiter*>(p);
    SetEvent(w->entered);
    w->loop->wait_for_post(INFINITE);
    SetEvent(w->left);
    return 0;
}

// An idle loop is woken by the post itself, not by the end of its idle
// wait: a wait with no end returns once a task is posted, whether the post
// comes before the wait begins or while it waits.
TEST(MessageLoop, APostEndsAWaitThatHasNoEnd) {
    for (bool post_first : {true, false}) {
        ke::message_loop loop;
        HANDLE entered = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        HANDLE left = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        Waiter waiter{&loop, entered, left};
        if (post_first) loop.post([] {});
        HANDLE thread = CreateThread(nullptr, 0, WaitForPostForever, &waiter, 0, nullptr);
        ASSERT_NE(nullptr, thread);
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(entered, 30000));
        if (!post_first) loop.post([] {});
        const bool woken = WaitForSingleObject(left, 30000) == WAIT_OBJECT_0;
        EXPECT_TRUE(woken) << "post first: " << post_first;
        if (!woken) TerminateThread(thread, 1);  // it would wait forever
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        CloseHandle(entered);
        CloseHandle(left);
    }
}

}  // namespace
