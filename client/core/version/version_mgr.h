#pragma once
// The client's own update check and the version database "data\vdb.dat",
// which maps installed program names to catalogue software.
#include <stdint.h>
#include <memory>
#include <string>
#include <vector>
#include "client/core/install_scan/install_version_match.h"

// Posted to the main window when the self-update check has answered.
struct UpdateCheckResult {
    bool newer = false;
    std::wstring product_file;
    std::wstring product_version;
};

class VersionMgr {
public:
    enum DbState { kDbNotRefreshed = 0, kDbReady = 2, kDbFailed = 3 };

    struct DBItem {
        int32_t softid = 0;
        std::wstring version;
        std::wstring feature_name;
    };
    typedef std::shared_ptr<DBItem> DBItemPtr;

    // A row with its feature name lower-cased once, for matching.
    struct LoweredItem {
        std::wstring feature;
        DBItemPtr item;
    };

    // The client's own version.
    static const wchar_t kClientVersion[];

    // Asks the catalogue host for the newest client. False when the host did
    // not answer with JSON; the outputs are then unchanged.
    static bool CheckUpdate(std::wstring* product_file, std::wstring* product_version, bool* newer);
    static bool IsCheckRunning();

    // Refreshes the database (kept when the host calls it current, else
    // downloaded whole) and sets the state to ready or failed.
    static bool DownloadVDB();

    static void SetDbState(int state);
    static int GetDbState();

    // Waits until the database is ready or failed; false when it failed.
    // Otherwise one result per name, its version empty when nothing matched.
    static bool MatchInstalled(const std::vector<std::wstring>& names,
                               std::vector<VersionMatch>* results);

    // Every row of the table "version"; nothing when the file cannot be read.
    static void LoadDB(const std::string& utf8_path, std::vector<DBItemPtr>* items);
    static std::vector<LoweredItem> LowerItems(const std::vector<DBItemPtr>& items);
    // The first row whose feature name is in the name or holds it. Empty names
    // never match: they would mark every program as one catalogue program.
    static DBItemPtr FindItem(const std::vector<LoweredItem>& items, const std::wstring& lower_name);

    // True when the host's answer to "/query_vdb/<md5>" calls the copy stale.
    static bool ParseVdbReply(const std::string& answer);

    // The database file: the settings' path unless a test set another.
    static bool GetVdbPath(std::wstring* path);
    static void SetVdbPathForTests(const std::wstring& path);
    // How long MatchInstalled sleeps between looks at the state.
    static void SetPollIntervalForTests(unsigned ms);
    // Back to state 0 (tests).
    static void ResetForTests();
};
