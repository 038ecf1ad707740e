#include <gtest/gtest.h>
#include <string.h>
#include "client/core/http/http_fetch.h"
#include "client/core/http/http_reader.h"
#include "client/core/reports/login_session.h"
#include "client/core/user_services/user_service_cookie.h"
#include "tests/support/private_service.h"
#include "tests/support/test_support.h"

namespace {

class HttpReader : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(service.ok()) << "local services not running"; }
    PrivateService service;
};

std::string ReadAll(SimpleHttpReader* reader) {
    std::string body;
    char buffer[4096];
    DWORD got = 0;
    while (reader->Read(buffer, sizeof buffer, &got) && got > 0) body.append(buffer, got);
    return body;
}

TEST_F(HttpReader, ConnectsToTheGivenPortAndSendsTheUserAgent) {
    for (DWORD timeout : {0u, 5000u}) {
        SimpleHttpReader reader(timeout);
        ASSERT_TRUE(reader.Open(service.host(), L"/echo/port")) << timeout;
        EXPECT_EQ(service.port(), reader.port());
        DWORD status = 0;
        ASSERT_TRUE(reader.QueryStatus(&status));
        EXPECT_EQ(200u, status);
        EXPECT_NE(std::string::npos, ReadAll(&reader).find("/echo/port"));
    }
    Json::Value log = service.Log();
    ASSERT_EQ(2u, log.size());
    for (const Json::Value& entry : log) EXPECT_EQ("Vantrel", entry["user_agent"].asString());
}

TEST_F(HttpReader, RangeHeaderFollowsTheOffsetIn64Bits) {
    struct Case {
        int64_t offset;
        const char* range;  // nullptr: no Range header
    } cases[] = {
        {-1, nullptr},
        {0, "bytes=0-"},
        {8192, "bytes=8192-"},
        {2147483647LL, "bytes=2147483647-"},
        {5000000000LL, "bytes=5000000000-"},
    };
    for (const Case& c : cases) {
        service.Reset();
        SimpleHttpReader reader(0);
        ASSERT_TRUE(reader.OpenUrl(service.url(L"/echo/range"), -1, c.offset));
        Json::Value log = service.Log();
        ASSERT_EQ(1u, log.size());
        if (c.range) {
            EXPECT_EQ(c.range, log[0]["range"].asString()) << c.offset;
        } else {
            EXPECT_TRUE(log[0]["range"].isNull()) << log[0]["range"].asString();
        }
    }
}

TEST_F(HttpReader, PercentEncodedQueryArrivesByteForByte) {
    const std::wstring query = L"mod=x&w=%E4%B8%AD%E6%96%87%20%2F%3F%26%25%2B&raw=a+b";
    std::string body;
    ASSERT_TRUE(HttpDownloadMem(service.url(L"/echo/q?" + query), &body));
    Json::Value log = service.Log();
    ASSERT_EQ(1u, log.size());
    EXPECT_EQ(std::string(query.begin(), query.end()), log[0]["raw_query"].asString());
    EXPECT_NE(std::string::npos, body.find("%E4%B8%AD%E6%96%87%20%2F%3F%26%25%2B"));
}

TEST_F(HttpReader, ContentLengthIsRead64BitAndRejectedWhenMalformed) {
    struct Case {
        const char* announced;
        bool ok;
        int64_t length;
    } cases[] = {
        {"3000000000", true, 3000000000LL},
        {"12", true, 12},
    };
    for (const Case& c : cases) {
        service.Fault("length", "/echo/", 1, c.announced);
        SimpleHttpReader reader(0);
        ASSERT_TRUE(reader.OpenUrl(service.url(L"/echo/len")));
        int64_t length = -5;
        EXPECT_EQ(c.ok, reader.QueryContentLength(&length)) << c.announced;
        if (c.ok) {
            EXPECT_EQ(c.length, length);
        }
    }
    service.Fault("no_length", "/echo/", 1);
    SimpleHttpReader reader(0);
    ASSERT_TRUE(reader.OpenUrl(service.url(L"/echo/none")));
    int64_t length = -5;
    EXPECT_FALSE(reader.QueryContentLength(&length));
    EXPECT_EQ(-5, length);
}

TEST_F(HttpReader, LocationIsReadWithoutFollowingTheRedirect) {
    std::wstring location;
    ASSERT_TRUE(HttpGetLocation(service.host(), L"/file/77", &location));
    EXPECT_EQ(service.url(L"/files/77.bin"), location);
    Json::Value log = service.Log();
    ASSERT_EQ(1u, log.size());
    EXPECT_EQ("/file/77", log[0]["path"].asString());
    // An answer that is no redirect has no Location.
    EXPECT_FALSE(HttpGetLocation(service.host(), L"/echo/x", &location));
}

