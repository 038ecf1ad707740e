// The download strip: its speed texts by table, and the widget in a window
// of its own, driven by the notifications the dispatcher and its row give
// it: reports, stops, restarts, failures and the clicks of its buttons.
#include <gtest/gtest.h>

#include <string>

#include "client/core/downloads/download_task_registry.h"
#include "client/windows/downloads/download_progress.h"
#include "client/windows/downloads/speed_text.h"
#include "client/windows/main/live_targets.h"
#include "client/windows/main/message_records.h"
#include "tests/client/windows/support/window_test_support.h"
#include "tests/support/test_support.h"
#include "uitoolkit/window/window_impl_base.h"

namespace {

TEST(SpeedText, WholeUnitsInReportsAndTwoDecimalsWhenBuilt) {
    const struct {
        int32_t speed;
        const wchar_t* whole;
        const wchar_t* decimal;
    } cases[] = {
        {0, L"0 B/S", L"0 B/S"},
        {1023, L"1023 B/S", L"1023 B/S"},
        {1024, L"1 KB/S", L"1.00 KB/S"},
        {1536, L"1 KB/S", L"1.50 KB/S"},
        {1048575, L"1023 KB/S", L"1024.00 KB/S"},
        {1572864, L"1 MB/S", L"1.50 MB/S"},
        {1073741824, L"1 GB/S", L"1.00 GB/S"},
        {2147483647, L"1 GB/S", L"2.00 GB/S"},
        {-1, L"3 GB/S", L"4.00 GB/S"},  // read as unsigned, as every view shows it
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.whole, FormatSpeedWhole(c.speed)) << c.speed;
        EXPECT_EQ(c.decimal, FormatSpeedDecimal(c.speed)) << c.speed;
    }
    EXPECT_EQ(L"45%", FormatPercent(45));
    EXPECT_EQ(L"-1%", FormatPercent(-1));
}

const int kFirstId = 9101;
const int kSecondId = 9102;

// Two catalogue-row strips side by side in one window.
class StripWindow : public UiToolkit::WindowImplBase {
public:
    DownloadProgress* strips[2] = {};

protected:
    const wchar_t* WindowClassName() const override { return L"StripTestWindow"; }
    const wchar_t* SkinFolder() const override { return L""; }
    const wchar_t* SkinFile() const override {
        // The main window's fonts, as skin.xml declares them: the rows live there.
        return L"<Window size=\"660,70\">"
               L"<Font name=\"微软雅黑\" size=\"12\" default=\"true\"/>"
               L"<Font name=\"微软雅黑\" size=\"14\" bold=\"true\"/>"
               L"<Font name=\"微软雅黑\" size=\"13\"/>"
               L"<Font name=\"微软雅黑\" size=\"22\" bold=\"true\"/>"
               L"<Font name=\"微软雅黑\" size=\"14\"/>"
               L"<Font name=\"微软雅黑\" size=\"11\"/>"
               L"<HorizontalLayout name=\"plane\" bkcolor=\"#FFFFFFFF\"/></Window>";
    }
    void OnSkinReady() override {
        auto* plane = static_cast<UiToolkit::CContainerUI*>(m_manager.FindControl(L"plane"));
        const int ids[2] = {kFirstId, kSecondId};
        for (int i = 0; i < 2; ++i) {
            auto soft = std::make_shared<Software>();
            soft->soft_id = ids[i];
            strips[i] = new DownloadProgress;
            strips[i]->SetFixedWidth(320);
            strips[i]->SetFixedHeight(66);
            strips[i]->Build(soft, 0, false, false, 0, 0, L"default\\progress\\progress_sbar_fg.png",
                             L"default\\progress\\progress_sbar_bg.png");
            plane->Add(strips[i]);
        }
    }
};

// Counts what the registry tells the views of one id.
class CountingView : public DownloadTaskObserver {
public:
    void OnPrepare() override { ++prepares; }
    void OnProgress(const std::shared_ptr<DownloadTask>&) override {}
    void OnComplete(const std::shared_ptr<DownloadTask>&) override {}
    void OnDelete() override { ++deletes; }
    void OnRestart() override { ++restarts; }
    void OnStop() override { ++stops; }
    int prepares = 0, deletes = 0, restarts = 0, stops = 0;
};

