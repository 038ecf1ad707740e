#pragma once
#include <string>
#include <vector>

// Appends to `out` the non-empty parts of `text` between occurrences of the
// whole `delimiter`. Leading characters that occur anywhere in `delimiter`
// are skipped first; empty parts (adjacent, leading or trailing delimiters)
// are never stored.
void SplitString(std::vector<std::wstring>* out, const std::wstring& delimiter,
                 const std::wstring& text);

// Every run of two or more backslashes becomes a single backslash.
void CollapseBackslashes(std::wstring* text);
