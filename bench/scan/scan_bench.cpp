// Stages uninstall entries in the registry (as the fake installer writes
// them), builds a version database, and times the scan, the row loading and
// the matching. Removes what it staged.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <algorithm>
#include <string>
#include <vector>
#include "client/core/install_scan/install_version_match.h"
#include "client/core/utilities/text_encoding.h"
#include "client/core/install_scan/uninstall_registry.h"
#include "client/core/version/version_mgr.h"
#include "sqlite3.h"

namespace {

const wchar_t kUninstall[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char* const kAdjectives[] = {"Swift", "Bright", "Quiet", "Solid", "Open", "Rapid", "Clear", "Smart"};
const char* const kNouns[] = {"Editor", "Player", "Viewer", "Backup", "Mail", "Browser", "Notes", "Studio",
                              "Zip", "Paint", "Chat", "Office"};

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart * 1000.0 / frequency.QuadPart;
}

std::string Feature(int row) {
    char text[96];
    snprintf(text, sizeof text, "Vendor%02d %s %s %d", row % 97, kAdjectives[row % 8], kNouns[(row / 8) % 12], row);
    return text;
}

std::wstring Wide(const std::string& text) {
    std::wstring out;
    Utf8ToWide(text, &out);
    return out;
}

void SetText(HKEY key, const wchar_t* name, const std::wstring& value) {
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

std::wstring KeyName(int i) {
    wchar_t name[32];
    swprintf(name, 32, L"KvBench_%05d", i);
    return name;
}

// Half the entries carry a database feature name in their display name.
bool Stage(int entries, int rows) {
    for (int i = 0; i < entries; ++i) {
        HKEY key = nullptr;
        std::wstring path = std::wstring(kUninstall) + L"\\" + KeyName(i);
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE | KEY_WOW64_32KEY,
                            nullptr, &key, nullptr) != ERROR_SUCCESS)
            return false;
        wchar_t name[128];
        if (i % 2 == 0) {
            swprintf(name, 128, L"%ls 2.%d (x86)", Wide(Feature((i * 19) % rows)).c_str(), i % 10);
        } else {
            swprintf(name, 128, L"Local Utility Program %d", i);
        }
        SetText(key, L"DisplayName", name);
        SetText(key, L"DisplayVersion", L"1.0." + std::to_wstring(i));
        SetText(key, L"Publisher", L"Bench Publisher");
        SetText(key, L"UninstallString", L"\"C:\\Program Files\\Bench\\" + KeyName(i) + L"\\uninst.exe\" /S");
        SetText(key, L"InstallDate", L"20210305");
        DWORD size = 1024 + i;
        RegSetValueExW(key, L"EstimatedSize", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&size), sizeof size);
        RegCloseKey(key);
    }
    return true;
}

void Unstage(int entries) {
    HKEY root = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstall, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, &root) != ERROR_SUCCESS)
        return;
    for (int i = 0; i < entries; ++i) RegDeleteKeyExW(root, KeyName(i).c_str(), KEY_WOW64_32KEY, 0);
    RegCloseKey(root);
}

bool BuildDb(const std::string& path, int rows) {
    DeleteFileA(path.c_str());
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) return false;
    sqlite3_exec(db, "create table version (id integer primary key, softid text, feature_name text, "
                     "version text); begin;", nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "insert into version (softid, feature_name, version) values (?,?,?)", -1, &st, nullptr);
    for (int row = 0; row < rows; ++row) {
        std::string softid = std::to_string(100000 + row), feature = Feature(row);
        std::string version = "3." + std::to_string(row % 7);
        sqlite3_bind_text(st, 1, softid.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, feature.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 3, version.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "commit;", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return true;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    int entries = argc > 1 ? _wtoi(argv[1]) : 1000;
    int rows = argc > 2 ? _wtoi(argv[2]) : 10000;
    const int rounds = 5;

    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring db_path = std::wstring(temp) + L"kelvora_scan_bench.vdb";
    std::string db_utf8;
    WideToUtf8(db_path, &db_utf8);
    if (!BuildDb(db_utf8, rows) || !Stage(entries, rows)) {
        fprintf(stderr, "scan_bench: cannot stage the registry or build the database\n");
        Unstage(entries);
        return 1;
    }
    VersionMgr::SetVdbPathForTests(db_path);
    VersionMgr::SetDbState(VersionMgr::kDbReady);

    std::vector<double> scan, load, match;
    size_t listed = 0;
    int matched = 0;
    for (int round = 0; round < rounds; ++round) {
        double t0 = NowMs();
        SysInstallSoftList list;
        ScanInstalledSoft(&list);
        double t1 = NowMs();
        std::vector<VersionMgr::DBItemPtr> items;
        VersionMgr::LoadDB(db_utf8, &items);
        double t2 = NowMs();
        MatchVersionDb(list, [](const std::vector<std::wstring>& names, std::vector<VersionMatch>* results) {
            return VersionMgr::MatchInstalled(names, results);
        });
        double t3 = NowMs();
        scan.push_back(t1 - t0);
        load.push_back(t2 - t1);
        match.push_back(t3 - t2);
        listed = list.size();
        matched = static_cast<int>(std::count_if(list.begin(), list.end(),
                                                 [](const SysInstallSoftPtr& s) { return s->soft_id > 0; }));
        if (items.size() != static_cast<size_t>(rows)) fprintf(stderr, "scan_bench: loaded %u rows\n",
                                                              static_cast<unsigned>(items.size()));
    }
    Unstage(entries);
    DeleteFileW(db_path.c_str());

    double load_ms = Median(load), match_ms = Median(match);
    printf("scan_entries_staged: %d\n", entries);
    printf("scan_entries_listed: %u\n", static_cast<unsigned>(listed));
    printf("vdb_rows: %d\n", rows);
    printf("programs_matched: %d\n", matched);
    printf("scan_ms: %.1f\n", Median(scan));
    printf("load_rows_ms: %.1f\n", load_ms);
    printf("match_ms: %.1f\n", match_ms);
    printf("match_to_load_ratio: %.2f (aim: at most 3)\n", load_ms > 0 ? match_ms / load_ms : 0.0);
    return 0;
}
