#pragma once
#include <stdint.h>
#include <string>

// The total size in bytes of every file below `folder`, sub-folders included
// (a sub-folder that cannot be listed adds nothing). Returns false and leaves
// `out` unchanged when the folder itself cannot be listed.
bool DirectorySize(const std::wstring& folder, uint64_t* out);
