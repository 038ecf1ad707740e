#pragma once
// A catalogue software's size as its rows show it: "%dB" up to 1024 bytes
// and at exactly 1 MiB and 1 GiB, else "%.2fK", "%.2fM" or "%.2fG". A size
// of 0, or a negative one (a broken catalogue answer), shows no text.
#include <stdint.h>
#include <string>

std::wstring FormatSoftSize(int64_t bytes);
