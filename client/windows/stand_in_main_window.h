#pragma once
#include <windows.h>

// A plain Win32 main window that stands in until the skinned main window
// exists: class "MainFrameWnd_Vantrel_QARVO", title "Kelvora", 890 by 635,
// centred on the work area. The tray-exit command ends the message loop.
HWND CreateStandInMainWindow(HINSTANCE instance);

// Runs the message loop until the main window quits it.
int RunStandInMessageLoop();
