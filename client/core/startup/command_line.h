#pragma once
#include <string>
#include <vector>

// What one run of the client does, decided by its command line.
enum class ClientRunMode { Normal, Shutdown, ReportInstall, ReportUninstall };

// Only a single argument after the program name is a switch, compared
// without regard to case; any other command line is a normal start.
// `args` holds the arguments after the program name.
ClientRunMode ParseClientRunMode(const std::vector<std::wstring>& args);

// Splits the process's own command line (CommandLineToArgvW) and returns the
// arguments after the program name.
std::vector<std::wstring> ProcessArguments();
