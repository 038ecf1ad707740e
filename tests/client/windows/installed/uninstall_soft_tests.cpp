// The installed-programs page in a main window: pages of 20 newest first,
// the pager after every reload, the uninstall button, icons and handles.
// The scan is a stand-in that the test fills; the rows, the loading windows
// and the pager are the real ones.
#include <gtest/gtest.h>
#include <wchar.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "client/windows/installed/uninstall_soft.h"
#include "client/windows/installed/uninstall_soft_item.h"
#include "tests/client/windows/main/main_frame_fixture.h"
#include "tests/support/test_support.h"
#include "uitoolkit/controls/label.h"
#include "uitoolkit/controls/option.h"

namespace {

// What the stand-in scan answers; read on the loading window's worker.
struct FakeScan {
    std::mutex lock;
    std::condition_variable released;
    SysInstallSoftList programs;
    int scans = 0;
    // While on, a scan waits: its loading window's loop runs meanwhile.
    bool held = false;

    void Hold(bool on) {
        std::lock_guard<std::mutex> guard(lock);
        held = on;
        released.notify_all();
    }

    void Set(const SysInstallSoftList& list) {
        std::lock_guard<std::mutex> hold(lock);
        programs = list;
    }
    int Scans() {
        std::lock_guard<std::mutex> hold(lock);
        return scans;
    }
    bool Scan(SysInstallSoftList* out) {
        std::unique_lock<std::mutex> hold(lock);
        released.wait(hold, [this] { return !held; });
        ++scans;
        *out = programs;
        return true;
    }
};

SysInstallSoftPtr Program(const std::wstring& name, int32_t date, uint32_t size_kb = 0,
                          const std::wstring& command = L"") {
    auto soft = std::make_shared<SysInstallSoft>();
    soft->display_name = name;
    soft->install_date = date;
    wchar_t text[32];
    swprintf(text, 32, L"%d/%d/%d", date / 10000, date / 100 % 100, date % 100);
    soft->install_date_text = text;
    soft->size_kb = size_kb;
    soft->uninstall_command = command.empty() ? L"uninstall " + name : command;
    return soft;
}

// `count` programs found in an order that is not the display order: each
// on its own day, except that programs 10 and 11 share one.
SysInstallSoftList Programs(int count) {
    SysInstallSoftList list;
    for (int i = 0; i < count; ++i) {
        wchar_t name[32];
        swprintf(name, 32, L"Program %02d", i);
        int day = i == 11 ? 10 : i;
        int32_t date = 20200000 + (1 + day / 28) * 100 + 1 + day % 28;
        list.push_back(Program(name, date, static_cast<uint32_t>(i * 100)));
    }
    // Scan order: odd ones first, then even ones.
    std::stable_partition(list.begin(), list.end(), [](const SysInstallSoftPtr& s) {
        return (s->display_name.back() - L'0') % 2 == 1;
    });
    return list;
}

std::vector<std::wstring> NewestFirstNames(SysInstallSoftList list) {
    std::stable_sort(list.begin(), list.end(),
                     [](const SysInstallSoftPtr& a, const SysInstallSoftPtr& b) { return a->install_date > b->install_date; });
    std::vector<std::wstring> names;
    for (const auto& s : list) names.push_back(s->display_name);
    return names;
}

template <class T>
T* Named(UiToolkit::CControlUI* row, const wchar_t* name, const wchar_t* iface) {
    struct Find {
        static UiToolkit::CControlUI* CALLBACK ByName(UiToolkit::CControlUI* c, LPVOID n) {
            return c->GetName() == static_cast<const wchar_t*>(n) ? c : nullptr;
        }
    };
    UiToolkit::CControlUI* c = row->Search(Find::ByName, const_cast<wchar_t*>(name), UiToolkit::UIFIND_ME_FIRST);
    return c ? static_cast<T*>(c->FindInterface(iface)) : nullptr;
}

class InstalledPage : public MainFrameTest {
protected:
    void SetUp() override {
        MainFrameTest::SetUp();
        make_page_ = [this](const wchar_t* tag) -> UiToolkit::CControlUI* {
            if (wcscmp(tag, L"uninstall_soft") != 0) return nullptr;
            return page_ = new UninstallSoft([this](SysInstallSoftList* out) { return scan_.Scan(out); });
        };
    }
    void TearDown() override {
        MainFrameTest::TearDown();
        SetInstalledIconLoaderForTests(nullptr);
    }

    // Clicks the tab button of tab 2 and waits for the reload it starts.
    void ShowTab2() {
        const int before = scan_.Scans();
        auto* tab = static_cast<UiToolkit::COptionUI*>(frame_->Find(L"uninstall_switch"));
        ASSERT_TRUE(tab);
        wintest::ClickControl(hwnd(), tab);
        ASSERT_TRUE(wintest::PumpUntil([&] { return scan_.Scans() > before && !Loading(); }, 15000));
        wintest::Pump(50);
    }
    static bool Loading() { return wintest::FindOwnWindow(L"loading_wnd") != nullptr; }

