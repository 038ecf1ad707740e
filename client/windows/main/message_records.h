#pragma once
// Heap records that travel in the main window's messages. The poster
// allocates one with `new`; ownership passes with the message to the
// receiver the message table names, which frees it with `delete`. When the
// dispatcher drops a message (its target is gone) it frees the record
// itself through FreeMessageRecord.
#include <windows.h>
#include <stdint.h>
#include <string>
#include <vector>

#include "client/core/catalogue/software.h"
#include "client/core/user_services/scheme_mgr.h"
#include "client/core/version/version_mgr.h"

namespace UiToolkit {
class CControlUI;
}

// wParam of WM_DOWNLOADING and of the two "prepare" messages.
struct DownloadProgressRecord {
    int32_t state = 0;    // 0 waiting, 1 running, 2 finished, 3 failed
    int32_t percent = 0;  // 0-100; -1 with state 3
    int32_t speed = 0;    // bytes per second; -1 with state 3
};

// wParam of WM_PAGE_SHOW_SOFT_ITEMS: the rows a page-load worker built, in
// ranking order. The page moves the rows into its list (clearing `rows`)
// and deletes the record; rows still held when it is deleted were never
// shown and are deleted with it.
struct RankResult {
    std::vector<UiToolkit::CControlUI*> rows;  // each a SoftListItem
    int total = 0;
    int page = 0;
    bool ok = false;
    int sub_type = -1;  // the sub-category id, -1 for the main category
    int request = 0;    // the page's number of the load that built it
    RankResult() = default;
    ~RankResult();
    RankResult(const RankResult&) = delete;
    RankResult& operator=(const RankResult&) = delete;
};

// lParam of WM_INSERT_SCHEME_ITEM.
typedef std::vector<SchemeInfo> SchemeInfoList;

// lParam of WM_INSERT_SCHEME_SOFT.
struct SchemeSofts {
    int scheme_id = 0;
    std::vector<SoftwarePtr> softs;
};

// wParam of WM_SOFT_ICON_READY and WM_TYPE_ICON_READY: a heap copy of the
// icon file's path (0 when there is none).
inline WPARAM NewIconPathParam(const std::wstring& path) {
    return reinterpret_cast<WPARAM>(new std::wstring(path));
}
inline const std::wstring* IconPathParam(WPARAM wParam) {
    return reinterpret_cast<const std::wstring*>(wParam);
}

// What a message carries on the heap, and so what a dropped message frees.
enum class MessageRecord {
    kNone,
    kRankResult,              // wParam
    kDownloadProgressRecord,  // wParam
    kIconPath,                // wParam
    kNewRow,                  // wParam: a row built on a worker, not yet in place
    kSchemeInfoList,          // lParam
    kSchemeSofts,             // lParam
    kUpdateCheckResult,       // lParam
};

// Frees the record a message carries (nothing for kNone or a null record).
void FreeMessageRecord(MessageRecord kind, WPARAM wParam, LPARAM lParam);
