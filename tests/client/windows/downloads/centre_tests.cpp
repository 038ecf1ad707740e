// The download centre in a real main window: which downloads get rows and
// how they look, how rows leave, the captions, and that rows and pages
// destroyed while downloads run are never called again. Downloads are the
// scripted transfers of the download tests' fake catalogue.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "client/core/downloads/complete_queue.h"
#include "client/core/downloads/download_task_registry.h"
#include "client/windows/downloads/centre_rules.h"
#include "client/windows/downloads/download_center.h"
#include "client/windows/downloads/download_progress.h"
#include "client/windows/downloads/downloaded_page.h"
#include "client/windows/downloads/downloading_page.h"
#include "client/windows/downloads/list_elem_progress.h"
#include "client/windows/main/main_frame_flags.h"
#include "client/windows/main/main_frame_wnd.h"
#include "client/windows/pages/stand_in_page.h"
#include "tests/client/core/downloads/fake_catalogue.h"
#include "tests/client/windows/support/window_test_support.h"
#include "tests/support/test_support.h"
#include "foundation/log/log.h"

namespace {

using download_test::FakeCatalogue;
using download_test::Script;
using download_test::WaitUntil;

struct Event {
    HANDLE h = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ~Event() {
        ::SetEvent(h);
        ::CloseHandle(h);
    }
};

class CentreFrame : public MainFrameWnd {
public:
    CentreFrame() { SetStartUpJobsEnabled(false); }
    UiToolkit::CControlUI* CreateCustomControl(const wchar_t* tag) override {
        if (wcscmp(tag, L"download_center") == 0) return centre = new DownloadCenter;
        return new StandInPage(tag);
    }
    DownloadCenter* centre = nullptr;
};

template <class T>
T* PageIn(DownloadCenter* centre, int item, const wchar_t* iface) {
    UiToolkit::CControlUI* tab = centre->Tabs()->GetItemAt(item);
    auto* holder = static_cast<UiToolkit::IContainerUI*>(tab->FindInterface(L"IContainer"));
    return static_cast<T*>(holder->GetItemAt(0)->FindInterface(iface));
}

std::wstring Text(UiToolkit::CControlUI* c) { return c->GetText().GetData(); }

UiToolkit::CControlUI* CALLBACK WithToolTip(UiToolkit::CControlUI* c, LPVOID tip) {
    return c->GetToolTip() == static_cast<const wchar_t*>(tip) ? c : nullptr;
}

class Centre : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        wintest::UseDistSkin();
        // Downloads that finish unwatched are "opened" by the recorder.
        download_test::RecordOpens(L"");
    }
    // Every open queued has been made and its recorder has ended: a
    // recorder still starting when the program exits would outlive it.
    static void TearDownTestSuite() {
        std::atomic<bool> drained{false};
        CompleteQueue::Instance().Post([&] { drained = true; });
        WaitUntil([&] { return drained.load(); });
        ::Sleep(1500);
    }

    void SetUp() override {
        MainFrameFlags::ResetForTests();
        frame_.reset(new CentreFrame);
        ASSERT_TRUE(frame_->Create(nullptr, L"Kelvora", 0, 0, 0, 0, 890, 635));
        ::ShowWindow(frame_->GetHWND(), SW_SHOW);
        wintest::Pump(50);
        ASSERT_TRUE(frame_->centre);
    }

    void TearDown() override {
        for (int id : started_) DownloadTaskRegistry::Delete(id);
        for (int id : started_) DownloadTaskRegistry::RemoveCompleted(id);
        CloseFrame();
    }

    void CloseFrame() {
        if (!frame_) return;
        if (frame_->GetHWND()) ::DestroyWindow(frame_->GetHWND());
        wintest::Pump(30);
        frame_.reset();
    }

    DownloadCenter* centre() { return frame_->centre; }
    DownloadingPage* running() { return PageIn<DownloadingPage>(centre(), 0, L"DownloadingPage"); }
    DownloadedPage* finished() { return PageIn<DownloadedPage>(centre(), 1, L"DownloadedPage"); }
    HWND hwnd() { return frame_->GetHWND(); }

    void ShowCentre() {
        frame_->ShowTab(MainFrameWnd::kDownloadCenterTab);
        wintest::Pump(80);
    }
    // A real click on one of the centre's options, then the window settles.
    void ClickOption(UiToolkit::COptionUI* option) {
        wintest::ClickControl(hwnd(), option);
        wintest::Pump(80);
    }

    void Start(int id, long long size, Script script) {
        catalogue_.Add(id, size);
        catalogue_.SetScripts(id, {script});
        started_.push_back(id);
        ASSERT_TRUE(DownloadTaskRegistry::Start(id));
    }
    // Waits until the id's task shows `state` and `percent`.
    bool WaitFor(int id, int state, int percent) {
        return WaitUntil([&] {
            int s = -9, p = -9;
            DownloadTaskRegistry::Find(id)->GetProgress(&s, &p, nullptr);
            return s == state && p == percent;
        });
    }

    FakeCatalogue catalogue_;
    std::unique_ptr<CentreFrame> frame_;
    std::vector<int> started_;
};

