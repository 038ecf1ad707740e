#pragma once
#include <windows.h>

// Private messages of the main window: WM_USER plus an offset. Workers post
// them to the published main-window handle.
const UINT WM_TRAY_ICON_NOTIFY = WM_USER + 101;
const UINT WM_MENU_COMMAND = WM_USER + 102;

// lParam values of WM_MENU_COMMAND.
const LPARAM kMenuCommandTrayExit = 3;
