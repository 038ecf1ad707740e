#pragma once
// Defensive reads of registry values: a value of the wrong type, of a size
// that cannot be its type, or larger than any sane value counts as absent.
#include <windows.h>
#include <string>

// A REG_SZ or REG_EXPAND_SZ value (not expanded). Text without its closing
// NUL is accepted up to its last whole character; the text ends at the first
// NUL. An empty value counts as absent.
bool ReadRegText(HKEY key, const wchar_t* name, std::wstring* out);

// A REG_DWORD value of exactly four bytes.
bool ReadRegDword(HKEY key, const wchar_t* name, DWORD* out);

// A DWORD flag: absent or unreadable counts as 0.
DWORD ReadRegFlag(HKEY key, const wchar_t* name);
