// The installed-programs page's arithmetic and texts.
#include <gtest/gtest.h>

#include "client/windows/installed/installed_rows.h"

namespace {

SysInstallSoftPtr Soft(const wchar_t* name, int32_t date) {
    auto soft = std::make_shared<SysInstallSoft>();
    soft->display_name = name;
    soft->install_date = date;
    return soft;
}

std::wstring Names(const SysInstallSoftList& list) {
    std::wstring names;
    for (const auto& s : list) names += s->display_name + L" ";
    return names;
}

TEST(InstalledRows, NewestFirstAndOneDayKeepsTheScanOrder) {
    SysInstallSoftList list = {Soft(L"a", 20200101), Soft(L"b", 20230505), Soft(L"c", 0),
                               Soft(L"d", 20230505), Soft(L"e", 20211231), Soft(L"f", 20230505)};
    SortNewestFirst(&list);
    EXPECT_EQ(L"b d f e a c ", Names(list));
    SysInstallSoftList empty;
    SortNewestFirst(&empty);
    EXPECT_TRUE(empty.empty());
}

TEST(InstalledRows, PagesOfTwenty) {
    const struct {
        size_t total;
        int page;
        size_t first, count;
    } cases[] = {
        {45, 1, 0, 20},  {45, 2, 20, 20}, {45, 3, 40, 5}, {45, 4, 0, 0}, {45, 0, 0, 0},
        {45, -1, 0, 0},  {40, 2, 20, 20}, {40, 3, 0, 0},  {0, 1, 0, 0},  {1, 1, 0, 1},
        {21, 2, 20, 1},
    };
    for (const auto& c : cases) {
        InstalledPageSlice slice = SliceOfPage(c.total, c.page);
        EXPECT_EQ(c.count, slice.count) << c.total << " page " << c.page;
        if (c.count) {
            EXPECT_EQ(c.first, slice.first) << c.total << " page " << c.page;
        }
    }
}

TEST(InstalledRows, CaptionAndSizeTexts) {
    EXPECT_EQ(L"亲，您一共安装了软件 45 款", InstalledCaption(45));
    EXPECT_EQ(L"亲，您一共安装了软件 0 款", InstalledCaption(0));
    const struct {
        uint32_t kb;
        const wchar_t* text;
    } sizes[] = {
        {0, L""}, {1500, L"1.50 MB"}, {1, L"0.00 MB"}, {5, L"0.01 MB"}, {1000, L"1.00 MB"},
        // The size is unsigned: the largest value is no negative number.
        {0x80000000u, L"2147483.65 MB"},
    };
    for (const auto& s : sizes) EXPECT_EQ(s.text, InstalledSizeText(s.kb)) << s.kb;
}

}  // namespace
