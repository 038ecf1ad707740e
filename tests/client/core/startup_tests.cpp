#include <gtest/gtest.h>
#include "client/core/startup/command_line.h"
#include "client/core/startup/crash_dump.h"
#include "client/core/startup/host_config.h"

namespace {

TEST(ClientRunMode, OnlyASingleArgumentIsASwitchAndCaseDoesNotMatter) {
    struct Case {
        std::vector<std::wstring> args;
        ClientRunMode expected;
    } cases[] = {
        {{}, ClientRunMode::Normal},
        {{L"shutdown"}, ClientRunMode::Shutdown},
        {{L"SHUTDOWN"}, ClientRunMode::Shutdown},
        {{L"ShutDown"}, ClientRunMode::Shutdown},
        {{L"report_install"}, ClientRunMode::ReportInstall},
        {{L"Report_Install"}, ClientRunMode::ReportInstall},
        {{L"REPORT_UNINSTALL"}, ClientRunMode::ReportUninstall},
        {{L"shutdown", L"now"}, ClientRunMode::Normal},
        {{L"shutdown "}, ClientRunMode::Normal},
        {{L"report"}, ClientRunMode::Normal},
        {{L""}, ClientRunMode::Normal},
        {{L"--crash"}, ClientRunMode::Normal},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, ParseClientRunMode(c.args))
            << (c.args.empty() ? std::string("(none)") : std::string(c.args[0].begin(), c.args[0].end()));
    }
}

TEST(HostConfig, SplitsHostAndPort) {
    struct Case {
        const wchar_t* value;
        bool ok;
        const wchar_t* host;
        unsigned short port;
    } cases[] = {
        {L"catalogue.vantrel.example", true, L"catalogue.vantrel.example", 80},
        {L"127.0.0.1:8123", true, L"127.0.0.1", 8123},
        {L"localhost:65535", true, L"localhost", 65535},
        {L"localhost:65536", true, L"localhost", 80},
        {L"localhost:0", true, L"localhost", 80},
        {L"localhost:", true, L"localhost", 80},
        {L"localhost:12ab", true, L"localhost", 80},
        {L"localhost:1234567", true, L"localhost", 80},
        {L"", false, L"", 0},
        {L":8080", false, L"", 0},
    };
    for (const Case& c : cases) {
        std::wstring host = L"unchanged";
        unsigned short port = 1;
        EXPECT_EQ(c.ok, SplitHostPort(c.value, 80, &host, &port)) << c.value;
        if (c.ok) {
            EXPECT_EQ(c.host, host) << c.value;
            EXPECT_EQ(c.port, port) << c.value;
        } else {
            EXPECT_EQ(L"unchanged", host);
            EXPECT_EQ(1, port);
        }
    }
}

TEST(HostConfig, EnvironmentOverridesTheCompiledInDefault) {
    SetEnvironmentVariableW(L"VANTREL_REPORT_HOST", nullptr);
    std::wstring fallback = ServiceHostName(ServiceHost::Report);
    EXPECT_NE(std::wstring::npos, fallback.find(L".example"));
    SetEnvironmentVariableW(L"VANTREL_REPORT_HOST", L"127.0.0.1:9999");
    EXPECT_EQ(L"127.0.0.1:9999", ServiceHostName(ServiceHost::Report));
    EXPECT_STREQ(L"VANTREL_CATALOGUE_HOST", ServiceHostVariable(ServiceHost::Catalogue));
    EXPECT_STREQ(L"VANTREL_LOGIN_HOST", ServiceHostVariable(ServiceHost::Login));
    EXPECT_STREQ(L"VANTREL_USER_HOST", ServiceHostVariable(ServiceHost::User));
    SetEnvironmentVariableW(L"VANTREL_REPORT_HOST", nullptr);
}

TEST(CrashDump, FileNameIsProgramPathTickAndDmp) {
    EXPECT_EQ(L"C:\\app\\vantrel.exe.12345.dmp", CrashDumpFileName(L"C:\\app\\vantrel.exe", 12345));
    // The tick count is formatted as a signed number.
    EXPECT_EQ(L"C:\\a.exe.-1.dmp", CrashDumpFileName(L"C:\\a.exe", 0xFFFFFFFFu));
    std::wstring longest(300, L'x');
    EXPECT_EQ(259u, CrashDumpFileName(longest.c_str(), 1).size());
}

}  // namespace
