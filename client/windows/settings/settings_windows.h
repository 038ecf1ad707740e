#pragma once
#include <windows.h>

// The settings dialog, owned by `owner`, centred on it, run modally.
void ShowSettingDialog(HWND owner);
