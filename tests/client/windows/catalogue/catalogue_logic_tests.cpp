// The catalogue rows' plain rules, by table: the size text, the stars, the
// name an install is confirmed by, and the registry of rows that wait for
// late results.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

#include <string>
#include <thread>
#include <vector>

#include "client/windows/catalogue/install_job.h"
#include "client/windows/catalogue/row_looks.h"
#include "client/windows/catalogue/row_waits.h"
#include "client/windows/catalogue/soft_size_text.h"

namespace {

TEST(SoftSizeText, BoundariesAndBrokenSizes) {
    const struct {
        int64_t bytes;
        const wchar_t* text;
    } cases[] = {
        {0, L""},
        {-1, L""},                    // a broken answer: no huge "G"
        {-2147483648LL, L""},
        {1, L"1B"},
        {1024, L"1024B"},
        {1025, L"1.00K"},
        {1048575, L"1024.00K"},
        {1048576, L"1048576B"},       // exactly 1 MiB stays in bytes
        {1048577, L"1.00M"},
        {1572864, L"1.50M"},
        {1073741823, L"1024.00M"},
        {1073741824, L"1073741824B"}, // exactly 1 GiB stays in bytes
        {1073741825, L"1.00G"},
        {2147483647, L"2.00G"},
        {5368709120LL, L"5.00G"},     // beyond 32 bits
    };
    for (const auto& c : cases) EXPECT_EQ(c.text, FormatSoftSize(c.bytes)) << c.bytes;
}

TEST(RowStars, ScoreToFullStars) {
    const struct {
        int score, full;
    } cases[] = {{87, 4}, {100, 5}, {19, 0}, {20, 1}, {0, 0}, {-40, 0}, {500, 5}, {99, 4}};
    for (const auto& c : cases) EXPECT_EQ(c.full, RowLooks::FullStars(c.score)) << c.score;
}

TEST(RowLooksTable, TextsAndImagesOfEachLook) {
    const struct {
        RowLooks::Look look;
        const wchar_t* text;
        const wchar_t* action;
        const wchar_t* menu;
    } cases[] = {
        {RowLooks::kDownload, L"下载", L"default\\main\\download_1.png", L"default\\main\\download_menu_1.png"},
        {RowLooks::kUpgrade, L"升级", L"default\\main\\update_1.png", L"default\\main\\update_menu_1.png"},
        {RowLooks::kInstalled, L"已安装", L"default\\main\\installed_1.png", L"default\\main\\installed_menu_1.png"},
        {RowLooks::kQuerying, L"正在查询", L"default\\main\\download_1.png", L"default\\main\\download_menu_1.png"},
    };
    for (const auto& c : cases) {
        const RowLooks::LookImages& images = RowLooks::ImagesOf(c.look);
        EXPECT_STREQ(c.text, images.text);
        EXPECT_STREQ(c.action, images.action[0]);
        EXPECT_STREQ(c.menu, images.menu[0]);
        EXPECT_NE(std::wstring::npos, std::wstring(images.action[2]).find(L"_3.png"));
        EXPECT_NE(std::wstring::npos, std::wstring(images.menu[1]).find(L"_menu_2.png"));
    }
}

TEST(InstallName, EitherHoldsTheOtherAndEmptyNeverMatches) {
    const struct {
        const wchar_t* display;
        const wchar_t* wanted;
        bool match;
    } cases[] = {
        {L"飞鸽聊天", L"飞鸽聊天", true},
        {L"飞鸽聊天 3.2.1", L"飞鸽聊天", true},    // the entry holds the name
        {L"chat", L"feige chat pro", true},        // the name holds the entry
        {L"蓝鲸浏览器", L"飞鸽聊天", false},
        {L"", L"飞鸽聊天", false},                  // an entry without a name
        {L"飞鸽聊天", L"", false},                  // a record without a name
        {L"", L"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.match, InstallNameMatches(c.display, c.wanted))
            << wcslen(c.display) << " / " << wcslen(c.wanted);
}

TEST(InstallName, LookupNamePrefersTheInstallNameLowerCased) {
    Software soft;
    soft.soft_name = L"Feige Chat";
    EXPECT_EQ(L"feige chat", InstallLookupName(soft));
    soft.install_name = L"FeiGe Setup";
    EXPECT_EQ(L"feige setup", InstallLookupName(soft));
    soft.install_name.clear();
    soft.soft_name.clear();
    EXPECT_EQ(L"", InstallLookupName(soft));
}

TEST(RowIdentity, NeverRepeatsAcrossThreads) {
    std::vector<uint64_t> seen[4];
    std::vector<std::thread> threads;
    for (auto& s : seen)
        threads.emplace_back([&s] {
            for (int i = 0; i < 1000; ++i) s.push_back(NewRowIdentity());
        });
    for (auto& t : threads) t.join();
    std::vector<uint64_t> all;
    for (auto& s : seen) all.insert(all.end(), s.begin(), s.end());
    std::sort(all.begin(), all.end());
    EXPECT_EQ(all.end(), std::adjacent_find(all.begin(), all.end()));
    EXPECT_NE(0u, all.front());
}

// Two rows of one id each get their own result; a row that left gets none,
// and its leaving does not take the other's place.
TEST(RowWaitsRegistry, EveryLiveRowOfAnIdIsServedOnce) {
    RowWaits waits;
    const uint64_t first = NewRowIdentity(), second = NewRowIdentity(), gone = NewRowIdentity();
    waits.Add(7, first);
    waits.Add(7, second);
    waits.Add(7, gone);
    waits.Remove(7, gone);
    EXPECT_EQ(2u, waits.Size());
    int posts = 0;
    EXPECT_FALSE(waits.TakeAndRun(7, gone, [&] { ++posts; }));
    EXPECT_TRUE(waits.TakeAndRun(7, second, [&] { ++posts; }));
    EXPECT_TRUE(waits.Holds(7, first));
    EXPECT_FALSE(waits.TakeAndRun(7, second, [&] { ++posts; }));  // served once
    EXPECT_TRUE(waits.TakeAndRun(7, first, [&] { ++posts; }));
    EXPECT_EQ(2, posts);
    EXPECT_EQ(0u, waits.Size());
    EXPECT_FALSE(waits.TakeAndRun(8, first, nullptr));
    waits.Remove(9, first);  // nothing to remove: no effect
    EXPECT_EQ(0u, waits.Size());
}

// A row removing itself waits for a post in progress, so nothing is posted
// for it once its destructor has gone past the removal.
TEST(RowWaitsRegistry, RemovalWaitsForAPostInProgress) {
    RowWaits waits;
    const uint64_t row = NewRowIdentity();
    waits.Add(3, row);
    std::atomic<bool> posting(false), removed(false), posted_after_removal(false);
    std::thread poster([&] {
        waits.TakeAndRun(3, row, [&] {
            posting = true;
            ::Sleep(200);
            if (removed) posted_after_removal = true;
        });
    });
    while (!posting) ::Sleep(1);
    waits.Remove(3, row);
    removed = true;
    poster.join();
    EXPECT_FALSE(posted_after_removal);
}

}  // namespace
