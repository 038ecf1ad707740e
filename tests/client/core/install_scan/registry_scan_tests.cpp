// The registry scan against entries staged by the fake installer (both
// registry views of this 64-bit prefix, whether the tests are 32-bit under
// WOW64 or 64-bit themselves) and against keys of the test's own.
#include <gtest/gtest.h>
#include <aclapi.h>
#include <windows.h>
#include <stdio.h>
#include <algorithm>
#include "client/core/install_scan/uninstall_registry.h"
#include "client/core/utilities/wow64.h"
#include "foundation/log/log.h"
#include "tests/client/core/install_scan/fake_setup.h"
#include "tests/support/test_support.h"

namespace {

const wchar_t kUninstallKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

class StagedScan : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t prefix[64];
        swprintf(prefix, 64, L"KvScan%lu_", GetCurrentProcessId());
        prefix_ = prefix;
    }
    void TearDown() override {
        for (const auto& key : staged_) {
            fake_setup_runner::RunUninstaller(L"/key \"" + key + L"\" /view32");
            fake_setup_runner::RunUninstaller(L"/key \"" + key + L"\" /view64");
        }
        for (const auto& dir : dirs_) test_support::RemoveTree(dir);
    }

    // Stages an entry named prefix + name; `options` are the installer's.
    std::wstring Stage(const std::wstring& name, const std::wstring& options) {
        std::wstring full = prefix_ + name;
        staged_.push_back(full);
        EXPECT_EQ(0, fake_setup_runner::RunInstaller(L"/name \"" + full + L"\" " + options)) << name;
        return full;
    }

    std::wstring TempDir() {
        dirs_.push_back(test_support::MakeTempDir(L"kvscan"));
        return dirs_.back();
    }

    // The staged entries the scan listed, in scan order, keyed without prefix.
    SysInstallSoftList Scan(bool* ok = nullptr) {
        SysInstallSoftList all, mine;
        bool result = ScanInstalledSoft(&all);
        if (ok) *ok = result;
        for (const auto& soft : all)
            if (soft->display_name.compare(0, prefix_.size(), prefix_) == 0) mine.push_back(soft);
        return mine;
    }

    std::vector<std::wstring> Names(const SysInstallSoftList& list) {
        std::vector<std::wstring> names;
        for (const auto& soft : list) names.push_back(soft->display_name.substr(prefix_.size()));
        return names;
    }

    SysInstallSoftPtr Find(const SysInstallSoftList& list, const std::wstring& name) {
        for (const auto& soft : list)
            if (soft->display_name == prefix_ + name) return soft;
        return nullptr;
    }

    std::wstring prefix_;
    std::vector<std::wstring> staged_;
    std::vector<std::wstring> dirs_;
};

TEST_F(StagedScan, MsiEntriesOfBothViewsComeFirstThenTheOthers) {
    ASSERT_TRUE(Is64BitSystem()) << "the test prefix is a 64-bit one";
    Stage(L"Plain32", L"/view32");
    Stage(L"Msi64", L"/msi /view64");
    Stage(L"Msi32", L"/msi /view32");
    Stage(L"Plain64", L"/view64");
    bool ok = false;
    SysInstallSoftList list = Scan(&ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ((std::vector<std::wstring>{L"Msi32", L"Msi64", L"Plain32", L"Plain64"}), Names(list));
    ASSERT_EQ(4u, list.size());
    EXPECT_TRUE(list[0]->msi);
    EXPECT_FALSE(list[2]->msi);
}

TEST_F(StagedScan, PatchesAndSystemComponentsAreFilteredOut) {
    Stage(L"Listed", L"/publisher Acme");
    Stage(L"System", L"/system");
    Stage(L"NoRemove", L"/value NoRemove=dword:1");
    Stage(L"TSAware", L"/value TSAware=dword:1");
    Stage(L"NoRemoveZero", L"/value NoRemove=dword:0");
    Stage(L"Security", L"/release \"Security Update\"");
    Stage(L"Hotfix", L"/release HOTFIX");
    Stage(L"Rollup", L"/release \"Update Rollup\"");
    Stage(L"Update for Windows KB1", L"/publisher \"Microsoft Corporation\"");
    Stage(L"HotFix tool", L"/publisher microsoft");
    Stage(L"Update for Acme", L"/publisher Acme");
    Stage(L"Visual Runtime", L"/publisher \"Microsoft Corporation\"");
    Stage(L"NoUninstall", L"/uninstall=");
    std::vector<std::wstring> names = Names(Scan());
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::wstring>{L"Listed", L"NoRemoveZero", L"Rollup", L"Update for Acme",
                                         L"Visual Runtime"}),
              names);
}

