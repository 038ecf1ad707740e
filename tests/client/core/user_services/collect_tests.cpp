#include <gtest/gtest.h>
#include <windows.h>
#include <atomic>
#include <thread>
#include "client/core/user_services/collect.h"
#include "client/core/catalogue/soft_info_mgr.h"
#include "tests/client/core/user_services/user_service_fixture.h"

namespace {

struct Row : Collect::Observer {
    std::vector<std::string> calls;
    void OnCollected() override { calls.push_back("collected"); }
    void OnUncollected() override { calls.push_back("uncollected"); }
};

// Registers for its lifetime, as a catalogue row does.
struct RegisteredRow : Row {
    explicit RegisteredRow(int32_t id) : id(id) { Collect::Register(id, this); }
    ~RegisteredRow() { Collect::Unregister(id, this); }
    int32_t id;
};

class Favourites : public UserServiceTest {
protected:
    void SetUp() override {
        UserServiceTest::SetUp();
        SoftInfoMgr::Instance().ClearForTest();
    }
    bool Flag(int32_t id) { return SoftInfoMgr::Instance().IsCollected(id); }
};

TEST_F(Favourites, FetchMarksAndTellsEveryListedId) {
    RegisteredRow a(1005), b(1005), other(1002);
    std::vector<int32_t> ids;
    ASSERT_TRUE(Collect::FetchCollectList(&ids));
    EXPECT_EQ((std::vector<int32_t>{1001, 1005}), ids);
    EXPECT_TRUE(Flag(1001));
    EXPECT_TRUE(Flag(1005));
    EXPECT_FALSE(Flag(1002));
    EXPECT_EQ(std::vector<std::string>{"collected"}, a.calls);
    EXPECT_EQ(std::vector<std::string>{"collected"}, b.calls);
    EXPECT_TRUE(other.calls.empty());
    EXPECT_EQ(std::vector<std::string>{"/userservice.aspx?mod=collect&uid=501"}, Requests());
    ASSERT_EQ(1u, Cookies().size());
    EXPECT_NE(std::string::npos, Cookies()[0].find("_VANTREL_USER=sess501"));
}

TEST_F(Favourites, AnEmptyListIsAFailureAndChangesNoFlag) {
    SoftInfoMgr::Instance().SetCollected(1009, true);
    RegisteredRow row(1009);
    Get("/_user/favourites?ids=");
    std::vector<int32_t> ids = {7};
    EXPECT_FALSE(Collect::FetchCollectList(&ids));
    EXPECT_TRUE(ids.empty());
    Get("/_user/favourites?ids=0,-3");
    EXPECT_FALSE(Collect::FetchCollectList(&ids));
    EXPECT_TRUE(Flag(1009));
    EXPECT_TRUE(row.calls.empty());
}

TEST_F(Favourites, AddAndRemoveSendTheExactQueries) {
    RegisteredRow a(1003), b(1003);
    ASSERT_TRUE(Collect::AddSoft(1003));
    EXPECT_TRUE(Flag(1003));
    ASSERT_TRUE(Collect::RemoveSoft(1003));
    EXPECT_FALSE(Flag(1003));
    EXPECT_EQ((std::vector<std::string>{
                  "/userservice.aspx?mod=addschemesoft&uid=501&soft_id=1003&scheme_id=601",
                  "/userservice.aspx?mod=delschemesoft&uid=501&soft_id=1003&scheme_id=601"}),
              Requests());
    for (const auto& cookie : Cookies()) EXPECT_NE(std::string::npos, cookie.find("_VANTREL_USER=sess501"));
    EXPECT_EQ((std::vector<std::string>{"collected", "uncollected"}), a.calls);
    EXPECT_EQ(a.calls, b.calls);
}

TEST_F(Favourites, ARefusedChangeKeepsTheFlagAndTellsNobody) {
    RegisteredRow row(1004);
    Get("/_user/refuse?mod=addschemesoft&count=1");
    EXPECT_FALSE(Collect::AddSoft(1004));
    EXPECT_FALSE(Flag(1004));
    SoftInfoMgr::Instance().SetCollected(1004, true);
    service_.Fault("bad_json", "/userservice.aspx", 1);
    EXPECT_FALSE(Collect::RemoveSoft(1004));
    EXPECT_TRUE(Flag(1004));
    EXPECT_TRUE(row.calls.empty());
}

TEST_F(Favourites, LogoutClearsEveryFlagAndTellsEveryRow) {
    std::vector<int32_t> ids;
    ASSERT_TRUE(Collect::FetchCollectList(&ids));  // 1001 and 1005, no row shows them
    RegisteredRow shown(1005), never(1400);
    Collect::ClearAll();
    EXPECT_FALSE(Flag(1001));  // no row registered it: cleared all the same
    EXPECT_FALSE(Flag(1005));
    EXPECT_EQ(std::vector<std::string>{"uncollected"}, shown.calls);
    EXPECT_EQ(std::vector<std::string>{"uncollected"}, never.calls);
}

TEST(FavouritesRegistry, ARowLeavingWaitsForACallInProgress) {
    HANDLE inside = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    struct Slow : Collect::Observer {
        HANDLE inside, release;
        std::atomic<int> calls{0};
        void OnCollected() override {
            ++calls;
            SetEvent(inside);
            WaitForSingleObject(release, 30000);
        }
        void OnUncollected() override { ++calls; }
    } slow;
    slow.inside = inside;
    slow.release = release;
    Collect::Register(1500, &slow);
    std::thread notifier([] { Collect::Notify(1500, Collect::kCollected); });
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(inside, 30000));
    std::atomic<bool> left{false};
    std::thread leaver([&] {
        Collect::Unregister(1500, &slow);
        left = true;
    });
    Sleep(200);
    EXPECT_FALSE(left);  // held until the call returns
    SetEvent(release);
    leaver.join();
    notifier.join();
    Collect::Notify(1500, Collect::kUncollected);
    EXPECT_EQ(1, slow.calls.load());  // never called once it left
    CloseHandle(inside);
    CloseHandle(release);
}

