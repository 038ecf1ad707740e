#pragma once
// The free-space line of the settings dialog: which drive a folder text
// names and how its free bytes read. No window here.
#include <stdint.h>

#include <string>

// The text up to and including its first backslash ("C:\" of "C:\Soft");
// empty when it has none, which counts as a drive that cannot be read.
std::wstring DriveRootOf(const std::wstring& folder);

// "| 当前目录所在硬盘可用空间：%.2fGB" with the bytes divided by 1024 three
// times, as a single-precision number.
std::wstring FreeSpaceText(uint64_t free_bytes);

// The bytes free to the caller on the drive of `root`; false when they
// cannot be read. GetDiskFreeSpaceExW unless a test sets another.
typedef bool (*FreeSpaceQuery)(const std::wstring& root, uint64_t* free_bytes);
bool QueryFreeSpace(const std::wstring& root, uint64_t* free_bytes);
void SetFreeSpaceQueryForTests(FreeSpaceQuery query);
