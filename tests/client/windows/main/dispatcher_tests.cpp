// The dispatcher over the whole message table: direct rows reach only a
// registered target of their class, broadcasts reach only the shown page,
// reserved numbers do nothing, and a message whose target is gone is
// dropped with its record freed.
#include <string>

#include "client/windows/main/message_table.h"
#include "client/windows/main_frame_messages.h"
#include "tests/client/windows/main/main_frame_fixture.h"

namespace {

using wintest::RecordingTarget;

// A heap record of the kind a row carries, or 0.
WPARAM NewWParamRecord(MessageRecord kind) {
    switch (kind) {
    case MessageRecord::kRankResult: return reinterpret_cast<WPARAM>(new RankResult);
    case MessageRecord::kDownloadProgressRecord: return reinterpret_cast<WPARAM>(new DownloadProgressRecord);
    case MessageRecord::kIconPath: return NewIconPathParam(L"C:\\icons\\1.png");
    case MessageRecord::kNewRow: return reinterpret_cast<WPARAM>(new UiToolkit::CControlUI);
    default: return 0;
    }
}

LPARAM NewLParamRecord(MessageRecord kind) {
    switch (kind) {
    case MessageRecord::kSchemeInfoList: return reinterpret_cast<LPARAM>(new SchemeInfoList(2));
    case MessageRecord::kSchemeSofts: return reinterpret_cast<LPARAM>(new SchemeSofts);
    case MessageRecord::kUpdateCheckResult: return reinterpret_cast<LPARAM>(new UpdateCheckResult);
    default: return 0;
    }
}

bool CarriesWParamRecord(MessageRecord kind) { return NewWParamRecord(kind) != 0; }

TargetClass AnotherClass(TargetClass cls) {
    return cls == TargetClass::kPage ? TargetClass::kDetail : TargetClass::kPage;
}

class Dispatcher : public MainFrameTest {};

TEST_F(Dispatcher, DirectRowsReachOnlyARegisteredTargetOfTheirClass) {
    Open();
    size_t count = 0;
    const MessageRow* rows = MessageRows(&count);
    int direct = 0;
    for (size_t i = 0; i < count; ++i) {
        const MessageRow& row = rows[i];
        if (row.action != MessageAction::kDirect) continue;
        ++direct;
        SCOPED_TRACE(row.name);
        RecordingTarget target(row.target);
        WPARAM w = CarriesWParamRecord(row.record) ? NewWParamRecord(row.record) : 7;
        DWORD before = ::GetTickCount();
        ASSERT_TRUE(::PostMessageW(hwnd(), row.number, w, reinterpret_cast<LPARAM>(&target)));
        ASSERT_TRUE(wintest::PumpUntil([&] { return !target.log.empty(); }, 3000));
        ASSERT_EQ(1u, target.log.size());
        const wintest::Delivery& d = target.log[0];
        EXPECT_EQ(row.notification, d.type);
        EXPECT_EQ(&target, d.sender);
        EXPECT_EQ(w, d.wParam);
        EXPECT_EQ(0, d.lParam);
        if (row.stamped) {
            EXPECT_GE(d.timestamp, before);
            EXPECT_LE(d.timestamp, ::GetTickCount());
        } else {
            EXPECT_EQ(0u, d.timestamp);
        }
        for (int tab = 0; tab < MainFrameWnd::kTabCount; ++tab) EXPECT_EQ(0, page(tab).Count(row.notification));
        // Delivered, so the dispatcher leaves the record to the target.
        EXPECT_TRUE(frame_->Dispatch(row.number, w, reinterpret_cast<LPARAM>(&target)));
        EXPECT_EQ(2u, target.log.size());
        if (w != 7) FreeMessageRecord(row.record, w, 0);

        // Registered, but as another class: dropped, its record freed.
        RecordingTarget wrong(AnotherClass(row.target));
        w = CarriesWParamRecord(row.record) ? NewWParamRecord(row.record) : 7;
        if (w != 7) wintest::WatchDelete(reinterpret_cast<void*>(w));
        EXPECT_TRUE(frame_->Dispatch(row.number, w, reinterpret_cast<LPARAM>(&wrong)));
        EXPECT_TRUE(wrong.log.empty());
        if (w != 7) EXPECT_TRUE(wintest::WatchedDeleted());
    }
    EXPECT_EQ(24, direct);
    EXPECT_EQ(47u, count);  // 58 numbers, 11 of them reserved
}

TEST_F(Dispatcher, BroadcastRowsReachOnlyTheShownPage) {
    Open();
    UiToolkit::CControlUI* help = frame_->Find(L"help_btn");
    size_t count = 0;
    const MessageRow* rows = MessageRows(&count);
    for (size_t i = 0; i < count; ++i) {
        const MessageRow& row = rows[i];
        if (row.action != MessageAction::kBroadcast) continue;
        SCOPED_TRACE(row.name);
        RecordingTarget row_object(row.target);
        LPARAM l = row.has_target ? reinterpret_cast<LPARAM>(&row_object) : NewLParamRecord(row.record);
        if (!l) l = 1005;  // a software id
        ASSERT_TRUE(::PostMessageW(hwnd(), row.number, 3, l));
        ASSERT_TRUE(wintest::PumpUntil([&] { return page(0).Count(row.notification) == 1; }, 3000));
        const wintest::Delivery& d = *page(0).Last(row.notification);
        EXPECT_EQ(help, d.sender);
        EXPECT_EQ(3u, d.wParam);
        EXPECT_EQ(l, d.lParam);
        for (int tab = 1; tab < MainFrameWnd::kTabCount; ++tab) EXPECT_EQ(0, page(tab).Count(row.notification));
        EXPECT_TRUE(row_object.log.empty());
        EXPECT_EQ(row.sets_handled, frame_->Dispatch(row.number, 3, l));
        wintest::Pump(20);
        EXPECT_EQ(2, page(0).Count(row.notification));
        // The shown page frees broadcast records; this one records only.
        if (!row.has_target) FreeMessageRecord(row.record, 0, l);
    }
}

TEST_F(Dispatcher, ReservedAndOutsideNumbersDoNothing) {
    Open();
    for (int i = 0; i < MainFrameWnd::kTabCount; ++i) page(i).Clear();
    int reserved = 0;
    for (UINT number = WM_USER + 100; number <= WM_USER + 159; ++number) {
        if (FindMessageRow(number)) continue;
        ++reserved;
        EXPECT_FALSE(frame_->Dispatch(number, 1, 2)) << number;
        ::PostMessageW(hwnd(), number, 1, 2);
    }
    wintest::Pump(100);
    EXPECT_EQ(13, reserved);  // the 11 reserved numbers, and one each side
    for (int i = 0; i < MainFrameWnd::kTabCount; ++i) EXPECT_TRUE(page(i).log.empty()) << i;
    EXPECT_TRUE(::IsWindowVisible(hwnd()));
}

TEST_F(Dispatcher, MessagesForTargetsThatAreGoneAreDroppedWithTheirRecords) {
    Open();
    struct Case {
        UINT msg;
        MessageRecord record;
        const char* target;  // "null", "dead"
        bool handled;
    } cases[] = {
        {WM_PAGE_SHOW_SOFT_ITEMS, MessageRecord::kRankResult, "dead", true},
        {WM_PAGE_SHOW_SOFT_ITEMS, MessageRecord::kRankResult, "null", true},
        {WM_DOWNLOADING, MessageRecord::kDownloadProgressRecord, "dead", true},
        {WM_DOWNLOADING, MessageRecord::kDownloadProgressRecord, "null", true},
        {WM_PREPARE_ON_SOFT_LIST_ITEM, MessageRecord::kDownloadProgressRecord, "dead", true},
        {WM_PREPARE_ON_SCHEME_SOFT_ITEM, MessageRecord::kDownloadProgressRecord, "null", true},
        {WM_INSERT_SINGLE_SOFT_ITEM, MessageRecord::kNewRow, "dead", true},
        {WM_SOFT_ICON_READY, MessageRecord::kIconPath, "dead", true},
        {WM_SOFT_ICON_READY, MessageRecord::kIconPath, "null", true},
        {WM_TYPE_ICON_READY, MessageRecord::kIconPath, "dead", true},
        {WM_TYPE_ICON_READY, MessageRecord::kIconPath, "null", true},
        {WM_INSTALL_PROC_EXIT, MessageRecord::kNone, "null", true},
        {WM_DEL_SCHEME_ITEM, MessageRecord::kNone, "dead", true},
        {WM_DEL_COLLECT_SOFT_POST, MessageRecord::kNone, "null", true},
    };
    for (const Case& c : cases) {
        const MessageRow* row = FindMessageRow(c.msg);
        ASSERT_TRUE(row);
        SCOPED_TRACE(std::string(row->name) + " with a " + c.target + " target");
        for (int i = 0; i < MainFrameWnd::kTabCount; ++i) page(i).Clear();
        LPARAM target = 0;
        if (std::string(c.target) == "dead") {
            RecordingTarget* gone = new RecordingTarget(row->target);
            target = reinterpret_cast<LPARAM>(gone);
            delete gone;
        }
        WPARAM w = NewWParamRecord(c.record);
        if (c.record == MessageRecord::kRankResult) {
            // The rows a worker built go with the record.
            bool row_deleted = false;
            reinterpret_cast<RankResult*>(w)->rows.push_back(new RecordingTarget(TargetClass::kSoftListItem, &row_deleted));
            EXPECT_EQ(c.handled, frame_->Dispatch(c.msg, w, target));
            EXPECT_TRUE(row_deleted);
            continue;
        }
        if (w) wintest::WatchDelete(reinterpret_cast<void*>(w));
        int delivered = RecordingTarget::total_deliveries;
        EXPECT_EQ(c.handled, frame_->Dispatch(c.msg, w, target));
        if (w) EXPECT_TRUE(wintest::WatchedDeleted());
        EXPECT_EQ(delivered, RecordingTarget::total_deliveries);
        wintest::Pump(20);
        for (int i = 0; i < MainFrameWnd::kTabCount; ++i) EXPECT_TRUE(page(i).log.empty()) << i;
    }
}

TEST_F(Dispatcher, ATargetDestroyedWhileItsMessageWaitsIsNotCalled) {
    Open();
    RecordingTarget* widget = new RecordingTarget(TargetClass::kDownloadProgress);
    DownloadProgressRecord* record = new DownloadProgressRecord;
    record->state = 1;
    record->percent = 40;
    ASSERT_TRUE(::PostMessageW(hwnd(), WM_DOWNLOADING, reinterpret_cast<WPARAM>(record),
                               reinterpret_cast<LPARAM>(widget)));
    ASSERT_TRUE(::PostMessageW(hwnd(), WM_STOP_DOWNLOAD, 0, reinterpret_cast<LPARAM>(widget)));
    size_t before = LiveTargets::Count();
    delete widget;  // the row went away before the UI thread got to its messages
    EXPECT_EQ(before - 1, LiveTargets::Count());
    wintest::WatchDelete(record);
    int delivered = RecordingTarget::total_deliveries;
    wintest::Pump(100);
    EXPECT_EQ(delivered, RecordingTarget::total_deliveries);
    EXPECT_TRUE(wintest::WatchedDeleted());
}

TEST_F(Dispatcher, IconPathsAreShownByALiveRowAndAlwaysFreed) {
    Open();
    const struct {
        UINT msg;
        TargetClass cls;
    } rows[] = {{WM_SOFT_ICON_READY, TargetClass::kSoftListItem}, {WM_TYPE_ICON_READY, TargetClass::kTypeListItem}};
    for (const auto& r : rows) {
        SCOPED_TRACE(FindMessageRow(r.msg)->name);
        RecordingTarget row(r.cls);
        WPARAM path = NewIconPathParam(L"C:\\icons\\7.png");
        wintest::WatchDelete(reinterpret_cast<void*>(path));
        EXPECT_TRUE(frame_->Dispatch(r.msg, path, reinterpret_cast<LPARAM>(&row)));
        EXPECT_TRUE(wintest::WatchedDeleted());
        ASSERT_EQ(1u, row.icons.size());
        EXPECT_EQ(L"C:\\icons\\7.png", row.icons[0]);
        // A row without a path shows nothing.
        EXPECT_TRUE(frame_->Dispatch(r.msg, 0, reinterpret_cast<LPARAM>(&row)));
        EXPECT_EQ(1u, row.icons.size());
        // A row of another class is not shown the path.
        RecordingTarget other(AnotherClass(r.cls));
        EXPECT_TRUE(frame_->Dispatch(r.msg, NewIconPathParam(L"x"), reinterpret_cast<LPARAM>(&other)));
        EXPECT_TRUE(other.icons.empty());
    }
}

}  // namespace
