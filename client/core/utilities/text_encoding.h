#pragma once
#include <string>

// Conversions between the code pages the client mixes. Each replaces its
// output; when the conversion yields nothing (an empty input, say) the output
// is left as it was.

// ANSI (CP_ACP) text, up to its first NUL, to wide text. Returns the number of
// characters written, 0 when nothing was converted.
int AnsiToWide(const std::string& ansi, std::wstring* out);

// OEM (CP_OEMCP) text, up to its first NUL, to wide text. Returns the number
// of characters written. Texts stored by WideToOem come back through this.
int OemToWide(const std::string& oem, std::wstring* out);

// Wide text to the OEM code page. The terminating NUL is converted too and
// stays in the result as its last byte (stored texts rely on that form).
void WideToOem(const std::wstring& wide, std::string* out);

// Wide text to UTF-8 bytes and back; no terminating NUL in either result.
void WideToUtf8(const std::wstring& wide, std::string* out);
void Utf8ToWide(const std::string& utf8, std::wstring* out);

// Appends every byte of `utf8` as "%XX" (upper-case hex), unreserved
// characters included. Trailing NUL bytes are dropped first.
void PercentEncode(const std::string& utf8, std::wstring* out);

// Appends `utf8` as a query value that no byte can alter: ASCII letters,
// digits and "-._~" as they are, every other byte as "%XX" (upper-case hex),
// so "&", "#", "+", "=", "%" and blanks arrive as typed. Trailing NUL bytes
// are dropped first.
void PercentEncodeQueryValue(const std::string& utf8, std::wstring* out);
