#pragma once
#include <stdint.h>
#include <string>

// The union id: a number the distribution channel leaves in a file on the
// machine, sent with every report and used in installer file names. One
// process-wide value, -1 until read, written atomically by any thread.

// "C:\Windows\System32\olm\union"
extern const wchar_t kUnionFilePath[];

// Reads the number (atoi rules: leading blanks and a sign, digits up to the
// first other character, none gives 0) from the first 127 bytes of `path`.
// False, `value` untouched, when the file cannot be opened or read.
bool ReadUnionIdFrom(const std::wstring& path, int32_t* value);

// Reads the union file (with 64-bit file-system redirection off where the
// system has the switch) into the process-wide value and returns that value;
// a file that cannot be read leaves it unchanged.
int32_t ReadUnionId();

// The process-wide value as it stands, without reading the file.
int32_t CurrentUnionId();

// Sets the value to `fallback` when it is still -1; returns the value.
int32_t SettleUnionId(int32_t fallback);
