#pragma once
#include <windows.h>
#include <string>

// The self-update window for the offered version and setup file, owned by
// `owner`, centred on it, run modally.
void ShowUpdateTipWnd(HWND owner, const std::wstring& version, const std::wstring& file);
