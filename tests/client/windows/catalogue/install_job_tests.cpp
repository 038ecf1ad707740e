// The install job with the fake installer: served as a software's file, it
// is downloaded by the real download engine and run by the job, which
// confirms the installation from the registry and reports it. Waits of the
// job are shortened.
#include <windows.h>

#include <string>

#include "client/core/downloads/complete_queue.h"
#include "client/core/downloads/download_task_registry.h"
#include "client/windows/catalogue/install_job.h"
#include "client/windows/main_frame_messages.h"
#include "tests/client/windows/catalogue/catalogue_fixture.h"
#include "tests/support/test_support.h"

namespace {

const wchar_t kUninstallKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

void RemoveEntry(const std::wstring& name) {
    for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
        HKEY root = nullptr;
        if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_ALL_ACCESS | view, &root) != ERROR_SUCCESS)
            continue;
        ::RegDeleteKeyExW(root, name.c_str(), view, 0);
        ::RegCloseKey(root);
    }
}

// In this program's own view: the one the fake installer, a program of the
// same flavour, writes (the 32-bit view for 32-bit programs under WOW64).
bool EntryExists(const std::wstring& name) {
    HKEY key = nullptr;
    const std::wstring path = std::wstring(kUninstallKey) + L"\\" + name;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

class InstallJob : public CatalogueTest {
protected:
    static void SetUpTestSuite() {
        CatalogueTest::SetUpTestSuite();
        CompleteQueue::Instance().Start();
        InstallTimings quick;
        quick.settle_ms = 200;
        quick.scan_pause_ms = 100;
        quick.scans = 3;
        SetInstallTimingsForTests(quick);
    }
    void TearDown() override {
        for (const std::wstring& name : entries_) RemoveEntry(name);
        CatalogueTest::TearDown();
    }

    // A software whose file is the fake installer, which writes `display`
    // and records each run in a file of its own. Its record's name is `name`.
    void Prepare(int32_t id, const std::string& name, const std::wstring& display,
                 const std::string& more_options = "") {
        entries_.push_back(display);
        RemoveEntry(display);
        record_ = folder_ + L"\\runs" + std::to_wstring(id) + L".txt";
        ::DeleteFileW(record_.c_str());
        ASSERT_TRUE(CacheRecord(id, "{\"soft_id\":\"" + std::to_string(id) + "\",\"soft_name\":\"" + name +
                                        "\",\"soft_uname\":\"kelvora_test_" + std::to_string(id) +
                                        ".exe\",\"soft_size\":\"1000\"}"));
        const std::string options = std::string("\n#kelvora-fake-setup# /name \"") + Narrow(display) +
                                    "\" /version 1.0 /record \"" + Narrow(record_) + "\" " + more_options;
        ASSERT_TRUE(ServeFile(id, TestProgram("fake_installer.exe"), options));
    }
    int Runs() {
        std::string text;
        test_support::ReadFileBytes(record_, &text);
        int n = 0;
        for (size_t at = text.find("ran "); at != std::string::npos; at = text.find("ran ", at + 1)) ++n;
        return n;
    }
    int Reports(int32_t id) {
        int n = 0;
        for (const std::string& r : Requests()) {
            n += r.find("/VanTrelService.aspx?mod=installsoft&") == 0 &&
                 r.find("&soft_id=" + std::to_string(id) + "&") != std::string::npos;
        }
        return n;
    }
    SoftListItem* Insert(Page* page, int32_t id) {
        SoftListItem* row = new SoftListItem(page->RowOwnerOf(), id, page->LatestRequest());
        Send(page, L"insert_single_soft_item", page, reinterpret_cast<WPARAM>(row));
        return row;
    }

    std::vector<std::wstring> entries_;
    std::wstring record_;
};

TEST_F(InstallJob, TwoRowsOfOneSoftwareRunItsInstallerOnceAndBothShowItInstalled) {
    Open();
    Page* page = PageOf(0);
    ASSERT_TRUE(WaitRows(page, 16));
    Prepare(5201, "KelvoraTestTool", L"KelvoraTestTool5201");
    SoftListItem* first = Insert(page, 5201);
    SoftListItem* second = Insert(page, 5201);
    Click(page, first->ActionButton());
    // The other row shows the download too.
    ASSERT_TRUE(wintest::PumpUntil([&] { return second->StripShown() || second->ActionText() == L"正在安装"; }, 10000));
    ASSERT_TRUE(wintest::PumpUntil(
        [&] { return first->ActionText() == L"已安装" && second->ActionText() == L"已安装"; }, 30000));
    EXPECT_EQ(1, Runs());
    EXPECT_TRUE(EntryExists(L"KelvoraTestTool5201"));
    EXPECT_EQ(1, Reports(5201));
    EXPECT_EQ(1, frame_->Arrived(WM_INSTALL_PROC_EXIT, first));
    EXPECT_EQ(1, frame_->Arrived(WM_INSTALL_PROC_EXIT, second));
    EXPECT_EQ(0u, InstallJobs::PendingCount());
    // The installed look.
    EXPECT_NE(std::wstring::npos, std::wstring(first->ActionButton()->GetNormalImage().GetData()).find(L"installed_1"));
}

// A record without a name: every installed program's name would "hold" the
// empty one, and an install that found nothing would be confirmed.
TEST_F(InstallJob, AnEmptyNameNeverMatches) {
    Open();
    Page* page = PageOf(0);
    ASSERT_TRUE(WaitRows(page, 16));
    Prepare(5202, "", L"KelvoraTestEmpty5202");
    SoftListItem* row = Insert(page, 5202);
    Click(page, row->ActionButton());
    ASSERT_TRUE(wintest::PumpUntil([&] { return row->ActionText() == L"正在安装"; }, 30000));
    ASSERT_TRUE(wintest::PumpUntil([&] { return row->ActionText() == L"下载"; }, 30000));
    EXPECT_EQ(1, Runs());
    EXPECT_TRUE(EntryExists(L"KelvoraTestEmpty5202"));  // the installer did its part
    EXPECT_EQ(0, Reports(5202));
}

// The row is gone (its page reloaded) before its installer ends: the job
// still runs once, and nothing is posted for the row.
TEST_F(InstallJob, ARowDestroyedBeforeTheJobEndsHearsNothing) {
    Open();
    Page* page = PageOf(0);
    ASSERT_TRUE(WaitRows(page, 16));
    Prepare(5203, "KelvoraTestSlow", L"KelvoraTestSlow5203", "/wait 2000");
    SoftListItem* row = Insert(page, 5203);
    Click(page, row->ActionButton());
    ASSERT_TRUE(wintest::PumpUntil([&] { return row->ActionText() == L"正在安装"; }, 30000));
    wintest::QuarantineFrees(true);
    Send(page, L"refresh_content", nullptr);
    ASSERT_TRUE(WaitRows(page, 16));
    ASSERT_TRUE(wintest::PumpUntil([] { return InstallJobs::PendingCount() == 0; }, 30000));
    Drain(300);
    wintest::QuarantineFrees(false);
    EXPECT_EQ(1, Runs());
    EXPECT_EQ(1, Reports(5203));
    EXPECT_EQ(0, frame_->Arrived(WM_INSTALL_PROC_EXIT, row));
}

}  // namespace
