#include <gtest/gtest.h>
#include "client/core/utilities/text_split.h"

namespace {

TEST(SplitString, StoresOnlyNonEmptyPartsBetweenWholeDelimiters) {
    struct Case {
        const wchar_t* delimiter;
        const wchar_t* text;
        std::vector<std::wstring> parts;
    } cases[] = {
        {L".", L"1.0.2.7", {L"1", L"0", L"2", L"7"}},
        {L".", L"", {}},
        {L".", L"...", {}},
        {L".", L"..1..2..", {L"1", L"2"}},
        {L".", L"abc", {L"abc"}},
        {L"||", L"a||b|c||||d", {L"a", L"b|c", L"d"}},
        // Leading characters found anywhere in the delimiter are skipped...
        {L"ab", L"bbaxabyab", {L"x", L"y"}},
        // ...but inside the text only the whole delimiter splits.
        {L", ", L"x, y,z , ", {L"x", L"y,z "}},
        {L"", L"whole", {L"whole"}},
    };
    for (const Case& c : cases) {
        std::vector<std::wstring> out;
        SplitString(&out, c.delimiter, c.text);
        EXPECT_EQ(c.parts, out) << c.text;
    }
}

TEST(SplitString, AppendsToWhatTheListHeld) {
    std::vector<std::wstring> out = {L"first"};
    SplitString(&out, L";", L"a;b");
    EXPECT_EQ((std::vector<std::wstring>{L"first", L"a", L"b"}), out);
}

TEST(CollapseBackslashes, RunsBecomeOneBackslash) {
    struct Case {
        const wchar_t* in;
        const wchar_t* out;
    } cases[] = {
        {L"", L""},
        {L"C:\\\\Program Files\\\\\\App\\", L"C:\\Program Files\\App\\"},
        {L"\\\\server\\share", L"\\server\\share"},
        {L"no backslash", L"no backslash"},
        {L"a\\b\\c", L"a\\b\\c"},
        {L"\\\\\\\\", L"\\"},
        {L"a/\\/\\\\b", L"a/\\/\\b"},
    };
    for (const Case& c : cases) {
        std::wstring text = c.in;
        CollapseBackslashes(&text);
        EXPECT_EQ(c.out, text) << c.in;
    }
}

}  // namespace