TEST_F(StagedScan, FieldsComeFromTheEntry) {
    Stage(L"Full", L"/version 2.1.0 /publisher \"Acme Ltd\" /size 5120 /date 20210305");
    Stage(L"BadDate", L"/date 20211305 /uninstall \"MsiExec.exe /X{12345678-1234}\"");
    Stage(L"OldDate", L"/date 19990305 /uninstall \"MsiExec.exe /X{12345678-1234}\"");
    SysInstallSoftList list = Scan();
    auto full = Find(list, L"Full");
    ASSERT_TRUE(full);
    EXPECT_EQ(L"2.1.0", full->display_version);
    EXPECT_EQ(L"Acme Ltd", full->publisher);
    EXPECT_EQ(5120u, full->size_kb);
    EXPECT_EQ(L"2021/3/5", full->install_date_text);
    EXPECT_EQ(20210305, full->install_date);
    std::wstring tools = fake_setup_runner::ToolFolder() + L"\\";
    EXPECT_EQ(tools, full->install_location);  // the folder of the uninstall command
    EXPECT_EQ(tools + L"fake_uninstaller.exe", full->icon);  // icon from the uninstall command
    EXPECT_EQ(-1, full->soft_id);

    for (const wchar_t* name : {L"BadDate", L"OldDate"}) {
        auto soft = Find(list, name);
        ASSERT_TRUE(soft) << name;
        EXPECT_EQ(L"", soft->install_date_text) << name;
        EXPECT_EQ(L"", soft->install_location) << name;  // msiexec: no folder
        EXPECT_EQ(L"C:\\Windows\\system32\\msiexec.exe", soft->icon) << name;
        EXPECT_EQ(0u, soft->size_kb) << name;
    }
    EXPECT_EQ(20211305, Find(list, L"BadDate")->install_date);
}

