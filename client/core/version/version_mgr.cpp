#include "client/core/version/version_mgr.h"
#include <stdlib.h>
#include <windows.h>
#include <json/json.h>
#include "client/core/settings/conf_mgr.h"
#include "client/core/startup/host_config.h"
#include "client/core/http/http_fetch.h"
#include "client/core/utilities/json_read.h"
#include "client/core/utilities/md5.h"
#include "client/core/utilities/text_encoding.h"
#include "client/core/utilities/version_compare.h"
#include "client/core/version/version_index.h"
#include "foundation/log/log.h"
#include "client/core/install_scan/uninstall_entry_rules.h"
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

// The update check and the freshness query are small answers; a stalled host
// must not keep the scan (which waits for the database) waiting for ever.
const unsigned long kQueryTimeoutMs = 5000;

std::wstring CatalogueUrl(const std::wstring& path) {
    return L"http://" + ServiceHostName(ServiceHost::Catalogue) + path;
}

void SetCheckRunning(bool running) {
    ke::scoped_lock lock(g_check_lock);
    g_check_running = running;
}

// Lower-case hexadecimal MD5 of a file; false when it cannot be opened.
bool FileMd5Hex(const std::wstring& path, std::string* hex) {
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) return false;
    Md5State state;
    Md5Init(&state);
    unsigned char buffer[512];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0) Md5Update(&state, buffer, got);
    fclose(file);
    unsigned char digest[16];
    Md5Final(&state, digest);
    DigestToHex(digest, hex);
    for (auto& c : *hex) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return true;
}

}  // namespace

bool VersionMgr::CheckUpdate(std::wstring* product_file, std::wstring* product_version, bool* newer) {
    SetCheckRunning(true);
    bool result = false;
    std::string body;
    Json::Value root;
    if (HttpDownloadMem(CatalogueUrl(L"/update_version"), &body, kQueryTimeoutMs) &&
        json_read::Parse(body, json_read::Root::Object, &root)) {
        std::wstring file, version;
        AnsiToWide(json_read::Text(root, "product_file", "0"), &file);
        AnsiToWide(json_read::Text(root, "product_ver", "0"), &version);
        *product_file = file;
        *product_version = version;
        *newer = CompareVersion(kClientVersion, version) >= 1;
        result = true;
    }
    SetCheckRunning(false);
    return result;
}

bool VersionMgr::DownloadVDB() {
    std::wstring path;
    if (!GetVdbPath(&path)) {
        SetDbState(kDbFailed);
        return false;
    }
    std::string digest;
    if (FileMd5Hex(path, &digest)) {
        std::string body;
        std::wstring query = CatalogueUrl(L"/query_vdb/") + std::wstring(digest.begin(), digest.end());
        if (HttpDownloadMem(query, &body, kQueryTimeoutMs) && !ParseVdbReply(body)) {
            log_trace("%s: lastest version db", "VersionMgr::DownloadVDB");
            SetDbState(kDbReady);
            return true;
        }
    }
    // The fetch writes beside the file and replaces it only when the whole
    // database arrived, so a failed refresh keeps the last good copy.
    bool fetched = HttpFetchFile(CatalogueUrl(L"/VDB"), path);
    SetDbState(fetched ? kDbReady : kDbFailed);
    return fetched;
}

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
    return ConfMgr::GetVdbPath(path);
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
    VersionIndex index(lowered);
    for (size_t i = 0; i < names.size(); ++i) {
        DBItemPtr item = index.Find(LowerCopy(names[i]));
        if (!item) continue;
        (*results)[i].version = item->version;
        (*results)[i].soft_id = item->softid;
    }
    return true;
}
