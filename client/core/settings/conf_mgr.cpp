#include "client/core/settings/conf_mgr.h"
#include <windows.h>
#include <shlwapi.h>
#include "client/core/reports/installer_file_name.h"
#include "client/core/startup/program_folder.h"
#include "client/core/utilities/text_encoding.h"
#include "foundation/ke/critical_section.h"
#include "foundation/log/log.h"
#include "foundation/sql/database.h"
#include "foundation/sql/db_table.h"
#include "foundation/sql/exception.h"

using sql::FieldDef;

namespace {

FieldDef g_download_path_columns[] = {
    FieldDef("_ID", sql::FieldTypeInteger, sql::FieldFlagPrimaryKey),
    FieldDef("filepath", sql::FieldTypeText, sql::FieldFlagNotNull),
    FieldDef::End(),
};
FieldDef g_login_columns[] = {
    FieldDef("_ID", sql::FieldTypeInteger, sql::FieldFlagPrimaryKey),
    FieldDef("autologin", sql::FieldTypeBool, sql::FieldFlagNotNull),
    FieldDef::End(),
};
FieldDef g_password_columns[] = {
    FieldDef("_ID", sql::FieldTypeInteger, sql::FieldFlagPrimaryKey),
    FieldDef("passwd", sql::FieldTypeText, sql::FieldFlagNotNull),
    FieldDef::End(),
};
FieldDef g_user_columns[] = {
    FieldDef("_ID", sql::FieldTypeInteger, sql::FieldFlagPrimaryKey),
    FieldDef("user", sql::FieldTypeText, sql::FieldFlagNotNull),
    FieldDef::End(),
};
FieldDef g_recorded_columns[] = {
    FieldDef("_ID", sql::FieldTypeInteger, sql::FieldFlagPrimaryKey),
    FieldDef("recorded", sql::FieldTypeBool, sql::FieldFlagNotNull),
    FieldDef::End(),
};

struct Setting {
    const char* table;
    const char* column;
    FieldDef* columns;
};

const Setting kDownloadPath = {"download_path_conf", "filepath", g_download_path_columns};
const Setting kAutoLogin = {"login_info", "autologin", g_login_columns};
const Setting kPassword = {"passwd_info", "passwd", g_password_columns};
const Setting kUser = {"user_info", "user", g_user_columns};
const Setting kRemember = {"passwd_recorded_info", "recorded", g_recorded_columns};

struct State {
    ke::critical_section lock;  // every setting read and write
    std::wstring program_folder;
    std::string db_path;  // UTF-8
    ke::critical_section vdb_lock;
    std::wstring vdb_path;
};

State& Shared() {
    static State state;
    return state;
}

// Callers hold the settings lock.
const std::wstring& Folder() {
    State& s = Shared();
    if (s.program_folder.empty()) s.program_folder = ProgramFolder();
    return s.program_folder;
}

std::wstring InFolder(const wchar_t* relative) {
    wchar_t path[MAX_PATH] = {0};
    lstrcpynW(path, Folder().c_str(), MAX_PATH);
    PathAppendW(path, relative);
    return path;
}

void ComputeDbPath() {
    std::wstring path = InFolder(L"data\\ext.dat");
    std::string utf8;
    WideToUtf8(path, &utf8);
    Shared().db_path = utf8;
    log_trace("%s: db path=%s", "ConfMgr::SetDBFileName", utf8.c_str());
}

// Marks a stored user name kept as UTF-8 (see ConfMgr::SetUser).
const char kUtf8Mark[] = "\xEF\xBB\xBF";

std::string CutAtNul(const std::string& text) { return text.substr(0, text.find('\0')); }

enum class ReadResult { NotSet, Found, Failed };

// Reads the setting's one value into `value`. Holds the settings lock.
ReadResult ReadSetting(const Setting& setting, const char* function, sql::FieldValue* value) {
    ke::scoped_lock hold(Shared().lock);
    if (Shared().db_path.empty()) ComputeDbPath();
    try {
        sql::Database db;
        db.open(Shared().db_path);
        sql::DbTable table(db.handle(), setting.table, setting.columns);
        if (!table.exists()) return ReadResult::NotSet;
        table.selectAll();
        if (table.recordSet().count() == 0) return ReadResult::NotSet;
        const sql::FieldValue* found = table.recordSet().at(0).valueByName(setting.column);
        if (!found) return ReadResult::NotSet;
        *value = *found;
        return ReadResult::Found;
    } catch (const sql::Exception& e) {
        log_error("%s: %s", function, e.message().c_str());
        return ReadResult::Failed;
    }
}

// Replaces the setting's table by one holding a single row.
bool WriteSetting(const Setting& setting, const char* function, const std::string& text, bool is_bool,
                  bool flag) {
    ke::scoped_lock hold(Shared().lock);
    if (Shared().db_path.empty()) ComputeDbPath();
    try {
        sql::Database db;
        db.open(Shared().db_path);
        sql::DbTable table(db.handle(), setting.table, setting.columns);
        if (table.exists()) table.drop();
        table.create();
        sql::Record row(&table.fields());
        if (is_bool)
            row.setBool(setting.column, flag);
        else
            row.setText(setting.column, CutAtNul(text));
        table.insert(&row);
        return true;
    } catch (const sql::Exception& e) {
        log_error("%s: %s", function, e.message().c_str());
        return false;
    }
}

// The setting's stored bytes. False on failure; `found` says whether the
// setting was set.
bool ReadText(const Setting& setting, const char* function, std::string* bytes, bool* found) {
    sql::FieldValue value;
    ReadResult r = ReadSetting(setting, function, &value);
    *found = r == ReadResult::Found;
    if (*found) *bytes = value.asString();
    return r != ReadResult::Failed;
}

bool GetBool(const Setting& setting, const char* function, bool* on) {
    sql::FieldValue value;
    ReadResult r = ReadSetting(setting, function, &value);
    if (r == ReadResult::Found) *on = value.isTrue();
    return r != ReadResult::Failed;
}

// Texts are read back with the code page they were stored in (OEM for names
// and folders, UTF-8 for the password; a user name marked as UTF-8, see
// ConfMgr::SetUser), so they survive on systems whose ANSI code page
// differs from it.
bool GetWideText(const Setting& setting, const char* function, bool utf8, std::wstring* out) {
    std::string bytes;
    bool found = false;
    if (!ReadText(setting, function, &bytes, &found)) return false;
    if (found) {
        std::wstring wide;
        if (utf8)
            Utf8ToWide(bytes, &wide);
        else if (bytes.compare(0, 3, kUtf8Mark) == 0)
            Utf8ToWide(bytes.substr(3), &wide);
        else
            OemToWide(bytes, &wide);
        *out = wide;
    }
    return true;
}

bool SetOemText(const Setting& setting, const char* function, const std::wstring& text) {
    std::string oem;
    WideToOem(text, &oem);
    return WriteSetting(setting, function, oem, false, false);
}

}  // namespace

