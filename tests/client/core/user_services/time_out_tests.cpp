// A user-service host that stalls must not hold the windows that wait for
// it: every favourites and scheme request gives up after its time-out, as
// a failure that changes no cache and no flag.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <thread>
#include <vector>

#include "client/core/catalogue/soft_info_mgr.h"
#include "client/core/user_services/collect.h"
#include "client/core/user_services/scheme_mgr.h"
#include "client/core/user_services/user_service_request.h"
#include "tests/client/core/user_services/user_service_fixture.h"
#include "tests/support/test_support.h"

namespace {

class UserServiceTimeOut : public UserServiceTest {
protected:
    void SetUp() override {
        UserServiceTest::SetUp();
        SchemeMgr::Instance().ClearCache();
        SoftInfoMgr::Instance().ClearForTest();
    }
};

TEST_F(UserServiceTimeOut, AStalledAnswerIsAFailureWellBeforeTheStallEnds) {
    // Each request meets a host that holds its answer for ten minutes: half
    // of them before the headers, half in the middle of the body. They run
    // side by side; each must give up on its own time-out, so all of them
    // are back long before the stall would end.
    const int kStallSeconds = test_support::kLongStallSeconds;
    const struct {
        const char* what;
        std::function<bool()> call;
    } cases[] = {
        {"favourites list", [] { std::vector<int32_t> ids; return Collect::FetchCollectList(&ids); }},
        {"favourite added", [] { return Collect::AddSoft(1003); }},
        {"favourite removed", [] { return Collect::RemoveSoft(1001); }},
        {"scheme list",
         [] { std::vector<SchemeInfo> s; return SchemeMgr::Instance().GetSchemes(&s, true); }},
        {"scheme added",
         [] { int32_t id = 0; return SchemeMgr::Instance().AddScheme(L"a", L"", &id); }},
        {"scheme deleted", [] { return SchemeMgr::Instance().DeleteScheme(610); }},
        {"scheme renamed", [] { return SchemeMgr::Instance().ModifyScheme(610, L"b", L""); }},
        {"scheme's softs",
         [] { std::vector<int32_t> ids; return SchemeMgr::Instance().GetSchemeSoftIds(611, &ids); }},
        {"soft added to a scheme", [] { return SchemeMgr::Instance().AddSoftToScheme(611, 1003); }},
        {"soft removed from a scheme",
         [] { return SchemeMgr::Instance().RemoveSoftFromScheme(610, 1010); }},
    };
    const int n = static_cast<int>(sizeof(cases) / sizeof(cases[0]));
    service_.Fault("stall_headers", "/userservice.aspx", n / 2, std::to_string(kStallSeconds));
    service_.Fault("stall_body", "/userservice.aspx", n - n / 2, std::to_string(kStallSeconds));

    std::vector<int> ok(n, -1);
    std::vector<HANDLE> back(n);
    std::vector<std::thread> threads;
    for (int i = 0; i < n; ++i) {
        back[i] = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        threads.emplace_back([&, i] {
            ok[i] = cases[i].call() ? 1 : 0;
            SetEvent(back[i]);
        });
    }
    const DWORD all_back = WaitForMultipleObjects(n, back.data(), TRUE, test_support::kBackWithinMs);
    EXPECT_NE(static_cast<DWORD>(WAIT_TIMEOUT), all_back) << "a request waited for the stalled host";
    for (auto& t : threads) t.join();  // after a failure: until the stalls end
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(0, ok[i]) << cases[i].what;
        CloseHandle(back[i]);
    }
    EXPECT_EQ(static_cast<size_t>(n), Requests().size());

    // Nothing was cached or flagged (the host may well have done the work:
    // only its answer stalled): the next listings ask the host again.
    EXPECT_FALSE(SoftInfoMgr::Instance().IsCollected(1003));
    service_.Reset();
    std::vector<SchemeInfo> schemes;
    EXPECT_TRUE(SchemeMgr::Instance().GetSchemes(&schemes, false));
    std::vector<int32_t> ids;
    EXPECT_TRUE(SchemeMgr::Instance().GetSchemeSoftIds(611, &ids));
    EXPECT_EQ((std::vector<std::string>{"/userservice.aspx?mod=scheme&uid=501",
                                        "/userservice.aspx?mod=schemesoft&scheme_id=611&uid=501"}),
              Requests());
}

}  // namespace
