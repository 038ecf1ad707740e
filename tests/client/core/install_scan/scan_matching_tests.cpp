// The whole scan: staged registry entries matched through a version database.
#include <gtest/gtest.h>
#include <windows.h>
#include <stdio.h>
#include "client/core/install_scan/install_scan_mgr.h"
#include "client/core/utilities/text_encoding.h"
#include "client/core/install_scan/uninstall_registry.h"
#include "client/core/version/version_mgr.h"
#include "sqlite3.h"
#include "tests/client/core/install_scan/fake_setup.h"
#include "tests/support/test_support.h"

namespace {

struct Waiter : SysInstallSoftObserver {
    std::wstring wanted;
    std::vector<SysInstallSoftPtr> seen;
    bool finished = false;
    bool OnSoft(const SysInstallSoftPtr& soft) override {
        seen.push_back(soft);
        return soft->display_name == wanted;
    }
    void OnScanFinished() override { finished = true; }
};

TEST(ScanMatching, StagedProgramsGetTheirCatalogueIdsAndUpdateFlags) {
    wchar_t prefix[64];
    swprintf(prefix, 64, L"KvMatch%lu ", GetCurrentProcessId());
    std::wstring older = std::wstring(prefix) + L"Foo Bar", current = std::wstring(prefix) + L"Baz Tool";
    ASSERT_EQ(0, fake_setup_runner::RunInstaller(L"/name \"" + older + L"\" /version 1.0 /publisher Acme"));
    ASSERT_EQ(0, fake_setup_runner::RunInstaller(L"/name \"" + current + L"\" /version 3.1 /publisher Acme /view64"));

    std::wstring dir = test_support::MakeTempDir(L"scanvdb");
    std::wstring db_path = dir + L"\\vdb.dat";
    std::string utf8_path, older_utf8, current_utf8;
    WideToUtf8(db_path, &utf8_path);
    WideToUtf8(older, &older_utf8);
    WideToUtf8(current, &current_utf8);
    sqlite3* db = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(utf8_path.c_str(), &db));
    sqlite3_exec(db, "create table version (softid text, feature_name text, version text);", nullptr, nullptr, nullptr);
    std::string insert = "insert into version values ('77', '" + older_utf8 + "', '2.0'), ('78', '" +
                         current_utf8 + "', '3.1');";
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(db, insert.c_str(), nullptr, nullptr, nullptr));
    sqlite3_close(db);
    VersionMgr::SetVdbPathForTests(db_path);
    VersionMgr::SetPollIntervalForTests(20);
    VersionMgr::ResetForTests();

    InstallScanMgr& mgr = *new InstallScanMgr(  // lives on, as the real one
        [](SysInstallSoftList* list) { return ScanInstalledSoft(list); },
        [](const std::vector<std::wstring>& names, std::vector<VersionMatch>* results) {
            return VersionMgr::MatchInstalled(names, results);
        });
    Waiter waiter;
    waiter.wanted = current;
    ASSERT_TRUE(mgr.AddObserver(&waiter));
    mgr.StartScan();
    Sleep(300);
    EXPECT_EQ(InstallScanMgr::kScanning, mgr.ScanState());  // waits for the database refresh
    EXPECT_FALSE(waiter.finished);
    VersionMgr::SetDbState(VersionMgr::kDbReady);
    for (int i = 0; i < 3000 && mgr.ScanState() != InstallScanMgr::kDone; ++i) Sleep(10);
    mgr.RemoveObserver(nullptr);  // waits for the notification
    EXPECT_TRUE(waiter.finished);
    ASSERT_FALSE(waiter.seen.empty());
    EXPECT_EQ(current, waiter.seen.back()->display_name);  // it stopped at what it wanted

    InstalledSoft found;
    ASSERT_TRUE(mgr.FindInstalled(77, &found));
    EXPECT_EQ(older, found.display_name);
    EXPECT_TRUE(found.update);
    ASSERT_TRUE(mgr.FindInstalled(78, &found));
    EXPECT_FALSE(found.update);

    fake_setup_runner::RunUninstaller(L"/key \"" + older + L"\"");
    fake_setup_runner::RunUninstaller(L"/key \"" + current + L"\" /view64");
    test_support::RemoveTree(dir);
}

}  // namespace
