#include <gtest/gtest.h>
#include <windows.h>
#include <regex>
#include <sstream>
#include <string>
#include <vector>
#include "foundation/log/log.h"
#include "tests/support/test_support.h"

namespace {

std::vector<std::string> ReadLines(const std::string& path) {
    std::string text;
    std::wstring wpath(path.begin(), path.end());
    test_support::ReadFileBytes(wpath, &text);
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        // The log is a text-mode stream: lines end in CR LF on disk.
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string TempLogPath(const char* name) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    char path[MAX_PATH];
    snprintf(path, sizeof path, "%skelvora-log-%lu-%s.log", dir, GetCurrentProcessId(), name);
    return path;
}

const int kLines = 400;

DWORD WINAPI WriteTaggedLines(void* arg) {
    char tag = *static_cast<char*>(arg);
    std::string payload(200, tag);
    for (int i = 0; i < kLines; ++i) log_trace("%s: %s", "Writer", payload.c_str());
    return 0;
}

DWORD WINAPI WriteUntilStopped(void* arg) {
    volatile LONG* stop = static_cast<volatile LONG*>(arg);
    while (!*stop) log_error("%s: still writing", "Writer");
    return 0;
}

// Runs first (declaration order): nothing is open yet.
TEST(Log, EntryPointsDoNothingBeforeTheFileIsOpened) {
    EXPECT_FALSE(log_enabled());
    log_trace("%s: nothing", "Test");
    log_error("%s: nothing", "Test");
}

TEST(Log, PrefixHasNoZeroPadding) {
    struct Case {
        int y, mo, d, h, mi, s;
        const char* expected;
    } cases[] = {
        {2014, 3, 5, 9, 7, 3, "2014-3-5 9:7:3:"},
        {2026, 12, 31, 23, 59, 59, "2026-12-31 23:59:59:"},
        {2000, 1, 1, 0, 0, 0, "2000-1-1 0:0:0:"},
    };
    for (const Case& c : cases) {
        char buf[64];
        log_format_prefix(buf, sizeof buf, c.y, c.mo, c.d, c.h, c.mi, c.s);
        EXPECT_STREQ(c.expected, buf);
    }
}

TEST(Log, LineFormatAndLevels) {
    std::string path = TempLogPath("levels");
    ASSERT_TRUE(log_open(path.c_str()));
    EXPECT_EQ(2, log_level());
    log_trace("%s: trace at %d", "Test::Levels", 2);
    log_error("%s: error at %d", "Test::Levels", 2);
    log_set_level(1);
    log_trace("%s: trace at %d", "Test::Levels", 1);
    log_error("%s: error at %d", "Test::Levels", 1);
    log_set_level(0);
    log_trace("%s: trace at %d", "Test::Levels", 0);
    log_error("%s: error at %d", "Test::Levels", 0);
    log_set_level(2);
    std::vector<std::string> lines = ReadLines(path);
    ASSERT_EQ(3u, lines.size());
    std::regex line_re(R"(^\d{4}-[1-9]\d?-[1-9]\d? ([1-9]?\d):([1-9]?\d):([1-9]?\d): (.*)$)");
    std::smatch m;
    ASSERT_TRUE(std::regex_match(lines[0], m, line_re)) << lines[0];
    EXPECT_EQ("Test::Levels: trace at 2", m[4].str());
    ASSERT_TRUE(std::regex_match(lines[1], m, line_re)) << lines[1];
    EXPECT_EQ("Test::Levels: error at 2", m[4].str());
    ASSERT_TRUE(std::regex_match(lines[2], m, line_re)) << lines[2];
    EXPECT_EQ("Test::Levels: error at 1", m[4].str());
}

TEST(Log, OpeningTruncatesThePreviousRun) {
    std::string path = TempLogPath("truncate");
    ASSERT_TRUE(log_open(path.c_str()));
    log_trace("%s: first run", "Test");
    ASSERT_TRUE(log_open(path.c_str()));
    log_trace("%s: second run", "Test");
    std::vector<std::string> lines = ReadLines(path);
    ASSERT_EQ(1u, lines.size());
    EXPECT_NE(std::string::npos, lines[0].find("second run"));
}

TEST(Log, ConcurrentLinesNeverInterleave) {
    std::string path = TempLogPath("threads");
    ASSERT_TRUE(log_open(path.c_str()));
    char a = 'a', b = 'b';
    HANDLE t1 = CreateThread(nullptr, 0, WriteTaggedLines, &a, 0, nullptr);
    HANDLE t2 = CreateThread(nullptr, 0, WriteTaggedLines, &b, 0, nullptr);
    WaitForSingleObject(t1, INFINITE);
    WaitForSingleObject(t2, INFINITE);
    CloseHandle(t1);
    CloseHandle(t2);
    std::vector<std::string> lines = ReadLines(path);
    ASSERT_EQ(2u * kLines, lines.size());
    for (const std::string& line : lines) {
        size_t at = line.find("Writer: ");
        ASSERT_NE(std::string::npos, at) << line;
        std::string payload = line.substr(at + 8);
        ASSERT_EQ(200u, payload.size()) << line;
        EXPECT_TRUE(payload == std::string(200, 'a') || payload == std::string(200, 'b')) << line;
    }
}

TEST(Log, CloseStopsLoggingWhileOthersMayStillWrite) {
    std::string path = TempLogPath("close");
    ASSERT_TRUE(log_open(path.c_str()));
    volatile LONG stop = 0;
    HANDLE t = CreateThread(nullptr, 0, WriteUntilStopped, const_cast<LONG*>(&stop), 0, nullptr);
    Sleep(50);
    log_close();  // what the exit handler does
    EXPECT_FALSE(log_enabled());
    Sleep(20);
    InterlockedExchange(&stop, 1);
    WaitForSingleObject(t, INFINITE);
    CloseHandle(t);
    size_t before = ReadLines(path).size();
    log_error("%s: after close", "Test");
    EXPECT_EQ(before, ReadLines(path).size());
}

TEST(Log, OpenFailsSilentlyWhenTheFolderIsMissing) {
    EXPECT_FALSE(log_open("Z:\\no\\such\\folder\\vantrel.log"));
    EXPECT_FALSE(log_enabled());
    log_error("%s: nowhere", "Test");
}

}  // namespace
