#pragma once
#include <string>

// The folder of the running program, with its trailing backslash. The client
// keeps everything beside its program: skin\, data\, Downloads\.
std::wstring ProgramFolder();
std::string ProgramFolderA();
