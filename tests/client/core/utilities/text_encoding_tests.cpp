#include <gtest/gtest.h>
#include <windows.h>
#include <ctype.h>
#include <stdlib.h>
#include "client/core/utilities/text_encoding.h"

namespace {

// 中文软件 ("Chinese software")
const wchar_t kChinese[] = L"\x4E2D\x6587\x8F6F\x4EF6";
const char kChineseUtf8[] = "\xE4\xB8\xAD\xE6\x96\x87\xE8\xBD\xAF\xE4\xBB\xB6";

TEST(Utf8, RoundTripsChineseAndMixedTextWithoutNul) {
    struct Case {
        std::wstring wide;
        std::string utf8;
    } cases[] = {
        {kChinese, kChineseUtf8},
        {L"abc", "abc"},
        {std::wstring(L"v1.0 ") + kChinese + L"!", std::string("v1.0 ") + kChineseUtf8 + "!"},
        {L"\x00E9\x20AC", "\xC3\xA9\xE2\x82\xAC"},  // é €
    };
    for (const Case& c : cases) {
        std::string utf8;
        WideToUtf8(c.wide, &utf8);
        EXPECT_EQ(c.utf8, utf8);
        std::wstring wide;
        Utf8ToWide(c.utf8, &wide);
        EXPECT_EQ(c.wide, wide);
    }
}

TEST(CodePages, EmptyInputLeavesTheOutputAsItWas) {
    std::wstring wide = L"keep";
    std::string narrow = "keep";
    EXPECT_EQ(0, AnsiToWide("", &wide));
    EXPECT_EQ(0, OemToWide("", &wide));
    Utf8ToWide("", &wide);
    EXPECT_EQ(L"keep", wide);
    WideToUtf8(L"", &narrow);
    WideToOem(L"", &narrow);
    EXPECT_EQ("keep", narrow);
}

TEST(CodePages, WideToOemKeepsTheTerminatingNul) {
    std::string oem;
    WideToOem(L"abc", &oem);
    ASSERT_EQ(4u, oem.size());
    EXPECT_EQ(std::string("abc\0", 4), oem);
}

TEST(CodePages, AnsiAndOemFollowTheirOwnCodePages) {
    // The bytes depend on the machine's code pages; the test knows the two
    // it is run with (1252/437 under en_US, 936 under zh_CN) and checks the
    // round trip everywhere.
    UINT acp = GetACP(), oemcp = GetOEMCP();
    // The Chinese run of this program states the code page it must get.
    char expected_acp[16];
    if (GetEnvironmentVariableA("VANTREL_TEST_EXPECT_ACP", expected_acp, 16) > 0) {
        ASSERT_EQ(static_cast<UINT>(atoi(expected_acp)), acp);
    }
    std::wstring sample = (acp == 936) ? std::wstring(kChinese) : std::wstring(L"caf\x00E9");
    std::string oem;
    WideToOem(sample, &oem);
    ASSERT_FALSE(oem.empty());
    EXPECT_EQ('\0', oem.back());
    std::wstring back;
    EXPECT_EQ(static_cast<int>(sample.size()), OemToWide(oem, &back));
    EXPECT_EQ(sample, back);
    if (oemcp == 437) {
        EXPECT_EQ(std::string("caf\x82\0", 5), oem);
    } else if (oemcp == 936) {
        EXPECT_EQ(std::string("\xD6\xD0\xCE\xC4\xC8\xED\xBC\xFE\0", 9), oem);
    }

    std::wstring wide;
    if (acp == 1252) {
        EXPECT_EQ(4, AnsiToWide("caf\xE9", &wide));
        EXPECT_EQ(L"caf\x00E9", wide);
    }
    if (acp == 936) {
        EXPECT_EQ(4, AnsiToWide("\xD6\xD0\xCE\xC4\xC8\xED\xBC\xFE", &wide));
        EXPECT_EQ(kChinese, wide);
    }
    // The ANSI reader stops at the first NUL, as a stored text ends there.
    EXPECT_EQ(2, AnsiToWide(std::string("ab\0cd", 5), &wide));
    EXPECT_EQ(L"ab", wide);
}

TEST(PercentEncode, EncodesEveryByteInUpperCaseAndAppends) {
    struct Case {
        std::string in;
        const wchar_t* expected;
    } cases[] = {
        {"", L""},
        {std::string("\0\0", 2), L""},
        {"abc", L"%61%62%63"},
        {"A-_.~ 9", L"%41%2D%5F%2E%7E%20%39"},
        {"\xE4\xB8\xAD", L"%E4%B8%AD"},
        {std::string("a\0", 2), L"%61"},
        {std::string("a\0b", 3), L"%61%00%62"},
        {"\xFF\x80\x0A", L"%FF%80%0A"},
    };
    for (const Case& c : cases) {
        std::wstring out = L"q=";
        PercentEncode(c.in, &out);
        EXPECT_EQ(std::wstring(L"q=") + c.expected, out);
    }
    // Every byte value.
    std::string all;
    for (int i = 0; i < 256; ++i) all.push_back(static_cast<char>(i));
    all.push_back('x');
    std::wstring out;
    PercentEncode(all, &out);
    ASSERT_EQ(257u * 3, out.size());
    for (int i = 0; i < 256; ++i) {
        wchar_t expected[4];
        swprintf(expected, 4, L"%%%02X", i);
        EXPECT_EQ(expected, out.substr(i * 3, 3)) << i;
    }
}

TEST(PercentEncodeQueryValue, KeepsOnlyUnreservedBytesAndAppends) {
    struct Case {
        std::string in;
        const wchar_t* expected;
    } cases[] = {
        {"", L""},
        {std::string("\0", 1), L""},
        {"AZaz09-._~", L"AZaz09-._~"},
        // Every byte that would alter or end a query value.
        {"a&b=c#d+e f%g?h/i;j", L"a%26b%3Dc%23d%2Be%20f%25g%3Fh%2Fi%3Bj"},
        {"\"'<>[]{}|\\^`!*()$,@:", L"%22%27%3C%3E%5B%5D%7B%7D%7C%5C%5E%60%21%2A%28%29%24%2C%40%3A"},
        // UTF-8 bytes each on their own, upper-case hex: 中 é
        {"\xE4\xB8\xAD\xC3\xA9", L"%E4%B8%AD%C3%A9"},
        {"\x0A\x7F\x80\xFF", L"%0A%7F%80%FF"},
        {std::string("a\0b", 3), L"a%00b"},
    };
    for (const Case& c : cases) {
        std::wstring out = L"q=";
        PercentEncodeQueryValue(c.in, &out);
        EXPECT_EQ(std::wstring(L"q=") + c.expected, out) << c.in;
    }
    // Every byte value: unchanged exactly when unreserved.
    for (int i = 1; i < 256; ++i) {
        std::wstring out;
        PercentEncodeQueryValue(std::string(1, static_cast<char>(i)), &out);
        const bool unreserved = (i < 128 && isalnum(i)) || i == '-' || i == '.' || i == '_' || i == '~';
        if (unreserved) {
            EXPECT_EQ(std::wstring(1, static_cast<wchar_t>(i)), out) << i;
        } else {
            wchar_t expected[4];
            swprintf(expected, 4, L"%%%02X", i);
            EXPECT_EQ(expected, out) << i;
        }
    }
}

}  // namespace
