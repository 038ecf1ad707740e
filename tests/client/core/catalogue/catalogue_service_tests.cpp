#include <algorithm>
#include "client/core/catalogue/rank_page.h"
#include "client/core/catalogue/soft_class_mgr.h"
#include "client/core/catalogue/soft_search.h"
#include "tests/client/core/catalogue/catalogue_fixture.h"

namespace {

class Catalogue : public CatalogueTest {
protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        SoftClassMgr::Instance().ClearForTest();
        ClearRankCacheForTest();
    }
};

TEST_F(Catalogue, LoadsTheSampleCategoryTree) {
    ASSERT_TRUE(SoftClassMgr::Instance().Load(false));
    SoftClassMap top = SoftClassMgr::Instance().TopClasses();
    ASSERT_EQ(4u, top.size());
    const wchar_t* titles[] = {L"装机必备", L"软件宝库", L"装机方案", L"实用工具"};
    for (const wchar_t* title : titles) {
        SoftClassInfo found;
        ASSERT_TRUE(SoftClassMgr::Instance().FindTopClass(title, &found));
        EXPECT_EQ(-1, found.pclass_id);
        EXPECT_FALSE(SoftClassMgr::Instance().SubClasses(found.class_id).empty());
    }
    EXPECT_EQ(1, SoftClassMgr::Instance().TopClassId());  // the highest rank
    EXPECT_TRUE(SoftClassMgr::Instance().HasSubClasses());
    EXPECT_EQ(L"聊天通讯", SoftClassMgr::Instance().SubClasses(1)[101].class_name);

    // Loaded: a second load without refresh asks nothing.
    service_.Reset();
    EXPECT_TRUE(SoftClassMgr::Instance().Load(false));
    EXPECT_TRUE(Requests().empty());
}

TEST_F(Catalogue, NamesCompareWithoutRegardToCase) {
    Fault("wrong_json", "/class", 1,
          R"([{"class_name":"Tools","class_id":"3","pclass_id":"-1","rank":"1"},
              {"class_name":"TOOLS","class_id":"2","pclass_id":"-1","rank":"0"}])");
    ASSERT_TRUE(SoftClassMgr::Instance().Load(false));
    SoftClassInfo found;
    ASSERT_TRUE(SoftClassMgr::Instance().FindTopClass(L"tools", &found));
    EXPECT_EQ(2, found.class_id);  // the first in ascending id order
    EXPECT_FALSE(SoftClassMgr::Instance().FindTopClass(L"tool", &found));
}

TEST_F(Catalogue, RefreshMergesTheCategoryTree) {
    Fault("wrong_json", "/class", 1, R"([
        {"class_name":"A","class_id":"1","pclass_id":"-1","rank":"5"},
        {"class_name":"B","class_id":"2","pclass_id":"-1","rank":"9"},
        {"class_name":"a1","class_id":"11","pclass_id":"1","rank":"0"},
        {"class_name":"a2","class_id":"12","pclass_id":"1","rank":"0"},
        {"class_name":"b1","class_id":"21","pclass_id":"2","rank":"0"},
        {"class_name":"orphan","class_id":"31","pclass_id":"3","rank":"0"}])");
    ASSERT_TRUE(SoftClassMgr::Instance().Load(false));
    EXPECT_EQ(2, SoftClassMgr::Instance().TopClassId());
    EXPECT_EQ(2u, SoftClassMgr::Instance().SubClasses(1).size());
    EXPECT_TRUE(SoftClassMgr::Instance().SubClasses(3).empty());  // no parent: dropped

    // The refresh brings A again with one sub-category fewer, brings the
    // orphan's parent, and leaves B out.
    Fault("wrong_json", "/class", 1, R"([
        {"class_name":"A2","class_id":"1","pclass_id":"-1","rank":"20"},
        {"class_name":"C","class_id":"3","pclass_id":"-1","rank":"1"},
        {"class_name":"a1 new","class_id":"11","pclass_id":"1","rank":"0"},
        {"class_name":"orphan","class_id":"31","pclass_id":"3","rank":"0"}])");
    ASSERT_TRUE(SoftClassMgr::Instance().Load(true));
    SoftClassMap top = SoftClassMgr::Instance().TopClasses();
    ASSERT_EQ(3u, top.size());
    EXPECT_EQ(L"A2", top[1].class_name);
    EXPECT_EQ(1, SoftClassMgr::Instance().TopClassId());
    SoftClassMap a = SoftClassMgr::Instance().SubClasses(1);
    ASSERT_EQ(1u, a.size());  // a2 is gone with the refreshed parent
    EXPECT_EQ(L"a1 new", a[11].class_name);
    EXPECT_EQ(1u, SoftClassMgr::Instance().SubClasses(2).size());  // B keeps b1
    EXPECT_EQ(1u, SoftClassMgr::Instance().SubClasses(3).size());  // the orphan found its parent
}

