#include <gtest/gtest.h>
#include <windows.h>
#include "client/core/utilities/local_date.h"
#include "client/core/utilities/version_compare.h"

namespace {

TEST(CompareVersion, ReturnsWhetherTheSecondIsHigher) {
    struct Case {
        const wchar_t* first;
        const wchar_t* second;
        int expected;
    } cases[] = {
        {L"1.0.2.7", L"1.0.2.7", 0},
        {L"1.0.2.7", L"1.0.2.7.0", 0},
        {L"1.0.2.7.0", L"1.0.2.7", 0},
        {L"1.0.2.7", L"1.0.2.7.1", 1},
        {L"1.0.2.7.1", L"1.0.2.7", -1},
        {L"1.0.2.7", L"1.0.2.7.0.0.3", 1},
        {L"1.0.10", L"1.0.9", -1},
        {L"1.0.9", L"1.0.10", 1},
        {L"2", L"1.9.9", -1},
        {L"", L"1.0", 1},
        {L"1.0", L"", -1},
        {L"", L"0.0", 0},
        {L"", L"", 0},
        {L"1..2", L"1.2", 0},
        {L".1.2.", L"1.2", 0},
        {L"1.2beta", L"1.2", 0},     // leading digits count
        {L"1.beta", L"1.0", 0},      // no leading digit counts as 0
        {L"1.beta", L"1.1", 1},
        {L"10.0", L"9.99", -1},
        {L"1.01", L"1.1", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, CompareVersion(c.first, c.second)) << c.first << " vs " << c.second;
    }
}

TEST(ParseInstallDate, FormatsValidDatesAndLeavesOthersUnchanged) {
    struct Case {
        const wchar_t* in;
        const wchar_t* out;  // nullptr: rejected
    } cases[] = {
        {L"20140305", L"2014/3/5"},
        {L"20001231", L"2000/12/31"},
        {L"20991001", L"2099/10/1"},
        {L"19991231", nullptr},   // 1999 and earlier
        {L"20141305", nullptr},   // month 13
        {L"20140300", nullptr},   // day 00
        {L"20140332", nullptr},   // day 32
        {L"20140005", nullptr},   // month 00
        {L"201", nullptr},        // too short
        {L"", nullptr},
        {L"abcdefgh", nullptr},
        {L"2010", nullptr},       // month "20"
        {L"2014-03-05", L"2014/3/5"},  // month is "3-", read as 3
    };
    for (const Case& c : cases) {
        std::wstring out = L"unchanged";
        bool ok = ParseInstallDate(c.in, &out);
        if (c.out) {
            EXPECT_TRUE(ok) << c.in;
            EXPECT_EQ(c.out, out) << c.in;
        } else {
            EXPECT_FALSE(ok) << c.in;
            EXPECT_EQ(L"unchanged", out) << c.in;
        }
    }
}

TEST(GetLocalDate, MatchesTheSystemsLocalTime) {
    LocalDate date;
    SYSTEMTIME before;
    GetLocalTime(&before);
    ASSERT_TRUE(GetLocalDate(&date));
    SYSTEMTIME after;
    GetLocalTime(&after);
    EXPECT_GT(date.time, 1600000000LL);
    // Equal to one of the two readings around the call (an hour may turn).
    bool matches = false;
    for (const SYSTEMTIME& t : {before, after}) {
        matches |= date.year == t.wYear && date.month == t.wMonth && date.day == t.wDay &&
                   date.hour == t.wHour;
    }
    EXPECT_TRUE(matches) << date.year << "-" << date.month << "-" << date.day << " " << date.hour;
}

}  // namespace
