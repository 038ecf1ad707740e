#pragma once

// Whether this 32-bit process runs under WOW64 on 64-bit Windows. False when
// the system has no such check or the check fails. A 64-bit process is never
// WOW64: ask Is64BitSystem when the question is about Windows itself.
bool IsWow64();

// Whether Windows itself is 64-bit: always for a 64-bit process, and for a
// 32-bit one when it runs under WOW64.
bool Is64BitSystem();