TEST_F(HttpReader, TimedOutReadLeavesTheCallersBufferUntouched) {
    service.Fault("stall_body", "/files/", 1, "4");
    SimpleHttpReader reader(700);
    ASSERT_TRUE(reader.OpenUrl(service.url(L"/files/stall.bin?size=65536")));
    std::string buffer(65536, '#');
    DWORD got = 12345;
    // Half the body comes, then nothing: asking for all of it must time out.
    EXPECT_FALSE(reader.Read(&buffer[0], 65536, &got));
    EXPECT_EQ(12345u, got);
    EXPECT_EQ(std::string(65536, '#'), buffer);
    // The reader stays usable only for being destroyed; later steps fail.
    EXPECT_FALSE(reader.Read(&buffer[0], 16, &got));
}

TEST_F(HttpReader, TimedReadGoesOnWhileASlowHostKeepsSending) {
    // 64 KiB at 30 KB/s takes about two seconds, twice the time-out: a live
    // but slow host is not a stalled one.
    service.Fault("throttle", "/files/", 1, "30000");
    SimpleHttpReader reader(1000);
    ASSERT_TRUE(reader.OpenUrl(service.url(L"/files/slow.bin?size=65536")));
    std::string buffer(65536, '#');
    DWORD got = 0;
    ASSERT_TRUE(reader.Read(&buffer[0], 65536, &got));
    EXPECT_EQ(65536u, got);
    EXPECT_TRUE(buffer == PlainGet(service.port(), "/files/slow.bin?size=65536"));
}

TEST_F(HttpReader, StalledHostBeforeHeadersFailsWithinTheTimeout) {
    service.Fault("stall_headers", "/echo/", -1, std::to_string(test_support::kLongStallSeconds));
    SimpleHttpReader reader(1000);
    bool opened = true;
    EXPECT_TRUE(test_support::BackBeforeTheStallEnds([&] { opened = reader.OpenUrl(service.url(L"/echo/stalled")); }));
    EXPECT_FALSE(opened);
}

TEST_F(HttpReader, UserServiceCookieGoesWithTheRequest) {
    std::string cookie = "token=a1b2&x=9";
    LoginSession::Instance().SwapCookie(&cookie);
    std::wstring url = service.url(L"/echo/userservice.aspx?mod=collect&uid=5");
    ASSERT_TRUE(SetUserServiceCookie(url));
    std::string body;
    ASSERT_TRUE(HttpDownloadMem(url, &body));
    Json::Value log = service.Log();
    ASSERT_EQ(1u, log.size());
    EXPECT_NE(std::string::npos, log[0]["cookie"].asString().find("_VANTREL_USER=token=a1b2&x=9"))
        << log[0]["cookie"].asString();
    LoginSession::Instance().SwapCookie(&cookie);
}

// The catalogue's requests (icons and other files, categories, rankings,
// search) go out without cookies even where a cookie is set for their host:
// the memory download beside them, which does carry it, shows that it is.
TEST_F(HttpReader, CatalogueRequestsCarryNoCookie) {
    std::string cookie = "token=c3d4";
    LoginSession::Instance().SwapCookie(&cookie);
    ASSERT_TRUE(SetUserServiceCookie(service.url(L"/echo/userservice.aspx?mod=collect&uid=6")));
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring file = std::wstring(temp) + L"kelvora-no-cookie.bin";
    std::string body;
    EXPECT_TRUE(HttpDownloadMem(service.url(L"/echo/with"), &body));
    EXPECT_TRUE(HttpFetchFile(service.url(L"/echo/file"), file));
    EXPECT_TRUE(HttpDownloadMemWithoutCookies(service.url(L"/echo/answer"), &body));
    DeleteFileW(file.c_str());
    LoginSession::Instance().SwapCookie(&cookie);
    Json::Value log = service.Log();
    ASSERT_EQ(3u, log.size());
    EXPECT_NE(std::string::npos, log[0]["cookie"].asString().find("_VANTREL_USER=token=c3d4"))
        << log[0]["cookie"].asString();
    for (Json::ArrayIndex i = 1; i < log.size(); ++i)
        EXPECT_TRUE(log[i]["cookie"].isNull()) << log[i]["path"].asString() << ": " << log[i]["cookie"].asString();
}

}  // namespace
