#include <gtest/gtest.h>
#include <windows.h>
#include "client/core/reports/installer_file_name.h"
#include "client/core/utilities/text_encoding.h"
#include "client/core/reports/union_id.h"

namespace {

Software Record(const std::wstring& pattern, int32_t record_union_id, const std::wstring& name,
                const std::wstring& ext) {
    Software s;
    WideToOem(pattern, &s.name_expr);  // stored as the cache stores it: OEM with a NUL
    s.union_id = record_union_id;
    s.soft_name = name;
    s.file_ext = ext;
    return s;
}

TEST(InstallerFileName, PatternsNamesAndTheExeFallback) {
    struct Case {
        const wchar_t* pattern;
        int32_t record_union_id;
        const wchar_t* name;
        const wchar_t* ext;
        int32_t union_id;
        const wchar_t* expected;
    } cases[] = {
        // Three groups: k right-aligned in a zero field as wide as the middle.
        {L"setup?000?.exe", 0, L"", L"", 1005, L"setup006.exe"},
        {L"setup?000?.exe", 0, L"", L"", 1000, L"setup001.exe"},
        {L"setup?000?.exe", 0, L"", L"", 999, L"setup001.exe"},
        {L"setup?000?.exe", 0, L"", L"", -1, L"setup001.exe"},
        {L"a?12?b", 0, L"", L"", 1122, L"a01b"},      // k = 123 does not fit two digits
        {L"a?12?b", 0, L"", L"", 1098, L"a99b"},      // k = 99 fits
        {L"a??b", 0, L"", L"", 1005, L"ab"},          // empty middle: empty field
        {L"x?y?00?z.exe", 0, L"", L"", 1010, L"x_y11z.exe"},  // split at the last two
        {L"setup?12345678?.exe", 0, L"", L"", 1999, L"setup00001000.exe"},
        // Two groups: k plus the record's union id.
        {L"setup?.exe", 10, L"", L"", 1005, L"setup16.exe"},
        {L"setup?.exe", 0, L"", L"", 500, L"setup1.exe"},
        {L"?", -5, L"", L"", 1000, L"-4"},
        // No question mark: the pattern itself.
        {L"setup.exe", 0, L"Name", L".msi", 1005, L"setup.exe"},
        // No pattern: the name with its extension, ".exe" when it has none.
        {L"", 0, L"QQ", L".exe", 1005, L"QQ.exe"},
        {L"", 0, L"Tool", L".msi", 1005, L"Tool.msi"},
        {L"", 0, L"Tool", L"", 1005, L"Tool.exe"},
        {L"", 0, L"Tool v1.2", L".exe", 1005, L"Tool v1.2"},  // already ends in an extension
        {L"", 0, L"\x4E2D\x6587", L".exe", 1005, L"\x4E2D\x6587.exe"},
        // A pattern that yields nothing falls back to the name.
        {L"??", 0, L"Tool", L".zip", 1005, L"Tool.zip"},
    };
    for (const Case& c : cases) {
        std::wstring out = L"old";
        MakeInstallerFileNameFor(Record(c.pattern, c.record_union_id, c.name, c.ext), c.union_id, &out);
        EXPECT_EQ(c.expected, out) << "pattern " << c.pattern << " name " << c.name;
    }
}

TEST(InstallerFileName, HostileNamesStayOneComponentInTheFolder) {
    struct Case {
        const wchar_t* pattern;
        const wchar_t* name;
        const wchar_t* ext;
        const wchar_t* expected;
    } cases[] = {
        {L"..\\..\\Windows\\evil.exe", L"", L"", L".._.._Windows_evil.exe"},
        {L"../../evil.exe", L"", L"", L".._.._evil.exe"},
        {L"C:\\evil.exe", L"", L"", L"C__evil.exe"},
        {L"..", L"", L"", L"_"},
        {L".", L"", L"", L"_"},
        {L"name. . .", L"", L"", L"name"},
        {L"a<b>c|d\"e*f", L"", L"", L"a_b_c_d_e_f"},
        {L"tab\there", L"", L"", L"tab_here"},
        {L"CON", L"", L"", L"_CON"},
        {L"nul.exe", L"", L"", L"_nul.exe"},
        {L"", L"..\\..\\x", L".exe", L".._.._x"},  // "._x" counts as its extension
        {L"", L"..", L".exe", L"_.exe"},
        {L"", L"a/b:c", L".e\\xe", L"a_b_c.e_xe"},
        {L"", L"stream:$DATA", L".exe", L"stream_$DATA.exe"},
    };
    for (const Case& c : cases) {
        std::wstring out;
        MakeInstallerFileNameFor(Record(c.pattern, 0, c.name, c.ext), 1005, &out);
        EXPECT_EQ(c.expected, out) << "pattern " << c.pattern << " name " << c.name;
        EXPECT_EQ(std::wstring::npos, out.find_first_of(L"\\/:*?\"<>|")) << out;
        EXPECT_NE(L"..", out);
        EXPECT_NE(L".", out);
    }
    // A very long name is cut to a length a path can hold.
    std::wstring out;
    MakeInstallerFileNameFor(Record(L"", 0, std::wstring(1000, L'n'), L".exe"), 1005, &out);
    EXPECT_LT(out.size(), 260u);
    EXPECT_FALSE(out.empty());
}

TEST(InstallerFileName, PatternIsReadInTheOemCodePageWithoutItsNul) {
    // A pattern holding a character that ANSI and OEM place differently
    // (e acute: 0xE9 in 1252, 0x82 in 437) comes back as it was stored; under
    // the Chinese code page, Chinese text does.
    if (GetOEMCP() == 936) {
        Software s = Record(L"\x4E2D\x6587?00?.exe", 0, L"", L"");
        std::wstring out;
        MakeInstallerFileNameFor(s, 1003, &out);
        EXPECT_EQ(L"\x4E2D\x6587" L"04.exe", out);
        return;
    }
    Software s = Record(L"caf\x00E9?0?.exe", 0, L"", L"");
    ASSERT_EQ('\0', s.name_expr.back());
    std::wstring out;
    MakeInstallerFileNameFor(s, 1003, &out);
    EXPECT_EQ(L"caf\x00E9" L"4.exe", out);
}

TEST(InstallerFileName, SettlesTheUnionIdAt1000WhenTheFileGivesNone) {
    // No union file on the test machine: the process value becomes 1000 and
    // stays there.
    if (ReadUnionId() != -1) GTEST_SKIP() << "a union file exists on this machine";
    std::wstring out;
    MakeInstallerFileName(Record(L"s?00?.exe", 0, L"", L""), &out);
    EXPECT_EQ(L"s01.exe", out);
    EXPECT_EQ(1000, CurrentUnionId());
}

}  // namespace
