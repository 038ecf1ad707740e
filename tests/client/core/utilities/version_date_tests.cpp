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
        // Parts longer than a 32-bit number compare exactly.
        {L"1.20240101000000", L"1.20240101123000", 1},
        {L"1.20240101123000", L"1.20240101000000", -1},
        {L"2147483647", L"2147483648", 1},
        {L"4294967296", L"4294967295", -1},
        {L"99999999999999999999.1", L"99999999999999999999.2", 1},
        {L"100000000000000000000", L"99999999999999999999", -1},
        {L"1.20240101123000", L"1.20240101123000", 0},
        // Leading zeros do not count, however many.
        {L"1.0002", L"1.2", 0},
        {L"1.000000000000000000002", L"1.3", 1},
        {L"01.10", L"1.9", -1},
        {L"1.000", L"1", 0},
        {L"1.0.000", L"1", 0},
        {L"1.00000000000000000000000000001", L"1", -1},
        // A part that does not begin with a digit is 0, a sign included.
        {L"1.-1", L"1", 0},
        {L"1.-1", L"1.0", 0},
        {L"1.-5", L"1.0.1", 1},
        {L"1.+3", L"1.0", 0},
        {L"1.x9", L"1.0", 0},
        {L"1.rc2", L"1.1", 1},
        {L"2.5rc1", L"2.5", 0},
        {L"2.12345678901234567890rc", L"2.12345678901234567891", 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, CompareVersion(c.first, c.second)) << c.first << " vs " << c.second;
    }
}

// Sorting and matching rely on a consistent order: over every pair and
// triple of a table of awkward versions, the comparison is antisymmetric,
// equality is an equivalence and the order is transitive.
TEST(CompareVersion, OrderIsTransitiveOverATableOfVersions) {
    const wchar_t* versions[] = {
        L"", L"0", L"0.0", L"1", L"1.0", L"1.-1", L"1.beta", L"1.0.0.0", L"1.01", L"1.1", L"1.1.0.1", L"1.2",
        L"1..2", L"1.10", L"1.9", L"1.0009", L"2", L"2147483647", L"2147483648", L"2147483648.0.1",
        L"4294967296", L"1.20240101000000", L"1.20240101123000", L"1.20240101123000.1",
        L"99999999999999999999", L"100000000000000000000", L"1.2beta", L"1.-2.5", L"-3", L"+1", L"x", L"..",
    };
    const size_t n = sizeof versions / sizeof versions[0];
    // cmp(a, b) is 1 when b is higher, -1 when it is lower.
    auto cmp = [](const wchar_t* a, const wchar_t* b) { return CompareVersion(a, b); };
    for (size_t i = 0; i < n; ++i) {
        EXPECT_EQ(0, cmp(versions[i], versions[i])) << versions[i];
        for (size_t j = 0; j < n; ++j) {
            EXPECT_EQ(cmp(versions[i], versions[j]), -cmp(versions[j], versions[i]))
                << versions[i] << " / " << versions[j];
            for (size_t k = 0; k < n; ++k) {
                int ij = cmp(versions[i], versions[j]);
                int jk = cmp(versions[j], versions[k]);
                int ik = cmp(versions[i], versions[k]);
                // i <= j and j <= k give i <= k; equal twice gives equal.
                if (ij >= 0 && jk >= 0) {
                    EXPECT_GE(ik, 0) << versions[i] << " <= " << versions[j] << " <= " << versions[k];
                }
                if (ij == 0 && jk == 0) {
                    EXPECT_EQ(0, ik) << versions[i] << " == " << versions[j] << " == " << versions[k];
                }
                if (ij > 0 && jk > 0) {
                    EXPECT_GT(ik, 0) << versions[i] << " < " << versions[j] << " < " << versions[k];
                }
            }
        }
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
