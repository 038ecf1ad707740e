#pragma once
// Text rules applied to one uninstall entry of the registry. No registry
// access here: file existence is asked through a callback so the rules can
// be checked against any set of files.
#include <windows.h>
#include <functional>
#include <string>

typedef std::function<bool(const std::wstring& path)> FileExistsFn;

// The Windows Installer program, used as the icon of entries without one.
extern const wchar_t kMsiexecIconPath[];

// "ReleaseType" values of patches: "hotfix", "Service Pack", "Security
// Update", "Update", compared without regard to case.
bool IsPatchReleaseType(const std::wstring& release_type);

// Publisher "Microsoft" or "Microsoft Corporation" (any case) and a display
// name that names a patch ("service pack", "update for", "update kb",
// "hotfix", any case).
bool IsMicrosoftPatch(const std::wstring& publisher, const std::wstring& display_name);

// The program path of an uninstall command: the quoted text when it begins
// with a double quote, else the whole command.
std::wstring ProgramPathOfCommand(const std::wstring& command);

// The folder of the command's program path, with its trailing backslash;
// empty when the path has no backslash.
std::wstring FolderOfCommand(const std::wstring& command);

// Install location for an entry without "InstallLocation": the folder of the
// uninstall command, unless the command runs msiexec.exe.
std::wstring LocationFromCommand(const std::wstring& command);

// "DisplayIcon" resolved: the quoted part, doubled backslashes collapsed
// when the file exists, msiexec.exe mapped to the system copy, and an icon
// index after a comma dropped when the rest names an existing .exe.
std::wstring ResolveDisplayIcon(const std::wstring& value, const FileExistsFn& exists);

// The icon derived from the uninstall command when the entry has none or its
// file does not exist; `current` is kept when nothing better is found, and an
// empty result becomes the msiexec.exe icon.
std::wstring IconFromUninstallString(const std::wstring& command, const std::wstring& current,
                                     const FileExistsFn& exists);

// Eight digits yyyymmdd of a date (the folder-creation fallback).
std::wstring DateDigits(const SYSTEMTIME& st);

// Lower-case copy (towlower on every character).
std::wstring LowerCopy(const std::wstring& text);
