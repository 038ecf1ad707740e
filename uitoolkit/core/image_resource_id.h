#pragma once
// Reading the name of an image that lives in a program resource.
#include <windows.h>

namespace UiToolkit {

// A resource image is named by a decimal identifier: the name must start
// with a digit, the digits up to the first other character are read and
// their low 16 bits kept. False when the name does not start with a digit
// or the identifier comes out as 0, which names no resource.
bool ParseImageResourceId(const wchar_t* name, WORD* id);

}  // namespace UiToolkit