TEST_F(StagedScan, WithoutDateOrSizeTheFolderIsMeasured) {
    std::wstring dir = TempDir();
    ASSERT_TRUE(test_support::WriteFileBytes(dir + L"\\a.bin", std::string(10240, 'a')));
    ASSERT_TRUE(CreateDirectoryW((dir + L"\\sub").c_str(), nullptr));
    ASSERT_TRUE(test_support::WriteFileBytes(dir + L"\\sub\\b.bin", std::string(2048, 'b')));
    // Wine keeps no settable creation time on Linux file systems: expect the
    // date the system reports for the folder.
    HANDLE h = CreateFileW(dir.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    FILETIME created;
    SYSTEMTIME st;
    ASSERT_TRUE(GetFileTime(h, &created, nullptr, nullptr));
    CloseHandle(h);
    ASSERT_TRUE(FileTimeToSystemTime(&created, &st));
    wchar_t expected[32];
    swprintf(expected, 32, L"%d/%d/%d", st.wYear, st.wMonth, st.wDay);
    Stage(L"Measured", L"/location \"" + dir + L"\"");
    auto soft = Find(Scan(), L"Measured");
    ASSERT_TRUE(soft);
    EXPECT_EQ(12u, soft->size_kb);
    EXPECT_EQ(expected, soft->install_date_text);
    EXPECT_EQ(st.wYear * 10000 + st.wMonth * 100 + st.wDay, soft->install_date);
}

TEST_F(StagedScan, IconsAreResolvedOrFallBack) {
    std::wstring tools = fake_setup_runner::ToolFolder();
    std::wstring installer = tools + L"\\fake_installer.exe";
    Stage(L"Indexed", L"/icon \"\\\"" + installer + L"\\\",0\"");
    Stage(L"Gone", L"/icon C:\\nowhere\\gone.ico");
    Stage(L"MsiIcon", L"/icon msiexec.exe /uninstall \"MsiExec.exe /X{1}\"");
    SysInstallSoftList list = Scan();
    ASSERT_TRUE(Find(list, L"Indexed"));
    EXPECT_EQ(installer, Find(list, L"Indexed")->icon);
    ASSERT_TRUE(Find(list, L"Gone"));
    EXPECT_EQ(tools + L"\\fake_uninstaller.exe", Find(list, L"Gone")->icon);
    ASSERT_TRUE(Find(list, L"MsiIcon"));
    EXPECT_EQ(L"C:\\Windows\\system32\\msiexec.exe", Find(list, L"MsiIcon")->icon);
}

TEST_F(StagedScan, HostileValuesAreSkippedNeverACrash) {
    Stage(L"Hostile", L"/view32 /version 1.0 /value DisplayVersion=rawsz:3.4.5 /value Publisher=dword:7 "
                      L"/value EstimatedSize=sz:999 /value InstallDate=hex:3230323130333035 "
                      L"/value SystemComponent=sz:1 /value WindowsInstaller=qword:1 "
                      L"/value InstallLocation=hex:41 /uninstall \"MsiExec.exe /X{2}\"");
    // Values too large for the command line are written here.
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                                           (std::wstring(kUninstallKey) + L"\\" + prefix_ + L"Hostile").c_str(),
                                           0, KEY_SET_VALUE | KEY_WOW64_32KEY, &key));
    std::wstring huge(300000, L'x');
    RegSetValueExW(key, L"DisplayIcon", 0, REG_SZ, reinterpret_cast<const BYTE*>(huge.c_str()),
                   static_cast<DWORD>(huge.size() * sizeof(wchar_t)));
    const BYTE odd[3] = {'C', 0, 'D'};  // an odd byte count
    RegSetValueExW(key, L"DisplayVersion", 0, REG_SZ, odd, 3);
    RegCloseKey(key);

    const std::wstring log_dir = TempDir();
    char log_path[MAX_PATH];
    WideCharToMultiByte(CP_ACP, 0, (log_dir + L"\\scan.log").c_str(), -1, log_path, MAX_PATH, nullptr, nullptr);
    ASSERT_TRUE(log_open(log_path));
    auto soft = Find(Scan(), L"Hostile");
    log_close();
    // A value of the wrong type or size is named in the log.
    std::string log;
    test_support::ReadFileBytes(log_dir + L"\\scan.log", &log);
    for (const char* logged : {"value Publisher of type 4 and 4 bytes is not usable",
                               "value EstimatedSize of type 1 and 8 bytes is not usable",
                               "value DisplayIcon of type 1 and 6000"})
        EXPECT_NE(std::string::npos, log.find(logged)) << logged << "\n" << log;
    ASSERT_TRUE(soft);
    EXPECT_EQ(L"C", soft->display_version);
    EXPECT_EQ(L"", soft->publisher);
    EXPECT_FALSE(soft->msi);
    EXPECT_EQ(0, soft->install_date);
    EXPECT_EQ(0u, soft->size_kb);
    EXPECT_EQ(L"", soft->install_location);
    EXPECT_EQ(L"C:\\Windows\\system32\\msiexec.exe", soft->icon);
}

// Keys of the test's own under HKCU.
class OwnKeysScan : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t base[96];
        swprintf(base, 96, L"Software\\KelvoraTests\\Scan%lu_%lu", GetCurrentProcessId(), GetTickCount());
        base_ = base;
        where_.root = HKEY_CURRENT_USER;
        where_.uninstall_key = base_ + L"\\Uninstall";
        where_.products_root = HKEY_CURRENT_USER;
        where_.products_key = base_ + L"\\Products\\";
    }
    void TearDown() override {
        // Give a locked key its default access back so it can be deleted.
        HKEY locked = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, (base_ + L"\\Uninstall\\B").c_str(), 0, WRITE_DAC, &locked) ==
            ERROR_SUCCESS) {
            SECURITY_DESCRIPTOR sd;
            InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
            SetSecurityDescriptorDacl(&sd, TRUE, nullptr, FALSE);
            RegSetKeySecurity(locked, DACL_SECURITY_INFORMATION, &sd);
            RegCloseKey(locked);
        }
        RegDeleteTreeW(HKEY_CURRENT_USER, base_.c_str());
    }

    HKEY Entry(const std::wstring& path, const wchar_t* name, bool msi) {
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, (base_ + L"\\" + path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr);
        SetText(key, L"DisplayName", name);
        SetText(key, L"UninstallString", L"MsiExec.exe /X{1}");
        DWORD one = msi ? 1 : 0;
        RegSetValueExW(key, L"WindowsInstaller", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4);
        return key;
    }
    static void SetText(HKEY key, const wchar_t* name, const std::wstring& text) {
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }

    std::wstring base_;
    UninstallRegistry where_;
};

