#include <gtest/gtest.h>
#include <windows.h>
#include <atomic>
#include <mutex>
#include <thread>
#include "client/core/install_scan/install_scan_mgr.h"

namespace {

SysInstallSoftPtr Soft(const wchar_t* name, const wchar_t* version, const wchar_t* publisher = L"Acme") {
    auto soft = std::make_shared<SysInstallSoft>();
    soft->display_name = name;
    soft->display_version = version;
    soft->publisher = publisher;
    return soft;
}

// Records what it is told; stops at `wanted` when set.
class Recorder : public SysInstallSoftObserver {
public:
    explicit Recorder(const wchar_t* wanted = nullptr) : wanted_(wanted ? wanted : L"") {}
    bool OnSoft(const SysInstallSoftPtr& soft) override {
        std::lock_guard<std::mutex> lock(mutex_);
        events.push_back(soft->display_name);
        return !wanted_.empty() && soft->display_name == wanted_;
    }
    void OnScanFinished() override {
        std::lock_guard<std::mutex> lock(mutex_);
        events.push_back(L"<end>");
    }
    std::vector<std::wstring> events;

private:
    std::mutex mutex_;
    std::wstring wanted_;
};

// A database that knows "Foo" (soft 7, version 2.0) and "Bar" (soft 9, 1.0).
bool KnownNames(const std::vector<std::wstring>& names, std::vector<VersionMatch>* results) {
    results->assign(names.size(), VersionMatch());
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] == L"Foo") (*results)[i] = VersionMatch{L"2.0", 7};
        if (names[i] == L"Bar") (*results)[i] = VersionMatch{L"1.0", 9};
    }
    return true;
}

InstallScanMgr::Scanner ListOf(SysInstallSoftList list, bool ok = true) {
    return [list, ok](SysInstallSoftList* out) {
        *out = list;
        return ok;
    };
}

void WaitDone(InstallScanMgr& mgr) {
    for (int i = 0; i < 3000 && mgr.ScanState() != InstallScanMgr::kDone; ++i) Sleep(10);
    ASSERT_EQ(InstallScanMgr::kDone, mgr.ScanState());
    mgr.RemoveObserver(nullptr);  // waits until the notifications are over
}

TEST(MatchVersionDb, SetsSoftIdVersionAndUpdateFlag) {
    SysInstallSoftList list = {Soft(L"Foo", L"1.5"), Soft(L"Bar", L"1.0"), Soft(L"Baz", L"1.0"),
                               Soft(L"Bar", L"")};
    ASSERT_TRUE(MatchVersionDb(list, KnownNames));
    EXPECT_EQ(7, list[0]->soft_id);
    EXPECT_EQ(L"2.0", list[0]->catalogue_version);
    EXPECT_TRUE(list[0]->update);
    EXPECT_EQ(-1, list[1]->soft_id);  // the later "Bar" took the name
    EXPECT_EQ(-1, list[2]->soft_id);
    EXPECT_EQ(9, list[3]->soft_id);
    EXPECT_FALSE(list[3]->update);    // no display version: never an update
}

TEST(MatchVersionDb, MicrosoftProgramsAreNeverLookedUp) {
    SysInstallSoftList list = {Soft(L"Foo", L"1.0", L"Microsoft Corporation"),
                               Soft(L"Bar", L"0.5", L"Microsoftware"), Soft(L"Foo", L"3.0", L"microsoft")};
    std::vector<std::wstring> asked;
    ASSERT_TRUE(MatchVersionDb(list, [&](const std::vector<std::wstring>& names,
                                         std::vector<VersionMatch>* results) {
        asked = names;
        return KnownNames(names, results);
    }));
    EXPECT_EQ(std::vector<std::wstring>{L"Foo"}, asked);  // only the lower-case publisher
    EXPECT_EQ(-1, list[0]->soft_id);
    EXPECT_EQ(-1, list[1]->soft_id);
    EXPECT_EQ(7, list[2]->soft_id);
    EXPECT_FALSE(list[2]->update);  // 3.0 is newer than the catalogue's 2.0
}

TEST(MatchVersionDb, AFailedDatabaseMatchesNothing) {
    SysInstallSoftList list = {Soft(L"Foo", L"1.0")};
    EXPECT_FALSE(MatchVersionDb(list, [](const std::vector<std::wstring>&, std::vector<VersionMatch>*) {
        return false;
    }));
    EXPECT_EQ(-1, list[0]->soft_id);
}

