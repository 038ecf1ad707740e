#pragma once
#include <windows.h>

// The main window's handle, published once it exists: the target of every
// message that a worker posts to the UI.
void PublishMainWindow(HWND hwnd);
HWND MainWindowHandle();
// Waits until the handle is published (or the time-out passes); returns it.
HWND WaitForMainWindow(DWORD timeout_ms);
