// The setup programs' rules that need no window: command lines, the folder
// rule, joining and cutting paths, quoting, the progress sweep.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "setup/common/folder_paths.h"
#include "setup/common/process_start.h"
#include "setup/common/progress_sweep.h"
#include "setup/installer/install_folder.h"
#include "setup/installer/installer_command_line.h"
#include "setup/installer/old_installation.h"
#include "setup/uninstaller/removal.h"
#include "tests/support/test_support.h"

namespace {

struct CommandLineCase {
    std::vector<std::wstring> args;
    InstallerMode mode;
    std::wstring folder;
};

TEST(InstallerCommandLine, ChoosesTheRunByItsWordsInAnyCase) {
    const CommandLineCase cases[] = {
        {{}, InstallerMode::Wizard, L""},
        {{L"update"}, InstallerMode::Update, L""},
        {{L"UpDaTe"}, InstallerMode::Update, L""},
        {{L"update", L"C:\\x"}, InstallerMode::Wizard, L""},
        {{L"slient"}, InstallerMode::SilentDefault, L""},
        {{L"SLIENT"}, InstallerMode::SilentDefault, L""},
        {{L"slient", L"C:\\dir with blank"}, InstallerMode::SilentInto, L"C:\\dir with blank"},
        {{L"Slient", L""}, InstallerMode::SilentInto, L""},
        {{L"slient", L"C:\\a", L"C:\\b"}, InstallerMode::Wizard, L""},
        {{L"silent"}, InstallerMode::Wizard, L""},
        {{L"C:\\dir", L"slient"}, InstallerMode::Wizard, L""},
    };
    for (const auto& c : cases) {
        InstallerRun run = ParseInstallerCommandLine(c.args);
        std::wstring joined;
        for (const auto& a : c.args) joined += a + L"|";
        EXPECT_EQ(static_cast<int>(c.mode), static_cast<int>(run.mode)) << joined.c_str();
        EXPECT_EQ(c.folder, run.folder) << joined.c_str();
    }
}

TEST(UninstallerCommandLine, OnlyTheExactWordWaitWaits) {
    EXPECT_TRUE(IsWaitRun({L"wait"}));
    EXPECT_FALSE(IsWaitRun({L"WAIT"}));
    EXPECT_FALSE(IsWaitRun({L"Wait"}));
    EXPECT_FALSE(IsWaitRun({}));
    EXPECT_FALSE(IsWaitRun({L"wait", L"now"}));
    EXPECT_FALSE(IsWaitRun({L"\"wait\""}));
}

struct FolderCase {
    const wchar_t* text;
    bool accepted;
    const wchar_t* absolute;  // expected when accepted; nullptr: checked separately
};

TEST(InstallFolder, AcceptsOnlyFoldersThatCanHoldTheInstallation) {
    // Existing, in this table: "existing" (relative) and "\\server\share".
    const std::set<std::wstring> existing = {L"existing", L"\\\\server\\share"};
    PathExistsFn exists = [&](const std::wstring& p) { return existing.count(p) > 0; };
    const FolderCase cases[] = {
        {L"", false, nullptr},
        {L"C:\\dir with blank", true, L"C:\\dir with blank"},
        {L"c:\\new\\folder", true, L"c:\\new\\folder"},
        {L"D:", true, L"D:\\"},
        {L"D:\\", true, L"D:\\"},
        {L"C:\\a\\..\\b\\.\\c", true, L"C:\\b\\c"},
        {L"C:/forward/slashes", true, L"C:\\forward\\slashes"},
        {L"\\\\server\\share", true, L"\\\\server\\share"},
        {L"nosuchfolder", false, nullptr},
        {L"relative\\dir", false, nullptr},
        {L"\\rooted\\without\\drive", false, nullptr},
        {L"1:\\digits", false, nullptr},
        {L"C:\\a:b", false, nullptr},
        {L"C:\\a|b", false, nullptr},
        {L"C:\\a\"b", false, nullptr},
        {L"C:\\a*", false, nullptr},
        {L"C:\\a?b", false, nullptr},
        {L"C:\\a<b>", false, nullptr},
        {L"C:\\tab\there", false, nullptr},
        {L"请填写有效路径", false, nullptr},
    };
    for (const auto& c : cases) {
        std::wstring absolute = L"untouched";
        const bool ok = ResolveInstallFolder(c.text, exists, &absolute);
        EXPECT_EQ(c.accepted, ok) << c.text;
        if (c.accepted && c.absolute) {
            EXPECT_EQ(c.absolute, absolute) << c.text;
        }
        if (!c.accepted) {
            EXPECT_EQ(L"untouched", absolute) << c.text;
        }
    }
}

TEST(InstallFolder, AnExistingRelativeFolderBecomesAbsolute) {
    PathExistsFn exists = [](const std::wstring& p) { return p == L"existing"; };
    wchar_t current[MAX_PATH] = {};
    ASSERT_GT(GetCurrentDirectoryW(MAX_PATH, current), 0u);
    std::wstring absolute;
    ASSERT_TRUE(ResolveInstallFolder(L"existing", exists, &absolute));
    EXPECT_EQ(JoinPath(current, L"existing"), absolute);
}

TEST(InstallFolder, TheVersionSubfolderMustFitTheClassicPathLimit) {
    PathExistsFn none = [](const std::wstring&) { return false; };
    // "C:\" + n letters + "\1.0.2.7" is n + 11 characters; 259 is the most.
    const std::wstring longest = L"C:\\" + std::wstring(248, L'a');
    const std::wstring one_more = L"C:\\" + std::wstring(249, L'a');
    std::wstring absolute;
    EXPECT_TRUE(ResolveInstallFolder(longest, none, &absolute));
    EXPECT_EQ(259u, VersionTarget(absolute).size());
    EXPECT_FALSE(ResolveInstallFolder(one_more, none, &absolute));
    EXPECT_FALSE(ResolveInstallFolder(L"C:\\" + std::wstring(300, L'a'), none, &absolute));
}

TEST(FolderPaths, JoinAndCutLikeThePathFunctionsWithoutTheirLimit) {
    struct {
        const wchar_t* folder;
        const wchar_t* name;
        const wchar_t* joined;
    } joins[] = {
        {L"C:\\dir", L"Kelvora", L"C:\\dir\\Kelvora"},
        {L"C:\\dir\\", L"Kelvora", L"C:\\dir\\Kelvora"},
        {L"C:\\", L"Kelvora", L"C:\\Kelvora"},
        {L"C:", L"Kelvora", L"C:\\Kelvora"},
        {L"C:\\dir", L"\\slient.exe", L"C:\\dir\\slient.exe"},
        {L"", L"vantrel.exe", L"vantrel.exe"},
    };
    for (const auto& j : joins) EXPECT_EQ(j.joined, JoinPath(j.folder, j.name)) << j.folder;
    const std::wstring deep = L"C:\\" + std::wstring(400, L'x');
    EXPECT_EQ(deep + L"\\1.0.2.7", JoinPath(deep, L"1.0.2.7"));

    EXPECT_EQ(L"C:\\a\\", CutAfterLastBackslash(L"C:\\a\\b"));
    EXPECT_EQ(L"C:\\a\\b\\", CutAfterLastBackslash(L"C:\\a\\b\\"));
    EXPECT_EQ(L"", CutAfterLastBackslash(L"nobackslash"));
}

TEST(FolderPaths, AFileOnTheWayMeansTheFolderCannotBeMade) {
    const std::wstring dir = test_support::MakeTempDir(L"way");
    ASSERT_TRUE(test_support::WriteFileBytes(dir + L"\\file", "x"));
    ASSERT_TRUE(CreateDirectoryW((dir + L"\\folder").c_str(), nullptr));
    struct {
        std::wstring path;
        bool can;
    } cases[] = {
        {dir, true},
        {dir + L"\\folder", true},
        {dir + L"\\folder\\new\\deeper", true},
        {dir + L"\\new", true},
        {dir + L"\\file", false},
        {dir + L"\\file\\1.0.2.7", false},
        {dir + L"\\file\\a\\b", false},
        {L"C:\\", true},
    };
    for (const auto& c : cases) EXPECT_EQ(c.can, CanBeFolder(c.path)) << c.path.c_str();
    test_support::RemoveTree(dir);
}

TEST(OldInstallation, TheOfferedFolderIsTheOldFoldersParent) {
    struct {
        const wchar_t* old_folder;
        const wchar_t* parent;
    } cases[] = {
        {L"C:\\Program Files\\Kelvora\\1.0.2.7", L"C:\\Program Files\\Kelvora\\"},
        {L"C:\\Program Files\\Kelvora\\1.0.2.7\\", L"C:\\Program Files\\Kelvora\\"},
        {L"C:\\Program Files\\Kelvora\\1.0.2.7\\\\", L"C:\\Program Files\\Kelvora\\"},
        {L"C:\\Kelvora", L"C:\\"},
        {L"C:\\", L"C:\\"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.parent, OldFolderParent(c.old_folder)) << c.old_folder;
}

TEST(CommandLines, EveryProgramPathIsQuoted) {
    EXPECT_EQ(L"\"C:\\dir with blank\\vantrel.exe\" report_install",
              QuotedCommandLine(L"C:\\dir with blank\\vantrel.exe", L"report_install"));
    EXPECT_EQ(L"\"C:\\Temp\\pkg.exe\" /S /D=C:\\dir with blank\\Kelvora\\1.0.2.7",
              QuotedCommandLine(L"C:\\Temp\\pkg.exe", L"/S /D=C:\\dir with blank\\Kelvora\\1.0.2.7"));
    EXPECT_EQ(L"\"C:\\x\\vantrel.exe\"", QuotedCommandLine(L"C:\\x\\vantrel.exe", L""));
    // No file name holds a double quote: such a path would end the quotes early.
    EXPECT_EQ(L"", QuotedCommandLine(L"C:\\a\" b\\x.exe", L"/S"));
    EXPECT_EQ(L"", QuotedCommandLine(L"", L"/S"));
}

TEST(CommandLines, AProgramThatCannotStartIsReported) {
    DWORD code = 12345;
    EXPECT_FALSE(RunProgramAndWait(L"C:\\no\\such\\program.exe", L"/S", &code));
    EXPECT_EQ(12345u, code);
    EXPECT_FALSE(StartProgram(L"C:\\no\\such\\program.exe", L""));
    EXPECT_FALSE(RunProgramAndWaitAtMost(L"C:\\no\\such\\program.exe", L"", 100));
}

TEST(CommandLines, TheExitCodeOfAProgramIsRead) {
    wchar_t system[MAX_PATH] = {};
    ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
    const std::wstring cmd = JoinPath(system, L"cmd.exe");
    DWORD code = 0;
    ASSERT_TRUE(RunProgramAndWait(cmd, L"/c exit 3", &code));
    EXPECT_EQ(3u, code);
    ASSERT_TRUE(RunProgramAndWait(cmd, L"/c exit 0", &code));
    EXPECT_EQ(0u, code);
}

TEST(ProgressSweep, SweepsFromTwoToAHundredWithoutEnd) {
    const int cases[][2] = {{0, 1}, {1, 2}, {2, 3}, {99, 100}, {100, 2}};
    for (const auto& c : cases) EXPECT_EQ(c[1], NextSweepValue(c[0])) << c[0];
    int value = 2;
    for (int i = 0; i < 500; ++i) {
        value = NextSweepValue(value);
        ASSERT_GE(value, 2);
        ASSERT_LE(value, 100);
    }
}

}  // namespace