TEST_F(OwnKeysScan, AnUnreadableUninstallKeyFailsTheScan) {
    SysInstallSoftList list;
    EXPECT_FALSE(ScanInstalledSoft(&list, where_));
    EXPECT_TRUE(list.empty());
}

TEST_F(OwnKeysScan, ASubkeyThatCannotBeOpenedIsSkipped) {
    RegCloseKey(Entry(L"Uninstall\\A", L"First", false));
    HKEY locked = Entry(L"Uninstall\\B", L"Locked", false);
    RegCloseKey(Entry(L"Uninstall\\C", L"Last", false));
    // An empty access list lets nobody read the key.
    SECURITY_DESCRIPTOR sd;
    InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    ACL empty_acl;
    InitializeAcl(&empty_acl, sizeof empty_acl, ACL_REVISION);
    SetSecurityDescriptorDacl(&sd, TRUE, &empty_acl, FALSE);
    LONG secured = RegSetKeySecurity(locked, DACL_SECURITY_INFORMATION, &sd);
    RegCloseKey(locked);
    HKEY probe = nullptr;
    bool really_locked = secured == ERROR_SUCCESS &&
        RegOpenKeyExW(HKEY_CURRENT_USER, (base_ + L"\\Uninstall\\B").c_str(), 0, KEY_QUERY_VALUE, &probe) !=
            ERROR_SUCCESS;
    if (probe) RegCloseKey(probe);
    if (!really_locked) GTEST_SKIP() << "this Wine does not enforce registry access lists";

    SysInstallSoftList list;
    EXPECT_TRUE(ScanInstalledSoft(&list, where_));
    // HKCU is shared by both views: each pass lists First and Last.
    ASSERT_GE(list.size(), 2u);
    EXPECT_EQ(L"First", list[0]->display_name);
    EXPECT_EQ(L"Last", list[1]->display_name);
    for (const auto& soft : list) EXPECT_NE(L"Locked", soft->display_name);
}

TEST_F(OwnKeysScan, ProductIconsGoToMsiEntriesOfTheSameName) {
    RegCloseKey(Entry(L"Uninstall\\M", L"Packaged", true));
    RegCloseKey(Entry(L"Uninstall\\N", L"Plain", false));
    HKEY product = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, (base_ + L"\\Products\\P1").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                    nullptr, &product, nullptr);
    SetText(product, L"ProductName", L"Packaged");
    SetText(product, L"ProductIcon", L"C:\\icons\\packaged.ico");
    RegCloseKey(product);
    RegCreateKeyExW(HKEY_CURRENT_USER, (base_ + L"\\Products\\P2").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                    nullptr, &product, nullptr);
    SetText(product, L"ProductName", L"Plain");
    SetText(product, L"ProductIcon", L"C:\\icons\\plain.ico");
    RegCloseKey(product);

    SysInstallSoftList list;
    ASSERT_TRUE(ScanInstalledSoft(&list, where_));
    // HKCU is not redirected, so both views list the same keys under WOW64.
    ASSERT_GE(list.size(), 2u);
    EXPECT_EQ(L"Packaged", list[0]->display_name);
    EXPECT_EQ(L"C:\\icons\\packaged.ico", list[0]->icon);
    auto plain = std::find_if(list.begin(), list.end(),
                              [](const SysInstallSoftPtr& s) { return s->display_name == L"Plain"; });
    ASSERT_NE(list.end(), plain);
    EXPECT_EQ(L"C:\\Windows\\system32\\msiexec.exe", (*plain)->icon);
}

}  // namespace
