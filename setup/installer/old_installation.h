#pragma once
#include <string>

// The update run's first step: when an installed copy is recorded, runs its
// package uninstaller and waits until that copy is gone. Returns the folder
// the new copy is offered (the old folder's parent, with its trailing
// backslash), or empty when no copy is recorded.
std::wstring RemoveOldInstallation();

// The old folder's parent, with its trailing backslash: "C:\a\Kelvora\1.0.2.7"
// and "C:\a\Kelvora\1.0.2.7\" both give "C:\a\Kelvora\".
std::wstring OldFolderParent(const std::wstring& old_folder);
