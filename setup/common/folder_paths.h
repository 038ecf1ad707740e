#pragma once
#include <windows.h>
#include <string>

// Joins `name` to `folder` with exactly one backslash between them, as
// PathAppendW does, but without its 260-character buffer: a long folder is
// never cut or joined wrongly; callers check the length they need.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

// The path up to and including its last backslash; empty when it has none.
std::wstring CutAfterLastBackslash(const std::wstring& path);

// The running program's folder with its trailing backslash; empty when the
// path cannot be had.
std::wstring OwnProgramFolder();

// True when the path and its terminator fit the classic path limit.
inline bool FitsMaxPath(const std::wstring& path) { return path.size() < MAX_PATH; }

// True when the folder exists (a folder, not a file).
bool FolderExists(const std::wstring& path);

// True when nothing on the way to `folder` (nor the folder itself) is an
// existing file, so that the folder exists or can be made.
bool CanBeFolder(const std::wstring& folder);
