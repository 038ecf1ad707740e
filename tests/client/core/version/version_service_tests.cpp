// The self-update check and the database refresh against a private session
// of the local services.
#include <gtest/gtest.h>
#include <windows.h>
#include "client/core/version/version_mgr.h"
#include "tests/support/private_service.h"
#include "tests/support/test_support.h"

namespace {

class VersionService : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(service_.ok());
        SetEnvironmentVariableW(L"VANTREL_CATALOGUE_HOST", service_.host().c_str());
        dir_ = test_support::MakeTempDir(L"vdbsvc");
        path_ = dir_ + L"\\vdb.dat";
        VersionMgr::SetVdbPathForTests(path_);
        VersionMgr::ResetForTests();
    }
    void TearDown() override { test_support::RemoveTree(dir_); }

    std::string Get(const std::string& path) { return PlainGet(service_.port(), path); }

    // The request paths the session saw since the last reset.
    std::vector<std::string> Paths() {
        std::vector<std::string> paths;
        Json::Value log = service_.Log();
        for (const auto& entry : log) paths.push_back(entry["path"].asString());
        return paths;
    }

    std::string ServerMd5() {
        std::string answer = Get("/_version/reset");
        size_t at = answer.find("\"md5\": \"");
        return at == std::string::npos ? "" : answer.substr(at + 8, 32);
    }

    PrivateService service_;
    std::wstring dir_, path_;
};

TEST_F(VersionService, SelfUpdateAnswerAgainstTheClientVersion) {
    struct Case { const char* config; bool ok; bool newer; const wchar_t* version; const wchar_t* file; } cases[] = {
        {"product_ver=1.0.2.8&product_file=v_1028.exe", true, true, L"1.0.2.8", L"v_1028.exe"},
        {"product_ver=1.0.2.7&product_file=v.exe", true, false, L"1.0.2.7", L"v.exe"},
        {"product_ver=1.0.2.7.1", true, true, L"1.0.2.7.1", L"0"},
        {"product_ver=1.0.10", true, true, L"1.0.10", L"0"},
        {"product_ver=0.9.9.9", true, false, L"0.9.9.9", L"0"},
        {"", true, false, L"0", L"0"},  // absent members read "0"
    };
    for (const auto& c : cases) {
        Get(std::string("/_version/config?") + c.config);
        std::wstring file = L"unchanged", version = L"unchanged";
        bool newer = !c.newer;
        EXPECT_EQ(c.ok, VersionMgr::CheckUpdate(&file, &version, &newer)) << c.config;
        EXPECT_EQ(c.newer, newer) << c.config;
        EXPECT_EQ(c.version, version) << c.config;
        EXPECT_EQ(c.file, file) << c.config;
        EXPECT_FALSE(VersionMgr::IsCheckRunning());
    }
}

TEST_F(VersionService, AFailedCheckLeavesTheOutputs) {
    service_.Fault("bad_json", "/update_version", 1);
    std::wstring file = L"f", version = L"v";
    bool newer = true;
    EXPECT_FALSE(VersionMgr::CheckUpdate(&file, &version, &newer));
    EXPECT_EQ(L"f", file);
    EXPECT_EQ(L"v", version);
    EXPECT_TRUE(newer);
}

TEST_F(VersionService, AStalledHostEndsTheCheckAfterTheTimeOut) {
    service_.Fault("stall_headers", "/update_version", 1, std::to_string(test_support::kLongStallSeconds));
    std::wstring file, version;
    bool newer = false, checked = true;
    EXPECT_TRUE(test_support::BackBeforeTheStallEnds(
        [&] { checked = VersionMgr::CheckUpdate(&file, &version, &newer); }));
    EXPECT_FALSE(checked);
}

TEST_F(VersionService, WithoutAFileTheDatabaseIsFetchedDirectly) {
    std::string md5 = ServerMd5();
    service_.Reset();
    ASSERT_TRUE(VersionMgr::DownloadVDB());
    EXPECT_EQ(VersionMgr::kDbReady, VersionMgr::GetDbState());
    EXPECT_EQ(std::vector<std::string>{"/VDB"}, Paths());
    std::vector<VersionMatch> results;
    ASSERT_TRUE(VersionMgr::MatchInstalled({L"Foo Bar 2.1"}, &results));
    ASSERT_EQ(1u, results.size());

    // A current copy is kept: one query by its lower-case MD5, no download.
    service_.Reset();
    VersionMgr::ResetForTests();
    ASSERT_TRUE(VersionMgr::DownloadVDB());
    EXPECT_EQ(VersionMgr::kDbReady, VersionMgr::GetDbState());
    EXPECT_EQ(std::vector<std::string>{"/query_vdb/" + md5}, Paths());
}

TEST_F(VersionService, AStaleOrCorruptedCopyIsFetchedAgain) {
    Get("/_version/rows?row=5%7CFoo%20Bar%7C2.0");
    std::string stored = "corrupted, not a database";
    ASSERT_TRUE(test_support::WriteFileBytes(path_, stored));
    service_.Reset();
    ASSERT_TRUE(VersionMgr::DownloadVDB());
    std::vector<std::string> paths = Paths();
    ASSERT_EQ(2u, paths.size());
    EXPECT_EQ(0u, paths[0].find("/query_vdb/"));
    EXPECT_EQ("/VDB", paths[1]);
    std::vector<VersionMatch> results;
    ASSERT_TRUE(VersionMgr::MatchInstalled({L"foo bar"}, &results));
    EXPECT_EQ(5, results[0].soft_id);
    EXPECT_EQ(L"2.0", results[0].version);
}

TEST_F(VersionService, AnUnreadableFreshnessAnswerMeansADownload) {
    ServerMd5();
    ASSERT_TRUE(VersionMgr::DownloadVDB());
    service_.Reset();
    VersionMgr::ResetForTests();
    service_.Fault("bad_json", "/query_vdb/", 1);
    ASSERT_TRUE(VersionMgr::DownloadVDB());
    std::vector<std::string> paths = Paths();
    ASSERT_EQ(2u, paths.size());
    EXPECT_EQ("/VDB", paths[1]);
}

TEST_F(VersionService, AFailedRefreshKeepsTheLastGoodFileAndEndsMatching) {
    ASSERT_TRUE(VersionMgr::DownloadVDB());
    std::string good;
    ASSERT_TRUE(test_support::ReadFileBytes(path_, &good));
    Get("/_version/rows?row=9%7CBar%7C1.0");  // the host now has a newer one
    VersionMgr::ResetForTests();
    service_.Fault("short_body", "/VDB", 1);
    EXPECT_FALSE(VersionMgr::DownloadVDB());
    EXPECT_EQ(VersionMgr::kDbFailed, VersionMgr::GetDbState());
    std::string after;
    ASSERT_TRUE(test_support::ReadFileBytes(path_, &after));
    EXPECT_EQ(good, after);
    std::vector<VersionMatch> results;
    EXPECT_FALSE(VersionMgr::MatchInstalled({L"Bar"}, &results));  // no wait without end
}

TEST_F(VersionService, NoDatabaseAnywhereFailsTheRefresh) {
    service_.Fault("status500", "/VDB", 1);
    EXPECT_FALSE(VersionMgr::DownloadVDB());
    EXPECT_EQ(VersionMgr::kDbFailed, VersionMgr::GetDbState());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(path_.c_str()));
}

}  // namespace
