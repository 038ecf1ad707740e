#include "client/core/version_mgr.h"
#include <stdlib.h>
#include <windows.h>
#include <json/json.h>
#include "client/core/program_folder.h"
#include "client/core/text_encoding.h"
#include "client/core/uninstall_entry_rules.h"
#include "foundation/ke/critical_section.h"

const wchar_t VersionMgr::kClientVersion[] = L"1.0.2.7";

namespace {

// Static storage: the locks exist before any thread that uses them.
ke::critical_section g_state_lock;
int g_db_state = VersionMgr::kDbNotRefreshed;
ke::critical_section g_check_lock;
bool g_check_running = false;
ke::critical_section g_path_lock;
std::wstring g_path_override;
volatile LONG g_poll_ms = 500;

}  // namespace

void VersionMgr::SetDbState(int state) {
    ke::scoped_lock lock(g_state_lock);
    g_db_state = state;
}

int VersionMgr::GetDbState() {
    ke::scoped_lock lock(g_state_lock);
    return g_db_state;
}

bool VersionMgr::IsCheckRunning() {
    ke::scoped_lock lock(g_check_lock);
    return g_check_running;
}

bool VersionMgr::GetVdbPath(std::wstring* path) {
    {
        ke::scoped_lock lock(g_path_lock);
        if (!g_path_override.empty()) {
            *path = g_path_override;
            return true;
        }
    }
    *path = ProgramFolder() + L"data\\vdb.dat";
    return true;
}

void VersionMgr::SetVdbPathForTests(const std::wstring& path) {
    ke::scoped_lock lock(g_path_lock);
    g_path_override = path;
}

void VersionMgr::SetPollIntervalForTests(unsigned ms) { InterlockedExchange(&g_poll_ms, static_cast<LONG>(ms)); }

void VersionMgr::ResetForTests() {
    SetDbState(kDbNotRefreshed);
    ke::scoped_lock lock(g_check_lock);
    g_check_running = false;
}

bool VersionMgr::ParseVdbReply(const std::string& answer) {
    Json::Value root;
    Json::CharReaderBuilder builder;
    std::string errors;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    if (!reader->parse(answer.data(), answer.data() + answer.size(), &root, &errors) ||
        !root.isObject())
        return true;
    const Json::Value& flag = root["new_version"];
    if (flag.isNull()) return false;  // absent reads "0": current
    if (flag.isString()) return strtol(flag.asCString(), nullptr, 10) != 0;
    if (flag.isIntegral()) return flag.asLargestInt() != 0;
    return true;  // a wrong-typed answer cannot vouch for the copy
}

bool VersionMgr::MatchInstalled(const std::vector<std::wstring>& names,
                                std::vector<VersionMatch>* results) {
    for (;;) {
        int state = GetDbState();
        if (state == kDbReady) break;
        if (state == kDbFailed) return false;
        Sleep(static_cast<DWORD>(g_poll_ms));
    }
    results->assign(names.size(), VersionMatch());
    std::wstring path;
    if (!GetVdbPath(&path)) return true;
    std::string utf8_path;
    WideToUtf8(path, &utf8_path);
    std::vector<DBItemPtr> items;
    LoadDB(utf8_path, &items);
    std::vector<LoweredItem> lowered = LowerItems(items);
    for (size_t i = 0; i < names.size(); ++i) {
        DBItemPtr item = FindItem(lowered, LowerCopy(names[i]));
        if (!item) continue;
        (*results)[i].version = item->version;
        (*results)[i].soft_id = item->softid;
    }
    return true;
}
