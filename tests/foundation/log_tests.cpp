#include <gtest/gtest.h>
#include <windows.h>
#include <regex>
#include <sstream>
#include <string>
#include <vector>
#include "foundation/log/log.h"
#include "foundation/log/log_format.h"
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

// The message part of a log line, after checking its time prefix.
std::string MessageOf(const std::string& line) {
    static const std::regex line_re(R"(^\d{4}-[1-9]\d?-[1-9]\d? [1-9]?\d:[1-9]?\d:[1-9]?\d: (.*)$)");
    std::smatch m;
    if (!std::regex_match(line, m, line_re)) return "<no prefix: " + line + ">";
    return m[1].str();
}

// Names the ANSI code page cannot hold went into the file cut at their first
// such character; the file holds UTF-8 now.
TEST(Log, WideNamesAreWrittenWholeAsUtf8) {
    struct Case {
        const wchar_t* name;
        const char* utf8;
    } cases[] = {
        {L"腾讯QQ", "腾讯QQ"},
        {L"Kelvora 下载器 2.0 (测试版)", "Kelvora 下载器 2.0 (测试版)"},
        {L"Smile \U0001F600 表情", "Smile \xF0\x9F\x98\x80 表情"},  // a surrogate pair
        {L"", ""},
    };
    std::string path = TempLogPath("wide");
    ASSERT_TRUE(log_open(path.c_str()));
    for (const Case& c : cases) {
        std::wstring file = std::wstring(L"C:\\Kelvora\\Downloads\\") + c.name + L".exe";
        // The install job's and the installed page's lines.
        log_error("%s: cannot start %ls (%lu)", "InstallThreadProc", file.c_str(), 2ul);
        log_trace("%s: page %d of %d records: %ls", "UninstallSoft::ShowPage", 1, 1,
                  (std::wstring(c.name) + L"|2024/5/6|1.50 MB").c_str());
    }
    std::vector<std::string> lines = ReadLines(path);
    ASSERT_EQ(2 * (sizeof cases / sizeof cases[0]), lines.size());
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        const std::string name = cases[i].utf8;
        EXPECT_EQ("InstallThreadProc: cannot start C:\\Kelvora\\Downloads\\" + name + ".exe (2)",
                  MessageOf(lines[2 * i]));
        EXPECT_EQ("UninstallSoft::ShowPage: page 1 of 1 records: " + name + "|2024/5/6|1.50 MB",
                  MessageOf(lines[2 * i + 1]));
    }
}

TEST(Log, MessagesFormatLikeTheCLibraryApartFromWideText) {
    // What the callers use, and the corners of the rest.
    EXPECT_EQ("A::B: 7 -3 4294967295 18446744073709551615 -9 00c0ffee 0x1f %",
              log_format("%s: %d %d %lu %llu %lld %08lx %#x %%", "A::B", 7, -3, 4294967295ul,
                         18446744073709551615ull, -9ll, 0xc0ffeeul, 0x1f));
    EXPECT_EQ("[   42] [42  ] [0042] [+42] [ -7]",
              log_format("[%5d] [%-4d] [%04d] [%+d] [%*d]", 42, 42, 42, 42, 3, -7));
    EXPECT_EQ("2.50|1e+03|abc|ab|  x|y  ",
              log_format("%.2f|%.0e|%s|%.2s|%3c|%-3c", 2.5, 1000.0, "abc", "abc", 'x', 'y'));
    EXPECT_EQ("-1 65535 200 -5", log_format("%hhd %hu %zu %td", 255, 65535, static_cast<size_t>(200),
                                             static_cast<ptrdiff_t>(-5)));
    EXPECT_EQ("(null) (null)", log_format("%s %ls", static_cast<const char*>(nullptr),
                                          static_cast<const wchar_t*>(nullptr)));
    EXPECT_EQ("", log_format("%s", ""));
    char pointer[32];
    snprintf(pointer, sizeof pointer, "%p", static_cast<void*>(pointer));
    EXPECT_EQ(pointer, log_format("%p", static_cast<void*>(pointer)));
}

TEST(Log, WideTextBecomesUtf8WithWidthAndPrecisionInBytes) {
    EXPECT_EQ("中文 and 中", log_format("%ls and %lc", L"中文", L'中'));
    EXPECT_EQ("中文", log_format("%S", L"中文"));
    EXPECT_EQ("中", log_format("%.5ls", L"中文"));  // never half a character
    EXPECT_EQ("\xF0\x9F\x98\x80", log_format("%.4ls", L"\U0001F600\U0001F600"));
    EXPECT_EQ("", log_format("%.3ls", L"\U0001F600"));
    EXPECT_EQ("[  中]", log_format("[%5ls]", L"中"));
    EXPECT_EQ("[中  ]", log_format("[%-5ls]", L"中"));
    EXPECT_EQ("[中  ]", log_format("[%*ls]", -5, L"中"));
    const wchar_t lone[] = {L'a', 0xD83D, L'b', 0};  // a high surrogate with no low one
    EXPECT_EQ("a\xEF\xBF\xBD" "b", log_format("%ls", lone));
}

// Formats the compiler would refuse, as a broken caller could still pass them.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat"
#pragma GCC diagnostic ignored "-Wformat-extra-args"
TEST(Log, AnUnknownConversionEndsTheMessageWithoutReadingArguments) {
    EXPECT_EQ("name=n rest %y %s %d", log_format("name=%s rest %y %s %d", "n", "never read", 5));
    EXPECT_EQ("cut %", log_format("cut %"));
    EXPECT_EQ("cut %-5", log_format("cut %-5"));
    EXPECT_EQ("big 12345678901", log_format("big %I64d", 12345678901ll));
}
#pragma GCC diagnostic pop

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
