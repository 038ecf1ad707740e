// Reading and matching the version database.
#include <stdlib.h>
#include <windows.h>
#include "client/core/utilities/text_encoding.h"
#include "client/core/install_scan/uninstall_entry_rules.h"
#include "client/core/version/version_mgr.h"
#include "sqlite3.h"

namespace {

int OnRow(void* context, int columns, char** values, char** names) {
    auto* items = static_cast<std::vector<VersionMgr::DBItemPtr>*>(context);
    auto item = std::make_shared<VersionMgr::DBItem>();
    for (int i = 0; i < columns; ++i) {
        if (!names[i] || !values[i]) continue;
        std::string name = names[i];
        if (name == "softid") {
            item->softid = static_cast<int32_t>(strtol(values[i], nullptr, 10));
        } else if (name == "feature_name") {
            Utf8ToWide(values[i], &item->feature_name);
        } else if (name == "version") {
            Utf8ToWide(values[i], &item->version);
        }
    }
    items->push_back(item);
    return 0;
}

}  // namespace

void VersionMgr::LoadDB(const std::string& utf8_path, std::vector<DBItemPtr>* items) {
    sqlite3* db = nullptr;
    // Read-only: the file is only ever replaced whole by a download, and a
    // missing file must not be created empty here.
    if (sqlite3_open_v2(utf8_path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return;
    }
    sqlite3_exec(db, "select * from version;", OnRow, items, nullptr);
    sqlite3_close(db);
}

std::vector<VersionMgr::LoweredItem> VersionMgr::LowerItems(const std::vector<DBItemPtr>& items) {
    std::vector<LoweredItem> lowered;
    lowered.reserve(items.size());
    for (const auto& item : items) lowered.push_back(LoweredItem{LowerCopy(item->feature_name), item});
    return lowered;
}

VersionMgr::DBItemPtr VersionMgr::FindItem(const std::vector<LoweredItem>& items,
                                           const std::wstring& lower_name) {
    if (lower_name.empty()) return nullptr;
    for (const auto& entry : items) {
        if (entry.feature.empty()) continue;
        if (lower_name.find(entry.feature) != std::wstring::npos ||
            entry.feature.find(lower_name) != std::wstring::npos)
            return entry.item;
    }
    return nullptr;
}
