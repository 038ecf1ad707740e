#pragma once
// How a download's speed reads on screen. The speed is taken as an
// unsigned 32-bit count of bytes per second (a failed transfer's -1 reads
// as a huge number, as every view has always shown it).
#include <stdint.h>
#include <string>

// Whole units, the units shifted off: "0 B/S", "1023 B/S", "1 KB/S",
// "1 MB/S", "2 GB/S". What every progress report shows.
std::wstring FormatSpeedWhole(int32_t bytes_per_second);

// Two decimals: "1023 B/S", "1.00 KB/S", "1.50 MB/S". What a freshly built
// progress strip shows first.
std::wstring FormatSpeedDecimal(int32_t bytes_per_second);

// "45%".
std::wstring FormatPercent(int32_t percent);
