#pragma once
#include <windows.h>

namespace UiToolkit {
class CWindowManagerUI;
}

// The main window's handle, published once it exists: the target of every
// message that a worker posts to the UI.
void PublishMainWindow(HWND hwnd);
HWND MainWindowHandle();
// Waits until the handle is published (or the time-out passes); returns it.
HWND WaitForMainWindow(DWORD timeout_ms);

// The main window's manager, published by the main window when it is
// constructed: pages use it to notify the main window and to build rows
// from skin files. Read on the UI thread.
void PublishMainManager(UiToolkit::CWindowManagerUI* manager);
UiToolkit::CWindowManagerUI* MainManager();
