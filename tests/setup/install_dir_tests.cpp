// Reading "Install_Dir" and writing the package file: registry values of
// every kind a broken or hostile installation could leave, and an older,
// longer package file in the way.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "setup/installer/install_package.h"
#include "setup/installer/reg_help.h"
#include "tests/support/test_support.h"

namespace {

class InstallDirValue : public ::testing::Test {
 protected:
    void SetUp() override {
        wchar_t path[96];
        swprintf(path, 96, L"Software\\KelvoraSetupTest%lu", GetCurrentProcessId());
        path_ = path;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &key_, nullptr));
    }
    void TearDown() override {
        RegCloseKey(key_);
        RegDeleteKeyW(HKEY_CURRENT_USER, path_.c_str());
    }
    void Set(DWORD type, const void* data, DWORD bytes) {
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key_, L"Install_Dir", 0, type,
                                                static_cast<const BYTE*>(data), bytes));
    }
    // Text stored with or without its terminating NUL.
    void SetText(const std::wstring& text, bool terminated, DWORD type = REG_SZ) {
        Set(type, text.c_str(), static_cast<DWORD>((text.size() + (terminated ? 1 : 0)) * 2));
    }
    bool Query(std::wstring* out) {
        RegHelp help;
        EXPECT_TRUE(help.Open(HKEY_CURRENT_USER, path_.c_str(), KEY_READ));
        return help.QueryInstallDir(out);
    }

    std::wstring path_;
    HKEY key_ = nullptr;
};

TEST_F(InstallDirValue, AMissingValueIsNoFolder) {
    std::wstring out = L"untouched";
    EXPECT_FALSE(Query(&out));
    EXPECT_EQ(L"untouched", out);
}

TEST_F(InstallDirValue, TextIsReadExactlyWithOrWithoutItsTerminator) {
    const std::wstring folder = L"C:\\dir with blank\\Kelvora\\1.0.2.7";
    for (bool terminated : {true, false}) {
        SetText(folder, terminated);
        std::wstring out;
        ASSERT_TRUE(Query(&out)) << terminated;
        EXPECT_EQ(folder, out) << terminated;
    }
    // A value longer than the first read's buffer.
    const std::wstring deep = L"C:\\" + std::wstring(250, L'd');
    SetText(deep, false);
    std::wstring out;
    ASSERT_TRUE(Query(&out));
    EXPECT_EQ(deep, out);
}

TEST_F(InstallDirValue, ValuesThatAreNoUsableFolderAreRefused) {
    const DWORD number = 7;
    const BYTE bytes[] = {'C', 0, ':', 0, '\\', 0};
    struct Case {
        const char* what;
        DWORD type;
        std::wstring text;  // used when data is null
        const void* data;
        DWORD size;
    } cases[] = {
        {"DWORD", REG_DWORD, L"", &number, sizeof number},
        {"binary", REG_BINARY, L"", bytes, sizeof bytes},
        {"empty text", REG_SZ, L"", nullptr, 0},
        {"only a terminator", REG_SZ, L"", L"", 2},
        {"260 characters", REG_SZ, L"C:\\" + std::wstring(257, L'x'), nullptr, 0},
        {"300 characters", REG_SZ, L"C:\\" + std::wstring(297, L'x'), nullptr, 0},
        {"relative", REG_SZ, L"Kelvora\\1.0.2.7", nullptr, 0},
        {"drive-relative", REG_SZ, L"C:Kelvora", nullptr, 0},
        {"rooted without a drive", REG_SZ, L"\\Kelvora\\1.0.2.7", nullptr, 0},
        {"odd byte count", REG_SZ, L"", "C\0:\0\\", 5},
    };
    for (const auto& c : cases) {
        if (c.data)
            Set(c.type, c.data, c.size);
        else
            SetText(c.text, true, c.type);
        std::wstring out = L"untouched";
        EXPECT_FALSE(Query(&out)) << c.what;
        EXPECT_EQ(L"untouched", out) << c.what;
    }
    // The longest folder that still fits MAX_PATH is read.
    const std::wstring longest = L"C:\\" + std::wstring(256, L'x');
    SetText(longest, true);
    std::wstring out;
    EXPECT_TRUE(Query(&out));
    EXPECT_EQ(longest, out);
}

TEST(PackageFile, HoldsExactlyTheResourceWhateverWasThereBefore) {
    const std::wstring dir = test_support::MakeTempDir(L"pkg");
    const std::wstring file = dir + L"\\package.exe";
    HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(104), L"BIN_ZIP");
    ASSERT_NE(nullptr, resource);
    const DWORD size = SizeofResource(nullptr, resource);
    const std::string expected(static_cast<const char*>(LockResource(LoadResource(nullptr, resource))),
                               size);
    const std::string older(size * 3, 'z');

    // A fresh file, and an older, longer one.
    for (bool existed : {false, true}) {
        if (existed) {
            ASSERT_TRUE(test_support::WriteFileBytes(file, older));
        }
        EXPECT_TRUE(WriteResourceToFile(nullptr, resource, file)) << existed;
        std::string got;
        ASSERT_TRUE(test_support::ReadFileBytes(file, &got));
        EXPECT_TRUE(expected == got) << existed;
    }

    // An older file that another program holds open cannot be deleted first;
    // it is rewritten, and must not keep its tail.
    ASSERT_TRUE(test_support::WriteFileBytes(file, older));
    HANDLE holder = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    EXPECT_TRUE(WriteResourceToFile(nullptr, resource, file));
    CloseHandle(holder);
    std::string got;
    ASSERT_TRUE(test_support::ReadFileBytes(file, &got));
    EXPECT_EQ(expected.size(), got.size());
    EXPECT_TRUE(expected == got);

    // A folder in the way can be neither deleted nor written: a failure, and
    // the folder stays.
    const std::wstring folder = dir + L"\\folder.exe";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    EXPECT_FALSE(WriteResourceToFile(nullptr, resource, folder));
    EXPECT_NE(0u, GetFileAttributesW(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY);

    EXPECT_FALSE(WriteResourceToFile(nullptr, resource, dir + L"\\no\\such\\folder\\p.exe"));
    test_support::RemoveTree(dir);
}

}  // namespace
