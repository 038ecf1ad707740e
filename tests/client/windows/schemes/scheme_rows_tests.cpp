// The rows of an opened scheme: the download strip through the main
// window's messages, "一键安装", strips at construction, late messages
// after a rebuild, and catalogue texts shown literally.
#include "client/core/catalogue/soft_info_mgr.h"
#include "client/core/downloads/download_task_registry.h"
#include "client/windows/main/live_targets.h"
#include "client/windows/main/main_frame_flags.h"
#include "client/windows/main/message_records.h"
#include "client/windows/main_frame_messages.h"
#include "tests/client/windows/schemes/schemes_fixture.h"
#include "uitoolkit/markup/markup_literal.h"

namespace {

std::wstring Text(UiToolkit::CControlUI* control) { return control->GetText().GetData(); }

class SchemeRows : public SchemesTest {
protected:
    void TearDown() override {
        for (int32_t id : {1010, 1011}) {
            if (DownloadTaskRegistry::IsDownloading(id)) DownloadTaskRegistry::Delete(id);
            DownloadTaskRegistry::RemoveCompleted(id);
            DownloadStateMap::Set(id, DownloadStateMap::kNone);
        }
        Drain(200);
        SchemesTest::TearDown();
    }
    int FileRequests(int32_t id) { return Count("/file/" + std::to_string(id)); }
    void Post(UINT msg, WPARAM wParam, LPARAM lParam) { ::PostMessageW(frame_->GetHWND(), msg, wParam, lParam); }
};

TEST_F(SchemeRows, InstallAllStartsWhatIsNotRunningAndEveryRowShowsItsStrip) {
    OpenLoggedIn(2);
    for (int32_t id : {1010, 1011}) ASSERT_TRUE(ServeBytes(id, 256 * 1024));
    Fault("throttle", "/files/", -1, "6000");  // 256 KiB: over 40 s
    // 1011 downloads before the scheme is opened: its row shows the strip
    // as soon as it is built.
    ASSERT_TRUE(DownloadTaskRegistry::Start(1011));
    ASSERT_TRUE(wintest::PumpUntil([] { return DownloadStateMap::Get(1011) == DownloadStateMap::kDownloading; }, 5000));
    OpenScheme(SchemeNamed(L"办公必备"), 2);
    SchemeSoftItem* first = SoftRow(0);
    SchemeSoftItem* running = SoftRow(1);
    ASSERT_EQ(1011, running->SoftId());
    EXPECT_TRUE(running->StripShown());
    EXPECT_FALSE(running->Tree().del->IsVisible());
    EXPECT_FALSE(running->Tree().size_box->IsVisible());
    EXPECT_FALSE(running->Strip()->StartButton()->IsEnabled());
    EXPECT_TRUE(running->Strip()->StopButton()->IsEnabled());
    EXPECT_FALSE(first->StripShown());

    const std::shared_ptr<DownloadTask> running_task = DownloadTaskRegistry::Find(1011);
    ASSERT_NE(nullptr, running_task.get());
    ClickOnPage(Schemes()->InstallButton());
    ASSERT_TRUE(wintest::PumpUntil([&] { return first->StripShown(); }, 5000));
    ASSERT_TRUE(wintest::PumpUntil([&] { return FileRequests(1010) > 0; }, 5000));
    const int started_requests = FileRequests(1010);
    // The running one was not started again: the same task runs on.
    EXPECT_EQ(running_task.get(), DownloadTaskRegistry::Find(1011).get());
    EXPECT_TRUE(DownloadTaskRegistry::IsDownloading(1010));
    // A transfer report arrives.
    ASSERT_TRUE(wintest::PumpUntil(
        [&] {
            const std::wstring speed = Text(first->Strip()->SpeedText());
            return speed.find(L"B/S") != std::wstring::npos && speed != L"0 B/S";
        },
        15000))
        << Narrow(Text(first->Strip()->SpeedText()));

    // A second click starts nothing.
    ClickOnPage(Schemes()->InstallButton());
    Drain(300);
    EXPECT_EQ(started_requests, FileRequests(1010));
    EXPECT_EQ(running_task.get(), DownloadTaskRegistry::Find(1011).get());

    // The strip's stop button reaches the registry; the stopped look
    // comes back through the main window.
    ClickOnPage(first->Strip()->StopButton());
    ASSERT_TRUE(wintest::PumpUntil([&] { return first->Strip()->IsStoppedLook(); }, 5000));
    // Reopened while stopped: the new row shows the stopped strip.
    OpenScheme(SchemeNamed(L"办公必备"), 2);
    EXPECT_TRUE(SoftRow(0)->StripShown());
    EXPECT_TRUE(SoftRow(0)->Strip()->IsStoppedLook());
}

TEST_F(SchemeRows, StripFollowsTheMessagesOfItsRowOnly) {
    OpenLoggedIn(2);
    OpenScheme(SchemeNamed(L"办公必备"), 2);
    SchemeSoftItem* row = SoftRow(0);
    SchemeSoftItem* other = SoftRow(1);
    DownloadProgress* strip = row->Strip();

    // Prepare of a running download: the strip replaces the buttons and
    // waits.
    DownloadStateMap::Set(1010, DownloadStateMap::kDownloading);
    DownloadProgressRecord* waiting = new DownloadProgressRecord;
    Post(WM_PREPARE_ON_SCHEME_SOFT_ITEM, reinterpret_cast<WPARAM>(waiting), reinterpret_cast<LPARAM>(row));
    ASSERT_TRUE(wintest::PumpUntil([&] { return row->StripShown(); }, 3000));
    EXPECT_EQ(L"等待下载", Text(strip->SpeedText()));
    EXPECT_FALSE(row->Tree().detail->IsVisible());
    EXPECT_FALSE(other->StripShown());

    DownloadProgressRecord* report = new DownloadProgressRecord;
    report->state = 1;
    report->percent = 45;
    report->speed = 1572864;
    Post(WM_DOWNLOADING, reinterpret_cast<WPARAM>(report), reinterpret_cast<LPARAM>(strip));
    ASSERT_TRUE(wintest::PumpUntil([&] { return strip->Bar()->GetValue() == 45; }, 3000));
    EXPECT_EQ(L"45%", Text(strip->PercentText()));
    EXPECT_EQ(L"1 MB/S", Text(strip->SpeedText()));

    // Completion keeps the strip, full; nothing is installed.
    Post(WM_COMPLETE_DOWNLOAD3, reinterpret_cast<WPARAM>(strip), reinterpret_cast<LPARAM>(row));
    ASSERT_TRUE(wintest::PumpUntil([&] { return Text(strip->SpeedText()) == L"下载完成"; }, 3000));
    EXPECT_EQ(100, strip->Bar()->GetValue());
    EXPECT_EQ(L"100%", Text(strip->PercentText()));
    EXPECT_TRUE(row->StripShown());

    // Another row's strip in wParam: ignored.
    Post(WM_DELETE_DOWNLOAD3, reinterpret_cast<WPARAM>(other->Strip()), reinterpret_cast<LPARAM>(row));
    Drain(200);
    EXPECT_TRUE(row->StripShown());
    // Its own: back to the buttons.
    Post(WM_DELETE_DOWNLOAD3, reinterpret_cast<WPARAM>(strip), reinterpret_cast<LPARAM>(row));
    ASSERT_TRUE(wintest::PumpUntil([&] { return !row->StripShown(); }, 3000));
    EXPECT_TRUE(row->Tree().del->IsVisible());
    EXPECT_TRUE(row->Tree().detail->IsVisible());
    EXPECT_TRUE(row->Tree().size_box->IsVisible());
}

TEST_F(SchemeRows, LateMessagesAfterARebuildAreDropped) {
    wintest::QuarantineFrees(true);
    OpenLoggedIn(2);
    OpenScheme(SchemeNamed(L"办公必备"), 2);
    SchemeSoftItem* old_row = SoftRow(0);
    DownloadProgress* old_strip = old_row->Strip();
    UiToolkit::CControlUI* old_icon = old_row->Tree().icon;
    OpenScheme(SchemeNamed(L"Games"), 0);
    Drain(200);
    EXPECT_FALSE(LiveTargets::Find(old_row, TargetClass::kSchemeSoftItem, nullptr));
    EXPECT_FALSE(LiveTargets::Find(old_strip, TargetClass::kDownloadProgress, nullptr));
    EXPECT_FALSE(LiveTargets::Find(old_icon, TargetClass::kIconControl, nullptr));
    DownloadProgressRecord* report = new DownloadProgressRecord;
    report->state = 1;
    wintest::WatchDelete(report);
    Post(WM_DOWNLOADING, reinterpret_cast<WPARAM>(report), reinterpret_cast<LPARAM>(old_strip));
    Post(WM_PREPARE_ON_SCHEME_SOFT_ITEM, reinterpret_cast<WPARAM>(new DownloadProgressRecord),
         reinterpret_cast<LPARAM>(old_row));
    Post(WM_COMPLETE_DOWNLOAD3, reinterpret_cast<WPARAM>(old_strip), reinterpret_cast<LPARAM>(old_row));
    Post(WM_SCHEME_SOFT_ICON_READY, 1010, reinterpret_cast<LPARAM>(old_icon));
    ASSERT_TRUE(wintest::PumpUntil([] { return wintest::WatchedDeleted(); }, 3000));
    Drain(200);
    wintest::QuarantineFrees(false);
}

TEST_F(SchemeRows, CatalogueTextsAreShownLiterally) {
    OpenLoggedIn(2);
    auto soft = std::make_shared<Software>();
    soft->soft_id = 1010;
    soft->soft_name = L"<b>Name</b>";
    soft->soft_desc = L"{i c:\\windows\\win.ini}{a x}描述{/a}";
    soft->soft_size = 1572864;
    SchemeSoftItem* row = new SchemeSoftItem(Schemes()->Owner(), 610, soft);
    Schemes()->SoftList()->Add(row);
    const SoftRowTree& tree = row->Tree();
    EXPECT_TRUE(tree.desc->IsShowHtml());
    EXPECT_EQ(std::wstring(UiToolkit::MarkupLiteral(soft->soft_desc.c_str()).GetData()), Text(tree.desc));
    EXPECT_EQ(soft->soft_desc, std::wstring(tree.desc->GetToolTip().GetData()));
    EXPECT_EQ(L"<b>Name</b>", Text(tree.name));
    EXPECT_FALSE(tree.name->IsShowHtml());
    EXPECT_EQ(L"1.50M", Text(tree.size_text));
    EXPECT_EQ(150, tree.size_box->GetFixedWidth());
    EXPECT_EQ(nullptr, tree.add_scheme);
    EXPECT_EQ(L"", std::wstring(tree.del->GetToolTip().GetData()));
    Drain(300);  // painted with the markup escaped: no crash, no file opened
}

TEST_F(SchemeRows, DetailClickOpensTheCatalogueFromHome) {
    OpenLoggedIn(2);
    OpenScheme(SchemeNamed(L"办公必备"), 2);
    ClickOnPage(SoftRow(1)->Tree().detail);
    EXPECT_TRUE(MainFrameFlags::OpenedFromHome());
    ASSERT_TRUE(wintest::PumpUntil([&] { return frame_->SelectedTab() == MainFrameWnd::kMarketTab; }, 5000));
    // A tab button clears it: later back buttons stay in the catalogue.
    ClickTab(MainFrameWnd::kNecessaryTab);
    EXPECT_FALSE(MainFrameFlags::OpenedFromHome());
}

}  // namespace
