#pragma once
#include <string>
#include "client/core/catalogue/software.h"

// The client's user settings, kept in the SQLite file "data\ext.dat" beside
// the program: one single-row table per setting. Every operation opens the
// database, does its work and closes it again under one process-wide lock,
// so any thread may call these.
//
// Getters return true when the database could be read (a setting that was
// never written leaves the output unchanged, except the download folder,
// which falls back to the default one); on a failure they log it and return
// false, leaving the output unchanged. Setters replace the setting's one row
// and return whether that worked.
namespace ConfMgr {

// Database path := program folder + "data\ext.dat". Called once at start-up;
// the first access computes it when nobody did.
void SetDBFileName();

bool GetDownloadPath(std::wstring* path);
bool SetDownloadPath(const std::wstring& path);
bool GetAutoLogin(bool* on);
bool SetAutoLogin(bool on);
// The stored UTF-8 bytes of the password, and the password itself.
bool GetPassword(std::string* utf8);
bool GetPasswordW(std::wstring* password);
bool SetPassword(const std::wstring& password);
bool GetUser(std::wstring* user);
bool SetUser(const std::wstring& user);
bool GetRememberPassword(bool* on);
bool SetRememberPassword(bool on);

// Program folder + "Downloads", created when missing.
void GetDefaultDownloadPath(std::wstring* path);
// The download folder (created when missing) joined with the software's
// installer file name. False when the joined path would not fit MAX_PATH.
bool GetDownloadFilePath(std::wstring* path, const Software& software);
// Program folder + "data\vdb.dat", built on first use and kept.
bool GetVdbPath(std::wstring* path);

// Test seam: the folder that stands in for the program folder (with its
// trailing backslash); the database path follows it.
void SetProgramFolderForTest(const std::wstring& folder);

}  // namespace ConfMgr
