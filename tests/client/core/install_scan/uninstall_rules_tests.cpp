#include <gtest/gtest.h>
#include <set>
#include "client/core/install_scan/uninstall_entry_rules.h"

namespace {

// Existence answered from a fixed set of paths.
FileExistsFn ExistsIn(std::set<std::wstring> files) {
    return [files](const std::wstring& path) { return files.count(path) > 0; };
}

TEST(UninstallRules, ReleaseTypesOfPatchesAreRecognisedInAnyCase) {
    struct Case { const wchar_t* type; bool patch; } cases[] = {
        {L"hotfix", true}, {L"HOTFIX", true}, {L"Service Pack", true}, {L"security update", true},
        {L"Update", true}, {L"Update Rollup", false}, {L"", false}, {L"Application", false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.patch, IsPatchReleaseType(c.type)) << c.type;
}

TEST(UninstallRules, MicrosoftPatchesNeedTheMicrosoftPublisher) {
    struct Case { const wchar_t* publisher; const wchar_t* name; bool patch; } cases[] = {
        {L"Microsoft Corporation", L"Security Update for Windows (KB123)", true},
        {L"microsoft", L"HotFix for Office", true},
        {L"Microsoft Corporation", L"Windows Service Pack 1", true},
        {L"Microsoft Corporation", L"Update KB55", true},
        {L"Microsoft Corporation", L"Visual C++ Runtime", false},
        {L"Microsoft Corp.", L"Update for Windows", false},   // not one of the two names
        {L"Acme", L"Hotfix Manager", false},
        {L"", L"update for nothing", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.patch, IsMicrosoftPatch(c.publisher, c.name)) << c.publisher << L" / " << c.name;
}

TEST(UninstallRules, ProgramPathAndFolderOfCommands) {
    struct Case { const wchar_t* command; const wchar_t* path; const wchar_t* location; } cases[] = {
        {L"\"C:\\Program Files\\Foo\\unins000.exe\" /S", L"C:\\Program Files\\Foo\\unins000.exe",
         L"C:\\Program Files\\Foo\\"},
        {L"C:\\Foo\\uninst.exe", L"C:\\Foo\\uninst.exe", L"C:\\Foo\\"},
        {L"MsiExec.exe /X{1234}", L"MsiExec.exe /X{1234}", L""},
        {L"C:\\Windows\\System32\\MSIEXEC.EXE /x{1}", L"C:\\Windows\\System32\\MSIEXEC.EXE /x{1}", L""},
        {L"uninst.exe", L"uninst.exe", L""},
        {L"\"C:\\Foo\\un.exe", L"C:\\Foo\\un.exe", L"C:\\Foo\\"},  // no closing quote
        // Quoted arguments are not part of the program path.
        {L"\"C:\\A B\\u.exe\" /key \"C:\\x\\y\"", L"C:\\A B\\u.exe", L"C:\\A B\\"},
        {L"", L"", L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.path, ProgramPathOfCommand(c.command)) << c.command;
        EXPECT_EQ(c.location, LocationFromCommand(c.command)) << c.command;
    }
}

TEST(UninstallRules, DisplayIconIsResolved) {
    FileExistsFn exists = ExistsIn({L"C:\\Foo\\foo.exe", L"C:\\Foo\\\\bar.ico", L"C:\\Foo\\app.ico"});
    struct Case { const wchar_t* value; const wchar_t* icon; } cases[] = {
        {L"\"C:\\Foo\\app.ico\"", L"C:\\Foo\\app.ico"},
        {L"C:\\Foo\\\\bar.ico", L"C:\\Foo\\bar.ico"},           // doubled backslash collapsed
        {L"msiexec.exe", L"C:\\Windows\\system32\\msiexec.exe"},
        {L"MSIEXEC.EXE", L"C:\\Windows\\system32\\msiexec.exe"},
        {L"C:\\Foo\\foo.exe,0", L"C:\\Foo\\foo.exe"},           // icon index dropped
        {L"\"C:\\Foo\\foo.exe\",1", L"C:\\Foo\\foo.exe"},
        {L"C:\\Foo\\gone.exe,0", L"C:\\Foo\\gone.exe,0"},       // no such file: kept
        {L"C:\\Foo\\lib.dll,2", L"C:\\Foo\\lib.dll,2"},         // not an .exe: kept
        {L"C:\\Foo\\missing.ico", L"C:\\Foo\\missing.ico"},
        {L"\"unterminated", L"unterminated"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.icon, ResolveDisplayIcon(c.value, exists)) << c.value;
}

TEST(UninstallRules, IconFallsBackToTheUninstallProgram) {
    FileExistsFn exists = ExistsIn({L"C:\\Foo\\uninst.exe", L"C:\\Program Files\\Bar\\un.exe"});
    struct Case { const wchar_t* command; const wchar_t* current; const wchar_t* icon; } cases[] = {
        {L"C:\\Foo\\uninst.exe /S", L"", L"C:\\Foo\\uninst.exe"},
        {L"\"C:\\Program Files\\Bar\\un.exe\" /x", L"C:\\gone.ico", L"C:\\Program Files\\Bar\\un.exe"},
        {L"MsiExec.exe /X{ABC}", L"", L"C:\\Windows\\system32\\msiexec.exe"},
        {L"\"C:\\Foo\\uninst.exe\" /key \"Foo Bar\"", L"", L"C:\\Foo\\uninst.exe"},
        {L"C:\\Foo\\gone.exe", L"C:\\gone.ico", L"C:\\gone.ico"},     // nothing better: kept
        {L"C:\\Foo\\gone.exe", L"", L"C:\\Windows\\system32\\msiexec.exe"},
        // An empty command must not yield this program's own path.
        {L"", L"", L"C:\\Windows\\system32\\msiexec.exe"},
        {L"\"\"", L"C:\\kept.ico", L"C:\\kept.ico"},
        {L"C:\\Foo\\", L"", L"C:\\Windows\\system32\\msiexec.exe"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.icon, IconFromUninstallString(c.command, c.current, exists)) << c.command;
}

TEST(UninstallRules, DateDigitsArePadded) {
    SYSTEMTIME st = {};
    st.wYear = 2021; st.wMonth = 3; st.wDay = 5;
    EXPECT_EQ(L"20210305", DateDigits(st));
    // Characters above 255 (where tolower is undefined) pass through safely.
    EXPECT_EQ(L"qq \x8f6f\x4ef6 abc", LowerCopy(L"QQ \x8f6f\x4ef6 ABC"));
}

}  // namespace
