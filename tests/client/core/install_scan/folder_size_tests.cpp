#include <gtest/gtest.h>
#include <windows.h>
#include "client/core/utilities/directory_size.h"
#include "tests/support/test_support.h"

namespace {

// A link inside an install folder that points back at the folder must not be
// followed: the size would count the folder again and again.
TEST(FolderSize, ReparsePointsAreNotFollowed) {
    std::wstring dir = test_support::MakeTempDir(L"reparse");
    ASSERT_TRUE(test_support::WriteFileBytes(dir + L"\\a.bin", std::string(3000, 'a')));
    std::wstring link = dir + L"\\loop";
    BOOL made = CreateSymbolicLinkW(link.c_str(), dir.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY);
    DWORD attributes = GetFileAttributesW(link.c_str());
    if (!made || attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        test_support::RemoveTree(dir);
        GTEST_SKIP() << "no directory links on this system";
    }
    uint64_t size = 0;
    EXPECT_TRUE(DirectorySize(dir, &size));
    EXPECT_EQ(3000u, size);
    RemoveDirectoryW(link.c_str());
    test_support::RemoveTree(dir);
}

}  // namespace
