#pragma once
#include <string>

// Compares dotted versions part by part as numbers (a part that does not
// begin with a digit counts as 0; empty parts are ignored). Returns 1 when
// `second` is higher, -1 when it is lower, 0 when equal. Extra trailing parts
// count only when one of them is 1 or more (1.0 equals 1.0.0).
int CompareVersion(const std::wstring& first, const std::wstring& second);