TEST(InstallScanMgr, EarlyObserversGetEveryProgramThenTheEnd) {
    InstallScanMgr& mgr = *new InstallScanMgr(ListOf({Soft(L"Foo", L"1.0"), Soft(L"Other", L"1.0"), Soft(L"Bar", L"1.0")}),
                       KnownNames);  // lives on, as the real one
    Recorder all, stops_at_other(L"Other");
    ASSERT_TRUE(mgr.AddObserver(&all));
    ASSERT_TRUE(mgr.AddObserver(&stops_at_other));
    mgr.StartScan();
    WaitDone(mgr);
    EXPECT_EQ((std::vector<std::wstring>{L"Foo", L"Other", L"Bar", L"<end>"}), all.events);
    EXPECT_EQ((std::vector<std::wstring>{L"Foo", L"Other", L"<end>"}), stops_at_other.events);

    Recorder late;
    EXPECT_FALSE(mgr.AddObserver(&late));
    InstalledSoft found;
    ASSERT_TRUE(mgr.FindInstalled(7, &found));
    EXPECT_EQ(L"Foo", found.display_name);
    EXPECT_TRUE(found.update);
    ASSERT_TRUE(mgr.FindInstalled(9, &found));
    EXPECT_FALSE(found.update);
    EXPECT_FALSE(mgr.FindInstalled(-1, &found));  // unmatched programs are not listed
    EXPECT_TRUE(late.events.empty());
}

TEST(InstallScanMgr, ARemovedObserverIsNeverCalled) {
    InstallScanMgr& mgr = *new InstallScanMgr(ListOf({Soft(L"Foo", L"1.0")}), KnownNames);  // lives on, as the real one
    Recorder kept, removed;
    mgr.AddObserver(&removed);
    mgr.AddObserver(&kept);
    mgr.RemoveObserver(&removed);
    mgr.RemoveObserver(&removed);  // twice is harmless
    mgr.StartScan();
    WaitDone(mgr);
    EXPECT_TRUE(removed.events.empty());
    EXPECT_EQ((std::vector<std::wstring>{L"Foo", L"<end>"}), kept.events);
    mgr.RemoveObserver(&kept);  // after the end: nothing to do
}

TEST(InstallScanMgr, RemovalWaitsForANotificationInProgress) {
    HANDLE inside = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    struct Slow : SysInstallSoftObserver {
        HANDLE inside, release;
        std::atomic<bool> finished{false};
        bool OnSoft(const SysInstallSoftPtr&) override {
            SetEvent(inside);
            WaitForSingleObject(release, 30000);
            return false;
        }
        void OnScanFinished() override { finished = true; }
    } slow;
    slow.inside = inside;
    slow.release = release;
    InstallScanMgr& mgr = *new InstallScanMgr(ListOf({Soft(L"Foo", L"1.0")}), KnownNames);  // lives on, as the real one
    mgr.AddObserver(&slow);
    mgr.StartScan();
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(inside, 30000));
    std::atomic<bool> removed{false};
    std::thread remover([&] {
        mgr.RemoveObserver(&slow);
        removed = true;
    });
    Sleep(200);
    EXPECT_FALSE(removed);  // held by the notification under way
    SetEvent(release);
    remover.join();
    EXPECT_TRUE(removed);
    EXPECT_TRUE(slow.finished);  // it was told the end before removal went through
    CloseHandle(inside);
    CloseHandle(release);
}

TEST(InstallScanMgr, AnUnreadableRegistryStillEndsTheWait) {
    InstallScanMgr& mgr = *new InstallScanMgr(ListOf({}, false), KnownNames);  // lives on, as the real one
    Recorder waiting;
    mgr.AddObserver(&waiting);
    mgr.StartScan();
    WaitDone(mgr);
    EXPECT_EQ((std::vector<std::wstring>{L"<end>"}), waiting.events);
}

TEST(InstallScanMgr, AFailedDatabaseListsNothingButTellsEveryProgram) {
    InstallScanMgr& mgr = *new InstallScanMgr(ListOf({Soft(L"Foo", L"1.0")}),
                       [](const std::vector<std::wstring>&, std::vector<VersionMatch>*) { return false; });  // lives on, as the real one
    Recorder waiting;
    mgr.AddObserver(&waiting);
    mgr.StartScan();
    WaitDone(mgr);
    EXPECT_EQ((std::vector<std::wstring>{L"Foo", L"<end>"}), waiting.events);
    InstalledSoft found;
    EXPECT_FALSE(mgr.FindInstalled(7, &found));
}

TEST(InstallScanMgr, TheScanStartsOnce) {
    std::atomic<int> scans{0};
    InstallScanMgr& mgr = *new InstallScanMgr([&](SysInstallSoftList*) { ++scans; return true; }, KnownNames);  // lives on, as the real one
    mgr.StartScan();
    mgr.StartScan();
    WaitDone(mgr);
    mgr.StartScan();
    Sleep(50);
    EXPECT_EQ(1, scans.load());
}

}  // namespace
