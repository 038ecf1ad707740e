#include <gtest/gtest.h>
#include <windows.h>
#include "client/core/reports/report.h"
#include "client/core/reports/union_id.h"
#include "tests/support/private_service.h"
#include "tests/support/test_support.h"

namespace {

TEST(ReportUrl, KeysInOrderWithPlainDecimals) {
    const int32_t soft = 4711, negative_soft = -3;
    struct Case {
        const wchar_t* mod;
        const int32_t* soft_id;
        int32_t union_id;
        const wchar_t* url;
    } cases[] = {
        {L"installpro", nullptr, 1005,
         L"http://r.example/VanTrelService.aspx?mod=installpro&mac=001A2BC30DFF&union_id=1005"},
        {L"uninstallpro", nullptr, -1,
         L"http://r.example/VanTrelService.aspx?mod=uninstallpro&mac=001A2BC30DFF&union_id=-1"},
        {L"activepro", nullptr, 0,
         L"http://r.example/VanTrelService.aspx?mod=activepro&mac=001A2BC30DFF&union_id=0"},
        {L"installsoft", &soft, 1000,
         L"http://r.example/VanTrelService.aspx?mod=installsoft&mac=001A2BC30DFF&soft_id=4711&union_id=1000"},
        {L"installsoft", &negative_soft, 1000,
         L"http://r.example/VanTrelService.aspx?mod=installsoft&mac=001A2BC30DFF&soft_id=-3&union_id=1000"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.url, MakeReportUrl(L"r.example", c.mod, "001A2BC30DFF", c.soft_id, c.union_id));
    }
}

class Reports : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(service.ok()) << "local services not running";
        SetEnvironmentVariableW(L"VANTREL_REPORT_HOST", service.host().c_str());
    }
    void TearDown() override { SetEnvironmentVariableW(L"VANTREL_REPORT_HOST", nullptr); }
    PrivateService service;
};

TEST_F(Reports, EachSendsOneRequestWithItsExactQuery) {
    std::string mac;
    GetReportMac(&mac);
    ASSERT_TRUE(mac == "00000" || (mac.size() == 12 &&
                                   mac.find_first_not_of("0123456789ABCDEF") == std::string::npos))
        << mac;
    struct Case {
        bool (*send)();
        const char* mod;
    } cases[] = {
        {&Report::SubmitInstall, "installpro"},
        {&Report::SubmitUninstall, "uninstallpro"},
        {&Report::SubmitActive, "activepro"},
    };
    for (const Case& c : cases) {
        service.Reset();
        ASSERT_TRUE(c.send()) << c.mod;
        Json::Value log = service.Log();
        ASSERT_EQ(1u, log.size()) << c.mod;
        EXPECT_EQ("/VanTrelService.aspx", log[0]["path"].asString());
        EXPECT_EQ(std::string("mod=") + c.mod + "&mac=" + mac + "&union_id=" +
                      std::to_string(CurrentUnionId()),
                  log[0]["raw_query"].asString());
        EXPECT_EQ("Vantrel", log[0]["user_agent"].asString());
    }
    service.Reset();
    ASSERT_TRUE(Report::Submit(123));
    Json::Value log = service.Log();
    ASSERT_EQ(1u, log.size());
    EXPECT_EQ("mod=installsoft&mac=" + mac + "&soft_id=123&union_id=" + std::to_string(CurrentUnionId()),
              log[0]["raw_query"].asString());
}

TEST_F(Reports, FailureIsReportedAndNotRetried) {
    service.Fault("status500", "/VanTrelService.aspx", -1);
    EXPECT_FALSE(Report::SubmitActive());
    EXPECT_EQ(1u, service.Log().size());
    SetEnvironmentVariableW(L"VANTREL_REPORT_HOST", L"127.0.0.1:9");
    EXPECT_FALSE(Report::SubmitInstall());
}

TEST(UnionId, FileIsReadLikeAtoi) {
    std::wstring dir = test_support::MakeTempDir(L"union");
    struct Case {
        std::string content;
        int32_t value;
    } cases[] = {
        {"1005", 1005},
        {"1000\r\n", 1000},
        {"  -12abc", -12},
        {"+7", 7},
        {"abc", 0},
        {"", 0},
        {std::string(127, ' ') + "55", 0},  // only the first 127 bytes count
        {std::string(125, ' ') + "55", 55},
    };
    for (const Case& c : cases) {
        std::wstring path = dir + L"\\union";
        ASSERT_TRUE(test_support::WriteFileBytes(path, c.content));
        int32_t value = 99;
        EXPECT_TRUE(ReadUnionIdFrom(path, &value));
        EXPECT_EQ(c.value, value) << c.content;
    }
    int32_t value = 99;
    EXPECT_FALSE(ReadUnionIdFrom(dir + L"\\missing", &value));
    EXPECT_EQ(99, value);
    test_support::RemoveTree(dir);
}

TEST(UnionId, AWow64ProcessReadsTheFileOfThe64BitSystemFolder) {
#ifdef _WIN64
    GTEST_SKIP() << "a 64-bit process sees no redirected system folder: this runs in the 32-bit flavour";
#else
    // From a WOW64 process, Sysnative names the 64-bit system folder, and
    // System32 means SysWOW64 while redirection is on.
    const std::wstring native = L"C:\\Windows\\Sysnative\\olm";
    const std::wstring redirected = L"C:\\Windows\\SysWOW64\\olm";
    CreateDirectoryW(native.c_str(), nullptr);
    CreateDirectoryW(redirected.c_str(), nullptr);
    ASSERT_TRUE(test_support::WriteFileBytes(native + L"\\union", "4242"));
    ASSERT_TRUE(test_support::WriteFileBytes(redirected + L"\\union", "17"));
    EXPECT_EQ(4242, ReadUnionId());
    EXPECT_EQ(4242, CurrentUnionId());
    // Redirection is back on for this thread afterwards.
    int32_t seen = 0;
    EXPECT_TRUE(ReadUnionIdFrom(L"C:\\Windows\\System32\\olm\\union", &seen));
    EXPECT_EQ(17, seen);
    test_support::RemoveTree(native);
    test_support::RemoveTree(redirected);
#endif
}

}  // namespace
