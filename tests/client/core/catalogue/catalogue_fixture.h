#pragma once
// A private session of the local services acting as the catalogue host, and
// a log file the tests can read.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "foundation/log/log.h"
#include "tests/support/private_service.h"
#include "tests/support/test_support.h"

class CatalogueTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static bool opened = false;
        if (!opened) {
            char dir[MAX_PATH];
            GetTempPathA(MAX_PATH, dir);
            log_path() = std::string(dir) + "kelvora-catalogue-" + std::to_string(GetCurrentProcessId()) + ".log";
            opened = log_open(log_path().c_str());
        }
    }

    void SetUp() override {
        ASSERT_TRUE(service_.ok());
        SetEnvironmentVariableW(L"VANTREL_CATALOGUE_HOST", service_.host().c_str());
        log_start_ = LogText().size();
    }

    static std::string& log_path() {
        static std::string path;
        return path;
    }

    static std::string LogText() {
        std::string text;
        test_support::ReadFileBytes(std::wstring(log_path().begin(), log_path().end()), &text);
        return text;
    }
    // Log lines written since the test started.
    std::string NewLog() { return LogText().substr(log_start_); }

    // Paths requested since the last reset, in order.
    std::vector<std::string> Requests() {
        std::vector<std::string> paths;
        Json::Value log = service_.Log();
        for (Json::ArrayIndex i = 0; log.isArray() && i < log.size(); ++i) {
            std::string path = log[i]["path"].asString();
            paths.push_back(path);
        }
        return paths;
    }

    // A fault on this session; `arg` is sent percent-encoded.
    void Fault(const std::string& mode, const std::string& path, int count, const std::string& arg = "") {
        std::string encoded;
        char hex[4];
        for (unsigned char c : arg) {
            snprintf(hex, sizeof hex, "%%%02X", c);
            encoded += hex;
        }
        // Built here: the arguments may be longer than PrivateService::Fault takes.
        service_.Control("fault?mode=" + mode + "&path=" + path + "&count=" + std::to_string(count) +
                         "&arg=" + encoded);
    }

    PrivateService service_;
    size_t log_start_ = 0;
};