class Strip : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        wintest::UseDistSkin();
        window_ = new StripWindow;
        window_->Create(nullptr, L"strips", WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW, 20, 20, 660, 70);
        wintest::Pump(100);
    }
    static void TearDownTestSuite() {
        if (window_->GetHWND()) ::DestroyWindow(window_->GetHWND());
        delete window_;
    }
    void SetUp() override {
        // Back to the catalogue row's first look: both buttons disabled.
        for (DownloadProgress* s : window_->strips) {
            s->StartButton()->SetEnabled(false);
            s->StopButton()->SetEnabled(false);
            s->ShowProgress(0, L"0%", L"0 B/S");
        }
    }
    DownloadProgress& strip(int i = 0) { return *window_->strips[i]; }

    static void Deliver(DownloadProgress& s, const wchar_t* type, WPARAM wParam = 0) {
        UiToolkit::TUiNotify msg;
        msg.sType = type;
        msg.pSender = &s;
        msg.wParam = wParam;
        s.Notify(msg);
    }
    // A heap record as the rows post it; whether the strip freed it.
    static bool Report(DownloadProgress& s, int32_t state, int32_t percent, int32_t speed) {
        DownloadProgressRecord* record = new DownloadProgressRecord;
        record->state = state;
        record->percent = percent;
        record->speed = speed;
        wintest::WatchDelete(record);
        Deliver(s, L"wm_downloading", reinterpret_cast<WPARAM>(record));
        return wintest::WatchedDeleted();
    }
    static std::wstring Text(UiToolkit::CControlUI* c) { return c->GetText().GetData(); }
    std::string Buttons(int i = 0) {
        return std::string(strip(i).StartButton()->IsEnabled() ? "start" : "-") + "/" +
               (strip(i).StopButton()->IsEnabled() ? "stop" : "-");
    }

    static StripWindow* window_;
};

StripWindow* Strip::window_ = nullptr;

TEST_F(Strip, BuiltForACatalogueRowAndForTheDownloadCentre) {
    EXPECT_EQ("-/-", Buttons());
    EXPECT_EQ(L"0%", Text(strip().PercentText()));
    EXPECT_EQ(L"0 B/S", Text(strip().SpeedText()));
    EXPECT_EQ(kFirstId, strip().SoftId());
    EXPECT_EQ(L"9101", std::wstring(strip().DeleteButton()->GetUserData().GetData()));

    // A strip built from a running task's values, as the download centre does.
    DownloadProgress built;
    built.SetFixedWidth(500);
    built.SetFixedHeight(48);
    auto soft = std::make_shared<Software>();
    soft->soft_id = 77;
    built.Build(soft, 45, true, false, 45, 1572864, L"fg.png", L"bg.png");
    EXPECT_EQ(45, built.Bar()->GetValue());
    EXPECT_EQ(L"45%", Text(built.PercentText()));
    EXPECT_EQ(L"1.50 MB/S", Text(built.SpeedText()));
    EXPECT_FALSE(built.StartButton()->IsEnabled());
    EXPECT_TRUE(built.StopButton()->IsEnabled());
    EXPECT_EQ(L"bg.png", std::wstring(built.Bar()->GetBkImage().GetData()));
    EXPECT_EQ(300, built.GetItemAt(0)->GetFixedWidth());  // the bar's column: width - 200
}

// "100%", the widest percent, fits its box in the strip's own font and
// stays clear of the start button beside it, in both rows' strips.
// DOWNLOAD_STRIP_SHOT=<file.bmp> saves a picture of them.
TEST_F(Strip, TheWidestPercentStaysClearOfTheStartButton) {
    for (int i = 0; i < 2; ++i) {
        Report(strip(i), 2, 100, 1048576);
        UiToolkit::CButtonUI* percent = strip(i).PercentText();
        EXPECT_EQ(L"100%", Text(percent));
        // Two pixels at least between the text and the button.
        EXPECT_LE(wintest::TextOverrun(percent, strip(i).StartButton()->GetBounds().left - 2), 0) << i;
    }
    wintest::Pump(200);
    const std::string shot = test_support::Env("DOWNLOAD_STRIP_SHOT");
    if (!shot.empty()) { EXPECT_TRUE(wintest::SaveWindowShot(window_->GetHWND(), shot.c_str())); }
}

TEST_F(Strip, ReportsShowWholeSpeedsAndEnableOnlyStop) {
    const struct {
        int32_t state, percent, speed;
        const wchar_t* percent_text;
        const wchar_t* speed_text;
    } cases[] = {
        {1, 10, 0, L"10%", L"0 B/S"},
        {1, 20, 1023, L"20%", L"1023 B/S"},
        {1, 30, 1024, L"30%", L"1 KB/S"},
        {1, 40, 1572864, L"40%", L"1 MB/S"},
        {1, 50, 1073741824, L"50%", L"1 GB/S"},
        {2, 100, 2048, L"100%", L"2 KB/S"},
        {7, 60, 512, L"60%", L"512 B/S"},  // an unknown state shows as running
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(Report(strip(), c.state, c.percent, c.speed));
        EXPECT_EQ("-/stop", Buttons()) << c.speed;
        EXPECT_EQ(c.percent, strip().Bar()->GetValue());
        EXPECT_EQ(c.percent_text, Text(strip().PercentText()));
        EXPECT_EQ(c.speed_text, Text(strip().SpeedText()));
    }
}