TEST_F(Catalogue, NegativeRanksNeverBecomeTheTopCategory) {
    const char* negative = R"([{"class_name":"A","class_id":"1","pclass_id":"-1","rank":"-3"}])";
    Fault("wrong_json", "/class", 2, negative);
    ASSERT_TRUE(SoftClassMgr::Instance().Load(false));
    EXPECT_EQ(0, SoftClassMgr::Instance().TopClassId());
    EXPECT_EQ(1u, SoftClassMgr::Instance().TopClasses().size());
    service_.Reset();
    Fault("wrong_json", "/class", 1, negative);
    ASSERT_TRUE(SoftClassMgr::Instance().Load(false));  // not loaded yet: asks again
    EXPECT_EQ(std::vector<std::string>{"/class"}, Requests());
}

TEST_F(Catalogue, RankingPagesAreCachedAndSecondRequestsSendNothing) {
    std::vector<RankEntry> entries;
    int32_t total = 0, count = 0;
    ASSERT_TRUE(GetRankPage(2, 1, false, &entries, &total, &count));
    EXPECT_EQ(20u, entries.size());
    EXPECT_EQ(20, count);
    EXPECT_GE(total, 41);  // several pages
    EXPECT_EQ(std::vector<std::string>{"/rank/2_1_20"}, Requests());

    service_.Reset();
    std::vector<RankEntry> again;
    int32_t total2 = 0, count2 = 0;
    ASSERT_TRUE(GetRankPage(2, 1, false, &again, &total2, &count2));
    EXPECT_EQ(entries, again);
    EXPECT_EQ(total, total2);
    EXPECT_TRUE(Requests().empty());

    // The third page holds the rest.
    ASSERT_TRUE(GetRankPage(2, 3, false, &again, &total2, &count2));
    EXPECT_EQ(static_cast<size_t>(total - 40), again.size());
    // A page past the end has no entries: a failure, not cached.
    EXPECT_FALSE(GetRankPage(2, 9, false, &again, &total2, &count2));
    EXPECT_FALSE(GetRankPage(2, 9, false, &again, &total2, &count2));
    std::vector<std::string> requests = Requests();
    EXPECT_EQ(2, std::count(requests.begin(), requests.end(), std::string("/rank/2_9_20")));
}

TEST_F(Catalogue, AFailedRefreshKeepsTheCachedPage) {
    std::vector<RankEntry> entries;
    int32_t total = 0, count = 0;
    ASSERT_TRUE(GetRankPage(1, 1, false, &entries, &total, &count));
    for (const char* mode : {"status500", "bad_json"}) {
        SCOPED_TRACE(mode);
        Fault(mode, "/rank/", 1);
        std::vector<RankEntry> refreshed;
        int32_t t = -1, c = -1;
        EXPECT_FALSE(GetRankPage(1, 1, true, &refreshed, &t, &c));
        std::vector<RankEntry> cached;
        ASSERT_TRUE(GetRankPage(1, 1, false, &cached, &t, &c));
        EXPECT_EQ(entries, cached);
        EXPECT_EQ(total, t);
    }
    // A good refresh replaces the page.
    Fault("wrong_json", "/rank/", 1, R"({"total_num":1,"soft_info":[{"soft_id":"1001","rank":"1"}]})");
    ASSERT_TRUE(GetRankPage(1, 1, true, &entries, &total, &count));
    ASSERT_TRUE(GetRankPage(1, 1, false, &entries, &total, &count));
    EXPECT_EQ((std::vector<RankEntry>{{1001, 1}}), entries);
    EXPECT_EQ(1, total);
}

TEST_F(Catalogue, NegativeRanksAreSkippedAndLogged) {
    Fault("wrong_json", "/rank/", 1, R"({"total_num":"3","soft_info":[
        {"soft_id":"1001","rank":"-1"},{"rank":"5"},{"soft_id":"1003","rank":"7"}]})");
    std::vector<RankEntry> entries;
    int32_t total = 0, count = 0;
    ASSERT_TRUE(GetRankPage(4, 1, false, &entries, &total, &count));
    EXPECT_EQ((std::vector<RankEntry>{{1003, 7}}), entries);
    EXPECT_EQ(3, total);
    EXPECT_EQ(3, count);
    std::string log = NewLog();
    EXPECT_NE(std::string::npos, log.find("LoadFromJson: get rank soft id(1001), rank(-1)")) << log;
    EXPECT_NE(std::string::npos, log.find("LoadFromJson: get rank soft id(-1), rank(5)")) << log;
}

