#pragma once
// The detail view in a real main window: the market tab's page is a small
// host that holds a Detail the way a catalogue page does (tab item 1, shown
// on "click_soft_detail", left on "back_to_soft_list_page", every other
// notification passed on while it is shown). The services are a private
// session; the browser is the recording one of fake_activex.dll; the
// installed-software scan is one the test ends when it wants.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "client/core/install_scan/install_scan_mgr.h"
#include "client/windows/detail/detail.h"
#include "client/windows/main/main_frame_wnd.h"
#include "tests/support/private_service.h"
#include "uitoolkit/layouts/tab_layout.h"

namespace detailtest {

// The recording module's record of browser calls.
class FakeBrowserRecord {
public:
    static FakeBrowserRecord& Get();
    bool Loaded() const { return record_ != nullptr; }
    const std::wstring& Path() const { return path_; }
    // The lines that begin with `prefix`, in call order.
    std::vector<std::string> Lines(const std::string& prefix) const;
    void Reset() const;
    // Objects of the module alive now, and Advise calls never undone.
    long LiveObjects() const { return live_ ? live_() : -1; }
    long OpenAdvises() const { return advises_ ? advises_() : -1; }

private:
    FakeBrowserRecord();
    std::wstring path_;
    int (*record_)(char*, int) = nullptr;
    void (*reset_)() = nullptr;
    long (*live_)() = nullptr;
    long (*advises_)() = nullptr;
};

// The skin document with the recording browser in place of the system's.
std::wstring FakeBrowserSkin();

// An installed-software scan that runs until the test ends it. It finds
// the given catalogue programs installed: (soft id, newer version in the
// catalogue).
class ScriptedScan {
public:
    explicit ScriptedScan(std::vector<std::pair<int, bool>> installed = {},
                          bool registry_readable = true);
    ~ScriptedScan();
    InstallScanMgr* mgr() { return mgr_.get(); }
    // State 1 until End.
    void Start();
    // Lets the scan finish; returns once it has told its observers.
    void End();
    void RunToEnd() {
        Start();
        End();
    }

private:
    HANDLE release_;
    bool started_ = false;
    std::unique_ptr<InstallScanMgr> mgr_;
};

class DetailHostPage : public UiToolkit::CContainerUI, public UiToolkit::INotifyUI {
public:
    DetailHostPage();
    LPVOID FindInterface(const wchar_t* name) override;
    void Notify(UiToolkit::TUiNotify& msg) override;

    // As the catalogue page does on "click_soft_detail".
    void Open(int soft_id);
    // As the catalogue page does on "back_to_soft_list_page".
    void Back();
    // A new view that asks `scan`, in place of the one there was.
    void MakeDetail(InstallScanMgr* scan);
    // The view goes (as when the main window's controls are destroyed).
    void DestroyDetail();

    Detail* detail() const { return detail_; }
    bool shown() const { return shown_; }
    int Count(const wchar_t* type) const;

private:
    UiToolkit::CTabLayoutUI* tabs_;
    UiToolkit::CHorizontalLayoutUI* detail_item_;
    Detail* detail_ = nullptr;
    bool shown_ = false;
    std::vector<std::wstring> seen_;
};

class DetailMainFrame : public MainFrameWnd {
public:
    DetailMainFrame() { SetStartUpJobsEnabled(false); }
    UiToolkit::CControlUI* CreateCustomControl(const wchar_t* tag) override;
    DetailHostPage* host = nullptr;         // the market tab's page
    DetailHostPage* second_host = nullptr;  // the tools tab's page
};

class DetailTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // A scan that lives until the window is gone (views ask it until then).
    ScriptedScan& NewScan(std::vector<std::pair<int, bool>> installed = {}, bool registry_readable = true);
    // Shows the main window's market tab with a new view (on the tools tab
    // too) that asks `scan`. The window is made once per suite: windows are
    // slow to come and go under Wine.
    void Open(InstallScanMgr* scan);
    // The views go.
    void Close();
    HWND hwnd() const { return frame_->GetHWND(); }
    DetailHostPage& host() { return *frame_->host; }
    Detail& view() { return *frame_->host->detail(); }
    // The market page opens the view on a software, and the window settles.
    void ShowSoft(int soft_id);
    std::wstring ButtonText() { return view().DownloadButton()->GetText().GetData(); }
    // Full average (or own) stars, judged by the stars' fore images.
    static int FullStars(const std::vector<UiToolkit::COptionUI*>& stars);
    // Pumps the window's messages until `done` (10 s at most).
    bool PumpUntil(const std::function<bool()>& done);
    // The lines of the client's log written since the test began.
    std::string LogSinceStart();
    // The score requests the service saw since the last reset
    // ("mod=score&soft_id=1001&score=60", ...).
    std::vector<std::string> ScoreRequests();
    // Ratings the service averages for an id.
    void Rate(int soft_id, int score);

    static PrivateService* services_;
    static std::wstring data_dir_;
    static std::wstring log_path_;
    static DetailMainFrame* frame_;
    std::vector<std::unique_ptr<ScriptedScan>> scans_;
    size_t log_start_ = 0;
};

}  // namespace detailtest