TEST_F(Strip, AReportAfterAStopIsFreedUnseen) {
    Report(strip(), 1, 33, 4096);
    Deliver(strip(), L"wm_stop_download");
    EXPECT_EQ("start/-", Buttons());
    EXPECT_TRUE(Report(strip(), 1, 80, 999999));
    EXPECT_EQ("start/-", Buttons());
    EXPECT_EQ(33, strip().Bar()->GetValue());
    EXPECT_EQ(L"33%", Text(strip().PercentText()));
    EXPECT_EQ(L"4 KB/S", Text(strip().SpeedText()));
    Deliver(strip(), L"wm_restart_download");
    EXPECT_EQ("-/stop", Buttons());
    Report(strip(), 1, 81, 100);
    EXPECT_EQ(L"81%", Text(strip().PercentText()));
}

TEST_F(Strip, AFailureKeepsThePercentAndTheButtons) {
    Report(strip(), 1, 45, 2048);
    EXPECT_TRUE(Report(strip(), 3, -1, -1));
    EXPECT_EQ(0, strip().Bar()->GetValue());
    EXPECT_EQ(L"45%", Text(strip().PercentText()));
    EXPECT_EQ(L"下载失败", Text(strip().SpeedText()));
    EXPECT_EQ("-/stop", Buttons());  // stop, then restart
}

TEST_F(Strip, WaitingShowsZero) {
    Report(strip(), 1, 45, 2048);
    EXPECT_TRUE(Report(strip(), 0, 0, 0));
    EXPECT_EQ(0, strip().Bar()->GetValue());
    EXPECT_EQ(L"0%", Text(strip().PercentText()));
    EXPECT_EQ(L"等待下载", Text(strip().SpeedText()));
}

TEST_F(Strip, NotificationsForAnotherWidgetAreIgnored) {
    UiToolkit::TUiNotify msg;
    msg.sType = L"wm_stop_download";
    msg.pSender = &strip(1);
    strip(0).Notify(msg);
    EXPECT_EQ("-/-", Buttons(0));
    msg.sType = L"wm_restart_download";
    strip(0).Notify(msg);
    EXPECT_EQ("-/-", Buttons(0));
}

// Each strip acts on its own buttons only, and a click changes nothing on
// screen by itself: only the registry's report does.
TEST_F(Strip, OnlyItsOwnButtonsAct) {
    CountingView first, second;
    DownloadTaskRegistry::AddObserver(kFirstId, &first);
    DownloadTaskRegistry::AddObserver(kSecondId, &second);
    UiToolkit::CControlUI* buttons[2][3] = {
        {strip(0).StartButton(), strip(0).StopButton(), strip(0).DeleteButton()},
        {strip(1).StartButton(), strip(1).StopButton(), strip(1).DeleteButton()}};
    for (int owner = 0; owner < 2; ++owner) {
        for (int target = 0; target < 2; ++target) {
            for (UiToolkit::CControlUI* button : buttons[owner]) {
                UiToolkit::TUiNotify click;
                click.sType = UI_NOTIFY_CLICK;
                click.pSender = button;
                strip(target).Notify(click);
            }
        }
    }
    // Stop always reaches the views; start and delete need a download.
    EXPECT_EQ(1, first.stops);
    EXPECT_EQ(1, second.stops);
    EXPECT_EQ(0, first.restarts + first.deletes + second.restarts + second.deletes);
    EXPECT_EQ("-/-", Buttons(0));
    EXPECT_EQ("-/-", Buttons(1));
    DownloadTaskRegistry::RemoveObserver(kFirstId, &first);
    DownloadTaskRegistry::RemoveObserver(kSecondId, &second);
}

TEST_F(Strip, ReachableByTheDispatcherOnlyWhileRegistered) {
    DownloadProgress* s = &strip();
    EXPECT_FALSE(LiveTargets::Find(s, TargetClass::kDownloadProgress, nullptr));
    s->RegisterAsTarget();
    LiveTarget target;
    ASSERT_TRUE(LiveTargets::Find(s, TargetClass::kDownloadProgress, &target));
    EXPECT_EQ(static_cast<UiToolkit::CControlUI*>(s), target.control);
    EXPECT_EQ(static_cast<UiToolkit::INotifyUI*>(s), target.receiver);
    s->UnregisterAsTarget();
    EXPECT_FALSE(LiveTargets::Find(s, TargetClass::kDownloadProgress, nullptr));
}

}  // namespace