// The running list shows each active download once: running, stopped (its
// start button enabled, its last values kept) and waiting ones; a failed
// one gets no row but counts in the caption. Showing the list again adds
// only the downloads that are new.
TEST_F(Centre, TheRunningListShowsEachActiveDownloadOnceAndCountsTheFailedOnes) {
    Event hold;
    const int running_id = 9201, stopped_id = 9202, waiting_id = 9203, failed_id = 9204, later_id = 9205;
    Start(running_id, 100, Script{{40, 60}, true, 1, hold.h});
    Start(stopped_id, 100, Script{{30, 70}, true, 1, hold.h});
    Start(waiting_id, 100, Script{{100}, true, 0, hold.h});
    Start(failed_id, 100, Script{{10}, false});
    ASSERT_TRUE(WaitFor(running_id, 1, 40));
    ASSERT_TRUE(WaitFor(stopped_id, 1, 30));
    ASSERT_TRUE(WaitFor(failed_id, 3, -1));
    DownloadTaskRegistry::Stop(stopped_id);
    wintest::Pump(50);

    ShowCentre();
    DownloadingPage* page = running();
    ASSERT_TRUE(page->RowOf(running_id) && page->RowOf(stopped_id) && page->RowOf(waiting_id));
    EXPECT_FALSE(page->RowOf(failed_id));
    EXPECT_EQ(CentreRules::DownloadingCaption(DownloadTaskRegistry::ActiveCount()),
              Text(centre()->DownloadingOption()));
    EXPECT_GE(DownloadTaskRegistry::ActiveCount(), 4u);

    const struct {
        int id;
        const wchar_t* percent;
        bool start_enabled;
        bool stop_enabled;
        const wchar_t* speed;  // none: not checked
    } looks[] = {
        {running_id, L"40%", false, true, nullptr},
        {stopped_id, L"30%", true, false, nullptr},
        // Started and not stopped: the running buttons, with the waiting text.
        {waiting_id, L"0%", false, true, L"等待下载"},
    };
    for (const auto& l : looks) {
        DownloadProgress* strip = page->RowOf(l.id)->Progress();
        EXPECT_EQ(l.percent, Text(strip->PercentText())) << l.id;
        EXPECT_EQ(l.start_enabled, strip->StartButton()->IsEnabled()) << l.id;
        EXPECT_EQ(l.stop_enabled, strip->StopButton()->IsEnabled()) << l.id;
        if (l.speed) EXPECT_EQ(l.speed, Text(strip->SpeedText())) << l.id;
    }
    EXPECT_EQ(40, page->RowOf(running_id)->Progress()->Bar()->GetValue());

    ListElemProgress* first_row = page->RowOf(running_id);
    const size_t rows = page->RowCount();
    Start(later_id, 100, Script{{50, 50}, true, 1, hold.h});
    ASSERT_TRUE(WaitFor(later_id, 1, 50));
    ClickOption(centre()->DownloadedOption());
    ClickOption(centre()->DownloadingOption());
    EXPECT_EQ(0, centre()->Tabs()->GetCurSel());
    EXPECT_EQ(rows + 1, page->RowCount());
    EXPECT_TRUE(page->RowOf(later_id));
    EXPECT_EQ(first_row, page->RowOf(running_id)) << "an existing row is not rebuilt";
}

