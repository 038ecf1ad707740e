#pragma once
// Runs the fake installer and uninstaller that stage uninstall entries.
#include <string>

namespace fake_setup_runner {

// Runs fake_installer.exe (or fake_uninstaller.exe) with `args`; returns its
// exit code, or -1 when it could not be started or did not end in 30 s.
int RunInstaller(const std::wstring& args);
int RunUninstaller(const std::wstring& args);

// The folder that holds both programs.
std::wstring ToolFolder();

}  // namespace fake_setup_runner
