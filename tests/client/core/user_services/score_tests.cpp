#include <gtest/gtest.h>
#include <windows.h>
#include <vector>
#include "client/core/user_services/soft_score_mgr.h"
#include "tests/client/core/user_services/user_service_fixture.h"

namespace {

struct ScoreRecorder : SoftScoreMgr::Observer {
    std::vector<std::pair<int32_t, int32_t>> calls;
    void OnScore(int32_t soft_id, int32_t score) override { calls.emplace_back(soft_id, score); }
};

// The score store is shared by every session of the services: each test
// rates software ids of its own.
class ScoreService : public UserServiceTest {
protected:
    void SetUp() override {
        UserServiceTest::SetUp();
        base_ = 500000 + static_cast<int32_t>((GetCurrentProcessId() * 7919u + GetTickCount()) % 400000) * 4;
    }
    std::string Id(int offset) { return std::to_string(base_ + offset); }
    int32_t base_ = 0;
};

TEST_F(ScoreService, UploadAndFetchSendTheExactQueries) {
    EXPECT_TRUE(SoftScoreMgr::SetScore(base_, 8));
    EXPECT_TRUE(SoftScoreMgr::SetScore(base_, 6));
    int32_t nums = -1, score = -1;
    ASSERT_TRUE(SoftScoreMgr::GetScore(&nums, &score, base_));
    EXPECT_EQ(2, nums);
    EXPECT_EQ(7, score);
    EXPECT_EQ((std::vector<std::string>{"/UserService.aspx?mod=score&soft_id=" + Id(0) + "&score=8",
                                        "/UserService.aspx?mod=score&soft_id=" + Id(0) + "&score=6",
                                        "/UserService.aspx?mod=getscorenum&soft_id=" + Id(0)}),
              Requests());
}

TEST_F(ScoreService, ObserversFollowTheirSoftware) {
    ScoreRecorder first, second, other;
    SoftScoreMgr::AddObserver(base_, &first);
    SoftScoreMgr::AddObserver(base_, &second);
    SoftScoreMgr::AddObserver(base_, &first);  // listed once
    SoftScoreMgr::AddObserver(base_ + 1, &other);
    SoftScoreMgr::SetScore(base_, 9);
    int32_t nums = 0, score = 0;
    ASSERT_TRUE(SoftScoreMgr::GetScore(&nums, &score, base_));
    EXPECT_EQ((std::vector<std::pair<int32_t, int32_t>>{{base_, 9}}), first.calls);
    EXPECT_EQ(first.calls, second.calls);
    EXPECT_TRUE(other.calls.empty());

    SoftScoreMgr::RemoveObserver(base_, &first);
    SoftScoreMgr::NotifyObservers(base_, 4);
    EXPECT_EQ(1u, first.calls.size());
    EXPECT_EQ(2u, second.calls.size());
    SoftScoreMgr::RemoveObserver(base_, &second);  // the id goes with its last observer
    SoftScoreMgr::NotifyObservers(base_, 3);
    EXPECT_EQ(2u, second.calls.size());
    SoftScoreMgr::RemoveObserver(base_ + 1, &other);
}

TEST_F(ScoreService, RefusedOrBrokenAnswersNotifyNobody) {
    ScoreRecorder row;
    SoftScoreMgr::AddObserver(base_ + 2, &row);
    // {"nums":"3","score":"8"}: a score without "error"
    service_.Fault("wrong_json", "/UserService.aspx", 1, "%7B%22nums%22%3A%223%22%2C%22score%22%3A%228%22%7D");
    service_.Fault("bad_json", "/UserService.aspx", 1);
    service_.Fault("status500", "/UserService.aspx", 1);
    int32_t nums = -1, score = -1;
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(SoftScoreMgr::GetScore(&nums, &score, base_ + 2)) << i;
    EXPECT_TRUE(row.calls.empty());
    SoftScoreMgr::RemoveObserver(base_ + 2, &row);
}

TEST(ScoreAnswers, AreReadWithDefaults) {
    struct Case { const char* body; bool ok; int32_t nums, score; } cases[] = {
        {R"({"error":"noerror","nums":"12","score":"7"})", true, 12, 7},
        {R"({"error":"noerror"})", true, 0, 0},                 // no score: 0
        {R"({"error":"noerror","nums":" 4x","score":"-2"})", true, 4, -2},
        {R"({"nums":"1","score":"5"})", false, -1, -1},           // "error" missing
        {R"({"error":"denied","score":"5"})", false, -1, -1},
        {R"([1])", false, -1, -1},
        {"", false, -1, -1},
    };
    for (const auto& c : cases) {
        int32_t nums = -1, score = -1;
        EXPECT_EQ(c.ok, SoftScoreMgr::ParseScore(c.body, &nums, &score)) << c.body;
        EXPECT_EQ(c.nums, nums) << c.body;
        EXPECT_EQ(c.score, score) << c.body;
    }
}

}  // namespace
