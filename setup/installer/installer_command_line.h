#pragma once
#include <string>
#include <vector>

// What one run of the setup program does, decided by its arguments (after
// the program name), compared without regard to case.
enum class InstallerMode {
    Wizard,         // anything else, or nothing
    Update,         // exactly "update": remove the old installation, then the wizard
    SilentDefault,  // exactly "slient": into the program-files folder
    SilentInto,     // "slient" and one folder
};

struct InstallerRun {
    InstallerMode mode = InstallerMode::Wizard;
    std::wstring folder;  // SilentInto only
};

InstallerRun ParseInstallerCommandLine(const std::vector<std::wstring>& args);
