#include <gtest/gtest.h>
#include <windows.h>
#include <wctype.h>
#include <vector>
#include "client/core/reports/installer_file_name.h"
#include "client/core/utilities/text_encoding.h"
#include "client/core/reports/union_id.h"
#include "tests/support/test_support.h"

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
        {L"", 0, L"Tool v1.2", L".exe", 1005, L"Tool v1.2.exe"},  // ".2" is part of the name
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
        {L"", L"..\\..\\x", L".exe", L".._.._x.exe"},
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

// The finished download is opened by its extension, so a record without a
// pattern must be saved under a name that ends in its installer extension,
// whatever dots, length or device name its software name has; and the name
// must be one file of its own inside the download folder.
TEST(InstallerFileName, NamesEndInTheInstallersExtensionAndStayOneFileInTheFolder) {
    struct Case {
        std::wstring name;
        std::wstring ext;
        std::wstring expected;
    };
    std::vector<Case> cases = {
        // Dots in names are not extensions.
        {L"Paint.NET", L".exe", L"Paint.NET.exe"},
        {L"Node.js", L".msi", L"Node.js.msi"},
        {L"Python 3.12", L".exe", L"Python 3.12.exe"},
        {L"Python 3.12", L"", L"Python 3.12.exe"},
        {L"7-Zip 23.01 x64", L".MSI", L"7-Zip 23.01 x64.MSI"},
        {L"Tool.msi", L".exe", L"Tool.msi.exe"},
        {L"a.b.c.", L".zip", L"a.b.c.zip"},
        // A name that already ends in the extension, in any case, keeps it once.
        {L"Setup.EXE", L".exe", L"Setup.EXE"},
        {L"setup.exe", L".EXE", L"setup.exe"},
        {L"Tool.exe. ", L".exe", L"Tool.exe"},
        {L"Tool.exeX", L".exe", L"Tool.exeX.exe"},
        // Extensions as the service may give them.
        {L"Tool", L"exe", L"Tool.exe"},
        {L"Tool", L".", L"Tool.exe"},
        {L"Tool", L". .", L"Tool.exe"},
        {L"Tool", L".zip", L"Tool.zip"},
        // Too long: shortened before the extension, never through it.
        {std::wstring(300, L'n') + L".NET", L".exe", std::wstring(196, L'n') + L".exe"},
        {std::wstring(300, L'a') + L".exe", L".exe", std::wstring(196, L'a') + L".exe"},
        {std::wstring(300, L'a') + L".EXE", L".exe", std::wstring(196, L'a') + L".EXE"},
        {std::wstring(250, L'\x4E2D'), L".msi", std::wstring(196, L'\x4E2D') + L".msi"},
        {std::wstring(199, L'b'), L".exe", std::wstring(196, L'b') + L".exe"},
        {std::wstring(196, L'b'), L".exe", std::wstring(196, L'b') + L".exe"},
        {L"x", L"." + std::wstring(40, L'e'), L"x." + std::wstring(15, L'e')},
        // Names that only look like devices stay as they are.
        {L"COM10", L".exe", L"COM10.exe"},
        {L"LPT", L".exe", L"LPT.exe"},
        {L"CONSOLE", L".exe", L"CONSOLE.exe"},
        {L"AUXILIARY", L".exe", L"AUXILIARY.exe"},
        {L"COM\x2074", L".exe", L"COM\x2074.exe"},  // superscript four
        {L"NUL_", L".exe", L"NUL_.exe"},
    };
    // Every documented reserved device name, in the forms Windows maps to the
    // device: any case, blanks after it, any extension after it.
    std::vector<std::wstring> devices = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    for (const wchar_t* port : {L"COM", L"LPT"}) {
        for (wchar_t d = L'0'; d <= L'9'; ++d) devices.push_back(port + std::wstring(1, d));
        for (wchar_t d : {L'\x00B9', L'\x00B2', L'\x00B3'}) devices.push_back(port + std::wstring(1, d));
    }
    for (const std::wstring& device : devices) {
        std::wstring lower = device;
        for (wchar_t& c : lower) c = towlower(c);
        cases.push_back({device, L".exe", L"_" + device + L".exe"});
        cases.push_back({lower, L".msi", L"_" + lower + L".msi"});
        cases.push_back({device + L"  ", L".exe", L"_" + device + L".exe"});
        cases.push_back({device + L".exe", L".exe", L"_" + device + L".exe"});
        cases.push_back({device + L".txt", L".exe", L"_" + device + L".txt.exe"});
        cases.push_back({device + L" .tar.gz", L".exe", L"_" + device + L" .tar.gz.exe"});
    }

    const std::wstring folder = test_support::MakeTempDir(L"names");
    // Wine keeps file names in the host's locale: without a UTF-8 locale it
    // cannot hold names beyond ASCII at all, and those are then checked by
    // the table only.
    const std::wstring probe = folder + L"\\\x4E2D\x00B9";
    HANDLE probe_file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    const bool host_holds_any_name = probe_file != INVALID_HANDLE_VALUE;
    if (host_holds_any_name) {
        CloseHandle(probe_file);
        DeleteFileW(probe.c_str());
    }
    for (const Case& c : cases) {
        std::wstring out;
        MakeInstallerFileNameFor(Record(L"", 0, c.name, c.ext), 1005, &out);
        EXPECT_EQ(c.expected, out) << "name " << c.name << " ext " << c.ext;
        EXPECT_LE(out.size(), 200u) << c.name;
        EXPECT_EQ(std::wstring::npos, out.find_first_of(L"\\/:*?\"<>|")) << out;

        // One new file, in the folder, under exactly that name: not a device,
        // not a name that Windows trims into another one. (Wine keeps names
        // in UTF-8 on the host, whose file names end at 255 bytes; Windows
        // counts 255 characters. Longer names are checked by the table only.)
        if (WideCharToMultiByte(CP_UTF8, 0, out.c_str(), -1, nullptr, 0, nullptr, nullptr) > 256) continue;
        bool ascii = true;
        for (wchar_t ch : out) ascii = ascii && ch < 128;
        if (!ascii && !host_holds_any_name) continue;
        const std::wstring path = folder + L"\\" + out;
        wchar_t full[1024];
        ASSERT_GT(GetFullPathNameW(path.c_str(), 1024, full, nullptr), 0u) << out;
        EXPECT_EQ(path, std::wstring(full)) << out;
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file) << out;
        CloseHandle(file);
        std::vector<std::wstring> listed;
        WIN32_FIND_DATAW found;
        HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
        ASSERT_NE(INVALID_HANDLE_VALUE, find);
        do {
            std::wstring entry = found.cFileName;
            if (entry != L"." && entry != L"..") listed.push_back(entry);
        } while (FindNextFileW(find, &found));
        FindClose(find);
        EXPECT_EQ(std::vector<std::wstring>{out}, listed) << c.name;
        DeleteFileW(path.c_str());
    }
    test_support::RemoveTree(folder);
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
