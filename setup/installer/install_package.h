#pragma once
#include <windows.h>
#include <string>

// Writes a resource's bytes to `file`, replacing whatever the file held.
// True exactly when every byte was written.
bool WriteResourceToFile(HMODULE module, HRSRC resource, const std::wstring& file);

// Writes the embedded install package to the temporary folder and runs it
// silently into `folder`'s version subfolder, waiting for it. True only
// when the package ended with exit code 0 and the client is in place.
bool RunInstallPackage(const std::wstring& folder);

// The silent run: installs into the program-files folder (or `folder`,
// when given) joined with the product's name. False when the folder is
// refused or cannot be found, or the install failed.
bool RunSilentInstall(const std::wstring* folder);
