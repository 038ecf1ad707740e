// The start-up jobs against private local services: the update check, then
// the version-database refresh, as "version_tips" shows them; and the
// manual check behind its loading window.
#include <stdio.h>

#include <string>

#include "client/core/utilities/local_date.h"
#include "client/core/version/version_mgr.h"
#include "client/windows/dialogs/modal_dialogs.h"
#include "client/windows/main/main_frame_texts.h"
#include "tests/client/windows/main/main_frame_fixture.h"
#include "tests/support/test_support.h"

namespace {

std::wstring Today() {
    LocalDate d = {};
    GetLocalDate(&d);
    wchar_t text[64];
    swprintf(text, 64, MainFrameTexts::kVersionDbDateFormat, d.year, d.month, d.day);
    return text;
}

class StartUp : public MainFrameTest {
protected:
    // What "version_tips" shows when page 0 hears "windowinit": the moment
    // the start-up check has just been started.
    void SetUp() override {
        MainFrameTest::SetUp();
        on_open_ = [this] {
            page(0).on_notify = [this](UiToolkit::TUiNotify& msg) {
                if (msg.sType != L"windowinit") return;
                first_tips_ = Tips();
                first_tips_enabled_ = frame_->Find(L"version_tips")->IsEnabled();
            };
        };
    }
    std::wstring first_tips_;
    bool first_tips_enabled_ = true;

    std::wstring Tips() { return Text(L"version_tips"); }
    bool Settled() {
        std::wstring t = Tips();
        return t == Today() || t == MainFrameTexts::kVersionDbFailed;
    }
    std::vector<std::string> Paths() {
        std::vector<std::string> paths;
        for (const auto& e : Services().Log()) paths.push_back(e["path"].asString());
        return paths;
    }
};

TEST_F(StartUp, VersionTipsThroughTheServicesFaults) {
    const struct Case {
        const char* what;
        const char* check_fault;  // on "/update_version"
        bool stale_copy;          // a database file is there before the start
        const char* fault;
        const char* fault_path;
        const char* fault2;
        const char* fault2_path;
        bool ready;
    } cases[] = {
        {"all answer", nullptr, false, nullptr, nullptr, nullptr, nullptr, true},
        {"the update check fails", "status500", false, nullptr, nullptr, nullptr, nullptr, true},
        {"the update check stalls", "stall_headers", false, nullptr, nullptr, nullptr, nullptr, true},
        {"the update check answers no JSON", "bad_json", false, nullptr, nullptr, nullptr, nullptr, true},
        {"no database to fetch", nullptr, false, "status500", "/VDB", nullptr, nullptr, false},
        {"a cut database", nullptr, false, "short_body", "/VDB", nullptr, nullptr, false},
        {"a stale copy, an unreadable answer", nullptr, true, "bad_json", "/query_vdb", nullptr, nullptr, true},
        {"a stale copy, nothing answers", nullptr, true, "status500", "/query_vdb", "status500", "/VDB", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Services().Reset();
        VersionMgr::ResetForTests();
        std::wstring vdb = data_dir_ + L"\\data\\vdb.dat";
        ::DeleteFileW(vdb.c_str());
        if (c.stale_copy) ASSERT_TRUE(test_support::WriteFileBytes(vdb, "stale"));
        if (c.check_fault) Services().Fault(c.check_fault, "/update_version", -1, "0.5");
        if (c.fault) Services().Fault(c.fault, c.fault_path, -1);
        if (c.fault2) Services().Fault(c.fault2, c.fault2_path, -1);
        Open(true);
        EXPECT_EQ(MainFrameTexts::kCheckingVersion, first_tips_);
        EXPECT_FALSE(first_tips_enabled_);
        ASSERT_TRUE(wintest::PumpUntil([&] { return Settled(); }, 30000));
        EXPECT_EQ(c.ready ? Today() : std::wstring(MainFrameTexts::kVersionDbFailed), Tips());
        EXPECT_EQ(c.ready ? VersionMgr::kDbReady : VersionMgr::kDbFailed, VersionMgr::GetDbState());
        std::vector<std::string> paths = Paths();
        std::string seen;
        for (const std::string& p : paths) seen += p + " ";
        ASSERT_GE(paths.size(), 2u) << seen;
        EXPECT_EQ("/update_version", paths.front()) << seen;
        EXPECT_EQ("/VDB", paths.back()) << seen;
        if (c.stale_copy) EXPECT_EQ(0u, paths[paths.size() - 2].find("/query_vdb/")) << seen;
        Close();
    }
}

class CheckButton : public MainFrameTest {
protected:
    // Clicks "check_update_btn" and answers the box that follows; the text
    // it showed, or "" when none came.
    std::wstring CheckAndReadBox(bool expect_box, bool slow) {
        std::wstring text;
        bool loading_seen = false;
        if (slow) {
            wintest::WhenWindowAppears(L"loading_wnd", [&](HWND h, UiToolkit::WindowImplBase*) {
                loading_seen = true;
                EXPECT_EQ(hwnd(), ::GetWindow(h, GW_OWNER));
                EXPECT_FALSE(::IsWindowEnabled(hwnd()));
            }, 5000);
        }
        if (expect_box) {
            wintest::WhenWindowAppears(L"message_wnd", [&](HWND, UiToolkit::WindowImplBase* w) {
                text = wintest::ControlText(w, L"msg_tip_btn");
                wintest::ClickNamed(w, L"msg_ok_btn");
            }, 20000);
        }
        wintest::ClickControl(hwnd(), frame_->Find(L"check_update_btn"));
        // The click runs the whole check (its modal loops) before it returns.
        wintest::Pump(300);
        EXPECT_EQ(nullptr, wintest::FindOwnWindow(L"loading_wnd"));
        EXPECT_EQ(nullptr, wintest::FindOwnWindow(L"message_wnd"));
        EXPECT_TRUE(::IsWindowEnabled(hwnd()));
        EXPECT_EQ(slow, loading_seen);
        return text;
    }
};

TEST_F(CheckButton, AnswersByTheChecksOutcome) {
    Services();
    Open();
    // A check that fails (slowly, so the loading window can be seen).
    Services().Fault("stall_headers", "/update_version", -1, "0.4");
    EXPECT_EQ(std::wstring(TipMessageMarkup(MainFrameTexts::kNetworkUnavailable).GetData()),
              CheckAndReadBox(true, true));
    Services().Reset();

    PlainGet(Services().port(), "/_version/config?product_ver=1.0.2.7&product_file=v.exe");
    EXPECT_EQ(std::wstring(TipMessageMarkup(MainFrameTexts::kAlreadyLatest).GetData()),
              CheckAndReadBox(true, false));

    // Newer: the self-update window, offering that version; no box.
    PlainGet(Services().port(), "/_version/config?product_ver=1.0.2.8&product_file=v.exe");
    std::wstring offered;
    wintest::WhenWindowAppears(L"update_tip_wnd", [&](HWND h, UiToolkit::WindowImplBase* w) {
        offered = wintest::ControlText(w, L"update_tip_version");
        ::PostMessageW(h, WM_CLOSE, 1, 0);
    }, 20000);
    EXPECT_EQ(L"", CheckAndReadBox(false, false));
    EXPECT_EQ(L"检测到最新版本：1.0.2.8", offered);
}

}  // namespace
