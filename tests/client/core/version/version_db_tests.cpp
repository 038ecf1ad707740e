// Reading and matching the version database, without the network.
#include <gtest/gtest.h>
#include <windows.h>
#include <atomic>
#include <thread>
#include "client/core/utilities/text_encoding.h"
#include "client/core/version/version_index.h"
#include "client/core/version/version_mgr.h"
#include "sqlite3.h"
#include "tests/support/test_support.h"

namespace {

struct Row {
    const char* softid;
    const char* feature;
    const char* version;
};

std::string Utf8Path(const std::wstring& path) {
    std::string out;
    WideToUtf8(path, &out);
    return out;
}

// A version database with extra columns around the three the client reads.
void WriteDb(const std::wstring& path, const std::vector<Row>& rows) {
    sqlite3* db = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(Utf8Path(path).c_str(), &db));
    sqlite3_exec(db, "create table version (id integer primary key, feature_name text, extra text, "
                     "version text, softid text);", nullptr, nullptr, nullptr);
    for (const Row& r : rows) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "insert into version (feature_name, extra, version, softid) values (?,?,?,?)",
                           -1, &st, nullptr);
        sqlite3_bind_text(st, 1, r.feature, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, "x", -1, SQLITE_TRANSIENT);
        if (r.version) sqlite3_bind_text(st, 3, r.version, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 4, r.softid, -1, SQLITE_TRANSIENT);
        sqlite3_step(st);
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
}

class VersionDb : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = test_support::MakeTempDir(L"vdb");
        path_ = dir_ + L"\\vdb.dat";
        VersionMgr::SetVdbPathForTests(path_);
        VersionMgr::SetPollIntervalForTests(20);
        VersionMgr::ResetForTests();
    }
    void TearDown() override {
        VersionMgr::SetDbState(VersionMgr::kDbReady);  // releases a waiting matcher
        test_support::RemoveTree(dir_);
    }
    std::wstring dir_, path_;
};

TEST_F(VersionDb, LoadsTheThreeColumnsByName) {
    WriteDb(path_, {{"17", u8"飞鸽聊天", "3.2.1"}, {" 42abc", "Foo", nullptr}});
    std::vector<VersionMgr::DBItemPtr> items;
    VersionMgr::LoadDB(Utf8Path(path_), &items);
    ASSERT_EQ(2u, items.size());
    EXPECT_EQ(17, items[0]->softid);
    EXPECT_EQ(L"\x98de\x9e3d\x804a\x5929", items[0]->feature_name);
    EXPECT_EQ(L"3.2.1", items[0]->version);
    EXPECT_EQ(42, items[1]->softid);       // read like strtol
    EXPECT_EQ(L"", items[1]->version);     // NULL leaves the field as it was
}

TEST_F(VersionDb, AnUnreadableFileYieldsNoItemsAndIsNotCreated) {
    std::vector<VersionMgr::DBItemPtr> items;
    VersionMgr::LoadDB(Utf8Path(path_), &items);
    EXPECT_TRUE(items.empty());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(path_.c_str()));
    ASSERT_TRUE(test_support::WriteFileBytes(path_, std::string(4096, '\x5a')));
    VersionMgr::LoadDB(Utf8Path(path_), &items);
    EXPECT_TRUE(items.empty());
}

TEST_F(VersionDb, NamesMatchBothWaysFirstRowWinsEmptyNeverMatches) {
    WriteDb(path_, {{"3", "", "9.9"},
                    {"1", "Foo Bar", "2.0"},
                    {"2", "QQ International", "1.5"},
                    {"4", "qq", "7.0"}});
    VersionMgr::SetDbState(VersionMgr::kDbReady);
    std::vector<std::wstring> names = {L"foo bar 2.1", L"qq", L"", L"Nothing here", L"QQ INTERNATIONAL 2013"};
    std::vector<VersionMatch> results;
    ASSERT_TRUE(VersionMgr::MatchInstalled(names, &results));
    ASSERT_EQ(names.size(), results.size());
    struct Expect { int32_t soft_id; const wchar_t* version; } expected[] = {
        {1, L"2.0"}, {2, L"1.5"}, {0, L""}, {0, L""}, {2, L"1.5"},
    };
    for (size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(expected[i].soft_id, results[i].soft_id) << names[i];
        EXPECT_EQ(expected[i].version, results[i].version) << names[i];
    }
}

// The index must answer exactly what the plain row-by-row rule answers. A
// small alphabet makes containment (both ways), repeats and empty names common.
TEST(VersionIndexRule, AgreesWithTheRowByRowRule) {
    unsigned seed = 12345;
    auto next = [&seed](unsigned n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    auto text = [&](unsigned max_length) {
        std::wstring out;
        for (unsigned i = next(max_length + 1); i > 0; --i) out += L"ab c\x4e2d"[next(5)];
        return out;
    };
    for (int round = 0; round < 20; ++round) {
        std::vector<VersionMgr::DBItemPtr> items;
        for (int i = 0; i < 200; ++i) {
            auto item = std::make_shared<VersionMgr::DBItem>();
            item->softid = i;
            item->feature_name = text(round % 2 ? 4 : 9);
            items.push_back(item);
        }
        std::vector<VersionMgr::LoweredItem> lowered = VersionMgr::LowerItems(items);
        VersionIndex index(lowered);
        for (int n = 0; n < 200; ++n) {
            std::wstring name = text(10);
            VersionMgr::DBItemPtr expected = VersionMgr::FindItem(lowered, name);
            VersionMgr::DBItemPtr got = index.Find(name);
            ASSERT_EQ(expected ? expected->softid : -1, got ? got->softid : -1) << "round " << round << " name '" << name << "'";
        }
    }
}

TEST_F(VersionDb, MatchingWaitsForTheRefreshAndEndsWhenItFails) {
    WriteDb(path_, {{"1", "Foo", "2.0"}});
    std::atomic<int> outcome{-1};
    std::thread matcher([&] {
        std::vector<VersionMatch> results;
        outcome = VersionMgr::MatchInstalled({L"Foo"}, &results) ? 1 : 0;
    });
    Sleep(150);
    EXPECT_EQ(-1, outcome.load());  // still waiting while the state is 0
    VersionMgr::SetDbState(VersionMgr::kDbFailed);
    matcher.join();
    EXPECT_EQ(0, outcome.load());
}

TEST_F(VersionDb, FreshnessAnswers) {
    struct Case { const char* answer; bool stale; } cases[] = {
        {R"({"new_version":"0"})", false},
        {R"({"new_version":" 0x"})", false},
        {R"({})", false},
        {R"({"new_version":"1"})", true},
        {R"({"new_version":"-2"})", true},
        {R"({"new_version":0})", false},
        {R"({"new_version":[1]})", true},
        {"not json", true},
        {"[1,2]", true},
        {"", true},
    };
    for (const auto& c : cases) EXPECT_EQ(c.stale, VersionMgr::ParseVdbReply(c.answer)) << c.answer;
}

}  // namespace
