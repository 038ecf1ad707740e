// The schemes pages' plain rules: order, rename test, progress throttle,
// and the literal form of a text shown by a markup control.
#include <gtest/gtest.h>

#include <stdint.h>

#include <string>
#include <vector>

#include "client/windows/schemes/scheme_rules.h"
#include "uitoolkit/markup/markup_literal.h"

namespace {

SchemeInfo Scheme(int32_t id, const wchar_t* name) {
    SchemeInfo s;
    s.scheme_id = id;
    s.scheme_name = name;
    return s;
}

TEST(SchemeRules, SchemesAreListedByAscendingId) {
    std::vector<SchemeInfo> schemes = {Scheme(911, L"c"), Scheme(610, L"a"), Scheme(900, L"b"),
                                       Scheme(-3, L"neg"), Scheme(610, L"a2")};
    SortSchemesById(&schemes);
    std::vector<std::wstring> names;
    for (const SchemeInfo& s : schemes) names.push_back(s.scheme_name);
    // Equal ids keep the service's order.
    EXPECT_EQ((std::vector<std::wstring>{L"neg", L"a", L"a2", L"b", L"c"}), names);
    SortSchemesById(nullptr);  // nothing to sort: no crash
}

TEST(SchemeRules, RenameIsSentOnlyForATrueChange) {
    struct Case {
        const wchar_t *name, *desc, *new_name, *new_desc;
        bool changed;
    } cases[] = {
        {L"Games", L"Fun stuff", L"Games", L"Fun stuff", false},
        {L"Games", L"Fun stuff", L"GAMES", L"fun STUFF", false},  // letter case only
        {L"Games", L"Fun stuff", L"Games2", L"Fun stuff", true},
        {L"Games", L"Fun stuff", L"Games", L"Fun stuff!", true},
        {L"办公必备", L"上班用", L"办公必备", L"上班用", false},
        {L"办公必备", L"上班用", L"办公", L"上班用", true},
        {L"Games", L"", L"Games", L"x", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.changed, SchemeTextsChanged(c.name, c.desc, c.new_name, c.new_desc))
            << std::string(c.new_name, c.new_name + wcslen(c.new_name));
}

TEST(ProgressThrottle, PostsAtMostEvery300msWithTheMeanSpeed) {
    ProgressThrottle throttle;
    int32_t mean = -7;
    // The first report goes at once.
    ASSERT_TRUE(throttle.Report(1000, 5000, &mean));
    EXPECT_EQ(1000, mean);
    // Reports within 300 ms (the 300th included) are only summed.
    EXPECT_FALSE(throttle.Report(100, 5100, &mean));
    EXPECT_FALSE(throttle.Report(200, 5200, &mean));
    EXPECT_FALSE(throttle.Report(300, 5300, &mean));
    // The next one after that carries the mean of all four.
    ASSERT_TRUE(throttle.Report(400, 5301, &mean));
    EXPECT_EQ(250, mean);
    // The sum starts again.
    ASSERT_TRUE(throttle.Report(7, 5700, &mean));
    EXPECT_EQ(7, mean);
}

TEST(ProgressThrottle, MeanOfFastReportsDoesNotOverflow) {
    ProgressThrottle throttle;
    int32_t mean = 0;
    ASSERT_TRUE(throttle.Report(0, 100, &mean));
    // Three reports of 2 GB/s minus one: their sum is beyond 32 bits.
    const int32_t fast = 2147483647;
    EXPECT_FALSE(throttle.Report(fast, 150, &mean));
    EXPECT_FALSE(throttle.Report(fast, 200, &mean));
    ASSERT_TRUE(throttle.Report(fast, 500, &mean));
    EXPECT_EQ(fast, mean);
}

TEST(ProgressThrottle, TickCountWrapIsAnInterval) {
    ProgressThrottle throttle;
    int32_t mean = 0;
    ASSERT_TRUE(throttle.Report(10, 0xFFFFFF00u, &mean));
    // 0x100 + 0x20 ms later, across the wrap: within 300 ms.
    EXPECT_FALSE(throttle.Report(20, 0x20u, &mean));
    ASSERT_TRUE(throttle.Report(30, 0x100u, &mean));
    EXPECT_EQ(25, mean);
}

TEST(MarkupLiteral, EveryTagCharacterIsEscaped) {
    struct Case {
        const wchar_t* text;
        const wchar_t* literal;
    } cases[] = {
        {L"plain text 中文", L"plain text 中文"},
        {L"{i c:\\secret.png}", L"<{>i c:\\secret.png<}>"},
        {L"<b>bold</b>", L"{<}b{>}bold{<}/b{>}"},
        {L"{<}", L"<{>{<}<}>"},
        {L"a}b{c", L"a<}>b<{>c"},
        {L"line one\nline two", L"line one\nline two"},
        {L"", L""},
    };
    for (const Case& c : cases) EXPECT_STREQ(c.literal, UiToolkit::MarkupLiteral(c.text).GetData());
    EXPECT_STREQ(L"", UiToolkit::MarkupLiteral(nullptr).GetData());
}

}  // namespace
