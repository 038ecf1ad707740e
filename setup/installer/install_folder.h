#pragma once
// The rule for a folder to install into, shared by the wizard's folder box
// and the silent command line.
#include <functional>
#include <string>

// True when `path` names an existing file or folder.
using PathExistsFn = std::function<bool(const std::wstring&)>;
bool PathExistsOnDisk(const std::wstring& path);

// A folder the user gave is accepted when it is not empty, holds no
// character a path cannot hold, and either exists or starts with a drive
// letter and a colon. It is then made absolute (a bare "D:" meaning the
// drive's root, not the current folder on it), and refused when the
// version subfolder inside it would not fit in MAX_PATH. On success
// `absolute` holds the folder to install into.
bool ResolveInstallFolder(const std::wstring& text, const PathExistsFn& exists,
                          std::wstring* absolute);

// The folder the package installs into: `folder` joined with the version.
std::wstring VersionTarget(const std::wstring& folder);
