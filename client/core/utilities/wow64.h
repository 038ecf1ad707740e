#pragma once

// Whether this 32-bit process runs under WOW64 on 64-bit Windows. False when
// the system has no such check or the check fails.
bool IsWow64();