    std::vector<std::wstring> ShownNames() {
        std::vector<std::wstring> names;
        UiToolkit::CListUI* list = page_->List();
        for (int i = 0; i < list->GetCount(); ++i) {
            auto* name = Named<UiToolkit::CLabelUI>(list->GetItemAt(i), L"sys_soft_display_name", L"Label");
            names.push_back(name ? std::wstring(name->GetText().GetData()) : L"<none>");
        }
        return names;
    }
    UiToolkit::CControlUI* RowControl(int row, const wchar_t* name) {
        return Named<UiToolkit::CControlUI>(page_->List()->GetItemAt(row), name, L"Control");
    }
    void ClickNumber(int index) {
        ASSERT_LT(index, static_cast<int>(page_->Pager()->NumberButtons().size()));
        wintest::ClickControl(hwnd(), page_->Pager()->NumberButtons()[index]);
        wintest::Pump(150);
    }

    FakeScan scan_;
    UninstallSoft* page_ = nullptr;
};

TEST_F(InstalledPage, NewestFirstTwentyAPageWithCaptionPagerAndCells) {
    SysInstallSoftList programs = Programs(45);
    scan_.Set(programs);
    Open();
    ASSERT_TRUE(page_);
    EXPECT_EQ(0, scan_.Scans()) << "nothing is read before the tab is shown";
    ShowTab2();
    const std::vector<std::wstring> expected = NewestFirstNames(programs);
    EXPECT_EQ(L"亲，您一共安装了软件 45 款", std::wstring(page_->Caption()->GetText().GetData()));
    ASSERT_TRUE(page_->Pager());
    EXPECT_EQ(3u, page_->Pager()->NumberButtons().size());
    EXPECT_EQ(std::vector<std::wstring>(expected.begin(), expected.begin() + 20), ShownNames());
    // Programs 10 and 11 share a day: the scan found 11 first.
    auto at = [&](const wchar_t* n) { return std::find(expected.begin(), expected.end(), n) - expected.begin(); };
    EXPECT_LT(at(L"Program 11"), at(L"Program 10"));

    // Cells of the first row: its date, its size (program 44: 4400 KB), its command.
    EXPECT_EQ(L"Program 44", ShownNames()[0]);
    EXPECT_EQ(L"2020/2/17", std::wstring(RowControl(0, L"sys_soft_install_date")->GetText().GetData()));
    EXPECT_EQ(L"4.40 MB", std::wstring(RowControl(0, L"sys_soft_disk_size")->GetText().GetData()));
    EXPECT_EQ(L"uninstall Program 44",
              std::wstring(RowControl(0, L"sys_soft_uninstall")->GetUserData().GetData()));
    // Program 00 is 0 KB: an empty size cell (page 3, last row).
    ClickNumber(2);
    EXPECT_EQ(3, page_->CurrentPage());
    EXPECT_EQ(std::vector<std::wstring>(expected.begin() + 40, expected.end()), ShownNames());
    EXPECT_EQ(L"Program 00", ShownNames().back());
    EXPECT_EQ(L"", std::wstring(RowControl(4, L"sys_soft_disk_size")->GetText().GetData()));
    ClickNumber(1);
    EXPECT_EQ(std::vector<std::wstring>(expected.begin() + 20, expected.begin() + 40), ShownNames());
    EXPECT_EQ(1, scan_.Scans()) << "page changes do not rescan";
}

TEST_F(InstalledPage, EveryReloadGivesThePagerItsNewTotal) {
    scan_.Set(Programs(45));
    Open();
    ShowTab2();
    ClickNumber(2);
    ASSERT_EQ(3, page_->CurrentPage());
    // Programs installed between two showings of the tab are all reachable.
    SysInstallSoftList more = Programs(61);
    scan_.Set(more);
    wintest::ClickControl(hwnd(), frame_->Find(L"necessary_switch"));
    wintest::Pump(300);
    ShowTab2();
    EXPECT_EQ(1, page_->CurrentPage());
    EXPECT_EQ(61, page_->Pager()->Total());
    ASSERT_EQ(4u, page_->Pager()->NumberButtons().size());
    EXPECT_EQ(L"亲，您一共安装了软件 61 款", std::wstring(page_->Caption()->GetText().GetData()));
    ClickNumber(3);
    EXPECT_EQ(4, page_->CurrentPage());
    EXPECT_EQ(std::vector<std::wstring>{NewestFirstNames(more).back()}, ShownNames());
    // Fewer programs: the pager shrinks; "refresh_content" reloads too.
    scan_.Set(Programs(19));
    UiToolkit::TUiNotify refresh;
    refresh.sType = L"refresh_content";
    page_->Notify(refresh);
    EXPECT_EQ(0u, page_->Pager()->NumberButtons().size());
    EXPECT_EQ(19, page_->ShownRows());
}

TEST_F(InstalledPage, AnotherPagersNumberButtonDoesNotReload) {
    scan_.Set(Programs(45));
    Open();
    ShowTab2();
    ClickNumber(1);
    const int scans = scan_.Scans();
    // A catalogue page that loads while this tab is shown selects its own
    // pager's first button, in the shared option group.
    UiToolkit::COptionUI* other = new UiToolkit::COptionUI;
    other->SetGroup(L"page_switch");
    auto* bar = static_cast<UiToolkit::CContainerUI*>(frame_->Find(L"status_bar"));
    ASSERT_TRUE(bar);
    bar->Add(other);
    other->SetSelected(true);
    wintest::Pump(100);
    EXPECT_EQ(scans, scan_.Scans());
    EXPECT_EQ(2, page_->CurrentPage());
    bar->Remove(other);
}

TEST_F(InstalledPage, UninstallStartsTheCommandOnceAndReloadsWhenItEnds) {
    const std::wstring dir = test_support::MakeTempDir(L"uninstall");
    const std::wstring marker = dir + L"\\started.txt";
    const std::wstring testbin =
        test_support::WinePath(test_support::Env("VANTREL_TEST_DIST") + "/../testbin");
    // Appends a line, then lives 5 s more (a loading window takes two seconds
    // to go under Wine without a window manager).
    const std::wstring command = L"cmd.exe /c echo started>>\"" + marker + L"\" & \"" + testbin +
                                 L"\\fake_uninstaller.exe\" /key K18NoSuchEntry /wait 5000";
    SysInstallSoftList programs = Programs(30);
    for (auto& p : programs) p->uninstall_command = command;
    scan_.Set(programs);
    Open();
    ShowTab2();
    ClickNumber(1);
    ASSERT_EQ(2, page_->CurrentPage());

    // While the uninstaller runs, the visible rows stay; the records are read
    // again and put in display order (this scan finds them reversed).
    const std::vector<std::wstring> before = ShownNames();
    SysInstallSoftList now(programs.rbegin(), programs.rend() - 1);  // one program is gone
    scan_.Set(now);
    wintest::ClickControl(hwnd(), RowControl(0, L"sys_soft_uninstall"));
    ASSERT_TRUE(wintest::PumpUntil([&] { return scan_.Scans() == 2 && !Loading(); }, 15000));
    EXPECT_EQ(before, ShownNames());
    EXPECT_EQ(2, page_->CurrentPage());
    std::vector<std::wstring> records;
    for (const auto& r : page_->Records()) records.push_back(r->display_name);
    EXPECT_EQ(NewestFirstNames(now), records);

    // Once it has ended: one more reload, from page 1, and it ran once.
    std::string lines;
    ASSERT_TRUE(wintest::PumpUntil([&] { return scan_.Scans() == 3 && !Loading(); }, 15000))
        << scan_.Scans() << " " << test_support::ReadFileBytes(marker, &lines) << lines;
    wintest::Pump(100);
    EXPECT_EQ(1, page_->CurrentPage());
    EXPECT_EQ(L"亲，您一共安装了软件 29 款", std::wstring(page_->Caption()->GetText().GetData()));
    const std::vector<std::wstring> expected = NewestFirstNames(now);
    EXPECT_EQ(std::vector<std::wstring>(expected.begin(), expected.begin() + 20), ShownNames());
    ASSERT_TRUE(test_support::ReadFileBytes(marker, &lines));
    EXPECT_EQ(1, std::count(lines.begin(), lines.end(), '\n')) << lines;
    test_support::RemoveTree(dir);
}

// The uninstall button's click reads the programs again in a loading
// window; the rows are rebuilt while that loop runs (freed memory
// poisoned), and the click returns into its button all the same.
TEST_F(InstalledPage, AnUninstallClickSurvivesItsRowsBeingRebuiltInItsLoop) {
    const std::wstring testbin =
        test_support::WinePath(test_support::Env("VANTREL_TEST_DIST") + "/../testbin");
    SysInstallSoftList programs = Programs(3);
    for (auto& p : programs)
        p->uninstall_command = L"\"" + testbin + L"\\fake_uninstaller.exe\" /key K18NoSuchEntry";
    scan_.Set(programs);
    Open();
    ShowTab2();
    UiToolkit::CControlUI* button = RowControl(0, L"sys_soft_uninstall");
    ASSERT_TRUE(button);
    bool freed_in_loop = true;
    wintest::WhenWindowAppears(L"loading_wnd", [&](HWND, UiToolkit::WindowImplBase*) {
        page_->List()->RemoveAll();
        wintest::Pump(200);  // the deferred deletion is dispatched by this loop
        freed_in_loop = wintest::WatchedDeleted();
        scan_.Hold(false);
    });
    scan_.Hold(true);
    wintest::WatchDelete(button);
    wintest::QuarantineFrees(true);
    wintest::ClickControl(hwnd(), button);
    const bool scanned = wintest::PumpUntil([&] { return scan_.Scans() >= 2 && !Loading(); }, 15000);
    const bool freed = wintest::PumpUntil([] { return wintest::WatchedDeleted(); }, 5000);
    wintest::QuarantineFrees(false);
    scan_.Hold(false);
    ASSERT_TRUE(scanned);
    EXPECT_FALSE(freed_in_loop);
    EXPECT_TRUE(freed);
    EXPECT_EQ(0, frame_->manager().DispatchDepth());
    // The uninstaller's end reloads the page as usual.
    ASSERT_TRUE(wintest::PumpUntil([&] { return scan_.Scans() >= 3 && !Loading(); }, 15000));
    wintest::Pump(100);
    EXPECT_EQ(3u, ShownNames().size());
}

TEST_F(InstalledPage, ACommandLongerThan260CharactersRunsWhole) {
    const std::wstring dir = test_support::MakeTempDir(L"longcmd");
    const std::wstring out = dir + L"\\echo.txt";
    std::wstring words;
    while (words.size() < 300) words += L"word ";
    words += L"/key last";
    const std::wstring command = L"cmd.exe /c echo " + words + L">\"" + out + L"\"";
    ASSERT_GT(command.size(), 300u);
    SysInstallSoftList programs = {Program(L"Long", 20240101, 1, command)};
    scan_.Set(programs);
    Open();
    ShowTab2();
    wintest::ClickControl(hwnd(), RowControl(0, L"sys_soft_uninstall"));
    std::string echoed;
    ASSERT_TRUE(wintest::PumpUntil([&] { return test_support::ReadFileBytes(out, &echoed) && echoed.find("last") != std::string::npos; }, 15000));
    EXPECT_NE(std::string::npos, echoed.find("word word /key last")) << echoed;
    wintest::PumpUntil([&] { return scan_.Scans() >= 3 && !Loading(); }, 15000);
    test_support::RemoveTree(dir);
}

// Icons the stand-in loader made, each a real icon the rows must give back.
std::vector<HICON> g_icons;
HICON MakeIcon(const wchar_t*) {
    HICON icon = ::CopyIcon(::LoadIconW(nullptr, IDI_APPLICATION));
    g_icons.push_back(icon);
    return icon;
}
int LiveIcons() {
    int live = 0;
    for (HICON icon : g_icons) {
        ICONINFO info = {};
        if (::GetIconInfo(icon, &info)) {
            ++live;
            if (info.hbmColor) ::DeleteObject(info.hbmColor);
            if (info.hbmMask) ::DeleteObject(info.hbmMask);
        }
    }
    return live;
}

TEST_F(InstalledPage, RowsGiveTheirIconsBackAndReloadsKeepNoHandles) {
    g_icons.clear();
    SetInstalledIconLoaderForTests(MakeIcon);
    SysInstallSoftList programs = Programs(45);
    for (auto& p : programs) p->icon = L"C:\\windows\\system32\\notepad.exe";
    scan_.Set(programs);
    Open();
    ShowTab2();
    EXPECT_EQ(20, LiveIcons());
    ClickNumber(2);
    EXPECT_EQ(25u, g_icons.size());
    EXPECT_EQ(5, LiveIcons()) << "the rows of page 1 gave their icons back";

    UiToolkit::TUiNotify refresh;
    refresh.sType = L"refresh_content";
    page_->Notify(refresh);  // the threads and windows of a first reload settle
    wintest::Pump(200);
    // Reloads behind their loading windows, then many more in place.
    for (int in_place = 0; in_place < 2; ++in_place) {
        UninstallSoft::SetScanInPlaceForTests(in_place == 1);
        const int reloads = in_place ? 100 : 10;
        const int scans = scan_.Scans();
        const size_t made = g_icons.size();
        const int before = test_support::OpenHandleCount();
        for (int i = 0; i < reloads; ++i) page_->Notify(refresh);
        wintest::Pump(500);
        const int after = test_support::OpenHandleCount();
        EXPECT_EQ(scans + reloads, scan_.Scans());
        EXPECT_EQ(20, LiveIcons());
        EXPECT_EQ(made + 20u * reloads, g_icons.size());
        EXPECT_LT(after - before, 10) << before << " -> " << after;
    }
    UninstallSoft::SetScanInPlaceForTests(false);
    Close();
    EXPECT_EQ(0, LiveIcons()) << "the rows' icons go with the page";
}

}  // namespace
