#include <gtest/gtest.h>
#include "client/core/http/http_url.h"

namespace {

TEST(SplitHttpUrl, KeepsPortAndPathAsWrittenWithoutDecoding) {
    struct Case {
        const wchar_t* url;
        bool ok;
        const wchar_t* host;
        unsigned short port;
        const wchar_t* path;
    } cases[] = {
        {L"http://catalogue.example/class", true, L"catalogue.example", 80, L"/class"},
        {L"http://127.0.0.1:8123/icon/5", true, L"127.0.0.1", 8123, L"/icon/5"},
        {L"HTTP://Host:80/a", true, L"Host", 80, L"/a"},
        {L"http://h:65535", true, L"h", 65535, L"/"},
        {L"http://h:/x", true, L"h", 80, L"/x"},
        {L"http://h?mod=a", true, L"h", 80, L"/?mod=a"},
        {L"http://h/search/%E4%B8%AD%20x?k=%2F%25&z=1", true, L"h", 80,
         L"/search/%E4%B8%AD%20x?k=%2F%25&z=1"},
        {L"http://h/a#frag", true, L"h", 80, L"/a"},
        {L"http://h/a?b=c:d@e", true, L"h", 80, L"/a?b=c:d@e"},
        {L"https://h/a", false, L"", 0, L""},
        {L"ftp://h/a", false, L"", 0, L""},
        {L"h/a", false, L"", 0, L""},
        {L"http://", false, L"", 0, L""},
        {L"http:///path", false, L"", 0, L""},
        {L"http://:80/path", false, L"", 0, L""},
        {L"http://h:0/a", false, L"", 0, L""},
        {L"http://h:65536/a", false, L"", 0, L""},
        {L"http://h:8o/a", false, L"", 0, L""},
        {L"http://user:pw@h/a", false, L"", 0, L""},
    };
    for (const Case& c : cases) {
        std::wstring host = L"-", path = L"-";
        unsigned short port = 1;
        EXPECT_EQ(c.ok, SplitHttpUrl(c.url, &host, &port, &path)) << c.url;
        if (!c.ok) {
            EXPECT_EQ(L"-", host);
            continue;
        }
        EXPECT_EQ(c.host, host) << c.url;
        EXPECT_EQ(c.port, port) << c.url;
        EXPECT_EQ(c.path, path) << c.url;
    }
}

}  // namespace