// A row follows its download: progress, a stop and a restart through the
// main window's messages, and completion takes it off the running list and
// onto the finished one, with both captions.
TEST_F(Centre, ARowFollowsItsDownloadToTheFinishedList) {
    Event hold;
    const int id = 9211;
    Start(id, 1000, Script{{300, 700}, true, 1, hold.h});
    ASSERT_TRUE(WaitFor(id, 1, 30));
    ShowCentre();
    ListElemProgress* row = running()->RowOf(id);
    ASSERT_TRUE(row);
    DownloadProgress* strip = row->Progress();
    EXPECT_EQ(L"30%", Text(strip->PercentText()));

    wintest::ClickControl(hwnd(), strip->StopButton());
    ASSERT_TRUE(wintest::PumpUntil([&] { return strip->StartButton()->IsEnabled(); }, 5000));
    EXPECT_FALSE(strip->StopButton()->IsEnabled());
    EXPECT_EQ(DownloadStateMap::kStopped, DownloadStateMap::Get(id));

    const size_t finished_before = DownloadTaskRegistry::CompletedCount();
    catalogue_.SetScripts(id, {Script{{700}, true}});
    wintest::ClickControl(hwnd(), strip->StartButton());
    ASSERT_TRUE(wintest::PumpUntil([&] { return strip->StopButton()->IsEnabled(); }, 5000));
    ::SetEvent(hold.h);  // the stopped transfer's read returns; the resumed one finishes
    ASSERT_TRUE(wintest::PumpUntil([&] { return !running()->RowOf(id); }, 10000));
    EXPECT_FALSE(DownloadTaskRegistry::IsDownloading(id));
    wintest::Pump(50);
    EXPECT_EQ(CentreRules::DownloadingCaption(DownloadTaskRegistry::ActiveCount()),
              Text(centre()->DownloadingOption()));

    ClickOption(centre()->DownloadedOption());
    EXPECT_EQ(1, centre()->Tabs()->GetCurSel());
    EXPECT_TRUE(finished()->HasRow(id));
    EXPECT_EQ(CentreRules::DownloadedCaption(finished_before + 1), Text(centre()->DownloadedOption()));
}

// Delete on a running download and on a finished one: the row, the
// registry's entry and one from the caption go.
TEST_F(Centre, DeleteRemovesTheRowTheEntryAndOneFromTheCaption) {
    Event hold;
    const int running_id = 9221, done_id = 9222;
    Start(running_id, 100, Script{{20, 80}, true, 1, hold.h});
    Start(done_id, 100, Script{{100}, true});
    ASSERT_TRUE(WaitFor(running_id, 1, 20));
    ASSERT_TRUE(WaitUntil([&] { return !DownloadTaskRegistry::IsDownloading(done_id); }));
    ShowCentre();

    ListElemProgress* row = running()->RowOf(running_id);
    ASSERT_TRUE(row);
    const size_t active = DownloadTaskRegistry::ActiveCount();
    wintest::ClickControl(hwnd(), row->Progress()->DeleteButton());
    ASSERT_TRUE(wintest::PumpUntil([&] { return !running()->RowOf(running_id); }, 5000));
    wintest::Pump(50);
    EXPECT_FALSE(DownloadTaskRegistry::IsDownloading(running_id));
    EXPECT_EQ(CentreRules::DownloadingCaption(active - 1), Text(centre()->DownloadingOption()));

    ClickOption(centre()->DownloadedOption());
    DownloadedPage* page = finished();
    ASSERT_TRUE(page->HasRow(done_id));
    const size_t completed = DownloadTaskRegistry::CompletedCount();
    EXPECT_EQ(CentreRules::DownloadedCaption(completed), Text(centre()->DownloadedOption()));
    DownloadedElem* done_row = nullptr;
    for (int i = 0; i < page->List()->GetCount(); ++i) {
        auto* r = static_cast<DownloadedElem*>(page->List()->GetItemAt(i)->FindInterface(L"DownloadedElem"));
        if (r && r->SoftId() == done_id) done_row = r;
    }
    ASSERT_TRUE(done_row);
    wintest::ClickControl(hwnd(), done_row->DeleteButton());
    ASSERT_TRUE(wintest::PumpUntil([&] { return !page->HasRow(done_id); }, 5000));
    wintest::Pump(50);
    EXPECT_EQ(completed - 1, DownloadTaskRegistry::CompletedCount());
    EXPECT_EQ(CentreRules::DownloadedCaption(completed - 1), Text(centre()->DownloadedOption()));
    // Shown again, the finished list does not bring the row back.
    ClickOption(centre()->DownloadingOption());
    ClickOption(centre()->DownloadedOption());
    EXPECT_FALSE(page->HasRow(done_id));
}

