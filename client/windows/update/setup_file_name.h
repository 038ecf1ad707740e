#pragma once
// Where the self-update puts the new setup file: the last part of its
// address, in the download folder. No window here.
#include <string>

// The last path component of `address` (after its last '/' or '\'). False
// when it is no safe file name of its own: empty, "." or "..", holding
// characters that file names cannot (a query's '?' included) or a reserved
// device name, or too long. Such a name would write nowhere or elsewhere
// than the download folder.
bool SetupFileNameOf(const std::wstring& address, std::wstring* name);

// `folder` joined with the setup's file name; false when the address gives
// no usable name or the joined path does not fit MAX_PATH.
bool SetupFilePath(const std::wstring& folder, const std::wstring& address, std::wstring* path);
