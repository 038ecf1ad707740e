#pragma once
#include <windows.h>

// Private messages of the main window: WM_USER plus an offset. Workers,
// observers and rows post them to the published main-window handle; the
// main window's dispatcher turns each into a notification for the page or
// row named in lParam, a broadcast to the shown page, or an action of its
// own (client/windows/main/message_table.cpp lists what each one does).
//
// An object named in lParam must be registered as a live target
// (client/windows/main/live_targets.h) once it is in place, or the
// dispatcher drops the message.
const UINT WM_TRAY_NOTIFY = WM_USER + 101;              // tray icon callback; lParam: mouse message
const UINT WM_MENU_COMMAND = WM_USER + 102;             // lParam: kMenuCommand*
const UINT WM_PAGE_SHOW_SOFT_TYPES = WM_USER + 103;     // lParam: Page
const UINT WM_PAGE_SHOW_SOFT_ITEMS = WM_USER + 104;     // wParam: heap RankResult; lParam: Page
const UINT WM_COMPLETE_DOWNLOAD = WM_USER + 105;        // wParam: the row; lParam: DownloadingPage
const UINT WM_DELETE_DOWNLOAD = WM_USER + 106;          // wParam: the row; lParam: DownloadingPage
const UINT WM_COMPLETE_DOWNLOAD2 = WM_USER + 107;       // wParam: soft id; lParam: SoftListItem
const UINT WM_DELETE_DOWNLOAD2 = WM_USER + 108;         // lParam: SoftListItem
const UINT WM_STOP_DOWNLOAD = WM_USER + 109;            // lParam: DownloadProgress
const UINT WM_RESTART_DOWNLOAD = WM_USER + 110;         // lParam: DownloadProgress
const UINT WM_CLICK_SOFT_DETAIL = WM_USER + 112;        // lParam: soft id (broadcast)
const UINT WM_BACK_TO_SOFT_LIST_PAGE = WM_USER + 115;   // broadcast
const UINT WM_INSTALL_PROC_EXIT = WM_USER + 116;        // wParam: 1 confirmed; lParam: SoftListItem
const UINT WM_LOGOUT = WM_USER + 118;
const UINT WM_LOGIN_SUCCEEDED = WM_USER + 119;
const UINT WM_LOGIN_POST = WM_USER + 120;
const UINT WM_SOFT_ICON_READY = WM_USER + 122;          // wParam: heap icon path or 0; lParam: SoftListItem
const UINT WM_COLLECT_ICON_READY = WM_USER + 123;       // wParam: soft id; lParam: icon control
const UINT WM_DEL_COLLECT_SOFT = WM_USER + 125;         // broadcast
const UINT WM_DEL_COLLECT_SOFT_POST = WM_USER + 126;    // wParam: 1 removed; lParam: CollectItem
const UINT WM_AUTO_LOGIN_DONE = WM_USER + 127;
const UINT WM_CLICK_DETAIL_ON_COLLECT = WM_USER + 128;  // lParam: soft id
const UINT WM_INSERT_SINGLE_SOFT_ITEM = WM_USER + 129;  // wParam: new SoftListItem or 0; lParam: Page
const UINT WM_INSERT_SCHEME_ITEM = WM_USER + 130;       // lParam: heap SchemeInfoList
const UINT WM_DEL_SCHEME_ITEM = WM_USER + 132;          // lParam: MySchemeItem
const UINT WM_CLICK_DETAIL_ON_SCHEME = WM_USER + 133;   // lParam: soft id
const UINT WM_SCHEME_SOFT_ICON_READY = WM_USER + 136;   // wParam: soft id; lParam: icon control
const UINT WM_INSERT_SCHEME_SOFT = WM_USER + 137;       // wParam: 1; lParam: heap SchemeSofts
const UINT WM_ADD_TO_SCHEME = WM_USER + 138;            // lParam: soft id
const UINT WM_CLEAR_BEFORE_INSERT = WM_USER + 140;      // lParam: Page
const UINT WM_TYPE_ICON_READY = WM_USER + 141;          // wParam: heap icon path or 0; lParam: TypeListItem
const UINT WM_UPDATE_CHECKED = WM_USER + 143;           // wParam: 1 newer; lParam: heap UpdateCheckResult
const UINT WM_VDB_DOWNLOADED = WM_USER + 144;           // wParam: 1 ready
const UINT WM_DELETE_DOWNLOAD3 = WM_USER + 145;         // wParam: DownloadProgress; lParam: SchemeSoftItem
const UINT WM_COMPLETE_DOWNLOAD3 = WM_USER + 146;       // wParam: DownloadProgress; lParam: SchemeSoftItem
const UINT WM_DOWNLOADING = WM_USER + 147;              // wParam: heap DownloadProgressRecord; lParam: DownloadProgress
const UINT WM_PREPARE_ON_DETAIL = WM_USER + 148;        // lParam: Detail
const UINT WM_CHECKED_ON_DETAIL = WM_USER + 149;        // wParam: 1 newer; lParam: Detail
const UINT WM_FINAL_ON_DETAIL = WM_USER + 150;          // lParam: Detail
const UINT WM_PREPARE_ON_SCHEME_SOFT_ITEM = WM_USER + 151;  // wParam: heap DownloadProgressRecord; lParam: SchemeSoftItem
const UINT WM_PREPARE_ON_SOFT_LIST_ITEM = WM_USER + 152;    // wParam: heap DownloadProgressRecord; lParam: SoftListItem
const UINT WM_CHECKED_ON_SOFT_LIST_ITEM = WM_USER + 153;    // wParam: 1 newer; lParam: SoftListItem
const UINT WM_FINAL_ON_SOFT_LIST_ITEM = WM_USER + 154;      // lParam: SoftListItem
const UINT WM_COLLECTED_ON_SOFT_LIST_ITEM = WM_USER + 155;  // lParam: SoftListItem
const UINT WM_DECOLLECTED_ON_SOFT_LIST_ITEM = WM_USER + 156;  // lParam: SoftListItem
const UINT WM_ON_SOFT_CORE_CHANGED = WM_USER + 157;     // wParam: new score; lParam: SoftListItem
const UINT WM_QUIT_FOR_UPDATE = WM_USER + 158;

// The dispatcher's range; numbers inside it that no row names are reserved.
const UINT kFirstMainFrameMessage = WM_USER + 101;
const UINT kLastMainFrameMessage = WM_USER + 158;

// lParam values of WM_MENU_COMMAND.
const LPARAM kMenuCommandSetting = 0;
const LPARAM kMenuCommandAbout = 1;
const LPARAM kMenuCommandOpen = 2;
const LPARAM kMenuCommandTrayExit = 3;
