#include <gtest/gtest.h>
#include <atomic>
#include "client/core/downloads/complete_queue.h"
#include "client/core/startup/main_init.h"
#include "tests/client/core/downloads/fake_catalogue.h"

namespace {

// Nothing but the start routine starts the completion queue in this program:
// a job posted before it waits, and runs once the routine has run.
TEST(StartRoutine, StartsTheCompletionQueue) {
    std::atomic<bool> ran{false};
    ASSERT_TRUE(CompleteQueue::Instance().Post([&] { ran = true; }));
    Sleep(700);
    EXPECT_FALSE(ran.load());
    ASSERT_TRUE(MainInit());
    EXPECT_TRUE(download_test::WaitUntil([&] { return ran.load(); }, 10000));
}

}  // namespace