namespace ConfMgr {

void SetDBFileName() {
    ke::scoped_lock hold(Shared().lock);
    ComputeDbPath();
}

void SetProgramFolderForTest(const std::wstring& folder) {
    {
        ke::scoped_lock hold(Shared().lock);
        Shared().program_folder = folder;
        ComputeDbPath();
    }
    ke::scoped_lock hold(Shared().vdb_lock);
    Shared().vdb_path.clear();
}

void GetDefaultDownloadPath(std::wstring* path) {
    std::wstring folder;
    {
        ke::scoped_lock hold(Shared().lock);
        folder = InFolder(L"Downloads");
    }
    if (!PathIsDirectoryW(folder.c_str()) && !CreateDirectoryW(folder.c_str(), nullptr)) {
        log_error("%s: CreateDirectory Failed: %d", "ConfMgr::GetDefaultDownloadPath",
                  static_cast<int>(GetLastError()));
    }
    *path = folder;
}

bool GetDownloadPath(std::wstring* path) {
    std::wstring stored;
    std::string bytes;
    bool found = false;
    // Never set, or unreadable: the default folder.
    if (ReadText(kDownloadPath, "ConfMgr::GetDownloadPath", &bytes, &found) && found) {
        OemToWide(bytes, &stored);
        *path = stored;
    } else {
        GetDefaultDownloadPath(path);
    }
    return true;
}

bool SetDownloadPath(const std::wstring& path) {
    return SetOemText(kDownloadPath, "ConfMgr::SetDownloadPath", path);
}

bool GetAutoLogin(bool* on) { return GetBool(kAutoLogin, "ConfMgr::GetAutoLogin", on); }
bool SetAutoLogin(bool on) { return WriteSetting(kAutoLogin, "ConfMgr::SetAutoLogin", "", true, on); }

bool GetPassword(std::string* utf8) {
    bool found = false;
    return ReadText(kPassword, "ConfMgr::GetPassword", utf8, &found);
}

bool GetPasswordW(std::wstring* password) {
    return GetWideText(kPassword, "ConfMgr::GetPasswordW", true, password);
}

bool SetPassword(const std::wstring& password) {
    std::string utf8;
    WideToUtf8(password, &utf8);
    return WriteSetting(kPassword, "ConfMgr::SetPassword", utf8, false, false);
}

bool GetUser(std::wstring* user) { return GetWideText(kUser, "ConfMgr::GetUser", false, user); }

bool SetUser(const std::wstring& user) {
    // The auto-login sends the stored name: a name the OEM code page cannot
    // hold (Chinese under a Western locale) would come back as "??" and log
    // in as nobody. Such a name is kept as UTF-8 behind a byte-order mark (no
    // plausible OEM name starts with those bytes); every other name is
    // stored as before.
    const std::wstring name = user.substr(0, user.find(L'\0'));
    std::string oem;
    WideToOem(name, &oem);
    std::wstring back;
    OemToWide(oem, &back);
    if (name.empty() || back == name) return WriteSetting(kUser, "ConfMgr::SetUser", oem, false, false);
    std::string utf8;
    WideToUtf8(name, &utf8);
    return WriteSetting(kUser, "ConfMgr::SetUser", kUtf8Mark + utf8, false, false);
}

bool GetRememberPassword(bool* on) { return GetBool(kRemember, "ConfMgr::GetRememberPassword", on); }
bool SetRememberPassword(bool on) {
    return WriteSetting(kRemember, "ConfMgr::SetRememberPassword", "", true, on);
}

bool GetDownloadFilePath(std::wstring* path, const Software& software) {
    std::wstring folder;
    GetDownloadPath(&folder);
    if (!PathIsDirectoryW(folder.c_str()) && !CreateDirectoryW(folder.c_str(), nullptr)) {
        log_error("%s: CreateDirectory Error: %d", "ConfMgr::GetDownloadFilePath",
                  static_cast<int>(GetLastError()));
    }
    std::wstring name;
    MakeInstallerFileName(software, &name);
    // A plain join: PathAppendW would canonicalise the name, and a name that
    // begins with ".." would then climb out of the folder.
    std::wstring joined = folder;
    if (!joined.empty() && joined.back() != L'\\' && joined.back() != L'/') joined += L'\\';
    joined += name;
    if (name.empty() || joined.size() >= MAX_PATH) {
        log_error("%s: no valid path for soft id %d", "ConfMgr::GetDownloadFilePath", software.soft_id);
        return false;
    }
    *path = joined;
    return true;
}

bool GetVdbPath(std::wstring* path) {
    State& s = Shared();
    std::wstring folder;
    {
        ke::scoped_lock hold(s.lock);
        folder = Folder();
    }
    ke::scoped_lock hold(s.vdb_lock);
    if (s.vdb_path.empty()) {
        wchar_t buf[MAX_PATH] = {0};
        lstrcpynW(buf, folder.c_str(), MAX_PATH);
        PathAppendW(buf, L"data\\vdb.dat");
        s.vdb_path = buf;
    }
    *path = s.vdb_path;
    return true;
}

}  // namespace ConfMgr