// Downloads that finish while the list is being refilled never leave a
// row behind: a row is registered before its download can finish, so the
// completion always reaches it.
TEST_F(Centre, ADownloadFinishingDuringRefillLeavesNoRow) {
    ShowCentre();
    DownloadingPage* page = running();
    for (int i = 0; i < 25; ++i) {
        const int id = 9300 + i;
        auto hold = std::make_shared<Event>();
        Start(id, 100, Script{{50, 50}, true, 1, hold->h});
        ASSERT_TRUE(WaitFor(id, 1, 50));
        std::thread release([hold, i] {
            ::Sleep(i % 3);
            ::SetEvent(hold->h);
        });
        page->Refill();
        release.join();
        ASSERT_TRUE(WaitUntil([&] { return !DownloadTaskRegistry::IsDownloading(id); }));
        ASSERT_TRUE(wintest::PumpUntil([&] { return !page->RowOf(id); }, 5000)) << "stuck row " << id;
    }
}

// A service description is text, never markup that could load files.
TEST_F(Centre, ADescriptionIsShownLiterally) {
    Event hold;
    const int id = 9231;
    SoftwarePtr soft = catalogue_.Add(id, 100);
    soft->soft_name = L"Tool";
    soft->soft_desc = L"{i c:\\windows\\win.ini}<b>fast</b>";
    catalogue_.SetScripts(id, {Script{{10, 90}, true, 1, hold.h}});
    started_.push_back(id);
    ASSERT_TRUE(DownloadTaskRegistry::Start(id));
    ASSERT_TRUE(WaitFor(id, 1, 10));
    ShowCentre();
    ListElemProgress* row = running()->RowOf(id);
    ASSERT_TRUE(row);
    UiToolkit::CControlUI* desc = row->Search(WithToolTip, const_cast<wchar_t*>(soft->soft_desc.c_str()),
                                              UiToolkit::UIFIND_ALL);
    ASSERT_TRUE(desc);
    EXPECT_EQ(L"<{>i c:\\windows\\win.ini<}>{<}b{>}fast{<}/b{>}", Text(desc));
}

// The centre goes (the main window closes) while downloads run and watch
// its rows: nothing calls them afterwards, and the finished download, now
// watched by nobody, is opened.
TEST_F(Centre, RowsDestroyedWhileDownloadsRunAreNeverCalledAgain) {
    const std::wstring dir = test_support::MakeTempDir(L"centregone");
    const std::wstring record = dir + L"\\opened.txt";
    download_test::RecordOpens(record);
    Event hold;
    const int id = 9241;
    catalogue_.Add(id, 100, dir + L"\\gone.exe");
    catalogue_.SetScripts(id, {Script{{30, 70}, true, 1, hold.h}});
    started_.push_back(id);
    ASSERT_TRUE(DownloadTaskRegistry::Start(id));
    ASSERT_TRUE(WaitFor(id, 1, 30));
    ShowCentre();
    ASSERT_TRUE(running()->RowOf(id));
    CloseFrame();
    ::SetEvent(hold.h);
    ASSERT_TRUE(WaitUntil([&] { return !DownloadTaskRegistry::IsDownloading(id); }));
    // The recorder is a process of its own: its line comes when it has run.
    std::string opened;
    EXPECT_TRUE(WaitUntil([&] {
        test_support::ReadFileBytes(record, &opened);
        return opened.find("gone.exe") != std::string::npos;
    })) << "a download nobody watches any more is opened";
    download_test::RecordOpens(L"");
    test_support::RemoveTree(dir);
}