TEST_F(Catalogue, SearchSendsTheKeywordPercentEncodedByteForByte) {
    std::vector<int32_t> ids;
    ASSERT_TRUE(SearchSoft(L"浏览器", &ids));
    EXPECT_EQ(3u, ids.size());
    ASSERT_TRUE(SearchSoft(L"a b/", &ids));
    ids.clear();
    ASSERT_TRUE(SearchSoft(L"", &ids));
    EXPECT_TRUE(ids.empty());
    Json::Value log = service_.Log();
    ASSERT_EQ(3u, log.size());
    EXPECT_EQ("GET /search/%E6%B5%8F%E8%A7%88%E5%99%A8 HTTP/1.1", log[0]["line"].asString());
    EXPECT_EQ("GET /search/%61%20%62%2F HTTP/1.1", log[1]["line"].asString());
    EXPECT_EQ("GET /search/ HTTP/1.1", log[2]["line"].asString());
}

TEST_F(Catalogue, EveryMalformedAnswerOnEveryPathFailsWithALogLine) {
    struct Mode {
        const char* mode;
        const char* arg;
    } modes[] = {
        {"bad_json", ""},        {"wrong_json", "[1,2,3]"}, {"wrong_json", "{\"a\":1}"},
        {"wrong_json", "\"x\""}, {"wrong_json", "null"},    {"wrong_json", "{\"results\":"},
        {"status500", ""},       {"no_length", ""},         {"short_body", ""},
        {"disconnect", ""},
    };
    for (const Mode& m : modes) {
        SCOPED_TRACE(std::string(m.mode) + " " + m.arg);
        service_.Reset();
        SoftClassMgr::Instance().ClearForTest();
        ClearRankCacheForTest();

        // Every answer of the path is spoilt: WinINet may silently resend a
        // request whose kept-alive connection was dropped.
        Fault(m.mode, "/class", -1, m.arg);
        size_t before = LogText().size();
        bool class_ok = SoftClassMgr::Instance().Load(false);
        // An array of things that are not categories is an array still: it
        // loads, but brings no category.
        if (std::string(m.arg) == "[1,2,3]") {
            EXPECT_TRUE(class_ok);
            EXPECT_TRUE(SoftClassMgr::Instance().TopClasses().empty());
        } else {
            EXPECT_FALSE(class_ok);
            EXPECT_NE(std::string::npos, LogText().substr(before).find("SoftClassMgr::Load: "));
        }
        EXPECT_EQ(0, SoftClassMgr::Instance().TopClassId());

        Fault(m.mode, "/rank/", -1, m.arg);
        before = LogText().size();
        std::vector<RankEntry> entries;
        int32_t total = 0, count = 0;
        EXPECT_FALSE(GetRankPage(2, 1, false, &entries, &total, &count));
        std::string log = LogText().substr(before);
        EXPECT_TRUE(log.find("GetRankPage: ") != std::string::npos ||
                    log.find("LoadFromJson: ") != std::string::npos)
            << log;

        std::string search_arg = m.arg;
        bool search_ok_expected = search_arg == "{\"a\":1}";  // an object without results
        Fault(m.mode, "/search/", -1, m.arg);
        before = LogText().size();
        std::vector<int32_t> ids;
        EXPECT_EQ(search_ok_expected, SearchSoft(L"浏览器", &ids));
        EXPECT_TRUE(ids.empty());
        if (!search_ok_expected) {
            EXPECT_NE(std::string::npos, LogText().substr(before).find("SearchSoft: "));
        }
    }
}

TEST_F(Catalogue, LoadsRunOneAtATimeAndReadersDoNotWaitForTheHost) {
    // The category answer stalls; a reader on another thread must get its
    // answer while the load is still waiting for the host.
    Fault("stall_body", "/class", 1, "3");
    struct Loader {
        static DWORD WINAPI Run(void*) {
            SoftClassMgr::Instance().Load(true);
            return 0;
        }
    };
    HANDLE loader = CreateThread(nullptr, 0, Loader::Run, nullptr, 0, nullptr);
    Sleep(300);
    SoftClassInfo found;
    SoftClassMgr::Instance().FindTopClass(L"装机必备", &found);
    SoftClassMgr::Instance().TopClasses();
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(loader, 0)) << "the reader waited for the load";
    WaitForSingleObject(loader, 30000);
    CloseHandle(loader);
}

}  // namespace
