#pragma once
#include <string>

// Compares dotted versions part by part as numbers of any length (leading
// digits count, leading zeros do not; a part that does not begin with a
// digit, such as "beta" or "-1", counts as 0; empty parts are ignored).
// Returns 1 when `second` is higher, -1 when it is lower, 0 when equal.
// Extra trailing parts count only when one of them is 1 or more (1.0 equals
// 1.0.0). The order is total: sorting by it is well defined.
int CompareVersion(const std::wstring& first, const std::wstring& second);
