// The download centre's rules by table: captions, literal description
// text (the toolkit's literal markup, as the rows use it), and how a row
// thins out progress reports.
#include <gtest/gtest.h>

#include "client/windows/downloads/centre_rules.h"
#include "uitoolkit/markup/markup_literal.h"

namespace {

using CentreRules::ProgressThrottle;

TEST(CentreRules, CaptionsCountWithFullWidthBrackets) {
    EXPECT_EQ(L"正在下载（0）", CentreRules::DownloadingCaption(0));
    EXPECT_EQ(L"正在下载（12）", CentreRules::DownloadingCaption(12));
    EXPECT_EQ(L"已完成（1）", CentreRules::DownloadedCaption(1));
}

TEST(CentreRules, ServiceTextIsShownLiterallyNotAsMarkup) {
    const struct {
        const wchar_t* text;
        const wchar_t* markup;
    } cases[] = {
        {L"", L""},
        {L"普通的描述", L"普通的描述"},
        {L"{i c:\\secret.png}", L"<{>i c:\\secret.png<}>"},
        {L"<b>bold</b>", L"{<}b{>}bold{<}/b{>}"},
        {L"a{b}c<d>", L"a<{>b<}>c{<}d{>}"},
        {L"{{", L"<{><{>"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.markup, std::wstring(UiToolkit::MarkupLiteral(c.text).GetData())) << c.text;
}

TEST(CentreRules, ThrottlePostsFirstThenEveryThreeHundredMsWithTheMean) {
    ProgressThrottle throttle;
    int32_t mean = -7;
    // The very first report posts at once, whatever the clock reads.
    EXPECT_TRUE(throttle.Report(50, 1000, &mean));
    EXPECT_EQ(1000, mean);
    // 100 ms apart: nothing, and the speeds add up.
    EXPECT_FALSE(throttle.Report(150, 2000, &mean));
    EXPECT_FALSE(throttle.Report(250, 4000, &mean));
    EXPECT_FALSE(throttle.Report(350, 6000, &mean));  // exactly 300 ms: not yet
    EXPECT_TRUE(throttle.Report(351, 8000, &mean));
    EXPECT_EQ(5000, mean);  // (2000 + 4000 + 6000 + 8000) / 4
    EXPECT_EQ(0u, throttle.count());
    // The tick count wrapping around is a normal difference.
    ProgressThrottle wrap;
    EXPECT_TRUE(wrap.Report(0xFFFFFF00u, 10, &mean));
    EXPECT_FALSE(wrap.Report(0x00000010u, 10, &mean));  // 272 ms later
    EXPECT_TRUE(wrap.Report(0x00000100u, 40, &mean));   // 512 ms later
    EXPECT_EQ(25, mean);
}

TEST(CentreRules, TheMeanStaysRightWhenTheSumPassesThirtyTwoBits) {
    ProgressThrottle throttle;
    int32_t mean = 0;
    ASSERT_TRUE(throttle.Report(1, 0, &mean));
    // 40 reports of 200 MB/s: 8.4e9 in all, past 2^32.
    const int32_t speed = 200 * 1024 * 1024;
    for (uint32_t t = 2; t < 42; ++t) ASSERT_FALSE(throttle.Report(t, speed, &mean));
    EXPECT_GT(throttle.sum(), 0xFFFFFFFFull);
    ASSERT_TRUE(throttle.Report(400, speed, &mean));
    EXPECT_EQ(speed, mean);
}

}  // namespace