// Broken skin files: the centre and its pages say what is wrong in the log
// and ignore their notifications; nothing crashes, visit after visit.
TEST_F(Centre, BrokenSkinsAreLoggedAndLeaveTheCentreInert) {
    const std::wstring dir = test_support::MakeTempDir(L"centreskin");
    const std::wstring log_path = dir + L"\\centre.log";
    char narrow[MAX_PATH];
    ::WideCharToMultiByte(CP_ACP, 0, log_path.c_str(), -1, narrow, MAX_PATH, nullptr, nullptr);
    ASSERT_TRUE(log_open(narrow));
    const wchar_t kPage[] = L"<Window><VerticalLayout><List name=\"%ls\"/></VerticalLayout></Window>";
    const struct {
        const char* name;
        const wchar_t* mgr;           // download_mgr.xml; none: no such file
        const wchar_t* downloading;   // downloading_page.xml
        const char* logged;
    } cases[] = {
        {"no centre skin", nullptr, L"downloading_plane_list", "download_mgr.xml gives no container"},
        {"centre root not a container", L"<Window><Control/></Window>", L"downloading_plane_list",
         "download_mgr.xml gives no container"},
        {"no back button",
         L"<Window><VerticalLayout><Option name=\"downloading_btn\"/><Option name=\"downloaded_btn\"/>"
         L"<Button name=\"open_dir_btn\"/><TabLayout name=\"downlaod_tab_switch\">"
         L"<HorizontalLayout><downloading_page/></HorizontalLayout></TabLayout></VerticalLayout></Window>",
         L"downloading_plane_list", "control \"back_btn\" is missing"},
        {"the list is a button",
         L"<Window><VerticalLayout><Option name=\"downloading_btn\"/><Option name=\"downloaded_btn\"/>"
         L"<Button name=\"open_dir_btn\"/><Button name=\"back_btn\"/><TabLayout name=\"downlaod_tab_switch\">"
         L"<HorizontalLayout><downloading_page/></HorizontalLayout></TabLayout></VerticalLayout></Window>",
         nullptr, "control \"downloading_plane_list\" is a"},
    };
    CloseFrame();
    auto copy = [&](const std::wstring& to, const wchar_t* file) {
        std::string bytes;
        test_support::ReadFileBytes(wintest::DistSkinFolder() + L"\\" + file, &bytes);
        test_support::WriteFileBytes(to + L"\\" + file, bytes);
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::wstring skin = dir + L"\\skin" + std::to_wstring(n++);
        ::CreateDirectoryW(skin.c_str(), nullptr);
        auto write = [&](const wchar_t* file, const std::wstring& text) {
            std::string bytes(::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr), 0);
            ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &bytes[0], static_cast<int>(bytes.size()), nullptr, nullptr);
            bytes.resize(bytes.size() - 1);
            test_support::WriteFileBytes(skin + L"\\" + file, bytes);
        };
        copy(skin, L"skin.xml");
        copy(skin, L"downloaded_page.xml");
        if (c.mgr) write(L"download_mgr.xml", c.mgr);
        wchar_t page[256];
        swprintf(page, 256, kPage, c.downloading ? c.downloading : L"x");
        if (c.downloading) {
            write(L"downloading_page.xml", page);
        } else {
            write(L"downloading_page.xml",
                  L"<Window><VerticalLayout><Button name=\"downloading_plane_list\"/></VerticalLayout></Window>");
        }
        // The main window and its centre built from the broken skin.
        UiToolkit::CWindowManagerUI::SetResourceFolder(skin.c_str());
        frame_.reset(new CentreFrame);
        ASSERT_TRUE(frame_->Create(nullptr, L"Kelvora", 0, 0, 0, 0, 890, 635)) << c.name;
        ::ShowWindow(frame_->GetHWND(), SW_SHOW);
        wintest::Pump(100);
        UiToolkit::CWindowManagerUI::SetResourceFolder(wintest::DistSkinFolder().c_str());
        ASSERT_TRUE(frame_->centre) << c.name;
        DownloadCenter* centre = frame_->centre;
        ShowCentre();
        for (const wchar_t* type : {L"tabselect", L"click", L"show_number_info", L"complete_download"}) {
            UiToolkit::TUiNotify note;
            note.sType = type;
            note.pSender = centre;
            centre->Notify(note);
        }
        wintest::Pump(50);
        std::string text;
        test_support::ReadFileBytes(log_path, &text);
        EXPECT_NE(std::string::npos, text.find(c.logged)) << c.name << "\n" << text;
        CloseFrame();
    }
    log_close();
    test_support::RemoveTree(dir);
}

}  // namespace
