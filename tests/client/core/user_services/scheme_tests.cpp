#include <gtest/gtest.h>
#include "client/core/reports/login_session.h"
#include "client/core/user_services/scheme_mgr.h"
#include "tests/client/core/user_services/user_service_fixture.h"

namespace {

class SchemeService : public UserServiceTest {
protected:
    void SetUp() override {
        UserServiceTest::SetUp();
        SchemeMgr::Instance().ClearCache();
    }
    SchemeMgr& mgr() { return SchemeMgr::Instance(); }
};

TEST_F(SchemeService, EveryRequestSendsItsExactQueryWithTheCookie) {
    std::vector<SchemeInfo> schemes;
    ASSERT_TRUE(mgr().GetSchemes(&schemes, false));
    int32_t id = 0;
    ASSERT_TRUE(mgr().AddScheme(L"\x529e\x516c A", L"", &id));  // 办公 A, no description
    ASSERT_TRUE(mgr().ModifyScheme(id, L"B", L"d"));
    std::vector<int32_t> softs;
    ASSERT_TRUE(mgr().GetSchemeSoftIds(id, &softs));
    ASSERT_TRUE(mgr().AddSoftToScheme(id, 1003));
    ASSERT_TRUE(mgr().RemoveSoftFromScheme(id, 1003));
    ASSERT_TRUE(mgr().DeleteScheme(id));
    std::string sid = std::to_string(id);
    EXPECT_EQ((std::vector<std::string>{
                  "/userservice.aspx?mod=scheme&uid=501",
                  "/userservice.aspx?mod=addscheme&uid=501&pscheme_id=600"
                  "&scheme_name=%E5%8A%9E%E5%85%AC%20%41&scheme_desc=",
                  "/userservice.aspx?mod=schememodify&uid=501&scheme_id=" + sid + "&scheme_name=%42&scheme_desc=%64",
                  "/userservice.aspx?mod=schemesoft&scheme_id=" + sid + "&uid=501",
                  "/userservice.aspx?mod=addschemesoft&scheme_id=" + sid + "&soft_id=1003",
                  "/userservice.aspx?mod=delschemesoft&scheme_id=" + sid + "&soft_id=1003",
                  "/userservice.aspx?mod=delscheme&uid=501&scheme_id=" + sid,
              }),
              Requests());
    for (const auto& cookie : Cookies()) EXPECT_NE(std::string::npos, cookie.find("_VANTREL_USER=sess501"));
}

TEST_F(SchemeService, ListingIsCachedUntilRefreshOrClear) {
    std::vector<SchemeInfo> schemes;
    ASSERT_TRUE(mgr().GetSchemes(&schemes, false));
    ASSERT_EQ(2u, schemes.size());
    EXPECT_EQ(610, schemes[0].scheme_id);
    EXPECT_EQ(L"\x529e\x516c\x5fc5\x5907", schemes[0].scheme_name);
    EXPECT_EQ(2, schemes[0].soft_num);
    ASSERT_TRUE(mgr().GetSchemes(&schemes, false));
    EXPECT_EQ(1u, Requests().size());
    int32_t id = 0;
    ASSERT_TRUE(mgr().AddScheme(L"New", L"desc", &id));
    ASSERT_TRUE(mgr().GetSchemes(&schemes, false));
    ASSERT_EQ(3u, schemes.size());
    EXPECT_EQ(id, schemes[2].scheme_id);
    EXPECT_EQ(L"", schemes[2].scheme_desc);  // the cache keeps no description
    EXPECT_EQ(0, schemes[2].soft_num);
    EXPECT_EQ(2u, Requests().size());
    ASSERT_TRUE(mgr().DeleteScheme(611));
    ASSERT_TRUE(mgr().GetSchemes(&schemes, false));
    EXPECT_EQ(2u, schemes.size());
    ASSERT_TRUE(mgr().GetSchemes(&schemes, true));
    EXPECT_EQ(4u, Requests().size());
}

TEST_F(SchemeService, SoftListsFollowChangesOnlyWhenListed) {
    std::vector<int32_t> softs;
    ASSERT_TRUE(mgr().GetSchemeSoftIds(610, &softs));
    EXPECT_EQ((std::vector<int32_t>{1010, 1011}), softs);
    ASSERT_TRUE(mgr().AddSoftToScheme(610, 1020));
    ASSERT_TRUE(mgr().RemoveSoftFromScheme(610, 1010));
    ASSERT_TRUE(mgr().AddSoftToScheme(611, 1021));  // never listed
    service_.Reset();
    ASSERT_TRUE(mgr().GetSchemeSoftIds(610, &softs));
    EXPECT_EQ((std::vector<int32_t>{1011, 1020}), softs);
    EXPECT_TRUE(Requests().empty());
    ASSERT_TRUE(mgr().GetSchemeSoftIds(611, &softs));
    EXPECT_EQ((std::vector<int32_t>{1021}), softs);
    EXPECT_EQ(1u, Requests().size());
}

TEST_F(SchemeService, FailuresLeaveTheCachesAsTheyWere) {
    std::vector<SchemeInfo> schemes;
    ASSERT_TRUE(mgr().GetSchemes(&schemes, false));
    Get("/_user/refuse?mod=delscheme&count=1");
    EXPECT_FALSE(mgr().DeleteScheme(610));
    Get("/_user/refuse?mod=addscheme&count=1");
    int32_t id = -5;
    EXPECT_FALSE(mgr().AddScheme(L"x", L"", &id));
    EXPECT_EQ(-5, id);
    std::vector<SchemeInfo> after;
    ASSERT_TRUE(mgr().GetSchemes(&after, false));
    EXPECT_EQ(schemes.size(), after.size());

    // A user without schemes gets a failure, as does an unreadable answer.
    Get("/_user/schemes?clear=1");
    EXPECT_FALSE(mgr().GetSchemes(&after, true));
    Get("/_user/reset");
    service_.Fault("bad_json", "/userservice.aspx", 1);
    EXPECT_FALSE(mgr().GetSchemes(&after, true));
    std::vector<int32_t> softs = {7};
    service_.Fault("bad_json", "/userservice.aspx", 1);
    EXPECT_FALSE(mgr().GetSchemeSoftIds(610, &softs));
    EXPECT_EQ(std::vector<int32_t>{7}, softs);
}

TEST_F(SchemeService, AStaleCookieIsSentAndRefused) {
    std::string stale = "sess999";
    LoginSession::Instance().SwapCookie(&stale);
    std::vector<SchemeInfo> schemes;
    EXPECT_FALSE(mgr().GetSchemes(&schemes, true));
    ASSERT_EQ(1u, Cookies().size());
    EXPECT_NE(std::string::npos, Cookies()[0].find("_VANTREL_USER=sess999"));
}

TEST(SchemeAnswers, AreReadWithDefaults) {
    std::vector<SchemeInfo> schemes;
    ASSERT_TRUE(SchemeMgr::ParseSchemes(
        R"({"error":"noerror","list":[{"scheme_id":"7"},{"scheme_name":"A","soft_num":"3","scheme_desc":"d"}]})",
        &schemes));
    ASSERT_EQ(2u, schemes.size());
    EXPECT_EQ(L"noname", schemes[0].scheme_name);
    EXPECT_EQ(7, schemes[0].scheme_id);
    EXPECT_EQ(0, schemes[1].scheme_id);
    EXPECT_EQ(3, schemes[1].soft_num);
    EXPECT_EQ(L"d", schemes[1].scheme_desc);

    struct Case { const char* body; bool schemes_ok; bool softs_ok; size_t softs; } cases[] = {
        {R"({"error":"noerror","list":[]})", false, true, 0},
        {R"({"error":"noerror","list":[{"soft_id":"0"},{"soft_id":"-3"},{}]})", true, true, 3},
        {R"({"error":"noerror"})", false, false, 0},
        {R"({"error":"noerror","list":5})", false, false, 0},
        {R"({"error":"other","list":[{"soft_id":"1"}]})", false, false, 0},
        {"<html>", false, false, 0},
    };
    for (const auto& c : cases) {
        std::vector<SchemeInfo> s;
        std::vector<int32_t> ids;
        EXPECT_EQ(c.schemes_ok, SchemeMgr::ParseSchemes(c.body, &s)) << c.body;
        EXPECT_EQ(c.softs_ok, SchemeMgr::ParseSchemeSoftIds(c.body, &ids)) << c.body;
        EXPECT_EQ(c.softs, ids.size()) << c.body;
    }
    int32_t id = -1;
    EXPECT_TRUE(SchemeMgr::ParseAddScheme(R"({"error":"noerror","id":"42"})", &id));
    EXPECT_EQ(42, id);
    EXPECT_FALSE(SchemeMgr::ParseAddScheme(R"({"error":"x","id":"43"})", &id));
    EXPECT_EQ(42, id);
}

}  // namespace
