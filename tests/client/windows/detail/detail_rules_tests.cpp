// The detail view's rules, by table: what its stars, texts and button show.
#include <gtest/gtest.h>
#include <limits.h>

#include "client/windows/detail/detail_rules.h"

namespace {

TEST(DetailRules, FullStarsAreTheScoreOverTwentyFromNoneToFive) {
    struct Case {
        int score, full;
    } cases[] = {
        {0, 0},   {19, 0},  {20, 1},   {59, 2},   {60, 3},     {99, 4},       {100, 5},
        {101, 5}, {250, 5}, {-1, 0},   {-20, 0},  {-250, 0},   {INT_MAX, 5},  {INT_MIN, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(c.full, DetailRules::FullStars(c.score)) << c.score;
}

TEST(DetailRules, AnOwnStarGivesTwentyPointsPerStarUpToIt) {
    for (int i = 0; i < DetailRules::kStarCount; ++i) EXPECT_EQ((i + 1) * 20, DetailRules::OwnScore(i));
}

TEST(DetailRules, RatingAndFactTextsAreTheClientsOwn) {
    struct Case {
        std::wstring got, expected;
    } cases[] = {
        {DetailRules::ScoreText(59), L" 59分"},
        {DetailRules::ScoreText(0), L" 0分"},
        {DetailRules::CountText(0), L"0人参与评分"},
        {DetailRules::CountText(1234), L"1234人参与评分"},
        {DetailRules::VersionText(L"9.20.1"), L"软件版本：9.20.1"},
        {DetailRules::VersionText(L""), L"软件版本："},
        {DetailRules::VersionText(std::wstring(600, L'9')), L"软件版本：" + std::wstring(600, L'9')},
        {DetailRules::SizeText(1572864), L"软件大小：1.5MB"},
        {DetailRules::SizeText(0), L"软件大小：0.0MB"},
        {DetailRules::SizeText(1000), L"软件大小：0.0MB"},
        {DetailRules::SizeText(2147483647), L"软件大小：2048.0MB"},
        {DetailRules::SizeText(-1048576), L"软件大小：-1.0MB"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, c.got);
}

TEST(DetailRules, TheButtonAfterAFillFollowsTheDownloadThenTheScan) {
    struct Case {
        const char* name;
        bool downloading, scan_waiting, installed, update;
        const wchar_t* text;
        bool enabled;
    } cases[] = {
        {"downloading, scan running", true, false, false, false, L"下载中", true},
        {"downloading, installed", true, false, true, true, L"下载中", true},
        {"scan running", false, true, false, false, L"正在查询", false},
        {"installed, newer version", false, false, true, true, L"升级", true},
        {"installed", false, false, true, false, L"已安装", true},
        {"not installed", false, false, false, false, L"下载", true},
    };
    for (const Case& c : cases) {
        DetailRules::Standing s;
        s.downloading = c.downloading;
        s.scan_waiting = c.scan_waiting;
        s.installed = c.installed;
        s.update = c.update;
        DetailRules::ButtonLook look = DetailRules::ButtonAfterFill(s);
        EXPECT_STREQ(c.text, look.text) << c.name;
        EXPECT_EQ(c.enabled, look.enabled) << c.name;
    }
}

TEST(DetailRules, TheScansWordsAndTheClicksThatStartADownload) {
    EXPECT_STREQ(L"升级", DetailRules::CheckedText(true));
    EXPECT_STREQ(L"已安装", DetailRules::CheckedText(false));
    struct Case {
        const wchar_t* text;
        const wchar_t* after_scan;
        bool starts;
    } cases[] = {
        {L"正在查询", L"下载", false}, {L"下载", L"下载", true},     {L"升级", L"升级", true},
        {L"已安装", L"已安装", false}, {L"下载中", L"下载中", false}, {L"", L"", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.after_scan, DetailRules::TextAfterScan(c.text)) << c.text;
        EXPECT_EQ(c.starts, DetailRules::ButtonStartsDownload(c.text)) << c.text;
    }
}

TEST(DetailRules, ThePageAddressIsTheProgramFoldersDetailPageWithTheId) {
    EXPECT_EQ(L"C:\\Kelvora\\1.0.2.7\\data\\detail\\detail.html?soft_id=1001",
              DetailRules::PageAddress(L"C:\\Kelvora\\1.0.2.7\\", 1001));
    EXPECT_EQ(L"Z:\\a b\\data\\detail\\detail.html?soft_id=-7", DetailRules::PageAddress(L"Z:\\a b\\", -7));
}

}  // namespace
