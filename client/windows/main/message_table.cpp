#include "client/windows/main/message_table.h"

#include "client/windows/main_frame_messages.h"

namespace {

typedef MessageAction A;
typedef TargetClass T;
typedef MessageRecord R;

#define ROW(msg, action, note, has_target, target, record, stamped, handled) \
    {msg, #msg, action, note, has_target, target, record, stamped, handled}

const MessageRow kRows[] = {
    ROW(WM_TRAY_NOTIFY, A::kOwn, nullptr, false, T::kPage, R::kNone, false, false),
    ROW(WM_MENU_COMMAND, A::kOwn, nullptr, false, T::kPage, R::kNone, false, false),
    ROW(WM_PAGE_SHOW_SOFT_TYPES, A::kDirect, L"page_show_soft_types", true, T::kPage, R::kNone, false, false),
    ROW(WM_PAGE_SHOW_SOFT_ITEMS, A::kDirect, L"page_show_soft_items", true, T::kPage, R::kRankResult, false, false),
    ROW(WM_COMPLETE_DOWNLOAD, A::kDirect, L"complete_download", true, T::kDownloadingPage, R::kNone, false, false),
    ROW(WM_DELETE_DOWNLOAD, A::kDirect, L"delete_download", true, T::kDownloadingPage, R::kNone, false, false),
    ROW(WM_COMPLETE_DOWNLOAD2, A::kDirect, L"complete_download2", true, T::kSoftListItem, R::kNone, true, false),
    ROW(WM_DELETE_DOWNLOAD2, A::kDirect, L"delete_download2", true, T::kSoftListItem, R::kNone, false, false),
    ROW(WM_STOP_DOWNLOAD, A::kDirect, L"wm_stop_download", true, T::kDownloadProgress, R::kNone, false, false),
    ROW(WM_RESTART_DOWNLOAD, A::kDirect, L"wm_restart_download", true, T::kDownloadProgress, R::kNone, false, false),
    ROW(WM_CLICK_SOFT_DETAIL, A::kBroadcast, L"click_soft_detail", false, T::kPage, R::kNone, false, false),
    ROW(WM_BACK_TO_SOFT_LIST_PAGE, A::kBroadcast, L"back_to_soft_list_page", false, T::kPage, R::kNone, false, false),
    ROW(WM_INSTALL_PROC_EXIT, A::kDirect, L"install_proc_exit", true, T::kSoftListItem, R::kNone, true, false),
    ROW(WM_LOGOUT, A::kOwn, L"logout", false, T::kPage, R::kNone, false, false),
    ROW(WM_LOGIN_SUCCEEDED, A::kOwn, L"login_post", false, T::kPage, R::kNone, false, false),
    ROW(WM_LOGIN_POST, A::kOwn, L"login_post", false, T::kPage, R::kNone, false, false),
    ROW(WM_SOFT_ICON_READY, A::kOwn, nullptr, true, T::kSoftListItem, R::kIconPath, false, false),
    ROW(WM_COLLECT_ICON_READY, A::kOwn, nullptr, true, T::kIconControl, R::kNone, false, false),
    ROW(WM_DEL_COLLECT_SOFT, A::kBroadcast, L"del_collect_soft", false, T::kPage, R::kNone, false, false),
    ROW(WM_DEL_COLLECT_SOFT_POST, A::kBroadcast, L"del_collect_soft_post", true, T::kCollectItem, R::kNone, false, false),
    ROW(WM_AUTO_LOGIN_DONE, A::kOwn, nullptr, false, T::kPage, R::kNone, false, false),
    ROW(WM_CLICK_DETAIL_ON_COLLECT, A::kOwn, L"click_detail_on_collect", false, T::kPage, R::kNone, false, false),
    ROW(WM_INSERT_SINGLE_SOFT_ITEM, A::kDirect, L"insert_single_soft_item", true, T::kPage, R::kNewRow, false, false),
    ROW(WM_INSERT_SCHEME_ITEM, A::kBroadcast, L"insert_scheme_item", false, T::kPage, R::kSchemeInfoList, false, false),
    ROW(WM_DEL_SCHEME_ITEM, A::kBroadcast, L"del_scheme_item", true, T::kMySchemeItem, R::kNone, false, true),
    ROW(WM_CLICK_DETAIL_ON_SCHEME, A::kOwn, L"click_detail_on_scheme", false, T::kPage, R::kNone, false, false),
    ROW(WM_SCHEME_SOFT_ICON_READY, A::kOwn, nullptr, true, T::kIconControl, R::kNone, false, false),
    ROW(WM_INSERT_SCHEME_SOFT, A::kBroadcast, L"insert_scheme_soft", false, T::kPage, R::kSchemeSofts, false, true),
    ROW(WM_ADD_TO_SCHEME, A::kOwn, nullptr, false, T::kPage, R::kNone, false, false),
    ROW(WM_CLEAR_BEFORE_INSERT, A::kDirect, L"clear_before_insert", true, T::kPage, R::kNone, false, false),
    ROW(WM_TYPE_ICON_READY, A::kOwn, nullptr, true, T::kTypeListItem, R::kIconPath, false, false),
    ROW(WM_UPDATE_CHECKED, A::kOwn, nullptr, false, T::kPage, R::kUpdateCheckResult, false, false),
    ROW(WM_VDB_DOWNLOADED, A::kOwn, nullptr, false, T::kPage, R::kNone, false, false),
    ROW(WM_DELETE_DOWNLOAD3, A::kDirect, L"delete_download3", true, T::kSchemeSoftItem, R::kNone, false, false),
    ROW(WM_COMPLETE_DOWNLOAD3, A::kDirect, L"complete_download3", true, T::kSchemeSoftItem, R::kNone, false, false),
    ROW(WM_DOWNLOADING, A::kDirect, L"wm_downloading", true, T::kDownloadProgress, R::kDownloadProgressRecord, false, false),
    ROW(WM_PREPARE_ON_DETAIL, A::kDirect, L"wm_prepare_on_detail", true, T::kDetail, R::kNone, false, false),
    ROW(WM_CHECKED_ON_DETAIL, A::kDirect, L"wm_checked_on_detail", true, T::kDetail, R::kNone, false, false),
    ROW(WM_FINAL_ON_DETAIL, A::kDirect, L"wm_final_on_detail", true, T::kDetail, R::kNone, false, false),
    ROW(WM_PREPARE_ON_SCHEME_SOFT_ITEM, A::kDirect, L"wm_prepare_on_scheme_soft_item", true, T::kSchemeSoftItem, R::kDownloadProgressRecord, false, false),
    ROW(WM_PREPARE_ON_SOFT_LIST_ITEM, A::kDirect, L"wm_prepare_on_soft_list_item", true, T::kSoftListItem, R::kDownloadProgressRecord, false, false),
    ROW(WM_CHECKED_ON_SOFT_LIST_ITEM, A::kDirect, L"wm_checked_on_soft_list_item", true, T::kSoftListItem, R::kNone, false, false),
    ROW(WM_FINAL_ON_SOFT_LIST_ITEM, A::kDirect, L"wm_final_on_soft_list_item", true, T::kSoftListItem, R::kNone, false, false),
    ROW(WM_COLLECTED_ON_SOFT_LIST_ITEM, A::kDirect, L"wm_collected_on_soft_list_item", true, T::kSoftListItem, R::kNone, false, false),
    ROW(WM_DECOLLECTED_ON_SOFT_LIST_ITEM, A::kDirect, L"wm_decollected_on_soft_list_item", true, T::kSoftListItem, R::kNone, false, false),
    ROW(WM_ON_SOFT_CORE_CHANGED, A::kDirect, L"wm_on_soft_core_changed", true, T::kSoftListItem, R::kNone, false, false),
    ROW(WM_QUIT_FOR_UPDATE, A::kOwn, nullptr, false, T::kPage, R::kNone, false, false),
};

#undef ROW

}  // namespace

const MessageRow* FindMessageRow(UINT number) {
    if (number < kFirstMainFrameMessage || number > kLastMainFrameMessage) return nullptr;
    for (const MessageRow& row : kRows) {
        if (row.number == number) return &row;
    }
    return nullptr;
}

const MessageRow* MessageRows(size_t* count) {
    *count = sizeof(kRows) / sizeof(kRows[0]);
    return kRows;
}
