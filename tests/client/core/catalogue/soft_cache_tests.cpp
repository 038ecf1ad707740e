#include <set>
#include "client/core/catalogue/soft_info_mgr.h"
#include "tests/client/core/catalogue/catalogue_fixture.h"

namespace {

class SoftCache : public CatalogueTest {
protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        SoftInfoMgr::Instance().ClearForTest();
        SoftInfoMgr::Instance().SetLocalIconLookup(nullptr);
    }

    static SoftMap Ids(int first, int count) {
        SoftMap ids;
        for (int i = 0; i < count; ++i) ids[first + i] = SoftwarePtr();
        return ids;
    }
};

TEST_F(SoftCache, OneBadAnswerInABatchOfTwentyKeepsTheBatchOutOfTheCache) {
    Fault("bad_json", "/soft/1005", 1);
    SoftMap ids = Ids(1001, 20);
    EXPECT_FALSE(SoftInfoMgr::Instance().FetchSofts(&ids, false));
    EXPECT_EQ(19u, ids.size());
    EXPECT_EQ(0u, ids.count(1005));
    for (const auto& entry : ids) {
        ASSERT_TRUE(entry.second);
        EXPECT_EQ(entry.first, entry.second->soft_id);
        EXPECT_FALSE(entry.second->soft_name.empty());
        EXPECT_FALSE(SoftInfoMgr::Instance().GetSoft(entry.first)) << entry.first;
    }
    EXPECT_NE(std::string::npos, NewLog().find("SoftInfoMgr::DownloadSofts: ")) << NewLog();

    // Twenty requests on one connection, in ascending id order.
    Json::Value log = service_.Log();
    ASSERT_EQ(20u, log.size());
    std::set<std::string> connections;
    for (Json::ArrayIndex i = 0; i < log.size(); ++i) {
        EXPECT_EQ("/soft/" + std::to_string(1001 + i), log[i]["path"].asString());
        connections.insert(log[i]["connection_id"].toStyledString());
    }
    EXPECT_EQ(1u, connections.size());
}

TEST_F(SoftCache, AnEmptyAnswerDropsOnlyThatId) {
    SoftMap ids = Ids(1001, 3);
    ids[5] = SoftwarePtr();  // unknown to the catalogue: an empty answer
    EXPECT_TRUE(SoftInfoMgr::Instance().FetchSofts(&ids, false));
    EXPECT_EQ(3u, ids.size());
    EXPECT_EQ(0u, ids.count(5));
    EXPECT_TRUE(SoftInfoMgr::Instance().GetSoft(1002));
    EXPECT_FALSE(SoftInfoMgr::Instance().GetSoft(5));
}

TEST_F(SoftCache, CachedRecordsCostNoRequest) {
    SoftMap ids = Ids(1010, 4);
    ASSERT_TRUE(SoftInfoMgr::Instance().FetchSofts(&ids, false));
    service_.Reset();
    SoftMap again = Ids(1010, 4);
    EXPECT_TRUE(SoftInfoMgr::Instance().FetchSofts(&again, false));
    EXPECT_EQ(4u, again.size());
    EXPECT_EQ(ids[1011], again[1011]);  // the same shared record
    EXPECT_TRUE(Requests().empty());

    // Only the missing one is fetched.
    SoftMap more = Ids(1012, 3);
    EXPECT_TRUE(SoftInfoMgr::Instance().FetchSofts(&more, false));
    EXPECT_EQ(std::vector<std::string>{"/soft/1014"}, Requests());
}

TEST_F(SoftCache, ARefetchKeepsTheIconPathAndReplacesTheRecord) {
    SoftMap ids = Ids(1020, 2);
    ASSERT_TRUE(SoftInfoMgr::Instance().FetchSofts(&ids, false));
    SoftInfoMgr::Instance().SetIconPath(1020, L"temp\\1020.png");
    SoftInfoMgr::Instance().SetIconPath(99999, L"ignored");
    EXPECT_FALSE(SoftInfoMgr::Instance().GetSoft(99999));
    SoftwarePtr old = SoftInfoMgr::Instance().GetSoft(1020);

    service_.Reset();
    SoftMap again = Ids(1020, 2);
    ASSERT_TRUE(SoftInfoMgr::Instance().FetchSofts(&again, true));
    EXPECT_EQ(2u, Requests().size());
    SoftwarePtr fresh = SoftInfoMgr::Instance().GetSoft(1020);
    ASSERT_TRUE(fresh);
    EXPECT_NE(old, fresh);
    EXPECT_EQ(fresh, again[1020]);
    EXPECT_EQ(L"temp\\1020.png", SoftInfoMgr::Instance().GetIconPath(*fresh));
}

TEST_F(SoftCache, LocalIconsAreFilledIn) {
    SoftInfoMgr::Instance().SetLocalIconLookup([](int id, std::wstring* path) {
        if (id != 1031) return false;
        *path = L"temp\\1031.png";
        return true;
    });
    SoftMap ids = Ids(1030, 2);
    ASSERT_TRUE(SoftInfoMgr::Instance().FetchSofts(&ids, false));
    EXPECT_EQ(L"temp\\1031.png", ids[1031]->icon_path);
    EXPECT_EQ(L"", ids[1030]->icon_path);
    SoftInfoMgr::Instance().SetLocalIconLookup(nullptr);
}

TEST_F(SoftCache, AnUnreachableHostFailsWithoutCaching) {
    SetEnvironmentVariableW(L"VANTREL_CATALOGUE_HOST", L"127.0.0.1:1");
    SoftMap ids = Ids(1040, 3);
    EXPECT_FALSE(SoftInfoMgr::Instance().FetchSofts(&ids, false));
    EXPECT_TRUE(ids.empty());
    EXPECT_FALSE(SoftInfoMgr::Instance().GetSoft(1040));
    EXPECT_NE(std::string::npos, NewLog().find("SoftInfoMgr::DownloadSofts: ")) << NewLog();
}

TEST_F(SoftCache, EveryMalformedAnswerFailsWithALogLine) {
    struct Case {
        const char* mode;
        const char* arg;
    } cases[] = {
        {"bad_json", ""},     {"wrong_json", "[1,2,3]"}, {"wrong_json", "\"a text\""},
        {"wrong_json", "42"}, {"wrong_json", "null"},    {"wrong_json", "{\"soft_id\":"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.mode) + " " + c.arg);
        SoftInfoMgr::Instance().ClearForTest();
        service_.Reset();
        size_t before = LogText().size();
        Fault(c.mode, "/soft/1050", 1, c.arg);
        SoftMap ids = Ids(1049, 3);
        EXPECT_FALSE(SoftInfoMgr::Instance().FetchSofts(&ids, false));
        EXPECT_EQ(2u, ids.size());
        EXPECT_FALSE(SoftInfoMgr::Instance().GetSoft(1049));
        EXPECT_NE(std::string::npos, LogText().substr(before).find("soft id 1050"));
    }
}

TEST_F(SoftCache, CollectedFlags) {
    EXPECT_FALSE(SoftInfoMgr::Instance().IsCollected(1001));
    SoftInfoMgr::Instance().SetCollected(1001, true);
    EXPECT_TRUE(SoftInfoMgr::Instance().IsCollected(1001));
    SoftInfoMgr::Instance().SetCollected(1001, false);
    EXPECT_FALSE(SoftInfoMgr::Instance().IsCollected(1001));
}

}  // namespace