TEST(FavouritesRegistry, AnObserverMayLeaveFromItsOwnCall) {
    struct SelfRemoving : Collect::Observer {
        int calls = 0;
        void OnCollected() override {
            ++calls;
            Collect::Unregister(1501, this);
        }
        void OnUncollected() override { ++calls; }
    } first, second;
    Row third;
    Collect::Register(1501, &first);
    Collect::Register(1501, &second);
    Collect::Register(1501, &third);
    Collect::Notify(1501, Collect::kCollected);
    Collect::Notify(1501, Collect::kUncollected);
    EXPECT_EQ(1, first.calls);
    EXPECT_EQ(1, second.calls);
    EXPECT_EQ((std::vector<std::string>{"collected", "uncollected"}), third.calls);
    Collect::Unregister(1501, &third);

    struct Installed : InstallObserable::Observer {
        void OnInstalled() override {}
    } installed;
    InstallObserable::Register(1501, &installed);
    InstallObserable::Unregister(1501, &installed);
}

TEST(FavouritesAnswers, OnlyIdsOfOneOrMoreCount) {
    struct Case { const char* body; bool ok; std::vector<int32_t> ids; } cases[] = {
        {R"({"list":[{"soft_id":"0"},{"soft_id":"5"},{"soft_id":"-3"}]})", true, {5}},
        {R"({"error":"noerror","list":[{"soft_id":" 12x"},{"id":"4"},7,{"soft_id":"9"}]})", true, {12, 9}},
        {R"({"list":[]})", false, {}},
        {R"({"list":[{"soft_id":"0"}]})", false, {}},
        {R"({"list":"5"})", false, {}},
        {"not json", false, {}},
    };
    for (const auto& c : cases) {
        std::vector<int32_t> ids = {99};
        EXPECT_EQ(c.ok, Collect::ParseCollectList(c.body, &ids)) << c.body;
        EXPECT_EQ(c.ids, ids) << c.body;
    }
    EXPECT_TRUE(Collect::ParseStatus(R"({"error":"noerror"})"));
    EXPECT_FALSE(Collect::ParseStatus(R"({"error":"refused"})"));
    EXPECT_FALSE(Collect::ParseStatus(R"({})"));
}

}  // namespace
