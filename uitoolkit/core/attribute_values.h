#pragma once
// Parsers for the texts of skin attributes: numbers, number lists
// (rectangles, sizes), colours, booleans and name="value" lists.
#include <windows.h>
#include <wchar.h>

namespace UiToolkit {

// Reads up to `count` decimal numbers separated by one character each
// ("1,2,3,4"). Reading stops at the end of the text; numbers that are
// missing read 0. Returns how many numbers were present.
int ParseIntList(const wchar_t* text, int* out, int count);
RECT ParseRectValue(const wchar_t* text);
SIZE ParseSizeValue(const wchar_t* text);

// AARRGGBB in hexadecimal after an optional "#"; leading blanks are skipped
// only when asked. Text that does not parse reads 0 (no colour).
DWORD ParseColorValue(const wchar_t* text, bool skip_blanks);

// Attribute names, tags and notification types compare exactly
// (case-sensitive).
inline bool SameName(const wchar_t* a, const wchar_t* b) { return wcscmp(a, b) == 0; }

// On only for the exact text "true".
bool ParseBoolValue(const wchar_t* text);

// Parses name="value" pairs separated by exactly one blank and calls
// `apply` for each complete pair. Parsing stops silently at the first
// malformed pair (an unterminated value is not applied). Returns the number
// of pairs applied.
typedef void (*AttributeSink)(void* context, const wchar_t* name, const wchar_t* value);
int ParseAttributeList(const wchar_t* text, AttributeSink apply, void* context);

}  // namespace UiToolkit
