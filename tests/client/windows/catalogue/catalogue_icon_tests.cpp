// Icons of the catalogue rows and the sub-category rows, in a program of
// their own: the icon downloader and the icon store keep what they fetched
// for the whole process, so each test here shows a category no other test
// of this program fetched.
#include <string>

#include "client/core/catalogue/soft_info_mgr.h"
#include "client/core/icons/local_icon_mgr.h"
#include "client/windows/catalogue/row_waits.h"
#include "client/windows/catalogue/type_list_item.h"
#include "client/windows/main_frame_messages.h"
#include "tests/client/windows/catalogue/catalogue_fixture.h"
#include "tests/support/test_support.h"

namespace {

class CatalogueIcons : public CatalogueTest {
protected:
    std::vector<TypeListItem*> TypeRows(Page* page) {
        std::vector<TypeListItem*> rows;
        for (int i = 0; i < page->TypeList()->GetCount(); ++i) {
            auto* row = static_cast<TypeListItem*>(page->TypeList()->GetItemAt(i)->FindInterface(L"TypeListItem"));
            if (row) rows.push_back(row);
        }
        return rows;
    }
    static std::wstring Image(UiToolkit::CControlUI* c) { return c->GetBkImage().GetData(); }
    bool AllRowIconsShown(Page* page) {
        for (int i = 0; i < page->SoftList()->GetCount(); ++i) {
            SoftListItem* row = Row(page, i);
            if (Image(row->Icon()) != IconRelativePath(kSoftIcon, row->SoftId())) return false;
        }
        return true;
    }
    bool AllTypeIconsShown(Page* page) {
        for (TypeListItem* row : TypeRows(page)) {
            if (Image(row->IconLabel()).find(IconRelativePath(kClassIcon, row->ClassId())) == std::wstring::npos)
                return false;
        }
        return true;
    }
};

TEST_F(CatalogueIcons, RowsAndSubCategoriesShowTheirIconsAndKnownOnesAreNotAskedAgain) {
    Open();
    Page* page = PageOf(0);
    ASSERT_TRUE(WaitRows(page, 16));
    ASSERT_TRUE(wintest::PumpUntil([&] { return AllRowIconsShown(page) && AllTypeIconsShown(page); }, 20000));
    EXPECT_EQ(0u, SoftIconWaits().Size());
    EXPECT_EQ(0u, TypeIconWaits().Size());
    // The label draws the 16 x 16 icon at 26, 5.
    EXPECT_NE(std::wstring::npos, Image(TypeRows(page)[0]->IconLabel()).find(L"dest='26,5,42,21'"));
    const int row_icons = Count("/icon/" + std::to_string(Row(page, 0)->SoftId()));
    const int type_icons = Count("/class_icon/101");
    EXPECT_EQ(1, row_icons);
    EXPECT_EQ(1, type_icons);
    // Rebuilt lists find the icons on disk.
    Send(page, L"refresh_content", nullptr);
    ASSERT_TRUE(WaitRows(page, 16));
    Drain(300);
    EXPECT_TRUE(AllRowIconsShown(page));
    EXPECT_TRUE(AllTypeIconsShown(page));
    EXPECT_EQ(row_icons, Count("/icon/" + std::to_string(Row(page, 0)->SoftId())));
    EXPECT_EQ(type_icons, Count("/class_icon/101"));
}

// A page asks for its rows' icons as soon as the ranking names the
// software, while the records are still on their way (held here): the
// icons are asked for before any row is shown, and the rows, once shown,
// join those downloads instead of starting their own.
TEST_F(CatalogueIcons, RowIconsAreAskedForWhileTheRecordsAreOnTheirWay) {
    Open();
    Page* first = PageOf(0);
    ASSERT_TRUE(WaitRows(first, 16));
    ASSERT_TRUE(wintest::PumpUntil([&] { return AllRowIconsShown(first) && AllTypeIconsShown(first); }, 20000));
    auto icon_requests = [&] {
        int n = 0;
        for (const std::string& r : Requests()) n += r.compare(0, 6, "/icon/") == 0;
        return n;
    };
    const int before = icon_requests();
    Fault("delay", "/soft/", 1, "8");
    ClickTab(4);
    Page* page = PageOf(4);
    ASSERT_TRUE(wintest::PumpUntil([&] { return icon_requests() > before; }, 20000));
    EXPECT_EQ(0, page->SoftList()->GetCount()) << "the icons were asked for only with the rows";
    ASSERT_TRUE(wintest::PumpUntil([&] { return page->SoftList()->GetCount() > 0; }, 30000));
    Drain(300);
    ASSERT_TRUE(wintest::PumpUntil([&] { return AllRowIconsShown(page); }, 20000));
    for (int i = 0; i < page->SoftList()->GetCount(); ++i)
        EXPECT_EQ(1, Count("/icon/" + std::to_string(Row(page, i)->SoftId()))) << i;
}

// The sub-category list is rebuilt while its icons are still on the way:
// the old rows' late icons are dropped, the new rows get theirs.
TEST_F(CatalogueIcons, ASubCategoryListRebuiltWhileItsIconsDownload) {
    Open();
    Fault("delay", "/class_icon/20", -1, "1.5");
    ClickTab(1);
    Page* page = PageOf(1);
    ASSERT_TRUE(wintest::PumpUntil([&] { return TypeRows(page).size() == 6; }, 10000));
    std::vector<TypeListItem*> old_rows = TypeRows(page);
    EXPECT_EQ(6u, TypeIconWaits().Size());
    wintest::QuarantineFrees(true);
    Send(page, L"page_show_soft_types", page);
    std::vector<TypeListItem*> new_rows = TypeRows(page);
    ASSERT_EQ(6u, new_rows.size());
    // The old rows' entries go with them (the manager frees removed rows
    // once the current message is done).
    EXPECT_TRUE(wintest::PumpUntil([] { return TypeIconWaits().Size() <= 6; }, 1000));
    ASSERT_TRUE(wintest::PumpUntil([&] { return AllTypeIconsShown(page); }, 20000));
    Drain(300);
    wintest::QuarantineFrees(false);
    EXPECT_EQ(0u, TypeIconWaits().Size());
    // One download per category served both generations of rows.
    EXPECT_EQ(1, Count("/class_icon/201"));
    // Nothing was posted for the old rows (unless a new row took an old
    // one's address, which the quarantine prevents).
    for (TypeListItem* row : old_rows) EXPECT_EQ(0, frame_->Arrived(WM_TYPE_ICON_READY, row));
}

// Two rows of one software while its icon downloads: both show it.
TEST_F(CatalogueIcons, TwoRowsOfOneSoftwareBothShowItsIcon) {
    Open();
    Fault("delay", "/icon/", -1, "1");
    ClickTab(3);
    Page* page = PageOf(3);
    ASSERT_TRUE(WaitRows(page, 11));
    const int32_t id = Row(page, 0)->SoftId();
    SoftListItem* twin = new SoftListItem(page->RowOwnerOf(), id, page->LatestRequest());
    Send(page, L"insert_single_soft_item", page, reinterpret_cast<WPARAM>(twin));
    EXPECT_EQ(kFallbackSoftIcon, Image(twin->Icon()));
    ASSERT_TRUE(wintest::PumpUntil([&] { return AllRowIconsShown(page); }, 20000));
    EXPECT_EQ(IconRelativePath(kSoftIcon, id), Image(twin->Icon()));
    EXPECT_EQ(1, Count("/icon/" + std::to_string(id)));
}

// An icon the service sends as a picture far larger than any icon, and one
// it does not have: the rows keep the fallback icon.
TEST_F(CatalogueIcons, ARefusedOrMissingIconLeavesTheFallback) {
    Open();
    Page* page = PageOf(0);
    ASSERT_TRUE(WaitRows(page, 16));
    ASSERT_TRUE(CacheRecord(5101, "{\"soft_id\":\"5101\",\"soft_name\":\"Huge\"}"));
    ASSERT_TRUE(CacheRecord(5102, "{\"soft_id\":\"5102\",\"soft_name\":\"Missing\"}"));
    Fault("huge_image", "/icon/5101", -1, "5000x5000");
    SoftListItem* huge = new SoftListItem(page->RowOwnerOf(), 5101, page->LatestRequest());
    Send(page, L"insert_single_soft_item", page, reinterpret_cast<WPARAM>(huge));
    SoftListItem* missing = new SoftListItem(page->RowOwnerOf(), 5102, page->LatestRequest());
    Send(page, L"insert_single_soft_item", page, reinterpret_cast<WPARAM>(missing));
    TypeListItem* unknown_type = new TypeListItem(9901, L"unknown");
    page->TypeList()->Add(unknown_type);
    ASSERT_TRUE(wintest::PumpUntil(
        [&] { return SoftIconWaits().Size() == 0 && TypeIconWaits().Size() == 0; }, 60000));
    Drain(300);
    EXPECT_LE(1, Count("/icon/5101"));
    EXPECT_LE(1, Count("/icon/5102"));
    EXPECT_EQ(kFallbackSoftIcon, Image(huge->Icon()));
    EXPECT_EQ(kFallbackSoftIcon, Image(missing->Icon()));
    EXPECT_NE(std::wstring::npos, Image(unknown_type->IconLabel()).find(kFallbackTypeIcon));
    EXPECT_EQ(0, frame_->Arrived(WM_SOFT_ICON_READY, huge));
    std::string log;
    test_support::ReadFileBytes(folder_ + L"\\data\\vantrel.log", &log);
    EXPECT_NE(std::string::npos, log.find("SoftListItem::DownloadIconComplete: Download Icon Failed"));
}

}  // namespace
